# Whether this machine runs 32-bit x86 (i386) programs, and how. Sourced by the install, test
# and run scripts. Some kernels are built or booted without 32-bit support; there i386
# programs run only through a user-mode emulator (qemu-user-static registered with
# binfmt_misc), much more slowly, and some suites cannot run at all.
#
#   i386_status      prints native, emulated or missing
#   i386_register    registers qemu-i386-static as the handler of i386 programs (root)

I386_HANDLER=/proc/sys/fs/binfmt_misc/qemu-i386

# A tiny i386 program that only exits: it needs no library, so it runs wherever the kernel
# (or a registered emulator) runs i386 code at all.
i386_probe() {
  local dir=${TMPDIR:-/tmp}/quaver-i386-probe.$UID
  if [ ! -x "$dir/probe" ]; then
    mkdir -p "$dir" || return 1
    printf '%s\n' 'void _start(void) { __asm__ volatile("movl $1, %eax\n\txorl %ebx, %ebx\n\tint $0x80"); }' \
      >"$dir/probe.c"
    gcc -m32 -nostdlib -static -fno-pie -no-pie -o "$dir/probe.tmp" "$dir/probe.c" 2>/dev/null &&
      mv "$dir/probe.tmp" "$dir/probe" || return 1
  fi
  echo "$dir/probe"
}

# An enabled binfmt_misc handler that sends i386 programs to qemu is consulted before the
# kernel's own loader, so with one registered every i386 program is emulated.
i386_handler_enabled() {
  local entry
  for entry in /proc/sys/fs/binfmt_misc/*; do
    [ -f "$entry" ] || continue
    case ${entry##*/} in register|status) continue ;; esac
    grep -qx enabled "$entry" 2>/dev/null && grep -q '^interpreter .*qemu-i386' "$entry" 2>/dev/null && return 0
  done
  return 1
}

i386_status() {
  local probe
  probe=$(i386_probe) || { echo missing; return; }
  if ! "$probe" 2>/dev/null; then
    echo missing
  elif i386_handler_enabled; then
    echo emulated
  else
    echo native
  fi
}

i386_register() {
  local interpreter=/usr/bin/qemu-i386-static
  [ -x "$interpreter" ] || return 1
  if [ ! -e /proc/sys/fs/binfmt_misc/register ]; then
    mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc || return 1
  fi
  if [ -e "$I386_HANDLER" ]; then
    echo 1 >"$I386_HANDLER" || return 1
  else
    # Magic and mask of an i386 ELF executable; F opens the emulator now, so it also works in
    # containers and chroots that do not have it at that path.
    printf '%s' ":qemu-i386:M::\\x7fELF\\x01\\x01\\x01\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x02\\x00\\x03\\x00:\\xff\\xff\\xff\\xff\\xff\\xfe\\xfe\\x00\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xfe\\xff\\xff\\xff:$interpreter:F" \
      >/proc/sys/fs/binfmt_misc/register || return 1
  fi
}
