#!/usr/bin/env bash
# Checks the tree's style, as CI does (scripts/test.sh runs it before the tests):
#   - every C++ source (.cpp, .h) exactly as clang-format lays it out by the repo's .clang-format;
#   - no shellcheck finding in the shell scripts: scripts/*.sh, bench/*.sh, cmake/*.sh.in, .ci/run.
# Prints each finding; exit code 1 when there was any, 0 for a clean tree. Installs the two tools
# first when they are missing (scripts/setup.sh --install).
#   scripts/check-style.sh
set -euo pipefail
cd "$(dirname "$0")/.."

missing=()
command -v clang-format >/dev/null || missing+=(clang-format)
command -v shellcheck >/dev/null || missing+=(shellcheck)
[ ${#missing[@]} -eq 0 ] || scripts/setup.sh --install "${missing[@]}"

# Everything but the build trees and git's own files.
mapfile -t sources < <(find . \( -path ./build -o -path ./out -o -name .git \) -prune -o \
  -type f \( -name '*.cpp' -o -name '*.h' \) -print | sort)
scripts=()
for script in scripts/*.sh bench/*.sh cmake/*.sh.in .ci/run; do
  [ -f "$script" ] && scripts+=("$script")
done

status=0
if ! clang-format --dry-run --Werror "${sources[@]}"; then
  echo "check-style: C++ sources not as clang-format lays them out (clang-format -i FILE fixes them)" >&2
  status=1
fi
if ! shellcheck "${scripts[@]}"; then
  echo "check-style: shellcheck findings in the shell scripts" >&2
  status=1
fi
[ $status -ne 0 ] || echo "check-style: ${#sources[@]} C++ sources and ${#scripts[@]} shell scripts are clean"
exit $status
