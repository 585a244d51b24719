#!/usr/bin/env bash
# A stamping run under Wine and a start of the window, each against the same program built from
# an earlier revision, as paired runs (the two programs take turns, each going first in every
# other pair). Prints the medians of each and the median of the pairs' ratios. Figures only:
# nothing here passes or fails.
#
#   bench/startup_compare.sh BEFORE [RUNS]      RUNS: 40 unless given
#
# BEFORE is a Revtally.exe, or a git revision whose Revtally.exe is built in a temporary worktree
# (mingw-w64, no tests). The program after is build/windows/Revtally.exe (built if needed). The
# stamps run as stamper.exe, a name that starts no window, on a 20 KB script of a resource
# editor's shape; the window starts with 20 projects in its INI file, in a Wine virtual desktop.
set -euo pipefail

before=${1:?usage: bench/startup_compare.sh BEFORE.exe|REVISION [RUNS]}
runs=${2:-40}
# shellcheck source=bench/common.sh
. "$(dirname "${BASH_SOURCE[0]}")/common.sh" "$(dirname "${BASH_SOURCE[0]}")/../build/native/revtally" startup_compare.sh
build=$root/build/windows
[[ -x $build/wine-run ]] || cmake --preset windows >/dev/null
cmake --build --preset windows --target Revtally revtally_window_probe >/dev/null

if [[ ! -f $before ]]; then
  tree=$work/before-tree
  git -C "$root" worktree add --detach --quiet "$tree" "$before"
  trap 'git -C "$root" worktree remove --force "$tree"; rm -rf "$work"' EXIT
  cmake -S "$tree" -B "$tree/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DREVTALLY_TESTS=OFF \
    -DCMAKE_TOOLCHAIN_FILE="$tree/cmake/mingw-w64-x86_64.cmake" >/dev/null
  cmake --build "$tree/build" --target Revtally >/dev/null
  before=$tree/build/Revtally.exe
fi

winpath() { echo "Z:${1//\//\\}"; }
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

eval "$("$build/wine-run" --env | sed 's/^/export /')"
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES='mscoree,mshtml=d' WINEARCH=win64
trap '"$build/wine-run" --end || true; [[ -z ${tree:-} ]] || git -C "$root" worktree remove --force "$tree"; rm -rf "$work"' EXIT

# The stampers in folders of their own: a revtally.exe beside one would be started as its window.
mkdir -p "$work/a" "$work/b" "$work/stamp-a" "$work/stamp-b" "$work/src"
cp "$before" "$work/stamp-a/stamper.exe"
cp "$before" "$work/a/Revtally.exe"
cp "$build/Revtally.exe" "$work/stamp-b/stamper.exe"
cp "$build/Revtally.exe" "$work/b/Revtally.exe"
generate_script 20000 >"$work/src/app.rc"
probe=$(winpath "$build/revtally_window_probe.exe")
wine "$probe" ini "$(winpath "$work/a/Revtally.ini")" 20 </dev/null >/dev/null 2>&1
cp "$work/a/Revtally.ini" "$work/b/Revtally.ini"

# pair KIND ARGS...: the probe's lines "before_ms after_ms", through a file (Wine's helper
# processes may hold a pipe open long after the program ended). Windows open in a virtual desktop:
# on a bare X display Wine waits for a window manager that never comes.
pair() {
  local kind=$1 out=$work/$1.txt desktop=()
  shift
  [[ $kind == stamp ]] || desktop=(explorer "/desktop=revtally-bench,1024x768")
  wine "${desktop[@]}" "$probe" pair "$kind" "$@" >"$out" 2>"$work/probe.err" </dev/null || true
  tr -d '\r' <"$out" >"$out.clean"
  [[ -s $out.clean ]] || { cat "$work/probe.err" >&2; echo "startup_compare.sh: $kind measured nothing" >&2; exit 1; }
  printf '%-8s %5d %12.2f %12.2f %8.3fx\n' "$kind" "$(wc -l <"$out.clean")" \
    "$(awk '{ print $1 }' "$out.clean" | median)" "$(awk '{ print $2 }' "$out.clean" | median)" \
    "$(awk '$1 > 0 { print $2 / $1 }' "$out.clean" | median)"
}

# The stamps look for revtally.exe in the current folder too: the work folder has none.
cd "$work"
echo "Revtally.exe under Wine ($(wine --version 2>/dev/null)): $runs paired runs each"
printf '%-8s %5s %12s %12s %9s\n' what pairs before_ms after_ms ratio
script=$(winpath "$work/src/app.rc")
# One warm-up pair of each first, so that neither pays for Wine loading its own DLLs.
pair stamp "$(winpath "$work/stamp-a/stamper.exe")" "$(winpath "$work/stamp-b/stamper.exe")" 1 "\"$script\"" >/dev/null
pair stamp "$(winpath "$work/stamp-a/stamper.exe")" "$(winpath "$work/stamp-b/stamper.exe")" "$runs" "\"$script\""
pair window "$(winpath "$work/a/Revtally.exe")" "$(winpath "$work/b/Revtally.exe")" 1 >/dev/null
pair window "$(winpath "$work/a/Revtally.exe")" "$(winpath "$work/b/Revtally.exe")" "$runs"
echo "(ratio: the median of after/before over the pairs; stamp: process start to exit; window:"
echo " process start to the dialog shown)"
