#!/usr/bin/env bash
# The whole test suite again, built with the address and undefined-behaviour sanitizers.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${KBDCONF_BUILD_DIR:-$root/build-test}-asan
rm -rf "$build"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" \
  -DKBDCONF_SANITIZE=address,undefined -DKBDCONF_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# Leaks inside the system's graphics and font libraries are theirs, not ours.
export LSAN_OPTIONS=suppressions=$root/scripts/lsan.supp:print_suppressions=0
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" -LE nosanitize
echo "sanitizers: address,undefined clean"
