#!/usr/bin/env bash
# Saves the pictures of the README into docs/screenshots (or FOLDER):
#   main-window.png       the main window with a few projects in it
#   about-box.png         its about box, opened with the ﾊﾞｰｼﾞｮﾝ button
#   directory-dialog.png  its directory dialog, opened with the 修正... button
#   tray-menu.png         the notification-area menu of the program started in tray mode (-t)
#
#   scripts/screenshot.sh [--lang en] [--dpi DPI] [FOLDER]
#
# --lang en runs the program as an English user does (LANG=en_US.UTF-8: the English window, code
# page 1252); its pictures are named NAME-en.png. Without it the user is Japanese (ja_JP.UTF-8).
# --dpi sets the display's resolution Wine reports (its LogPixels value; 96 unless given, 144 is
# a 150% display); pictures taken at another DPI than 96 are named NAME-<DPI>dpi.png. The column
# widths in the window's INI file are those a user would have set at that DPI.
#
# Builds the windows tree if needed and runs Revtally.exe under Wine (wine-run's prefix and display:
# the shared "manual" ones, or those named by REVTALLY_WINE_RUN; the display and Wine are ended
# afterwards) inside a Wine virtual desktop, so that windows get their frame and caption drawn.
# The projects' scripts are copies of examples/app.rc under C:\Projects in the prefix, so every
# path the window shows exists; they are removed afterwards. bench/window_probe.cpp finds the
# windows, opens the menu and the about box, and closes them again.
set -euo pipefail
dpi=96 lang=ja
while [[ ${1:-} == --dpi || ${1:-} == --lang ]]; do
  [[ $1 == --dpi ]] && dpi=${2:-} || lang=${2:-}
  shift 2 || true
done
[[ $dpi =~ ^[1-9][0-9]*$ && $lang =~ ^(ja|en)$ ]] ||
  { echo "usage: scripts/screenshot.sh [--lang en] [--dpi DPI] [FOLDER]" >&2; exit 2; }
suffix=''
[[ $lang == ja ]] || suffix=-$lang
((dpi == 96)) || suffix=$suffix-${dpi}dpi
out_dir=${1:+$(realpath -m "$1")}
cd "$(dirname "$0")/.."
root=$PWD
build=$root/build/windows
out_dir=${out_dir:-$root/docs/screenshots}

command -v import >/dev/null || { echo "screenshot.sh: ImageMagick's import is missing (scripts/setup.sh installs it)" >&2; exit 1; }
[[ -x $build/wine-run ]] || cmake --preset windows >/dev/null
cmake --build --preset windows --target Revtally revtally_window_probe >/dev/null

# wine-run's prefix and display, with the locale and settings it runs programs with.
eval "$("$build/wine-run" --env | sed 's/^/export /')"
if [[ $lang == en ]]; then export LANG=en_US.UTF-8; else export LANG=ja_JP.UTF-8; fi
export LC_ALL=$LANG WINEDEBUG=${WINEDEBUG:--all}
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
  set_dpi 96 || true
  "$build/wine-run" --end || true
  for folder in "${made[@]}"; do rm -rf "$folder"; done
  rmdir "$projects_root" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

winpath() { echo "Z:${1//\//\\}"; }

# The prefix is kept between runs (and shared with other manual runs): it is put back to 96 DPI
# at the end.
set_dpi() {
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f \
    >/dev/null 2>&1 </dev/null
}

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
  printf '[LISTCONTROL]\r\n'
  widths=(84 60 44 142 200)
  for i in "${!widths[@]}"; do
    printf 'HEADER_WIDTH%d=%d\r\n' "$i" $((widths[i] * dpi / 96))
  done
} >"$work/projects.ini"
cp "$build/Revtally.exe" "$work/Revtally.exe"

start_program() { # Revtally.exe's arguments; every run starts from the same project list
  cp "$work/projects.ini" "$work/Revtally.ini"
  wine explorer "/desktop=$desktop,1024x768" "$(winpath "$work/Revtally.exe")" "$@" \
    >"$work/program.out" 2>&1 </dev/null &
  program_pid=$!
}

end_program() { # after the program was told to end
  wait "$program_pid" || true
  program_pid=''
}

# shoot NAME LEFT TOP WIDTH HEIGHT MARGIN: saves that part of the screen, with a margin around it
# that keeps a frame's edge in the picture, as NAME.png. The virtual desktop fills the display, so
# window and screen coordinates agree.
screen_width=1024 screen_height=768
shoot() {
  local name=$1 left=$2 top=$3 width=$4 height=$5 margin=$6
  local x=$((left > margin ? left - margin : 0)) y=$((top > margin ? top - margin : 0))
  local right=$((left + width + margin)) bottom=$((top + height + margin))
  ((right <= screen_width)) || right=$screen_width
  ((bottom <= screen_height)) || bottom=$screen_height
  import -display "$DISPLAY" -window root -crop "$((right - x))x$((bottom - y))+$x+$y" +repage \
    "$out_dir/$name$suffix.png"
  echo "screenshot.sh: wrote $out_dir/$name$suffix.png (window ${width}x${height} at $left,$top)"
}

wait_rect() { # CLASS CAPTION WHAT: prints the frame of the shown window, once it is there
  if ! run_probe rectof "$1" "$2"; then
    echo "screenshot.sh: $3 did not appear" >&2
    cat "$work/probe.err" >&2
    return 1
  fi
}

mkdir -p "$out_dir"
set_dpi "$dpi"
WM_COMMAND=0x0111 WM_KEYDOWN=0x0100 VK_ESCAPE=0x1B IDOK=1
about_caption='Revtallyのﾊﾞｰｼﾞｮﾝ情報'
directory_caption='ディレクトリの修正'
if [[ $lang == en ]]; then
  about_caption='About Revtally'
  directory_caption='Script Path'
fi

# The tray menu. The window hides itself at once in tray mode; a click on the icon arrives as its
# notification message (WM_APP+0x200, lParam WM_LBUTTONUP) and shows the menu right-aligned at the
# cursor, put just above the icon in the desktop's notification area.
start_program -t
run_probe post 0 0 0 >/dev/null # WM_NULL: the window is there
sleep 1
run_probe cursor 1000 740 >/dev/null
run_probe post 0x8200 0 0x0202 >/dev/null
rect=$(wait_rect '#32768' '' 'the tray menu')
read -r left top width height <<<"$rect"
# Off the icon, so that its tip does not cover the menu.
run_probe cursor 20 20 >/dev/null
sleep 1
shoot tray-menu "$left" "$top" "$width" "$height" 24
run_probe postto '#32768' '' "$WM_KEYDOWN" "$VK_ESCAPE" 0 >/dev/null
run_probe gone '#32768' '' >/dev/null || echo "screenshot.sh: the tray menu did not close" >&2
run_probe post "$WM_COMMAND" 57665 0 >/dev/null # the menu's exit command, ID_APP_EXIT
end_program

# The main window. No [WINDOW] position: it opens centred on the desktop.
start_program
rect=''
for _ in $(seq 1 60); do
  rect=$(run_probe rect) && break
  sleep 1
done
[[ -n $rect ]] || { echo "screenshot.sh: the window did not appear" >&2; cat "$work/probe.err" >&2; exit 1; }
read -r left top width height <<<"$rect"
sleep 1 # let the first paint finish
shoot main-window "$left" "$top" "$width" "$height" 12

# Its about box, from the ﾊﾞｰｼﾞｮﾝ button (BN_CLICKED is 0).
run_probe post "$WM_COMMAND" 1020 0 >/dev/null
rect=$(wait_rect '#32770' "$about_caption" 'the about box')
read -r left top width height <<<"$rect"
sleep 1
shoot about-box "$left" "$top" "$width" "$height" 0
run_probe postto '#32770' "$about_caption" "$WM_COMMAND" "$IDOK" 0 >/dev/null
run_probe gone '#32770' "$about_caption" >/dev/null || echo "screenshot.sh: the about box did not close" >&2

# Its directory dialog, from the 修正... button, for the current (top) project.
run_probe post "$WM_COMMAND" 1022 0 >/dev/null
rect=$(wait_rect '#32770' "$directory_caption" 'the directory dialog')
read -r left top width height <<<"$rect"
sleep 1
shoot directory-dialog "$left" "$top" "$width" "$height" 0
run_probe postto '#32770' "$directory_caption" "$WM_COMMAND" 2 0 >/dev/null # IDCANCEL
run_probe gone '#32770' "$directory_caption" >/dev/null || echo "screenshot.sh: the directory dialog did not close" >&2

run_probe close >/dev/null || echo "screenshot.sh: the window did not close" >&2
end_program
