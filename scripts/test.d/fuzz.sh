#!/usr/bin/env bash
# Every fuzz target briefly, after replaying its regression inputs.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
KBDCONF_FUZZ_BUILD_DIR=${KBDCONF_BUILD_DIR:-$root/build-test}-fuzz bash "$root/scripts/fuzz" "${KBDCONF_FUZZ_SECONDS:-30}"
