#!/usr/bin/env bash
# Times whole stamping runs of the command-line program on a 20 KB script against `sed -i` making
# the same four line replacements, run in pairs, and prints the median times and the median ratio
# of the pairs. Figures only.
#
#   bench/sed_compare.sh [runs] [program]
#
# The program defaults to the optimised, statically linked build/bench/revtally, then
# build/native/revtally (which carries sanitizers and so runs slower). sed neither updates a
# history file nor reads the numbers it writes.
set -euo pipefail

runs=${1:-100}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
program=${2:-}
if [[ -z $program ]]; then
  for candidate in "$root/build/bench/revtally" "$root/build/native/revtally"; do
    if [[ -x $candidate ]]; then
      program=$candidate
      break
    fi
  done
fi
if [[ -z $program || ! -x $program ]]; then
  echo "sed_compare.sh: no revtally program found; build the bench preset first" >&2
  exit 1
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/revtally-sed-XXXXXX")
trap 'rm -rf "$work"' EXIT

# A resource editor's script: dialogs and string tables, the version resource near the end.
generate_script() {
  local target=$1 index=0
  printf '// Microsoft Visual C++ generated resource script.\r\n//\r\n#include "resource.h"\r\n\r\n'
  printf '#include "afxres.h"\r\n\r\nLANGUAGE LANG_JAPANESE, SUBLANG_DEFAULT\r\n#pragma code_page(932)\r\n\r\n'
  local size=300
  while ((size < target - 1500)); do
    local block
    block=$(printf '/////////////////////////////////////////////////////////////////////////////\r\n//\r\n// Dialog\r\n//\r\n\r\n'
      printf 'IDD_PAGE%d DIALOGEX 0, 0, 320, 200\r\n' "$index"
      printf 'STYLE DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU\r\n'
      printf 'CAPTION "\x95\x5c\x8e\xa6\x83\x5c\x83\x74\x83\x67"\r\nFONT 9, "MS UI Gothic", 0, 0, 0x1\r\nBEGIN\r\n'
      printf '    LTEXT           "\x90\xdd\x92\xe8:",IDC_STATIC,7,7,60,8\r\n'
      printf '    EDITTEXT        IDC_EDIT%d,70,5,180,14,ES_AUTOHSCROLL\r\n' "$index"
      printf '    DEFPUSHBUTTON   "OK",IDOK,209,179,50,14\r\n'
      printf '    PUSHBUTTON      "\x83\x4c\x83\x83\x83\x93\x83\x5a\x83\x8b",IDCANCEL,263,179,50,14\r\nEND\r\n\r\n'
      printf 'STRINGTABLE\r\nBEGIN\r\n'
      for entry in 0 1 2 3 4 5 6 7; do
        printf '    IDS_MESSAGE%d%d       "\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xf0\x8a\x4a\x82\xad (%d)"\r\n' \
          "$index" "$entry" "$entry"
      done
      printf 'END\r\n\r\nx')
    block=${block%x} # $(...) drops trailing newlines; the x keeps them
    printf '%s' "$block"
    size=$((size + ${#block}))
    index=$((index + 1))
  done
  printf 'VS_VERSION_INFO VERSIONINFO\r\n FILEVERSION 1,2,3,41\r\n PRODUCTVERSION 1,2,3,41\r\n'
  printf ' FILEFLAGSMASK 0x3fL\r\n FILEFLAGS 0x0L\r\n FILEOS 0x4L\r\n FILETYPE 0x1L\r\n FILESUBTYPE 0x0L\r\n'
  printf 'BEGIN\r\n    BLOCK "StringFileInfo"\r\n    BEGIN\r\n        BLOCK "041104b0"\r\n        BEGIN\r\n'
  printf '            VALUE "CompanyName", "Sample Works\\0"\r\n'
  printf '            VALUE "FileVersion", "1, 2, 3, 41\\0"\r\n'
  printf '            VALUE "InternalName", "viewer\\0"\r\n'
  printf '            VALUE "ProductVersion", "1, 2, 3, 41\\0"\r\n'
  printf '        END\r\n    END\r\n    BLOCK "VarFileInfo"\r\n    BEGIN\r\n'
  printf '        VALUE "Translation", 0x411, 1200\r\n    END\r\nEND\r\n\r\n'
}

# ${#block} counts characters in the current locale; bytes are what the target is about.
export LC_ALL=C
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
# run), the order alternating within each pair, so that whatever else the machine does
# weighs on both sides alike. revtally syncs the script and its history to disk before it
# renames them into place; sed -i syncs nothing. The first ratio takes sed as it is (it favours
# sed); the second has every sed run followed by a sync of its file, so that both sides flush.
cp "$work/app.rc" "$work/synced.rc"
: > "$work/pairs"
for ((i = 0; i < runs; i++)); do
  build=$((42 + i))
  for side in $((i % 2)) $((1 - i % 2)); do
    if ((side == 0)); then
      t0=${EPOCHREALTIME/[.,]/}; "$program" "$work/app.rc"; t1=${EPOCHREALTIME/[.,]/}
      revtally_us=$((t1 - t0))
    else
      t0=${EPOCHREALTIME/[.,]/}; sed_stamp "$build" "$work/sed.rc"; t1=${EPOCHREALTIME/[.,]/}
      sed_us=$((t1 - t0))
      t0=${EPOCHREALTIME/[.,]/}; sed_stamp "$build" "$work/synced.rc"; sync "$work/synced.rc"; t1=${EPOCHREALTIME/[.,]/}
      synced_us=$((t1 - t0))
    fi
  done
  echo "$revtally_us $sed_us $synced_us" >> "$work/pairs"
done

# Both must have done the work, or the figures mean nothing.
expected_build=$((41 + runs))
grep -q "FILEVERSION 1, 2, 3, $expected_build"$'\r' "$work/app.rc" ||
  { echo "sed_compare.sh: $program did not stamp the script $runs times" >&2; exit 1; }
for file in sed synced; do
  grep -q "\"ProductVersion\", \"1, 2, 3, $expected_build\\\\0\""$'\r' "$work/$file.rc" ||
    { echo "sed_compare.sh: the sed replacements did not apply" >&2; exit 1; }
done

echo "script: $(wc -c < "$work/app.rc") bytes, CR LF, $runs paired runs, medians"
echo "program: $program"
printf 'revtally (read, rewrite, history, both synced)  %8.3f ms\n' \
  "$(awk '{ print $1 / 1000 }' "$work/pairs" | median)"
printf 'sed -i (four replacements, nothing synced)      %8.3f ms\n' \
  "$(awk '{ print $2 / 1000 }' "$work/pairs" | median)"
printf 'sed -i, then sync of its file                   %8.3f ms\n' \
  "$(awk '{ print $3 / 1000 }' "$work/pairs" | median)"
printf 'ratio revtally / sed -i           (median of pairs) %.2fx\n' \
  "$(awk '{ print $1 / $2 }' "$work/pairs" | median)"
printf 'ratio revtally / sed -i and sync  (median of pairs) %.2fx\n' \
  "$(awk '{ print $1 / $3 }' "$work/pairs" | median)"
echo "(target: at most 1.0x)"

if command -v hyperfine > /dev/null; then
  # A second opinion with fixed numbers (hyperfine runs the same command each time).
  cp "$work/sed.rc" "$work/hf.rc"
  {
    printf '%s\n' 's/^\([[:space:]]*FILEVERSION\) .*\r$/\1 1,2,3,7\r/' \
      's/^\([[:space:]]*PRODUCTVERSION\) .*\r$/\1 1,2,3,7\r/' \
      's/^\([[:space:]]*VALUE "FileVersion",\) .*\r$/\1 "1, 2, 3, 7\\0"\r/' \
      's/^\([[:space:]]*VALUE "ProductVersion",\) .*\r$/\1 "1, 2, 3, 7\\0"\r/'
  } > "$work/stamp.sed"
  hyperfine --warmup 5 --runs "$runs" "'$program' '$work/app.rc'" \
    "sed -i -f '$work/stamp.sed' '$work/hf.rc'"
fi
