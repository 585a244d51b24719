# shellcheck shell=bash
# Sourced by the bench scripts that run the stamping program: sets here, root and program (the
# given one, else the optimised build/bench/revtally, else the sanitizer build), makes a work
# folder removed at exit (kept when KEEP is set), and gives generate_script.
# $1: the given program, if any; $2: the script's name, for messages.

here=$(cd "$(dirname "${BASH_SOURCE[1]}")" && pwd)
root=$(dirname "$here")
program=${1:-}
for candidate in "$root/build/bench/revtally" "$root/build/native/revtally"; do
  [[ -z $program && -x $candidate ]] && program=$candidate
done
[[ -n $program && -x $program ]] ||
  { echo "$2: no revtally program found; build the bench preset first" >&2; exit 1; }
work=$(mktemp -d "${TMPDIR:-/tmp}/revtally-bench-XXXXXX")
trap '[[ -n ${KEEP:-} ]] || rm -rf "$work"' EXIT
# Sizes are in bytes, whatever the locale.
export LC_ALL=C

# generate_script BYTES prints a resource script of about that size (code page 932, CR LF) with
# build 41 in its version resource.

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

