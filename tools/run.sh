#!/usr/bin/env bash
# Installs what is missing, builds Mirelot and starts it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/tools/deps.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" --target mirelot -j"$(nproc)"
exec "$root/build/app/mirelot" "$@"
