#!/bin/bash
# Runs the test images and compares what they report (standard error) and their exit status
# with tests/images/expected/. Two ways:
#   run_images_test.sh native QVRUN IMAGE_DIR [--sanitized]
#       qvrun on each packaged image IMAGE_DIR/NAME.qvi; --sanitized for a qvrun built with
#       AddressSanitizer, which leaves out the hand_* images (below)
#   run_images_test.sh wine QVIMAGE QVRUN_EXE IMAGE_DIR WORK_DIR
#       each IMAGE_DIR/NAME.o attached to a copy of the Windows qvrun.exe with qvimage
#       --attach, run under Wine (the caller's WINEPREFIX and wineserver)
# The hand_* images have no object: hand_assembled_images (beside QVIMAGE) writes them, and
# attaches them to qvrun.exe itself. They keep the stack 4-byte aligned at their calls, as
# Windows code may, while the Linux build's ABI promises 16: the sanitizers' stack frames
# cannot take that (their checks then report the runtime's own locals), so a sanitized run
# names them as skipped.
# @PLUGIN@ in a case's arguments names the test plug-in library: IMAGE_DIR/test_extension.so
# natively; for Wine, test_extension.dll from beside QVRUN_EXE, copied beside the attached
# program, where the library search looks first.
# Prints one line per case and ends with "N passed, N failed" (", N skipped" when any was).
set -uo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
mode=${1:-}
passed=0 failed=0 skipped=0

# name | qvrun arguments | expected report | expected exit status
cases=(
  "image_features||image_features.txt|0"
  "image_unhandled||image_unhandled.txt|3"
  "image_unbound||image_unbound.txt|1"
  "image_unbound|--assert=cancel|image_unbound-cancel.txt|0"
  "image_plugin_extension|--plugin @PLUGIN@|image_plugin_extension.txt|0"
  "hand_call_at_entry||hand_call_at_entry.txt|0"
  "hand_string_push||hand_string_push.txt|0"
  "hand_data_address||hand_data_address.txt|0"
)

check() {  # label actual_status expected_status report expected_file
  local label=$1 got=$2 want=$3 report=$4 expected=$5
  if [ "$got" != "$want" ]; then
    echo "FAIL $label: exit status $got, expected $want"; sed 's/^/    | /' "$report" | head -20
    failed=$((failed + 1)); return
  fi
  # The Windows runtime's standard error writes CR LF line ends.
  if ! diff <(tr -d '\r' <"$report") "$here/expected/$expected" >"$report.diff"; then
    echo "FAIL $label: report differs from expected/$expected"; head -20 "$report.diff"
    failed=$((failed + 1)); return
  fi
  echo "ok   $label"
  passed=$((passed + 1))
}

case $mode in
native)
  qvrun=$2 images=$3 sanitized=${4:-}
  for c in "${cases[@]}"; do
    IFS='|' read -r name args expected status <<<"$c"
    if [ "$sanitized" = --sanitized ] && [[ $name == hand_* ]]; then
      echo "SKIP  native $name: keeps 4-byte stack alignment, which sanitized frames cannot take"
      skipped=$((skipped + 1)); continue
    fi
    args=${args//@PLUGIN@/$images/test_extension.so}
    out=$(mktemp)
    # shellcheck disable=SC2086
    timeout $((60 * ${QUAVER_TIME_SCALE:-1})) "$qvrun" $args "$images/$name.qvi" </dev/null >/dev/null 2>"$out"
    check "native $name $args" $? "$status" "$out" "$expected"
    rm -f "$out" "$out.diff"
  done
  ;;
wine)
  qvimage=$2 qvrun_exe=$3 images=$4 work=$5
  mkdir -p "$work"
  if ! "$(dirname "$qvimage")/hand_assembled_images" "$work" "$qvrun_exe" >"$work/hand.attach.log" 2>&1; then
    echo "FAIL wine hand_*: hand_assembled_images could not attach them"; cat "$work/hand.attach.log"
    failed=$((failed + 1))
  fi
  for c in "${cases[@]}"; do
    IFS='|' read -r name args expected status <<<"$c"
    exe=$work/$name.exe
    if [ ! -f "$exe" ] && [[ $name == hand_* ]]; then
      echo "FAIL wine $name: not attached"; failed=$((failed + 1)); continue
    fi
    if [ ! -f "$exe" ] && ! "$qvimage" --attach "$qvrun_exe" -o "$exe" "$images/$name.o" >"$work/$name.attach.log" 2>&1; then
      echo "FAIL wine $name: qvimage --attach failed"; cat "$work/$name.attach.log"
      failed=$((failed + 1)); continue
    fi
    if [[ $args == *@PLUGIN@* ]]; then
      if ! cp "$(dirname "$qvrun_exe")/test_extension.dll" "$work/"; then
        echo "FAIL wine $name: test_extension.dll not built"; failed=$((failed + 1)); continue
      fi
      args=${args//@PLUGIN@/test_extension.dll}
    fi
    out=$work/${expected%.txt}.err
    # shellcheck disable=SC2086
    timeout $((120 * ${QUAVER_TIME_SCALE:-1})) wine "$exe" $args </dev/null >"$work/$name.out" 2>"$out"
    check "wine $name $args" $? "$status" "$out" "$expected"
  done
  ;;
*)
  echo "usage: $0 native QVRUN IMAGE_DIR [--sanitized] | wine QVIMAGE QVRUN_EXE IMAGE_DIR WORK_DIR" >&2
  exit 2
  ;;
esac
if [ "$skipped" -gt 0 ]; then
  echo "$passed passed, $failed failed, $skipped skipped"
else
  echo "$passed passed, $failed failed"
fi
[ "$failed" -eq 0 ]
