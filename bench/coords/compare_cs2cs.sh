#!/usr/bin/env bash
# Times `mirelot-coords convert 1 2E` against PROJ's cs2cs over the same 100,000 Lambert II étendu
# points, both as whole processes, side by side (a few runs each), and prints the first run and
# the median of the later ones of each, and their ratios. cs2cs does the one transform Lambert II étendu -> WGS84 with the same
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

seconds() { # wall time of "$@" < points, in seconds: the first run, then the median of the later ones
  local times=()
  for _ in $(seq "$runs"); do
    local t0 t1
    t0=$(date +%s.%N)
    "$@" < "$work/points" > "$work/out"
    t1=$(date +%s.%N)
    times+=("$(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.3f", b - a }')")
  done
  local first="${times[0]}"
  local median
  median=$(printf '%s\n' "${times[@]:1}" | sort -n | awk '{ v[NR] = $1 } END {
    if (NR == 0) print "-"; else if (NR % 2) printf "%.3f", v[(NR + 1) / 2]; else printf "%.3f", (v[NR / 2] + v[NR / 2 + 1]) / 2 }')
  echo "$first $median"
}

read -r ours ours_median <<< "$(seconds "$driver" --decimal=. convert 1 2E)"
read -r ours1 ours1_median <<< "$(seconds "$driver" --threads=1 --decimal=. convert 1 2E)"
read -r proj proj_median <<< "$(seconds cs2cs $lambert2e +to +proj=longlat +datum=WGS84)"
lines=$(wc -l < "$work/out")
echo "points:                          100000 (cs2cs wrote $lines lines)"
echo "                                 first run   median of the later runs"
echo "mirelot-coords convert 1 2E:     ${ours} s     ${ours_median} s (all processors)"
echo "mirelot-coords, one thread:      ${ours1} s     ${ours1_median} s"
echo "cs2cs Lambert II étendu->WGS84:  ${proj} s     ${proj_median} s"
awk -v a="$ours" -v b="$ours1" -v p="$proj" -v am="$ours_median" -v bm="$ours1_median" -v pm="$proj_median" 'BEGIN {
  printf "ratio mirelot-coords / cs2cs:    first %.2f (one thread: %.2f)", a / p, b / p
  if (pm > 0) printf ", median %.2f (one thread: %.2f)", am / pm, bm / pm
  printf "\n" }'
