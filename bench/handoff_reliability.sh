#!/usr/bin/env bash
# Figures for stamping runs that hand their script to Revtally's window instance, under Wine:
#
#   1. bursts of eight stamping runs of eight scripts started at once with no window running:
#      how many window instances came, how many projects they list and save, how many history
#      entries were written, how many scripts reached build+1;
#   2. a long series of stamping runs into one running window, then close: whether the INI file
#      holds every project with its last build, and the window process's memory along the way;
#   3. the time of one stamping run with a window running beside one that hands nothing off
#      (the program renamed, so no "revtally.exe" is found), and the difference.
#
#   bench/handoff_reliability.sh [bursts] [series_runs] [timed_runs]    defaults: 3 500 20
#
# Figures only: nothing here passes or fails on time. Uses the windows build tree (built if
# needed) and a kept Wine prefix of its own, whose Wine and display it ends when done.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
build=$root/build/windows
bursts=${1:-3}
series_runs=${2:-500}
timed_runs=${3:-20}
series_projects=10

if [[ ! -x $build/wine-run ]]; then
  cmake --preset windows >/dev/null
fi
cmake --build --preset windows --target Revtally revtally_handoff_probe >/dev/null

export REVTALLY_WINE_RUN=${REVTALLY_WINE_RUN:-handoff-bench}
work=$(mktemp -d "${TMPDIR:-/tmp}/revtally-handoff-bench-XXXXXX")
cleanup() {
  "$build/wine-run" --end || true
  rm -rf "$work"
}
trap cleanup EXIT

eval "$("$build/wine-run" --env | sed 's/^/export /')"
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES='mscoree,mshtml=d' WINEARCH=win64

winpath() { echo "Z:${1//\//\\}"; }

probe() { # $1: output file, rest: probe arguments. Output through a file: Wine's helper
  # processes may hold a pipe open long after the program ended.
  local out=$1 rc=0
  shift
  wine "$(winpath "$build/revtally_handoff_probe.exe")" "$@" >"$out.raw" 2>"$work/probe.err" \
    </dev/null || rc=$?
  tr -d '\r' <"$out.raw" >"$out"
  [[ $rc -eq 0 ]] || { echo "  (the probe said: $(tr -d '\r' <"$work/probe.err" | head -3))" >&2; }
  return 0
}

script_text() { # $1: build
  printf 'VS_VERSION_INFO VERSIONINFO\r\n FILEVERSION 1, 0, 0, %s\r\n PRODUCTVERSION 1, 0, 0, %s\r\nBEGIN\r\nEND\r\n' "$1" "$1"
}

ini_value() { # $1: file, $2: section, $3: key
  tr -d '\r' <"$1" | awk -v s="[$2]" -v k="$3=" '
    $0 == s { inside = 1; next }
    /^\[/ { inside = 0 }
    inside && index($0, k) == 1 { print substr($0, length(k) + 1); exit }'
}

median() { sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

new_folder() { # $1: name, $2: program name; prints the folder
  local folder=$work/$1
  mkdir -p "$folder/src"
  cp "$build/Revtally.exe" "$folder/$2"
  echo "$folder"
}

echo "Stamping runs handing off to Revtally's window under Wine ($(wine --version 2>/dev/null))"

echo
echo "1. Eight stamping runs of eight scripts at once, no window running ($bursts bursts)"
printf '%6s %7s %6s %9s %6s %9s %8s %9s\n' burst failed ms instances rows ini_rows history at_build+1
for burst in $(seq 1 "$bursts"); do
  folder=$(new_folder "burst$burst" Revtally.exe)
  scripts=()
  for i in 1 2 3 4 5 6 7 8; do
    script_text 100 >"$folder/src/app$i.rc"
    scripts+=("$(winpath "$folder/src/app$i.rc")")
  done
  probe "$work/burst$burst.txt" burst "$(winpath "$folder/Revtally.exe")" "${scripts[@]}"
  read -r _ _ _ failed _ ms _ instances _ rows <"$work/burst$burst.txt" || true
  probe "$work/close$burst.txt" close
  ini_rows=$(ini_value "$folder/Revtally.ini" PROJECT SIZE 2>/dev/null || true)
  history=0 stamped=0
  for i in 1 2 3 4 5 6 7 8; do
    history=$((history + $(grep -c 'build 100' "$folder/src/app${i}_ver.txt" 2>/dev/null || true)))
    grep -q 'FILEVERSION 1, 0, 0, 101' "$folder/src/app$i.rc" && stamped=$((stamped + 1))
  done
  printf '%6d %7s %6s %9s %6s %9s %8d %9d\n' "$burst" "${failed:-?}" "${ms:-?}" \
    "${instances:-?}" "${rows:-?}" "${ini_rows:-none}" "$history" "$stamped"
done
echo "(each burst should show 1 instance, 8 rows, 8 INI rows, 8 history entries, 8 scripts)"

echo
echo "2. $series_runs stamping runs one after another into one window ($series_projects scripts)"
folder=$(new_folder series Revtally.exe)
scripts=()
for i in $(seq 1 "$series_projects"); do
  script_text 1000 >"$folder/src/lib$i.rc"
  scripts+=("$(winpath "$folder/src/lib$i.rc")")
done
# Sampled every 50 runs: the window instance's working set and private bytes as Wine reports
# them, and the resident size of its Linux process.
window_rss() { # the Linux process of "revtally.exe -t" in this run's Wine prefix
  local p
  for p in /proc/[0-9]*; do
    [[ $(tr '\0' ' ' 2>/dev/null <"$p/cmdline") == "revtally.exe -t "* ]] || continue
    tr '\0' '\n' 2>/dev/null <"$p/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX" || continue
    awk '/^VmRSS:/ { print $2 }' "$p/status"
    return
  done
  echo 0
}
printf '%8s %12s %12s %6s %8s\n' after_run working_set_kb private_kb rows rss_kb
: >"$work/series.txt"
first=1
while [[ $first -le $series_runs ]]; do
  last=$(( first == 1 ? 1 : (first + 49 < series_runs ? first + 49 : series_runs) ))
  probe "$work/chunk.txt" series "$(winpath "$folder/Revtally.exe")" "$first" "$last" "${scripts[@]}"
  tail -n 1 "$work/chunk.txt" | awk -v rss="$(window_rss)" '{ print $1, $2, $3, $4, rss }' \
    >>"$work/series.txt"
  tail -n 1 "$work/series.txt" | awk '{ printf "%8d %12d %12d %6d %8d\n", $1, $2, $3, $4, $5 }'
  [[ $(wc -l <"$work/chunk.txt") -gt 0 ]] || break
  first=$((last + 1))
done
probe "$work/series-close.txt" close
right=0
for i in $(seq 1 "$series_projects"); do
  runs_of_i=$(( series_runs / series_projects + (i <= series_runs % series_projects ? 1 : 0) ))
  want=$(( 1000 + runs_of_i ))
  for index in $(seq 0 $((series_projects - 1))); do
    if [[ $(ini_value "$folder/Revtally.ini" "PROJECT$index" APPLICATION) == "lib$i" ]]; then
      [[ $(ini_value "$folder/Revtally.ini" "PROJECT$index" BUILDNUMBER) == "$want" ]] &&
        right=$((right + 1))
      break
    fi
  done
done
echo "INI after close: $(ini_value "$folder/Revtally.ini" PROJECT SIZE) projects listed," \
  "$right of $series_projects with their last build"
awk 'NR == 1 { ws = $2; rss = $5 } { lws = $2; lrss = $5 } END { if (NR) printf "working set %d -> %d kB (%+d), Linux resident size %d -> %d kB (%+d), first run to last\n", ws, lws, lws - ws, rss, lrss, lrss - rss }' "$work/series.txt"

echo
echo "3. One stamping run, process start to exit (median of $timed_runs)"
folder=$(new_folder handoff Revtally.exe)
script_text 1 >"$folder/src/app.rc"
# The first run starts the window instance; the timed ones find it running.
probe "$work/warm.txt" time "$(winpath "$folder/Revtally.exe")" "$(winpath "$folder/src/app.rc")" 1
probe "$work/with.txt" time "$(winpath "$folder/Revtally.exe")" "$(winpath "$folder/src/app.rc")" "$timed_runs"
probe "$work/with-close.txt" close
alone=$(new_folder alone stamper.exe)
script_text 1 >"$alone/src/app.rc"
probe "$work/warm2.txt" time "$(winpath "$alone/stamper.exe")" "$(winpath "$alone/src/app.rc")" 1
probe "$work/without.txt" time "$(winpath "$alone/stamper.exe")" "$(winpath "$alone/src/app.rc")" "$timed_runs"
with=$(median <"$work/with.txt")
without=$(median <"$work/without.txt")
printf '%-44s %8.1f ms\n' "with a window running (hand-off)" "$with"
printf '%-44s %8.1f ms\n' "no hand-off (program renamed)" "$without"
printf '%-44s %8.1f ms\n' "difference" "$(awk -v a="$with" -v b="$without" 'BEGIN { print a - b }')"
echo "(the hand-off waits 100 ms once before it sends, whatever else it costs)"
