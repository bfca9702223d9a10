#!/usr/bin/env bash
# The real-kernel test under QEMU; skipped (not failed) where QEMU or the test kernel is missing.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
bash "$root/tests/vm/run.sh" "${KBDCONF_BUILD_DIR:-$root/build-test}"
status=$?
[ $status -eq 77 ] && exit 0
exit $status
