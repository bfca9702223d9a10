#!/usr/bin/env bash
# Builds the test guest's initramfs: busybox, the HID modules with what they depend on (from
# modules.dep, loaded in dependency order), the given programs with their shared libraries, and
# the given data files, all beside the init script.
#   build-initramfs.sh KERNEL_ROOT OUTPUT.cpio.gz PROGRAM... -- DATA_FILE...
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
kernel_root=$1 output=$2
shift 2
programs=() data=()
while [ $# -gt 0 ] && [ "$1" != "--" ]; do programs+=("$1"); shift; done
[ $# -gt 0 ] && shift
data=("$@")

modules_dir=$(echo "$kernel_root"/lib/modules/*)
[ -f "$modules_dir/modules.dep" ] || { echo "build-initramfs: no modules.dep in $modules_dir" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/root
mkdir -p "$root"/{bin,proc,sys,dev,run,tmp,kbdconf}
cp /bin/busybox "$root/bin/busybox"
cp "$here/init" "$root/init"
chmod +x "$root/init"

# Each wanted module after its dependencies, each once.
declare -A loaded=()
order=()
add_module() {
  local rel=$1 line dep
  [ -n "${loaded[$rel]:-}" ] && return 0
  line=$(grep -m1 "^$rel:" "$modules_dir/modules.dep") || { echo "build-initramfs: $rel not in modules.dep" >&2; exit 1; }
  for dep in ${line#*:}; do add_module "$dep"; done
  loaded[$rel]=1
  order+=("$rel")
}
for name in hid uhid hid-generic; do
  rel=$(grep -m1 -E "(^|/)$name\.ko(\.[a-z]+)?:" "$modules_dir/modules.dep" | cut -d: -f1) ||
    { echo "build-initramfs: no module $name" >&2; exit 1; }
  add_module "$rel"
done
for rel in "${order[@]}"; do
  mkdir -p "$root/modules/$(dirname "$rel")"
  cp "$modules_dir/$rel" "$root/modules/$rel"
  echo "modules/$rel"
done > "$root/modules.load"

# The programs, stripped, and every library the loader will look for, at the same paths.
for program in "${programs[@]}"; do
  strip -o "$root/kbdconf/$(basename "$program")" "$program"
  ldd "$program" | awk '$2 == "=>" && $3 ~ /^\// {print $3} $1 ~ /^\// {print $1}'
done | sort -u | while read -r lib; do
  mkdir -p "$root$(dirname "$lib")"
  cp -L "$lib" "$root$lib"
done
for file in "${data[@]}"; do cp "$file" "$root/kbdconf/"; done

(cd "$root" && find . | cpio -o -H newc --quiet) | gzip -1 > "$output"
