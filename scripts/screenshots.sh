#!/bin/bash
# Regenerates the README's screenshots in docs/: Hollerpad's main window after converting a
# sample text, its settings window (設定 → 変換設定) and its about window (about → about),
# taken from Hollerpad.exe in a private Wine session on a virtual display. Builds what it needs
# first (the packages must be in place: scripts/install-deps.sh).
#
#   scripts/screenshots.sh
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
logs=build/run-logs
mkdir -p "$logs" docs
echo "building Hollerpad.exe and win_probe.exe ..."
if ! { cmake --preset win32 >"$logs/build-screenshots.log" 2>&1 &&
       cmake --build --preset win32 --target hollerpad_exe win_probe >>"$logs/build-screenshots.log" 2>&1; }; then
  tail -n 40 "$logs/build-screenshots.log"
  echo "build failed, full log: $logs/build-screenshots.log" >&2
  exit 1
fi

input=$logs/screenshot-sample.txt
printf '今日はいい天気だろう。\nすごい!!　本当?\nあなたも行く?\nそうなの?\nわーー、ああーー。' >"$input"
tr '\n' '\r' <"$input" | build/linux/bin/hollerpad-convert | tr '\r' '\n' >"$logs/screenshot-expected.txt"

. "$root/scripts/wine-session.sh"
. "$root/scripts/hollerpad-window.sh"
trap ws_end EXIT
ws_begin "$root/build/locale"
hw_prepare
hw_start build/win32/bin/Hollerpad.exe "$logs/screenshots"
# Menu-bar titles by position: ファイル 0, 編集 1, 設定 2, about 3; each of the last two has one item.
settings='Hollerpad　変換設定' about='Hollerpad　について' ok='Ｏ　Ｋ'
status=0
{
  hw_window Hollerpad && hw_convert "$input" "$logs/screenshot-expected.txt" &&
    hw_screenshot Hollerpad docs/hollerpad-main.png &&
    hw_menu Hollerpad 2 && hw_screenshot "$settings" docs/hollerpad-settings.png && hw_click "$settings" "$ok" &&
    hw_menu Hollerpad 3 && hw_screenshot "$about" docs/hollerpad-about.png && hw_click "$about" "$ok" &&
    hw_click Hollerpad 終了
} || status=1
hw_finish
ws_end
if [ "$status" -ne 0 ] || [ "$HW_EXIT" != 0 ]; then
  echo "screenshots failed (${GD_FAIL:+$GD_FAIL; }exit code ${HW_EXIT:-none}); logs in $logs/screenshots" >&2
  exit 1
fi
ls -l docs/hollerpad-main.png docs/hollerpad-settings.png docs/hollerpad-about.png
