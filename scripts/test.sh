#!/usr/bin/env bash
# Every test: sets up and builds (scripts/setup.sh), checks the tree's style
# (scripts/check-style.sh), then runs the native tests and the Windows tests under Wine, each tree
# through CTest. Every part runs even when an earlier one failed; the exit code is 1 if any did.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

status=0
failed=()
echo "== style =="
scripts/check-style.sh || { status=1; failed+=(style); }
echo "== native =="
ctest --preset native -j2 || { status=1; failed+=(native); }
echo "== windows (under Wine) =="
ctest --preset windows -j2 || { status=1; failed+=(windows); }
[ $status -eq 0 ] && echo "== all passed ==" || echo "== failed: ${failed[*]} =="
exit $status
