#!/usr/bin/env bash
# Stamps the bundled example script twice, as two builds would: once with the native command
# line, once with Revtally.exe under Wine. Shows the version lines before and after, and the
# history file the builds leave beside the script. Work happens in build/example/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

work=build/example
rm -rf "$work" && mkdir -p "$work"
cp examples/app.rc examples/resource.h "$work/"

show() { # the four version lines, decoded from code page 932 for this terminal
  iconv -f CP932 -t UTF-8 "$work/app.rc" | grep -E 'FILEVERSION|PRODUCTVERSION|"FileVersion"|"ProductVersion"' | tr -d '\r'
}

echo "== before =="
show
echo
echo "== build 1: native command line: build/native/revtally app.rc =="
(cd "$work" && ../native/revtally app.rc)
show
echo
echo "== build 2: Windows program under Wine: Revtally.exe app.rc =="
# Stamped under another file name, so that no tray window is started behind the example.
cp build/windows/Revtally.exe "$work/stamper.exe"
(cd "$work" && ../windows/wine-run ./stamper.exe app.rc)
rm -f "$work/stamper.exe"
build/windows/wine-run --end
show
echo
echo "== $work/app_ver.txt =="
iconv -f CP932 -t UTF-8 "$work/app_ver.txt" | tr -d '\r'
