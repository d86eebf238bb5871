#!/bin/bash
# Checks scripts/gui-driver.sh without Wine: `wine` (running win_probe) and `xdotool` are
# replaced by stubs that log each call and know one window, "Main", with one control, "OK".
# What matters is that a failed step fails its case however the case is written, and that no
# step acts after one has failed. Prints one line per case and ends with "N passed, N failed".
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/gui-driver-test.XXXXXX") || exit 1
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin"
calls=$work/calls.log

# wine PROBE COMMAND OPTIONS...: the probe's answers for the known window and control.
cat >"$work/bin/wine" <<'STUB'
#!/bin/bash
shift
echo "probe $*" >>"$STUB_CALLS"
command=$1 title='' caption='' class=''
shift
while [ $# -gt 0 ]; do
    case $1 in
        --title) title=$2; shift ;; --caption | --text) caption=$2; shift ;; --class) class=$2; shift ;;
    esac
    shift
done
case $command:$title:$caption:$class in
    wait-window:Main::) echo "hwnd 0x10 rect 10 20 110 220 client 12 40 108 218" ;;
    control:Main:OK:) echo "hwnd 0x11 rect 30 60 90 80 client 30 60 90 80" ;;
    foreground:Main::) ;;
    wait-window:::#32768) [ -n "${STUB_MENU:-}" ] && echo "hwnd 0x12 rect 15 40 95 140 client 16 41 94 139" ;;
    *) exit 1 ;;
esac
STUB
cat >"$work/bin/xdotool" <<'STUB'
#!/bin/bash
echo "xdotool $*" >>"$STUB_CALLS"
[ -z "${STUB_XDOTOOL_FAILS:-}" ]
STUB
chmod +x "$work/bin/wine" "$work/bin/xdotool"
export PATH=$work/bin:$PATH STUB_CALLS=$calls
GD_PROBE=probe.exe GD_TIMEOUT=1
. "$root/scripts/gui-driver.sh"

passed=0 failed=0
# expect NAME FAILURE CALLS: the case's recorded failure ('' for none) and its calls, in order.
expect() {
    local got_calls
    got_calls=$(cat "$calls" 2>/dev/null)
    if [ "$GD_FAIL" = "$2" ] && [ "$got_calls" = "$3" ]; then
        echo "ok   $1"
        passed=$((passed + 1))
    else
        echo "FAIL $1"
        echo "    failure: '$GD_FAIL', expected '$2'"
        diff <(echo "$3") <(echo "$got_calls") | sed 's/^/    calls| /'
        failed=$((failed + 1))
    fi
}
new_case() { : >"$calls"; unset STUB_MENU STUB_XDOTOOL_FAILS; gd_case "$work/$1"; }

new_case click
gd_click Main --caption OK
expect "a click lands on the middle of the control's client area, after the window comes to the front" '' \
"probe control --title Main --caption OK --timeout 1
probe foreground --title Main
xdotool mousemove --sync 60 70 click 1"

# The step that fails sits in an `if`: the case fails all the same, and nothing acts after it.
new_case unknown-caption
if gd_click Main --caption Nope; then gd_keys Return; fi
gd_keys ctrl+q
expect "an unknown caption in an if fails the case and stops every later step" \
    'no control --caption Nope in "Main"' \
    "probe control --title Main --caption Nope --timeout 1"

new_case keys-fail
export STUB_XDOTOOL_FAILS=1
gd_front Main && gd_keys alt+e && gd_popup
gd_click Main --caption OK
expect "a key press that fails in a chain fails the case; the menu is never waited for" \
    'cannot send the keys alt+e' \
"probe foreground --title Main
xdotool key alt+e"

new_case menu
export STUB_MENU=1
gd_window Main && gd_popup && gd_click_at $((GD_RECT[0] + 20)) $((GD_RECT[1] + 11))
expect "the open menu's rectangle is read for a click on its first item" '' \
"probe wait-window --title Main --timeout 1
probe wait-window --class #32768 --timeout 1
xdotool mousemove --sync 35 51 click 1"

new_case no-menu
gd_popup
expect "a menu that does not open fails the case" 'no menu opened' "probe wait-window --class #32768 --timeout 1"

new_case window
gd_window Main
[ "${GD_RECT[*]}|${GD_CLIENT[*]}" = "10 20 110 220|12 40 108 218" ] || gd_fail "rects ${GD_RECT[*]}|${GD_CLIENT[*]}"
expect "a window's outer and client rectangles are both read" '' "probe wait-window --title Main --timeout 1"

new_case until
polls=0
third() { polls=$((polls + 1)); [ $polls -ge 3 ]; }
gd_until 5 "the third poll" third
expect "a wait ends when its condition holds (after $polls polls)" '' ''
gd_until 0 "something that never comes" false
gd_keys Return
expect "a wait that runs out fails the case with what it waited for" \
    'timed out waiting 0s for something that never comes' ''

new_case first-failure
gd_fail "the first reason"
gd_fail "a later reason"
gd_step "never run" true
expect "the first failure is kept" 'the first reason' ''
gd_case "$work/next"
gd_step "the command failed" false
expect "a new case starts clean; gd_step fails it when its command fails" 'the command failed' ''

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
