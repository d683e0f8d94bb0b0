#!/usr/bin/env bash
# Times `mirelot-coords convert 1 2E` against PROJ's cs2cs over the same 100,000 Lambert II étendu
# points, both as whole processes, side by side (best of a few runs each), and prints both
# figures and their ratio. cs2cs does the one transform Lambert II étendu -> WGS84 with the same
# parameters (Clarke 1880 IGN, Paris meridian, translation -168 -60 +320).
#   bench/coords/compare_cs2cs.sh [path/to/mirelot-coords] [runs]
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
driver="${1:-$root/build/tests/coords/mirelot-coords}"
runs="${2:-5}"
if [ ! -x "$driver" ]; then
  echo "mirelot-coords not found at $driver (build the tests first)" >&2
  exit 1
fi
if ! command -v cs2cs >/dev/null; then
  echo "cs2cs (Debian proj-bin) is not installed: nothing to compare with." >&2
  exit 0
fi
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# 100,000 points over mainland France and Corsica, the same every run.
awk 'BEGIN { srand(42); for (i = 0; i < 100000; i++)
       printf "%.2f %.2f\n", 100000 + rand() * 1000000, 1650000 + rand() * 1050000 }' > "$work/points"

lambert2e="+proj=lcc +lat_1=46.8 +lat_0=46.8 +lon_0=0 +k_0=0.99987742 +x_0=600000 +y_0=2200000"
lambert2e+=" +ellps=clrk80ign +pm=paris +towgs84=-168,-60,320"

seconds() { # best wall time of "$@" < points, in seconds
  local best=""
  for _ in $(seq "$runs"); do
    local t0 t1
    t0=$(date +%s.%N)
    "$@" < "$work/points" > "$work/out"
    t1=$(date +%s.%N)
    best=$(awk -v a="$t0" -v b="$t1" -v best="$best" 'BEGIN { d = b - a; if (best == "" || d < best) best = d; printf "%.3f", best }')
  done
  echo "$best"
}

ours=$(seconds "$driver" --decimal=. convert 1 2E)
ours1=$(seconds "$driver" --threads=1 --decimal=. convert 1 2E)
proj=$(seconds cs2cs $lambert2e +to +proj=longlat +datum=WGS84)
lines=$(wc -l < "$work/out")
echo "points:                          100000 (cs2cs wrote $lines lines)"
echo "mirelot-coords convert 1 2E:     ${ours} s (all processors)"
echo "mirelot-coords, one thread:      ${ours1} s"
echo "cs2cs Lambert II étendu->WGS84:  ${proj} s"
awk -v a="$ours" -v b="$ours1" -v p="$proj" 'BEGIN {
  printf "ratio mirelot-coords / cs2cs:    %.2f (one thread: %.2f)\n", a / p, b / p }'
