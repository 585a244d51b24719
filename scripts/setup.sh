#!/usr/bin/env bash
# Installs what the builds and tests need on Debian (only what is missing), makes the Japanese
# locale that Wine takes code page 932 from and the English one of an English user, then
# configures and builds both trees.
#   scripts/setup.sh [--no-build]
#   scripts/setup.sh --install PACKAGE...   only those packages, when missing
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  cmake ninja-build g++ clang libclang-rt-dev          # native tree, sanitizers, libFuzzer
  strace                                                # the native fault-injection tests
  mono-xbuild                                           # the Visual Studio targets' test
  googletest libbenchmark-dev                           # tests and benchmarks
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64  # Revtally.exe and windres
  wine wine64 xvfb fonts-ipafont-gothic locales         # running it for real
  fp-utils                                              # chmcmd, which compiles the help file
  imagemagick                                           # scripts/screenshot.sh
  clang-format shellcheck                               # scripts/check-style.sh
)
install_only=false
if [ "${1:-}" = --install ]; then
  install_only=true
  shift
  packages=("$@")
fi

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

missing=()
# Each query's output is taken whole before it is looked at: under pipefail a grep -q that stops
# reading early makes the writer fail with SIGPIPE, and the pipeline with it.
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [ "$status" = 'install ok installed' ] || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi
$install_only && exit 0

for locale in ja_JP en_US; do
  if ! grep -qix "$locale.utf8" <<<"$(locale -a 2>/dev/null)"; then
    echo "setup: generating the $locale.UTF-8 locale"
    as_root sed -i "s/^# *$locale.UTF-8 UTF-8/$locale.UTF-8 UTF-8/" /etc/locale.gen
    grep -q "^$locale.UTF-8 UTF-8" /etc/locale.gen || echo "$locale.UTF-8 UTF-8" | as_root tee -a /etc/locale.gen >/dev/null
    as_root locale-gen >/dev/null
  fi
done

[ "${1:-}" = --no-build ] && exit 0

# A tree configured since the presets last changed is only built: the build configures again by
# itself when a CMake file changed, and builds nothing when nothing did.
for preset in native windows; do
  [ "build/$preset/CMakeCache.txt" -nt CMakePresets.json ] || cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done
