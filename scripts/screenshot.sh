#!/usr/bin/env bash
# Saves a picture of the main window with a few projects in it, for the README:
# docs/screenshots/main-window.png.
#
#   scripts/screenshot.sh [output.png]
#
# Builds the windows tree if needed and runs Revtally.exe under Wine (wine-run's manual prefix and
# display, both ended afterwards) inside a Wine virtual desktop, so that the window gets its frame
# and caption drawn. The projects' scripts are copies of examples/app.rc under C:\Projects in the
# prefix, so every path the window shows exists; they are removed afterwards.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$root/build/windows
output=${1:-$root/docs/screenshots/main-window.png}

command -v import >/dev/null || { echo "screenshot.sh: ImageMagick's import is missing (scripts/setup.sh installs it)" >&2; exit 1; }
[[ -x $build/wine-run ]] || cmake --preset windows >/dev/null
cmake --build --preset windows --target Revtally revtally_window_probe >/dev/null

# wine-run's prefix and display, with the locale and settings it runs programs with.
eval "$("$build/wine-run" --env | sed 's/^/export /')"
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES='mscoree,mshtml=d' WINEARCH=win64

work=$(mktemp -d "${TMPDIR:-/tmp}/revtally-screenshot-XXXXXX")
projects_root=$WINEPREFIX/drive_c/Projects
names=(ImageViewer NetSync LogAnalyzer TextPad)
made=()
program_pid=''
cleanup() {
  if [[ -n $program_pid ]] && kill -0 "$program_pid" 2>/dev/null; then
    run_probe close || true
  fi
  "$build/wine-run" --end || true
  for folder in "${made[@]}"; do rm -rf "$folder"; done
  rmdir "$projects_root" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

winpath() { echo "Z:${1//\//\\}"; }

desktop=revtally
run_probe() { # probe arguments; output through a file, since Wine's helpers may hold a pipe open
  local status=0
  wine "$(winpath "$build/revtally_window_probe.exe")" "$@" "$desktop" \
    >"$work/probe.out" 2>"$work/probe.err" </dev/null || status=$?
  tr -d '\r' <"$work/probe.out"
  return "$status"
}

# Four projects at different stages, newest first as the window keeps them.
versions=("2,4,1,318" "1,0,7,52" "0,9,0,12" "3,1,0,1047")
updates=("2025/03/14 18:22:05" "2025/03/02 09:41:37" "2025/02/11 15:03:59" "2024/12/20 11:30:00")
{
  printf '[PROJECT]\r\nSIZE=%d\r\n' "${#names[@]}"
  for i in "${!names[@]}"; do
    name=${names[$i]}
    folder=$projects_root/$name
    [[ -e $folder ]] || made+=("$folder")
    mkdir -p "$folder"
    IFS=, read -r major minor sub build_number <<<"${versions[$i]}"
    # The example script, carrying this project's numbers.
    sed -e "s/1,2,3,41/$major,$minor,$sub,$build_number/" \
      -e "s/1, 2, 3, 41/$major, $minor, $sub, $build_number/" examples/app.rc >"$folder/$name.rc"
    cp examples/resource.h "$folder/"
    printf '[PROJECT%d]\r\nAPPLICATION=%s\r\nMEJORVERSION=%d\r\nMINORVERSION=%d\r\n' \
      "$i" "$name" "$major" "$minor"
    printf 'SUBVERSION=%d\r\nBUILDNUMBER=%d\r\nLASTUPDATE=%s\r\n' "$sub" "$build_number" "${updates[$i]}"
    printf 'TARGETDIRECTORY=C:\\Projects\\%s\\\r\nRCFILE=C:\\Projects\\%s\\%s.rc\r\n' "$name" "$name" "$name"
  done
  printf '[LISTCONTROL]\r\nHEADER_WIDTH0=84\r\nHEADER_WIDTH1=60\r\nHEADER_WIDTH2=44\r\n'
  printf 'HEADER_WIDTH3=142\r\nHEADER_WIDTH4=200\r\n'
} >"$work/Revtally.ini"
cp "$build/Revtally.exe" "$work/Revtally.exe"

# No [WINDOW] position: the window opens centred on the desktop.
wine explorer "/desktop=$desktop,1024x768" "$(winpath "$work/Revtally.exe")" \
  >"$work/program.out" 2>&1 </dev/null &
program_pid=$!

rect=''
for _ in $(seq 1 60); do
  rect=$(run_probe rect) && break
  sleep 1
done
[[ -n $rect ]] || { echo "screenshot.sh: the window did not appear" >&2; cat "$work/probe.err" >&2; exit 1; }
read -r left top width height <<<"$rect"
sleep 1 # let the first paint finish

# The virtual desktop fills the display, so window and screen coordinates agree. A small margin
# keeps the frame's edge in the picture.
margin=12
x=$((left > margin ? left - margin : 0))
y=$((top > margin ? top - margin : 0))
mkdir -p "$(dirname "$output")"
import -display "$DISPLAY" -window root -crop "$((width + 2 * margin))x$((height + 2 * margin))+$x+$y" +repage "$output"

run_probe close >/dev/null || echo "screenshot.sh: the window did not close" >&2
wait "$program_pid" || true
program_pid=''
echo "screenshot.sh: wrote $output (window ${width}x${height} at $left,$top)"
