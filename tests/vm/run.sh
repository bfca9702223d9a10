#!/usr/bin/env bash
# The real-kernel test: boots the cached Debian kernel under QEMU (software emulation) with an
# initramfs holding vm_tests, and passes when the guest reports that vm_tests exited with 0.
#   tests/vm/run.sh BUILD_DIR
#   KBDCONF_VM_VERBOSE=1    also print the guest's whole console
# Exit status: 0 passed, 1 failed, 77 skipped (a line "skipped: ..." says why).
# The guest's console is kept in BUILD_DIR/vm/console.log when the test fails.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${1:?build folder}
. "$here/cache-dir.sh"

skip() { echo "skipped: $*"; exit 77; }
qemu=$(command -v qemu-system-x86_64) || skip "qemu-system-x86_64 is not installed (scripts/setup installs it)"
kernel_root=$(kbdconf_vm_cache_dir)/current
vmlinuz=$(ls "$kernel_root"/boot/vmlinuz-* 2>/dev/null | head -n1)
[ -n "$vmlinuz" ] || skip "no test kernel in $(kbdconf_vm_cache_dir) (scripts/setup downloads it)"
[ -x /bin/busybox ] || skip "busybox is not installed (scripts/setup installs it)"
program=$build/tests/vm_tests
[ -x "$program" ] || { echo "vm: $program was not built"; exit 1; }

out=$build/vm
mkdir -p "$out"
rm -f "$out/console.log"
start=$(date +%s.%N)
"$here/build-initramfs.sh" "$kernel_root" "$out/initramfs.cpio.gz" "$program" -- "$root/res/config.xml" ||
  { echo "vm: cannot build the initramfs"; exit 1; }
built=$(date +%s.%N)

# panic=-1 and -no-reboot turn a kernel panic into the end of QEMU; the timeout bounds the rest.
timeout --kill-after=10 240 "$qemu" -accel tcg -nographic -no-reboot -m 512 -nic none \
  -kernel "$vmlinuz" -initrd "$out/initramfs.cpio.gz" \
  -append "console=ttyS0 quiet loglevel=3 panic=-1 rdinit=/init" \
  </dev/null >"$out/console.tmp" 2>&1
qemu_status=$?
done_at=$(date +%s.%N)
tr -d '\r' <"$out/console.tmp" >"$out/console.log"
rm -f "$out/console.tmp"

[ "${KBDCONF_VM_VERBOSE:-}" = 1 ] && cat "$out/console.log"
guest_status=$(sed -n 's/^KBDCONF-VM: exit \([0-9]*\)$/\1/p' "$out/console.log" | tail -n1)
timing=$(awk -v a="$start" -v b="$built" -v c="$done_at" 'BEGIN {printf "initramfs %.1f s, boot and test %.1f s", b - a, c - b}')
guest_times=$(sed -n 's/^KBDCONF-VM: \(up after .*\|done after .*\)$/\1/p' "$out/console.log" | paste -sd, -)
if [ "$guest_status" = "0" ]; then
  grep -E '^\[  (PASSED|SKIPPED) ' "$out/console.log"
  echo "vm: passed ($timing; guest: $guest_times)"
  rm -f "$out/console.log"
  exit 0
fi
if [ -z "$guest_status" ]; then
  [ $qemu_status -eq 124 ] && echo "vm: QEMU did not finish within 240 s"
  echo "vm: the guest never reported an exit status (QEMU exit $qemu_status)"
else
  echo "vm: vm_tests exited with $guest_status in the guest"
fi
grep -E '^\[  FAILED  \]|Failure|KBDCONF-VM:' "$out/console.log" | head -40
echo "vm: failed ($timing); the guest's console is in $out/console.log"
exit 1
