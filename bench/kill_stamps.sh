#!/usr/bin/env bash
# Cancelled builds: starts stamping runs of a 5 MB script and kills each (SIGKILL, as an IDE or CI
# does to a cancelled build's pre-build step) at a random moment of its run, then stamps once more
# normally, and counts what the kills left: temporary files beside the script, and builds raised
# without a history entry. Figures only.
#
#   bench/kill_stamps.sh [kills] [program] [-f]
#
# With -f the script's numbers are macros of version.h beside it, and each run follows them
# (-f): the header, the history and the script are what the kills may leave behind.
set -euo pipefail

kills=${1:-300}
follow=()
[[ ${3:-} == -f ]] && follow=(-f)
# shellcheck source=bench/common.sh
. "$(dirname "${BASH_SOURCE[0]}")/common.sh" "${2:-}" kill_stamps.sh
generate_script 20480 > "$work/block.rc"
{
  # The dialogs and string tables again and again, then the version resource once.
  head=$(sed '/^VS_VERSION_INFO/,$d' "$work/block.rc"; echo x)
  for _ in $(seq 256); do printf '%s' "${head%x}"; done
  sed -n '/^VS_VERSION_INFO/,$p' "$work/block.rc"
} > "$work/app.rc"
if [[ ${#follow[@]} -gt 0 ]]; then
  sed -i -e 's/^\([[:space:]]*FILEVERSION\) .*\r$/\1 VER_MAJOR,VER_MINOR,VER_SUB,VER_BUILD\r/' \
    -e 's/^\([[:space:]]*VALUE "\(File\|Product\)Version",\) .*\r$/\1 VER_STRING\r/' "$work/app.rc"
  { printf '#include "version.h"\r\n'; cat "$work/app.rc"; } > "$work/with-header.rc"
  mv "$work/with-header.rc" "$work/app.rc"
  printf '#define VER_MAJOR 1\r\n#define VER_MINOR 2\r\n#define VER_SUB 3\r\n#define VER_BUILD 41\r\n#define VER_STRING "1.2.3.41"\r\n' > "$work/version.h"
fi

# How long an undisturbed run takes: the kills fall anywhere inside it.
cp "$work/app.rc" "$work/probe.rc"
t0=${EPOCHREALTIME/[.,]/}; "$program" "${follow[@]}" "$work/probe.rc"; t1=${EPOCHREALTIME/[.,]/}
run_us=$((t1 - t0))
rm -f "$work"/probe*
# The probe of a followed stamp raised the shared header once.
first=41
[[ ${#follow[@]} -gt 0 ]] && first=$(grep -a -o 'VER_BUILD [0-9]*' "$work/version.h" | grep -o '[0-9]*$')

for ((i = 0; i < kills; i++)); do
  "$program" "${follow[@]}" "$work/app.rc" 2>/dev/null &
  pid=$!
  delay=$(((RANDOM * 32768 + RANDOM) % (run_us + 1)))
  sleep "$(printf '%d.%06d' $((delay / 1000000)) $((delay % 1000000)))"
  kill -9 "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
done
left_before=$(find "$work" -name '*.tmp' | wc -l)
"$program" "${follow[@]}" "$work/app.rc"
left_after=$(find "$work" -name '*.tmp' | wc -l)

if [[ ${#follow[@]} -gt 0 ]]; then
  build=$(grep -a -o 'VER_BUILD [0-9]*' "$work/version.h" | grep -o '[0-9]*$')
else
  build=$(grep -a -m1 -o 'FILEVERSION 1, 2, 3, [0-9]*' "$work/app.rc" | grep -o '[0-9]*$')
fi
entries=$(grep -a -c $'^\t[0-9/: ]*\tVersion' "$work/app_ver.txt")
raised=$((build - first))
echo "script: $(wc -c < "$work/app.rc") bytes; one undisturbed run: $((run_us / 1000)) ms"
echo "program: $program"
echo "$kills kills at random moments, then one normal run"
echo "builds stamped: $raised; history entries: $entries; builds without an entry: $((raised - entries))"
echo "temporary files left by the kills: $left_before; after the normal run: $left_after"
