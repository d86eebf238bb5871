#!/bin/bash
# Installs the Debian 12 packages the builds and tests need. Quick and silent when all of
# them are present; otherwise adds the i386 architecture, updates the lists once and
# installs only what is missing. Needs root (or sudo) only in that case.
set -euo pipefail

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

# Fast path: one query for all; dpkg-query fails if any package is unknown.
if statuses=$(dpkg-query -W -f='${db:Status-Abbrev}\n' "${packages[@]}" 2>/dev/null) &&
   ! grep -qv '^ii' <<<"$statuses"; then
  exit 0
fi

missing=()
for p in "${packages[@]}"; do
  installed "$p" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "install-deps: installing ${missing[*]}"
sudo=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "install-deps: run as root to install ${missing[*]}" >&2; exit 1; }
  sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${sudo[@]}" dpkg --add-architecture i386
fi
retry() {  # mirrors fail now and then
  local attempt
  for attempt in 1 2 3; do
    "$@" </dev/null && return 0
    [ $attempt -lt 3 ] && { echo "install-deps: retrying in 10 s: $*" >&2; sleep 10; }
  done
  return 1
}
retry "${sudo[@]}" apt-get update
retry "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends \
  -o Dpkg::Options::=--force-confdef -o Dpkg::Options::=--force-confold "${missing[@]}"

still=()
for p in "${missing[@]}"; do
  installed "$p" || still+=("$p")
done
if [ ${#still[@]} -ne 0 ]; then
  echo "install-deps: still missing after apt-get: ${still[*]}" >&2
  exit 1
fi
