#!/usr/bin/env bash
# Installs, with apt-get, the Debian packages that building and testing Mirelot need.
# Does nothing when they are all present.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libgl-dev
  libxlsxwriter-dev libzip-dev libgmime-3.0-dev mdbtools-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang-format
  xdg-utils
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
