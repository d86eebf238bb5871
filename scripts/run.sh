#!/bin/bash
# Builds Hollerpad and shows what it does. The window program is not there yet, so for now
# this builds the Linux build and the Windows hollerpad-convert.exe and runs the conversion
# on a sample Japanese text (or on the text given as arguments) with both, the .exe under
# Wine. Installs missing packages first.
#
#   scripts/run.sh                    # the sample text
#   scripts/run.sh 'そうなの?' ...     # your own text (arguments joined by line ends)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
"$root/scripts/install-deps.sh"

logs=build/run-logs
mkdir -p "$logs"
build() {   # PRESET [TARGET]
  local log=$logs/build-$1.log
  echo "building $1${2:+ ($2)} ..."
  if ! { cmake --preset "$1" >"$log" 2>&1 && cmake --build --preset "$1" ${2:+--target "$2"} >>"$log" 2>&1; }; then
    tail -n 40 "$log"
    echo "build of $1 failed, full log: $log" >&2
    exit 1
  fi
}
build linux
build win32 hollerpad-convert

input=$logs/sample.txt
if [ $# -gt 0 ]; then
  printf '%s' "$1" >"$input"; shift
  for line in "$@"; do printf '\r%s' "$line" >>"$input"; done
else
  # Lines end in a lone CR, as in the editor.
  printf '今日はいい天気だろう。\rすごい!!　本当?\rあなたも行く?\rびいーん\rそうなの?\rわーー、ああーー。' >"$input"
fi

cat <<'EOF'

The Hollerpad window program comes later. What follows shows its conversion, run by
hollerpad-convert (the same conversion code, default switches 1-8 on).
EOF
show() { tr '\r' '\n' <"$1" | sed 's/^/    /'; echo; }
echo; echo "Input:"; show "$input"

build/linux/bin/hollerpad-convert <"$input" >"$logs/linux.out"
echo "Output of the Linux build (build/linux/bin/hollerpad-convert):"; show "$logs/linux.out"

. "$root/scripts/wine-session.sh"
trap ws_end EXIT
echo "Starting a private Wine session for the Windows build ..."
ws_begin "$root/build/locale"
ws_wine build/win32/bin/hollerpad-convert.exe <"$input" >"$logs/win32.out" 2>"$logs/win32.err"
ws_end
if cmp -s "$logs/linux.out" "$logs/win32.out"; then
  echo "The Windows build (build/win32/bin/hollerpad-convert.exe under Wine) gave the same bytes."
else
  echo "The Windows build (build/win32/bin/hollerpad-convert.exe under Wine) gave different bytes:"
  show "$logs/win32.out"
  cat "$logs/win32.err"
  exit 1
fi
echo
echo "Try it yourself: printf 'すごい!\rそうなの?' | build/linux/bin/hollerpad-convert --switches 111111111 | tr '\r' '\n'"
