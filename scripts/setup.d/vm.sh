#!/usr/bin/env bash
# Fetches the Debian kernel that the real-kernel test boots: the linux-image package that
# linux-image-amd64 points at, downloaded (not installed) and unpacked into the cache folder.
# A second run with the same version does nothing. Failure here only means the VM test is
# skipped later, so it never fails the set-up.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/tests/vm/cache-dir.sh"
cache=$(kbdconf_vm_cache_dir)

package=$(apt-cache depends linux-image-amd64 2>/dev/null | awk '/Depends: linux-image-[0-9]/ {print $2; exit}')
if [ -z "$package" ]; then
  echo "setup: vm: apt knows no linux-image-amd64; the real-kernel test will be skipped"
  exit 0
fi
target="$cache/$package"
if [ -e "$target/.unpacked" ]; then
  ln -sfn "$package" "$cache/current"
  exit 0
fi

mkdir -p "$cache" || { echo "setup: vm: cannot create $cache"; exit 0; }
download() { (cd "$cache" && apt-get download -qq "$package" >/dev/null 2>&1); }
if ! download; then
  # The package lists may predate the current kernel package: refresh them once.
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq >/dev/null 2>&1
  download || { echo "setup: vm: cannot download $package; the real-kernel test will be skipped"; exit 0; }
fi

echo "setup: vm: unpacking $package into $cache"
deb=$(ls -t "$cache/${package}_"*.deb | head -n1)
version=${package#linux-image-}
# A folder of its own, so that two set-ups at once do not unpack over each other.
work=$(mktemp -d "$cache/.unpack.XXXXXX") && chmod 755 "$work"
# The package leaves modules.dep to its install scripts; the initramfs builder needs it.
if dpkg-deb -x "$deb" "$work" && /sbin/depmod -b "$work" "$version"; then
  touch "$work/.unpacked"
  rm -rf "$target"
  mv "$work" "$target"
  ln -sfn "$package" "$cache/current"
  rm -f "$deb"
  # Kernels the mirror has since replaced are no longer booted.
  for old in "$cache"/linux-image-*; do
    [ "$old" = "$target" ] || rm -rf "$old"
  done
else
  rm -rf "$work"
  echo "setup: vm: cannot unpack $deb; the real-kernel test will be skipped"
fi
exit 0
