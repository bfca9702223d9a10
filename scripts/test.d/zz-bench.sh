#!/usr/bin/env bash
# The benchmarks' figures, printed with every test run. They inform; a slow CI machine does not
# fail the build through them.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
bash "$root/scripts/bench" || echo "benchmarks: a benchmark program failed"
