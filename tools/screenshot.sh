#!/usr/bin/env bash
# Builds Mirelot and starts it on a virtual screen (Xvfb) of 1366x768 pixels. First as a new user
# (fresh home, no settings): a picture of the first-start question. Then with the settings of a
# user who has already started it once: pictures of the main window as it opens, with its menu bar
# given the keys by F10 (then Right), and with the "Options > Paramétrage" menu open. Last, each
# page of the record window (a stored record opened by the administrator), the first page of a new
# record, and the record list with its new-record frame, its export frame and its prospection view.
#   tools/screenshot.sh [output folder]     (default: build/screenshots)
# Installs, with apt-get, what it needs and is missing: xvfb, xauth, scrot, xdotool.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="$(realpath -m "${1:-$root/build/screenshots}")"
"$root/tools/deps.sh"

tools=(xvfb xauth scrot xdotool)
missing=()
for p in "${tools[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

build="${MIRELOT_BUILD_DIR:-$root/build}"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target mirelot window_pages -j"$(nproc)"
mkdir -p "$out"

home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
export MIRELOT_HOME="$home" HOME="$home" QT_QPA_PLATFORM=xcb LANG=fr_FR.UTF-8 LC_ALL=C.UTF-8

# Waits for the program's first window to appear.
cat >"$home/wait.sh" <<'INNER'
for _ in $(seq 50); do
  xdotool search --name "^Mirelot" >/dev/null 2>&1 && break
  sleep 0.2
done
INNER

# A new user: the first-start question, then the program is stopped.
cat >"$home/first.sh" <<'INNER'
#!/usr/bin/env bash
set -euo pipefail
program="$1"; out="$2"
"$program" &
pid=$!
. "$(dirname "$0")/wait.sh"
sleep 1
scrot -o "$out/mirelot-first-start.png"
# Every question answered with its default button: the proposed folder, the learning mode,
# the update check, then the address editor opens beside the main window.
for _ in 1 2 3 4; do
  xdotool key Return
  sleep 0.7
done
sleep 1
scrot -o "$out/mirelot-first-start-done.png"
kill "$pid"
wait "$pid" 2>/dev/null || true
INNER

# A user who has started the program before: the main window and a menu.
cat >"$home/shoot.sh" <<'INNER'
#!/usr/bin/env bash
set -euo pipefail
program="$1"; out="$2"
"$program" &
pid=$!
. "$(dirname "$0")/wait.sh"
sleep 1
scrot -o "$out/mirelot-main-window.png"
# The menu bar given the keys by F10: its first menu drawn highlighted, then the next after Right.
# Without a window manager nothing gives the window the keyboard: it is given it, as a desktop does.
xdotool search --name "^Mirelot \[" windowfocus --sync
sleep 0.3
xdotool key F10
sleep 0.5
scrot -o "$out/mirelot-menu-bar-f10.png"
xdotool key Right
sleep 0.5
scrot -o "$out/mirelot-menu-bar-f10-right.png"
xdotool key Escape
sleep 0.5
# Open "Options", then "Paramétrage" (the second item of the menu bar, after its "|").
xdotool mousemove 45 12 click 1
sleep 0.5
xdotool key Down Right
sleep 0.7
scrot -o "$out/mirelot-options-menu.png"
kill "$pid"
wait "$pid" 2>/dev/null || true
INNER
chmod +x "$home/first.sh" "$home/shoot.sh"

xvfb-run -a -s "-screen 0 1366x768x24" "$home/first.sh" "$build/app/mirelot" "$out"

rm -f "$home/registry.json"
mkdir -p "$home/Mirelot"
cat >"$home/registry.json" <<JSON
{"format": "Mirelot registry", "version": 1, "hives": {
 "HKEY_CURRENT_USER": {"name": "HKEY_CURRENT_USER", "values": [], "keys": []},
 "HKEY_LOCAL_MACHINE": {"name": "HKEY_LOCAL_MACHINE", "values": [], "keys": [
  {"name": "SOFTWARE", "values": [], "keys": [{"name": "Mirelot", "values": [], "keys": [
   {"name": "Version", "keys": [], "values": [{"name": "Version", "type": 1, "data": "Z2010"}]},
   {"name": "Options Générales", "keys": [], "values": [{"name": "Check UPDATE sur Web", "type": 1, "data": "3"}]},
   {"name": "Paramètres", "keys": [], "values": [
     {"name": "Dossier", "type": 1, "data": "$home/Mirelot"},
     {"name": "Validation Espèces", "type": 1, "data": "0"},
     {"name": "Adresses email Check1", "type": 1, "data": "6"},
     {"name": "Adresses email Check2", "type": 1, "data": "6"}]}]}]}]}}}
JSON
xvfb-run -a -s "-screen 0 1366x768x24" "$home/shoot.sh" "$build/app/mirelot" "$out"

# The record window, page by page, and the record list, with settings and a data folder of their own.
mkdir -p "$home/record"
MIRELOT_HOME="$home/record" HOME="$home/record" \
  xvfb-run -a -s "-screen 0 1366x768x24" "$build/tests/recordlist/window_pages" "$out" >/dev/null
echo "Pictures in $out:"
ls -1 "$out"
