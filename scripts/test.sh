#!/usr/bin/env bash
# Every test: sets up and builds (scripts/setup.sh), then runs the native tests and the Windows
# tests under Wine, each tree through CTest.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

status=0
echo "== native =="
ctest --preset native -j2 || status=1
echo "== windows (under Wine) =="
ctest --preset windows -j2 || status=1
exit $status
