# Sourced by the set-up step and the test stage: where the unpacked test kernel lives.
# Outside the repository on purpose; KBDCONF_VM_CACHE overrides it.
kbdconf_vm_cache_dir() {
  if [ -n "${KBDCONF_VM_CACHE:-}" ]; then
    echo "$KBDCONF_VM_CACHE"
  elif [ -w /var/cache ] || [ -w /var/cache/kbdconf-vm ]; then
    echo /var/cache/kbdconf-vm
  else
    echo "${XDG_CACHE_HOME:-$HOME/.cache}/kbdconf-vm"
  fi
}
