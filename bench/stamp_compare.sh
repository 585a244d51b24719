#!/usr/bin/env bash
# Times whole stamping runs of the command-line program on a 20 KB script, in pairs, against
# bench/durable_stamp (a minimal C program doing the same durable work: lock, read, the four
# replacements and the history entry, temporary files synced and renamed, the folder synced) and
# against `sed -i` making the four replacements (nothing recorded, nothing synced). Prints the
# median times and the median ratio of the pairs. Figures only.
#
#   bench/stamp_compare.sh [runs] [program]
#
# The program defaults to the optimised, statically linked build/bench/revtally, then
# build/native/revtally (which carries sanitizers and so runs slower).
set -euo pipefail

runs=${1:-100}
# shellcheck source=bench/common.sh
. "$(dirname "${BASH_SOURCE[0]}")/common.sh" "${2:-}" stamp_compare.sh
durable=$root/build/bench/durable_stamp
[[ -x $durable ]] || { echo "stamp_compare.sh: build the bench preset first ($durable)" >&2; exit 1; }

generate_script 20480 > "$work/app.rc"
cp "$work/app.rc" "$work/sed.rc"

median() { sort -g | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

sed_stamp() { # $1: build number; $2: file
  sed -i \
    -e "s/^\\([[:space:]]*FILEVERSION\\) .*\\r\$/\\1 1,2,3,$1\\r/" \
    -e "s/^\\([[:space:]]*PRODUCTVERSION\\) .*\\r\$/\\1 1,2,3,$1\\r/" \
    -e "s/^\\([[:space:]]*VALUE \"FileVersion\",\\) .*\\r\$/\\1 \"1, 2, 3, $1\\\\0\"\\r/" \
    -e "s/^\\([[:space:]]*VALUE \"ProductVersion\",\\) .*\\r\$/\\1 \"1, 2, 3, $1\\\\0\"\\r/" \
    "$2"
}

# Paired runs (clock readings from bash itself: a process per reading would cost as much as a
# run), the order alternating within each pair, so that whatever else the machine does weighs on
# both sides alike.
cp "$work/app.rc" "$work/durable.rc"
: > "$work/pairs"
for ((i = 0; i < runs; i++)); do
  build=$((42 + i))
  for side in $((i % 2)) $((1 - i % 2)); do
    if ((side == 0)); then
      t0=${EPOCHREALTIME/[.,]/}; "$program" "$work/app.rc"; t1=${EPOCHREALTIME/[.,]/}
      revtally_us=$((t1 - t0))
    else
      t0=${EPOCHREALTIME/[.,]/}; "$durable" "$work/durable.rc"; t1=${EPOCHREALTIME/[.,]/}
      durable_us=$((t1 - t0))
      t0=${EPOCHREALTIME/[.,]/}; sed_stamp "$build" "$work/sed.rc"; t1=${EPOCHREALTIME/[.,]/}
      sed_us=$((t1 - t0))
    fi
  done
  echo "$revtally_us $durable_us $sed_us" >> "$work/pairs"
done

# Each must have done the work, or the figures mean nothing.
expected_build=$((41 + runs))
for file in app durable; do
  grep -q "FILEVERSION 1, 2, 3, $expected_build"$'\r' "$work/$file.rc" ||
    { echo "stamp_compare.sh: $file.rc was not stamped $runs times" >&2; exit 1; }
  [[ $(grep -c $'^\t[0-9/: ]*\tVersion' "$work/${file}_ver.txt") == "$runs" ]] ||
    { echo "stamp_compare.sh: ${file}_ver.txt does not hold $runs entries" >&2; exit 1; }
done
grep -q "\"ProductVersion\", \"1, 2, 3, $expected_build\\\\0\""$'\r' "$work/sed.rc" ||
  { echo "stamp_compare.sh: the sed replacements did not apply" >&2; exit 1; }
[[ -z $(find "$work" -name '*.tmp') ]] || { echo "stamp_compare.sh: temporary files were left" >&2; exit 1; }

echo "script: $(wc -c < "$work/app.rc") bytes, CR LF, $runs paired runs, medians"
echo "program: $program"
printf 'revtally                                         %8.3f ms\n' \
  "$(awk '{ print $1 / 1000 }' "$work/pairs" | median)"
printf 'durable_stamp (the same durable work, minimal C) %8.3f ms\n' \
  "$(awk '{ print $2 / 1000 }' "$work/pairs" | median)"
printf 'sed -i (four replacements, nothing synced)       %8.3f ms\n' \
  "$(awk '{ print $3 / 1000 }' "$work/pairs" | median)"
printf 'ratio revtally / durable_stamp (median of pairs) %.2fx  (target: at most 1.0x)\n' \
  "$(awk '{ print $1 / $2 }' "$work/pairs" | median)"
printf 'ratio revtally / sed -i        (median of pairs) %.2fx\n' \
  "$(awk '{ print $1 / $3 }' "$work/pairs" | median)"
