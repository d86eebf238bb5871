#!/bin/bash
# Builds Hollerpad (the Linux and the Windows build; installs missing packages first) and
# starts build/win32/bin/Hollerpad.exe under Wine.
#
# With a display (DISPLAY set) the program simply opens there for you to use. Without one it
# runs in a private Wine session on a virtual display: puts a sample Japanese text (or the
# text given as arguments) on the clipboard, clicks 貼り付け and 変換してコピー, checks the
# copied result against hollerpad-convert, saves a screenshot of the main window, says where,
# and ends the program with its 終了 button.
#
# Where the kernel runs no 32-bit programs (they run through an emulator, set up by
# scripts/install-deps.sh), it shows the conversion through hollerpad-convert first and gives
# Wine a bounded time to start (QUAVER_WINE_BOUND seconds, default 600).
#
#   scripts/run.sh                    # the sample text
#   scripts/run.sh 'そうなの?' ...     # your own text (arguments joined by line ends)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
"$root/scripts/install-deps.sh"

logs=build/run-logs
mkdir -p "$logs"
build() {   # PRESET
  local log=$logs/build-$1.log
  echo "building $1 ..."
  if ! { cmake --preset "$1" >"$log" 2>&1 && cmake --build --preset "$1" >>"$log" 2>&1; }; then
    tail -n 40 "$log"
    echo "build of $1 failed, full log: $log" >&2
    exit 1
  fi
}
build linux
build win32   # its default target makes Hollerpad.exe

. "$root/scripts/wine-session.sh"
. "$root/scripts/i386-support.sh"
program=build/win32/bin/Hollerpad.exe

input=$logs/sample.txt
if [ $# -gt 0 ]; then
  printf '%s' "$1" >"$input"; shift
  for line in "$@"; do printf '\n%s' "$line" >>"$input"; done
else
  printf '今日はいい天気だろう。\nすごい!!　本当?\nあなたも行く?\nびいーん\nそうなの?\nわーー、ああーー。' >"$input"
fi
# The oracle: the same conversion as a filter (lines end in a lone CR, as in the field). The X
# clipboard shows the program's CR LF copy with LF line ends.
tr '\n' '\r' <"$input" | build/linux/bin/hollerpad-convert | tr '\r' '\n' >"$logs/expected.txt"

# Where i386 programs run only through an emulator, Wine (an i386 program itself) takes many
# minutes to start or does not start at all: show the conversion first, then try, bounded.
if [ "$(i386_status)" = emulated ]; then
  bound=${QUAVER_WINE_BOUND:-600}
  echo
  echo "Note: this machine runs 32-bit programs only through an emulator (qemu-user-static), so"
  echo "Wine is very slow here or does not start at all. The conversion itself, through"
  echo "build/linux/bin/hollerpad-convert (what 変換してコピー copies):"
  echo; sed 's/^/    /' "$input"; echo; echo "  becomes"; echo; sed 's/^/    /' "$logs/expected.txt"; echo; echo
  if [ -z "${DISPLAY:-}" ]; then
    echo "Trying Hollerpad.exe under Wine for at most $bound s (QUAVER_WINE_BOUND) ..."
    export WS_BOOT_TIMEOUT=$bound
  fi
fi

if [ -n "${DISPLAY:-}" ]; then
  ws_locale "$root/build/locale"   # Japanese file names and code page for Wine
  echo "Starting $program on $DISPLAY (Wine output: $logs/hollerpad.log) ..."
  LC_ALL=$WS_LOCALE wine "$program" >"$logs/hollerpad.log" 2>&1
  exit 0
fi

. "$root/scripts/hollerpad-window.sh"
trap ws_end EXIT
echo "No display: starting a private Wine session on a virtual display ..."
if ! ws_begin "$root/build/locale"; then
  if [ -n "${WS_BOOT_TIMEOUT:-}" ]; then
    echo "Wine did not start under the emulator within $WS_BOOT_TIMEOUT s: $program is built, but not run here."
    echo "The conversion above is what it would copy. For the program itself, boot with ia32_emulation=on or use a machine that runs 32-bit programs."
    exit 0
  fi
  echo "The private Wine session did not start." >&2
  exit 1
fi
hw_prepare
hw_start "$program" "$logs/window"
screenshot=$logs/hollerpad-main.png
status=0
if hw_window Hollerpad && hw_convert "$input" "$logs/expected.txt"; then
  show() { sed 's/^/    /' "$1"; echo; }
  echo; echo "Pasted into Hollerpad:"; show "$input"
  echo "Copied by 変換してコピー (the same as build/linux/bin/hollerpad-convert gives):"; show "$logs/window/copied.txt"
  hw_screenshot Hollerpad "$screenshot" && echo "Screenshot of the main window: $root/$screenshot"
  hw_click Hollerpad 終了 || status=1
else
  status=1
fi
hw_finish
ws_end
if [ "$status" -ne 0 ] || [ "$HW_EXIT" != 0 ]; then
  echo "Hollerpad did not run as expected (${GD_FAIL:+$GD_FAIL; }exit code ${HW_EXIT:-none}); logs in $logs/window" >&2
  exit 1
fi
echo "Hollerpad ended with exit code 0."
echo
echo "Try it yourself: printf 'すごい!\rそうなの?' | build/linux/bin/hollerpad-convert --switches 111111111 | tr '\r' '\n'"
