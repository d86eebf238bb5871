#!/bin/bash
# Installs the Debian 12 packages the builds and tests need. Quick and silent when all of
# them are present; otherwise adds the i386 architecture, updates the lists once and
# installs only what is missing. Needs root (or sudo) only in that case.
#
# On a kernel that runs no 32-bit programs it also installs qemu-user-static and registers it
# as the handler of i386 programs (root only), and says so; it never registers anything where
# the kernel runs them itself.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/i386-support.sh"

packages=(
  cmake ninja-build
  g++-multilib libgtest-dev:i386 googletest          # Linux i386 build and its tests
  g++-mingw-w64-i686 binutils-mingw-w64-i686         # Windows i686 build (posix thread model compiler)
  wine wine32:i386 xvfb xauth xdotool xclip imagemagick  # Windows tests under Wine and Xvfb
  locales fonts-noto-cjk fonts-wine                  # ja_JP locale data, Japanese glyphs, Wine's own faces
  manpages-ja unicode-data python3                   # test corpora, result parsing
  clang libclang-rt-14-dev:amd64                     # holds the i386 sanitizer and fuzzer runtimes
  valgrind libc6-dbg:i386                            # the Linux suites under valgrind
)

installed() {  # package[:arch] -> true when dpkg has it fully installed
  local status
  status=$(dpkg-query -W -f='${db:Status-Abbrev}' "$1" 2>/dev/null) || return 1
  [[ $status == ii* ]]
}

retry() {  # mirrors fail now and then
  local attempt
  for attempt in 1 2 3; do
    "$@" </dev/null && return 0
    [ $attempt -lt 3 ] && { echo "install-deps: retrying in 10 s: $*" >&2; sleep 10; }
  done
  return 1
}

# install PACKAGE...: installs those that are missing; exits if that fails.
install() {
  local statuses p missing=() still=() sudo=()
  # Fast path: one query for all; dpkg-query fails if any package is unknown.
  if statuses=$(dpkg-query -W -f='${db:Status-Abbrev}\n' "$@" 2>/dev/null) &&
     ! grep -qv '^ii' <<<"$statuses"; then
    return 0
  fi

  for p in "$@"; do
    installed "$p" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0

  echo "install-deps: installing ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "install-deps: run as root to install ${missing[*]}" >&2; exit 1; }
    sudo=(sudo)
  fi
  export DEBIAN_FRONTEND=noninteractive

  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${sudo[@]}" dpkg --add-architecture i386
  fi
  if [ -z "${lists_updated:-}" ]; then
    retry "${sudo[@]}" apt-get update
    lists_updated=yes
  fi
  retry "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends \
    -o Dpkg::Options::=--force-confdef -o Dpkg::Options::=--force-confold "${missing[@]}"

  for p in "${missing[@]}"; do
    installed "$p" || still+=("$p")
  done
  if [ ${#still[@]} -ne 0 ]; then
    echo "install-deps: still missing after apt-get: ${still[*]}" >&2
    exit 1
  fi
}

install "${packages[@]}"

# ---- 32-bit programs
# Where they run only through the emulator, the Windows suites can run in a small virtual
# machine (scripts/wine-vm.sh, with QUAVER_WINE_VM=yes); without these packages they are named
# as not run.
vm_packages=(qemu-system-x86 qemu-system-common busybox-static cpio)
vm_install() {
  [ "${QUAVER_WINE_VM:-no}" = yes ] || return 0
  [ "$(id -u)" -eq 0 ] || command -v sudo >/dev/null || return 0
  ( install "${vm_packages[@]}" ) ||
    echo "install-deps: could not install ${vm_packages[*]}: the Windows suites will not run here" >&2
}
case $(i386_status) in
  native) exit 0 ;;
  emulated) vm_install; exit 0 ;;
esac
why="this kernel runs no 32-bit (i386) programs (its log says \"32-bit emulation disabled\" or \"IA-32 emulation off\"), and everything here is 32-bit"
if [ "$(id -u)" -ne 0 ]; then
  echo "install-deps: $why. Run this script once as root to let i386 programs run through the qemu-user-static emulator (slow), or boot the kernel with ia32_emulation=on." >&2
  exit 1
fi
install qemu-user-static
if ! i386_register || [ "$(i386_status)" != emulated ]; then
  echo "install-deps: $why, and registering qemu-i386-static with binfmt_misc failed; boot the kernel with ia32_emulation=on." >&2
  exit 1
fi
vm_install
echo "install-deps: $why, so i386 programs now run through qemu-user-static (registered as their binfmt_misc handler): several times slower; the Wine checks are skipped (QUAVER_WINE_VM=yes runs them in a virtual machine) and so is valgrind. For native speed boot with ia32_emulation=on and remove the handler (echo -1 > $I386_HANDLER)."
