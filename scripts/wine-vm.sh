#!/bin/bash
# wine-vm.sh: runs a command inside a small virtual machine whose kernel runs 32-bit programs,
# for machines whose own kernel does not (there Wine cannot run at all: under the user-mode
# i386 emulator making a prefix fails after many minutes).
#
#   scripts/wine-vm.sh prepare          # fetch the kernel and make the boot files (build/vm)
#   scripts/wine-vm.sh run DIR CMD...   # run CMD in the project root inside the VM; its output
#                                       # goes to DIR/vm.out and its exit code is ours
#
# The machine is qemu's software emulation of x86-64 with a stock Debian kernel (which runs
# i386 programs) and a tiny initramfs that mounts this machine's root through virtiofs and runs
# CMD there: the same files, packages and build trees, no image to build. Everything is about ten
# times slower than native (Wine makes a prefix in about 75 s), so only what needs a 32-bit
# kernel, the Windows suites, goes there. The guest has its own /tmp, /run and /dev/shm (tmpfs).
#
# The guest CPU has no SMAP and no protection keys: with SMAP, qemu's emulation of IRET from
# 32-bit user code reads the user stack as a supervisor access and faults, which kills every
# Wine process at start. The root is shared through virtiofs, not 9p: Wine could not run a
# program from a 9p share (nothing ran, from a copy in the guest's /tmp it did).
#
# VM_MEMORY (default 8G) and VM_TIMEOUT (seconds, default 5400) bound the machine.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/.." && pwd)
vm=$root/build/vm

log() { echo "wine-vm: $*" >&2; }

# The modules that mount a virtiofs share, lowest first; those the kernel has built in are
# left out.
modules=(virtio_ring virtio virtio_pci_legacy_dev virtio_pci_modern_dev virtio_pci fuse virtiofs)
virtiofsd=/usr/lib/qemu/virtiofsd

kernel_package() {
  apt-cache depends linux-image-amd64 2>/dev/null | sed -n 's/^ *Depends: \(linux-image-[^ ]*\)$/\1/p' | head -n1
}

prepare() {
  [ -f "$vm/ready" ] && return 0
  local qemu
  for qemu in qemu-system-x86_64 busybox cpio "$virtiofsd"; do
    command -v "$qemu" >/dev/null || { log "$qemu is missing (scripts/install-deps.sh installs it)"; return 1; }
  done
  rm -rf "$vm" && mkdir -p "$vm/debs" "$vm/initrd/bin" "$vm/initrd/mod" || return 1
  # The current stock kernel, unpacked only: nothing is installed on this machine.
  local image
  image=$(kernel_package)
  if [ -z "$image" ] && [ "$(id -u)" -eq 0 ]; then
    apt-get update >"$vm/update.log" 2>&1
    image=$(kernel_package)
  fi
  [ -n "$image" ] || { log "no linux-image-amd64 in the package lists"; return 1; }
  (cd "$vm/debs" && apt-get download "$image" >"$vm/download.log" 2>&1) ||
    { log "could not download $image (see $vm/download.log)"; return 1; }
  dpkg-deb -x "$vm"/debs/"$image"_*.deb "$vm/kernel" || return 1
  local version=${image#linux-image-}
  local mods=$vm/kernel/lib/modules/$version m path
  cp "$vm"/kernel/boot/vmlinuz-"$version" "$vm/vmlinuz" || return 1
  for m in "${modules[@]}"; do
    path=$(find "$mods/kernel" -name "$m.ko" -print -quit)
    if [ -n "$path" ]; then
      cp "$path" "$vm/initrd/mod/" && echo "$m" >>"$vm/initrd/mod/order"
    elif ! grep -q "/$m.ko\$" "$mods/modules.builtin"; then
      log "kernel $version has no module $m"; return 1
    fi
  done
  cp "$(command -v busybox)" "$vm/initrd/bin/busybox" || return 1
  cat >"$vm/initrd/init" <<'EOF'
#!/bin/busybox sh
# Loads the virtiofs modules, mounts the host's root and hands over to the job runner there.
bb=/bin/busybox
$bb mount -t proc proc /proc
$bb mount -t devtmpfs dev /dev
for m in $($bb cat /mod/order); do $bb insmod /mod/$m.ko || echo "insmod $m failed"; done
$bb mkdir -p /host
$bb mount -t virtiofs host /host ||
  { echo "wine-vm: cannot mount the host's root"; $bb poweroff -f; }
runner=$($bb sed -n 's/.* quaver.runner=\([^ ]*\).*/\1/p' /proc/cmdline)
$bb umount /dev; $bb umount /proc
exec $bb switch_root /host "$runner"
EOF
  chmod +x "$vm/initrd/init"
  (cd "$vm/initrd" && mkdir -p proc dev host && find . | cpio -o -H newc 2>/dev/null) | gzip -1 >"$vm/initrd.gz" ||
    return 1
  rm -rf "$vm/debs" "$vm/kernel"
  touch "$vm/ready"
}

run() {  # DIR CMD...
  local dir=$1; shift
  prepare || return 1
  mkdir -p "$dir" && dir=$(cd "$dir" && pwd) || return 1
  case $dir in "$root"/*) ;; *) log "DIR must lie inside the project ($root)"; return 2 ;; esac
  case $root in *[[:space:]]*) log "the project's path must not hold spaces: $root"; return 2 ;; esac
  rm -f "$dir/vm.out" "$dir/vm.rc"
  # The job: the command and the environment that matters to it, read by the runner inside.
  { printf 'cd %q || exit 1\n' "$root"
    local v
    for v in $(compgen -e); do
      case $v in QUAVER_*|WS_*|GD_*) printf 'export %s=%q\n' "$v" "${!v}" ;; esac
    done
    printf '%q ' "$@"; echo
  } >"$dir/vm.job"
  # The file server for the shared root; it ends when the machine disconnects.
  local socket=$vm/virtiofs.sock memory=${VM_MEMORY:-8G}
  rm -f "$socket"
  # Everything in the machine is timed by its own clock: other work on the host must not starve
  # it (without root the priority stays as it is).
  local first=(nice -n -10)
  "${first[@]}" "$virtiofsd" --socket-path="$socket" -o source=/ -o cache=auto -o sandbox=chroot -o no_posix_lock -o xattr \
    --thread-pool-size=4 >"$dir/virtiofsd.log" 2>&1 &
  local server=$! end=$((SECONDS + 10))
  until [ -S "$socket" ] || [ $SECONDS -ge $end ]; do sleep 0.1; done
  [ -S "$socket" ] || { log "virtiofsd did not start (see $dir/virtiofsd.log)"; kill $server 2>/dev/null; return 1; }
  "${first[@]}" timeout -k 30 "${VM_TIMEOUT:-5400}" qemu-system-x86_64 -accel tcg,thread=multi -smp 2 \
    -m "$memory" -object memory-backend-memfd,id=mem,size="$memory",share=on -numa node,memdev=mem \
    -cpu max,-smap,-pku -nographic -no-reboot \
    -chardev socket,id=fs,path="$socket" -device vhost-user-fs-pci,queue-size=1024,chardev=fs,tag=host \
    -kernel "$vm/vmlinuz" -initrd "$vm/initrd.gz" \
    -append "console=ttyS0 quiet panic=-1 quaver.runner=$here/vm-guest.sh quaver.root=$root quaver.job=$dir" \
    </dev/null >"$dir/vm-console.log" 2>&1
  local rc=$?
  kill $server 2>/dev/null; wait $server 2>/dev/null
  [ $rc -eq 0 ] || log "the machine stopped with code $rc (console: $dir/vm-console.log)"
  [ -f "$dir/vm.rc" ] || { log "the job did not finish (console: $dir/vm-console.log)"; return 1; }
  return "$(cat "$dir/vm.rc")"
}

case ${1:-} in
  prepare) prepare ;;
  run) shift; [ $# -ge 2 ] || { log "usage: wine-vm.sh run DIR CMD..."; exit 2; }; run "$@" ;;
  *) log "usage: wine-vm.sh prepare | run DIR CMD..."; exit 2 ;;
esac
