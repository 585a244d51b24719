#!/usr/bin/env bash
# What the stamp costs a build with nothing changed: paired runs of such a build with the stamp
# and without it, under `dotnet msbuild` (tests/package/msbuild/app.vcxproj, with Revtally.targets
# imported and not) and under Ninja (tests/package/project cross-compiled with mingw-w64, with
# revtally_stamp() and without). Prints the medians and the median ratio of the pairs; the goal
# is 1.00x, since such a build stamps nothing.
#   bench/nochange_build.sh [PROGRAM] [PAIRS]      PROGRAM: the native revtally
set -euo pipefail
# shellcheck source=bench/common.sh
. "$(dirname "$0")/common.sh" "${1:-}" nochange_build.sh
pairs=${2:-20}

now() { date +%s%N; }
# pair NAME WITH... -- WITHOUT...: times the two commands, in turns, pairs times; prints figures.
pair() {
  local name=$1 with=() without=() a b t0 i
  shift
  while [[ $1 != -- ]]; do with+=("$1"); shift; done
  shift
  without=("$@")
  "${with[@]}" >/dev/null && "${without[@]}" >/dev/null # warm, and built once
  : >"$work/$name.times"
  for ((i = 0; i < pairs; i++)); do
    if ((i % 2)); then
      t0=$(now); "${without[@]}" >/dev/null; b=$(($(now) - t0))
      t0=$(now); "${with[@]}" >/dev/null; a=$(($(now) - t0))
    else
      t0=$(now); "${with[@]}" >/dev/null; a=$(($(now) - t0))
      t0=$(now); "${without[@]}" >/dev/null; b=$(($(now) - t0))
    fi
    echo "$a $b" >>"$work/$name.times"
  done
  awk -v name="$name" '
    { with[NR] = $1; without[NR] = $2; ratio[NR] = $1 / $2 }
    function median(v, n,   i, j, t) {
      for (i = 2; i <= n; i++) for (j = i; j > 1 && v[j-1] > v[j]; j--) { t = v[j]; v[j] = v[j-1]; v[j-1] = t }
      return n % 2 ? v[(n+1)/2] : (v[n/2] + v[n/2+1]) / 2
    }
    END {
      printf "%s: with the stamp %.1f ms, without %.1f ms (medians of %d pairs); median ratio %.2fx\n",
        name, median(with, NR) / 1e6, median(without, NR) / 1e6, NR, median(ratio, NR)
    }' "$work/$name.times"
}

if command -v dotnet >/dev/null; then
  for side in with without; do
    mkdir -p "$work/msbuild-$side"
    cp "$root/tests/package/msbuild/app.vcxproj" "$root/tests/package/project/app.rc" "$work/msbuild-$side/"
    printf 'STRINGTABLE\r\nBEGIN\r\n    1 "no version here"\r\nEND\r\n' >"$work/msbuild-$side/strings.rc"
    : >"$work/msbuild-$side/main.c"; : >"$work/msbuild-$side/app.h"
  done
  export DOTNET_NOLOGO=1 DOTNET_CLI_TELEMETRY_OPTOUT=1 MSBUILDDISABLENODEREUSE=1
  msbuild=(dotnet msbuild -nologo -v:q -m:1 -nodeReuse:false -p:RevtallyNoWindow=true)
  pair "dotnet msbuild" "${msbuild[@]}" "-p:RevtallyTargets=$root/cmake/Revtally.targets" \
    "-p:RevtallyProgram=$program" "$work/msbuild-with/app.vcxproj" -- \
    "${msbuild[@]}" "$work/msbuild-without/app.vcxproj"
else
  echo "dotnet msbuild: skipped, dotnet is not on PATH"
fi

if command -v x86_64-w64-mingw32-windres >/dev/null; then
  prefix="$work/prefix"
  mkdir -p "$prefix/bin" "$work/src"
  cmake --install "$root/build/native" --prefix "$prefix" >/dev/null 2>&1 ||
    { echo "Ninja: the native tree is not built" >&2; exit 1; }
  cp "$program" "$prefix/bin/revtally"
  for side in with without; do
    mkdir -p "$work/src-$side"
    cp "$root/tests/package/project/"* "$work/src-$side/"
  done
  # Without: the same project, revtally_stamp() taken out.
  sed -i 's/^revtally_stamp(.*$//' "$work/src-without/CMakeLists.txt"
  for side in with without; do
    cmake -S "$work/src-$side" -B "$work/ninja-$side" -G Ninja \
      "-DCMAKE_TOOLCHAIN_FILE=$root/cmake/mingw-w64-x86_64.cmake" "-DCMAKE_PREFIX_PATH=$prefix" >/dev/null
  done
  pair Ninja cmake --build "$work/ninja-with" -- cmake --build "$work/ninja-without"
else
  echo "Ninja: skipped, x86_64-w64-mingw32-windres is not installed"
fi
