#!/usr/bin/env bash
# Installs what is missing, builds Mirelot and runs every test (headless).
# MIRELOT_WERROR=ON turns warnings into errors; MIRELOT_SANITIZE=ON builds with ASan and UBSan;
# MIRELOT_BUILD_DIR chooses the build folder.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/tools/deps.sh"
build="${MIRELOT_BUILD_DIR:-$root/build}"
cmake -S "$root" -B "$build" -G Ninja \
  -DCMAKE_BUILD_TYPE="${MIRELOT_BUILD_TYPE:-RelWithDebInfo}" \
  -DMIRELOT_WERROR="${MIRELOT_WERROR:-OFF}" \
  -DMIRELOT_SANITIZE="${MIRELOT_SANITIZE:-OFF}" \
  -DMIRELOT_BENCH="${MIRELOT_BENCH:-ON}" >/dev/null
cmake --build "$build" -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" --timeout 300
