#!/usr/bin/env bash
# Times Revtally's window under Wine with 0, 1,000 and 2,000 projects in the INI file: start
# (process start to the dialog shown, list filled) and close (WM_CLOSE to process exit, which
# writes the whole list back through the profile functions), and weighs the process's private
# memory once the window has settled. Prints the median of a few runs for each size, its ratio
# to the empty list and, for start and close, to the size before it, so that growth that is
# worse than linear shows. Figures only: nothing here passes or fails.
#
#   bench/window_bench.sh [runs] [sizes...]     defaults: 5 runs; 0 1000 2000
#
# Uses the windows build tree (built if needed) and wine-run's manual prefix, whose Wine and
# display it ends when done. The program runs in a Wine virtual desktop: on a bare X display
# Wine waits 2 s for a window manager that never comes whenever a window is hidden, which would
# swamp the close figures.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
build=$root/build/windows
runs=${1:-5}
shift || true
sizes=("$@")
[[ ${#sizes[@]} -gt 0 ]] || sizes=(0 1000 2000)

if [[ ! -x $build/wine-run ]]; then
  cmake --preset windows >/dev/null
fi
cmake --build --preset windows --target Revtally revtally_window_probe >/dev/null

work=$(mktemp -d "${TMPDIR:-/tmp}/revtally-window-bench-XXXXXX")
cleanup() {
  "$build/wine-run" --end || true
  rm -rf "$work"
}
trap cleanup EXIT

median() { sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

winpath() { echo "Z:${1//\//\\}"; }

# wine-run's prefix and display, with the locale and settings it runs programs with.
eval "$("$build/wine-run" --env | sed 's/^/export /')"
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES='mscoree,mshtml=d' WINEARCH=win64

probe() { # $1: output file, rest: probe arguments. Output through a file: Wine's helper
  # processes may hold a pipe open long after the program ended.
  local out=$1
  shift
  wine explorer /desktop=revtally-bench,1024x768 "$(winpath "$build/revtally_window_probe.exe")" \
    "$@" >"$out" 2>"$work/probe.err" </dev/null || true
  tr -d '\r' <"$out" >"$out.txt"
  [[ -s $out.txt ]] || { cat "$work/probe.err" >&2; echo "window_bench.sh: the probe measured nothing" >&2; exit 1; }
}

echo "Revtally window under Wine ($(wine --version 2>/dev/null)), median of $runs runs"
printf '%8s %10s %7s %8s %10s %7s %8s %11s %7s\n' projects start_ms ratio vs_prev close_ms ratio \
  vs_prev private_KB ratio
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2fx", (b > 0 ? a / b : 0) }'; }
base_start='' base_close='' base_memory='' prev_start='' prev_close=''
for n in "${sizes[@]}"; do
  folder=$work/n$n
  mkdir -p "$folder"
  cp "$build/Revtally.exe" "$folder/Revtally.exe"
  # A project list as a user's machine would hold it, from the tests' own INI builder.
  wine "$(winpath "$build/revtally_window_probe.exe")" ini "$(winpath "$work/list$n.ini")" "$n" \
    </dev/null >/dev/null 2>&1 || { echo "window_bench.sh: no project list of $n" >&2; exit 1; }
  cp "$work/list$n.ini" "$folder/Revtally.ini"
  # One warm-up run first, so that no size pays for Wine loading its DLLs.
  probe "$work/warm$n" time "$(winpath "$folder/Revtally.exe")" 1
  cp "$work/list$n.ini" "$folder/Revtally.ini"
  probe "$work/raw$n" time "$(winpath "$folder/Revtally.exe")" "$runs"
  mv "$work/raw$n.txt" "$work/times$n"
  rows=$(awk '{ print $3 }' "$work/times$n" | sort -u | tr '\n' ' ')
  [[ $rows == "$n " ]] || echo "  (the list showed $rows rows, not $n)" >&2
  start=$(awk '{ print $1 }' "$work/times$n" | median)
  close=$(awk '{ print $2 }' "$work/times$n" | median)
  memory=$(awk '{ print $5 }' "$work/times$n" | median)
  [[ -n $base_start ]] || { base_start=$start; base_close=$close; base_memory=$memory; }
  start_prev=- close_prev=-
  if [[ -n $prev_start ]]; then
    start_prev=$(ratio "$start" "$prev_start")
    close_prev=$(ratio "$close" "$prev_close")
  fi
  printf '%8d %10.1f %7s %8s %10.1f %7s %8s %11.0f %7s\n' "$n" "$start" \
    "$(ratio "$start" "$base_start")" "$start_prev" "$close" "$(ratio "$close" "$base_close")" \
    "$close_prev" "$memory" "$(ratio "$memory" "$base_memory")"
  prev_start=$start prev_close=$close
done
echo "(ratio: against the first size; vs_prev: against the size before; private_KB: the process's" \
  "private memory with the window shown)"
echo "targets: 1,000 projects: start at most 1.5x the empty start, close at most 300 ms;" \
  "2,000 at most 2.2x of 1,000 for both; memory with 2,000 projects under 2x that with none"
