#!/bin/bash
# End-to-end tests of the Windows GUI runtime: the GUI test images (image_gui_*.o) attached
# to runtime.exe in MDI mode, run under Wine, driven with xdotool, their message boxes read
# and answered by win_probe.exe.
#
#   run_gui_test.sh QVIMAGE RUNTIME_EXE WIN_PROBE_EXE IMAGE_DIR WORK_DIR
#
# Runs inside a Wine session (scripts/wine-session.sh: WINEPREFIX, DISPLAY and a persistent
# wineserver set up by the caller). The probe starts each program with an exact command line
# (`wine prog args` would re-quote it), logs every message box as "caption<TAB>text" (CR and
# LF as \r and \n) after pressing OK, and prints the program's exit code. Each case then
# compares the texts in order and the exit code. Every wait has a timeout; a case that fails
# ends its program. First the probe checks itself against win_dialog_fixture.exe.
# Prints one line per case and ends with "N passed, N failed".
set -uo pipefail

if [ $# -ne 5 ]; then
    echo "usage: $0 QVIMAGE RUNTIME_EXE WIN_PROBE_EXE IMAGE_DIR WORK_DIR" >&2
    exit 2
fi
qvimage=$1 runtime=$2 probe=$3 images=$4 work=$5
fixture=$(dirname "$probe")/win_dialog_fixture.exe
passed=0 failed=0
wait_timeout=${QUAVER_GUI_WAIT:-$((10 * ${QUAVER_TIME_SCALE:-1}))}   # seconds for each wait on the program
case_timeout=${QUAVER_GUI_CASE:-$((40 * ${QUAVER_TIME_SCALE:-1}))}   # seconds after which the probe ends the program

if [ -z "${WINEPREFIX:-}" ] || [ -z "${DISPLAY:-}" ]; then
    echo "FAIL setup: needs the Wine session of scripts/wine-session.sh (WINEPREFIX, DISPLAY)"
    echo "0 passed, 1 failed"
    exit 1
fi
mkdir -p "$work" && work=$(cd "$work" && pwd) || exit 1

# Steps through the GUI-driving library: a step that fails fails its case, and no later step
# of the case acts.
GD_PROBE=$probe GD_TIMEOUT=$wait_timeout
. "$(cd "$(dirname "$0")/../.." && pwd)/scripts/gui-driver.sh"

# ---- One running case: the probe in the background, its log, the program's frame window
same_text='' case_name='' case_log='' case_probe_pid='' case_dir='' frame_rect=()

# start NAME EXE COMMAND_TAIL [PROBE_OPTION...]: runs the program with the command line
# "EXE"COMMAND_TAIL (EXE as a Windows path; quote='' leaves out its quotes).
start() {
    case_name=$1 case_dir=$work/$1
    rm -rf "$case_dir" && gd_case "$case_dir"
    case_log=$case_dir/boxes.log
    : >"$case_log"
    gd_probe run --log "$(gd_winpath "$case_log")" --pid-file "$(gd_winpath "$case_dir/pid")" --timeout "$case_timeout" \
        --cwd 'C:\' "${@:4}" -- "${quote-\"}$(gd_winpath "$2")${quote-\"}$3" >"$case_dir/probe.out" 2>&1 &
    case_probe_pid=$!
}


records() { wc -l <"$case_log"; }

# wait_records N: until the log holds N message boxes.
wait_records() {
    gd_ok || return 1
    local end=$(($(gd_us) + wait_timeout * 1000000))
    until [ "$(records)" -ge "$1" ]; do
        [ "$(gd_us)" -lt "$end" ] || { gd_fail "waited for message box $1, saw $(records)"; return 1; }
        # The probe writes a box's record and may end at once: look at the log once more.
        kill -0 "$case_probe_pid" 2>/dev/null || [ "$(records)" -ge "$1" ] ||
            { gd_fail "program ended before message box $1"; return 1; }
        sleep 0.05
    done
}

# frame TITLE: waits for the frame window, reads its rect and brings it to the front.
# frame TITLE: waits for the frame window, reads its rect and client rect into frame_rect
# (L T R B L T R B) and brings it to the front. Wine may leave the frame inactive after a
# message box has closed (boxes shown before the frame is visible have no owner to hand the
# activation back to), so every key press brings it to the front again.
frame() {
    gd_window "$1" && frame_rect=("${GD_RECT[@]}" "${GD_CLIENT[@]}") && gd_front "$1"
}

# key TITLE KEYS... COUNT: focuses the frame, sends the keys (XTEST), waits for COUNT boxes.
key() {
    local title=$1 count=${*: -1}
    gd_front "$title" && gd_keys "${@:2:$#-2}" && wait_records "$count"
}

# finish EXPECTED_EXIT EXPECTED_TEXT...: waits for the program to end, then compares.
finish() {
    local want_exit=$1 end=$(($(gd_us) + (case_timeout + 10) * 1000000)) got_exit
    shift
    while gd_ok && kill -0 "$case_probe_pid" 2>/dev/null && [ "$(gd_us)" -lt "$end" ]; do
        sleep 0.05
    done
    if kill -0 "$case_probe_pid" 2>/dev/null || ! gd_ok; then
        # Failed or hung: end the program now rather than at the probe's timeout.
        [ -s "$case_dir/pid" ] && gd_probe kill --pid "$(head -n1 "$case_dir/pid")" >/dev/null 2>&1
        local stop=$(($(gd_us) + 10000000))
        while kill -0 "$case_probe_pid" 2>/dev/null && [ "$(gd_us)" -lt "$stop" ]; do sleep 0.05; done
        kill -9 "$case_probe_pid" 2>/dev/null
    fi
    wait "$case_probe_pid" 2>/dev/null
    got_exit=$(sed -n 's/^exit \([0-9]*\).*/\1/p' "$case_dir/probe.out" | head -n1)
    # Captions are not compared (the runtime's boxes have none); texts are, after the case's
    # optional rewrite $same_text (a sed script for texts that may take either of two forms).
    cut -f2- "$case_log" | sed -e "${same_text:-}" >"$case_dir/texts"
    same_text=
    printf '%s\n' "$@" >"$case_dir/expected"
    if ! diff "$case_dir/expected" "$case_dir/texts" >"$case_dir/texts.diff"; then
        gd_fail "message boxes differ (expected <, seen >)"
    fi
    [ "$got_exit" = "$want_exit" ] || gd_fail "exit code ${got_exit:-none}, expected $want_exit"
    if gd_ok; then
        echo "ok   $case_name"
        passed=$((passed + 1))
    else
        echo "FAIL $case_name: $GD_FAIL"
        cut -c1-240 "$case_log" | sed 's/^/    box | /' | head -n 12
        [ -s "$case_dir/texts.diff" ] && sed 's/^/    diff| /' "$case_dir/texts.diff" | head -n 20
        grep -v '^exit ' "$case_dir/probe.out" | sed 's/^/    probe| /' | head -n 4
        [ -n "$got_exit" ] && echo "    exit code $got_exit"
        failed=$((failed + 1))
    fi
}

# ---- The probe itself, against message boxes of a plain Win32 program
fixture_cases() {
    # Two OK/Cancel boxes in order; the text's line break, tab and backslash escaped.
    start probe-records "$fixture" ' First "line1
line2" Second "tab	and \ back"'
    wait_records 2 && { [ "$(cut -f1 "$case_log" | tr '\n' ,)" = First,Second, ] || gd_fail "captions differ"; }
    finish 42 'line1\nline2' 'tab\tand \\ back'

    # A named button: 2 is Cancel, so the fixture counts no OK.
    start probe-button "$fixture" ' A b' --button 2
    finish 40 'b'

    # The command line reaches the program exactly, trailing spaces included.
    start probe-command-line "$fixture" '   '
    finish 41 "$(gd_winpath "$fixture" | sed 's/\\/\\\\/g; s/^/"/; s/$/"   /')"

    # A box left open: read by caption without pressing, its window described, then answered
    # by `dialogs` watching every process.
    local name=probe-dialog-text-and-any-process dir=$work/probe-dialog-text-and-any-process pid code
    rm -rf "$dir" && mkdir -p "$dir"
    LC_ALL=${LC_ALL:-ja_JP.UTF-8} wine "$fixture" Waiting 'left open' >"$dir/fixture.out" 2>&1 &
    pid=$!
    gd_probe dialog-text --caption Waiting --timeout "$wait_timeout" >"$dir/text.out" 2>&1
    gd_probe window-info --class '#32770' >"$dir/info.out" 2>&1
    gd_probe dialogs --log "$(gd_winpath "$dir/boxes.log")" --timeout $((3 * ${QUAVER_TIME_SCALE:-1})) >"$dir/dialogs.out" 2>&1
    local end=$(($(gd_us) + wait_timeout * 1000000))
    while kill -0 "$pid" 2>/dev/null && [ "$(gd_us)" -lt "$end" ]; do sleep 0.05; done
    kill -9 "$pid" 2>/dev/null
    wait "$pid"
    code=$?
    # The style of a visible popup dialog: WS_POPUP and WS_VISIBLE set.
    if [ "$(cat "$dir/text.out")" = "left open" ] && grep -qx 'title Waiting' "$dir/info.out" &&
        grep -Eqx 'style 0x9[0-9a-f]{7}' "$dir/info.out" && grep -q '^hwnd 0x[0-9a-f]* rect ' "$dir/info.out" &&
        [ "$(cat "$dir/boxes.log" 2>/dev/null)" = "$(printf 'Waiting\tleft open')" ] && [ "$code" = 41 ]; then
        echo "ok   $name"
        passed=$((passed + 1))
    else
        echo "FAIL $name: exit code $code"
        cat "$dir/text.out" "$dir/info.out" "$dir/boxes.log" 2>/dev/null | sed 's/^/    | /'
        failed=$((failed + 1))
    fi
}

# ---- The runtime
attach() {  # NAME TITLE: the image attached to runtime.exe in MDI mode (no TITLE: without MDI)
    "$qvimage" --attach "$runtime" ${2:+--mdi "$2"} -o "$work/$1.exe" "$images/$1.o" >"$work/$1.attach.log" 2>&1 ||
        { echo "FAIL attach $1: $(head -n 3 "$work/$1.attach.log")"; failed=$((failed + 1)); return 1; }
}

unhandled_nil='An exception of class NilObjectException was not handled.\r\nThe application must shut down.'

runtime_cases() {
    local app=$work/image_gui_app.exe bare=$work/image_gui_bare.exe t=GUI\ Test b=GUI\ Bare

    # Start-up events by command line, each ended with Ctrl+Q (the QuitMenuItem's key).
    start startup-empty-command-line "$app" ''
    wait_records 2 && frame "$t" && key "$t" ctrl+q 3
    finish 0 Open NewDocument Close

    start startup-two-quoted-paths "$app" ' "C:\qv\first.txt" "C:\qv\second.txt"'
    wait_records 3 && frame "$t" && key "$t" ctrl+q 4
    finish 0 Open 'OpenDocument C:\\qv\\first.txt' 'OpenDocument C:\\qv\\second.txt' Close

    # The quoted path keeps its space; the bare name is a file in the working directory, C:\.
    start startup-quoted-path-with-space-and-bare-name "$app" ' "C:\qv docs\report one.txt" notes.txt'
    wait_records 3 && frame "$t" && key "$t" ctrl+q 4
    finish 0 Open 'OpenDocument C:\\qv docs\\report one.txt' 'OpenDocument C:\\notes.txt' Close

    # The program's own path, unquoted, is the whole command line: NewDocument.
    quote='' start startup-unquoted-program-path "$app" ''
    wait_records 2 && frame "$t" && key "$t" ctrl+q 3
    finish 0 Open NewDocument Close

    # Spaces only: neither OpenDocument nor NewDocument (Close proves nothing else was due).
    start startup-spaces-only "$app" '   '
    wait_records 1 && frame "$t" && key "$t" ctrl+q 2
    finish 0 Open Close

    # Without an OpenDocument handler: NewDocument even though a file is named. Without an
    # UnhandledException handler: the runtime's message, then the program ends with 0.
    start bare-app-new-document-and-unhandled-exception "$bare" ' "C:\qv\first.txt"'
    wait_records 2 && frame "$b" && key "$b" ctrl+k 3
    finish 0 Open NewDocument "$unhandled_nil"

    # Shortcuts: Ctrl+Shift+S; a disabled item with AutoEnable off (D) does nothing, shown by
    # the next box being the one of E, which was built disabled and AutoEnable re-enabled.
    start menu-shortcuts "$app" ''
    wait_records 2 && frame "$t" && key "$t" ctrl+shift+s 3 && key "$t" ctrl+d ctrl+e 4 && key "$t" ctrl+q 5
    finish 0 Open NewDocument 'Action FileSave' 'Action FileRevived' Close

    # Handler order: the application's menu handler first; True ends the choice, False lets
    # the item's Action run after it.
    start menu-handler-order "$app" ''
    wait_records 2 && frame "$t" && key "$t" ctrl+h 3 && key "$t" ctrl+p 5 && key "$t" ctrl+q 6
    finish 0 Open NewDocument 'Handler TestHandled -1' 'Handler TestPassed -1' 'Action TestPassed' Close

    # Through the menu by keyboard: Alt+F (the title is "&File") opens File on its first item,
    # Down moves to Save.
    start menu-keyboard "$app" ''
    wait_records 2 && frame "$t" && gd_front "$t" && gd_keys alt+f && gd_popup &&
        gd_keys Down Return && wait_records 3 && key "$t" ctrl+q 4
    finish 0 Open NewDocument 'Action FileSave' Close

    # Through the menu by mouse: the File title (left end of the menu bar, just above the
    # client area), then the first item of the menu that opens.
    start menu-mouse "$app" ''
    wait_records 2 && frame "$t" && gd_click_at $((frame_rect[4] + 12)) $((frame_rect[5] - 9)) &&
        gd_popup && gd_click_at $((GD_RECT[0] + 20)) $((GD_RECT[1] + 11)) &&
        wait_records 3 && key "$t" ctrl+q 4
    finish 0 Open NewDocument 'Action FileNew' Close

    # UnhandledException declines a NilObjectException: the message, exit code 0, no Close.
    start unhandled-exception-declined "$app" ''
    wait_records 2 && frame "$t" && key "$t" ctrl+k 4
    finish 0 Open NewDocument 'UnhandledException NilObjectException' "$unhandled_nil"

    # UnhandledException answers True: the program goes on and takes the next command.
    start unhandled-exception-handled "$app" ''
    wait_records 2 && frame "$t" && key "$t" ctrl+u 3 && key "$t" ctrl+n 4 && key "$t" ctrl+q 5
    finish 0 Open NewDocument 'UnhandledException SurvivableError' 'Action FileNew' Close
}

# A program without MDI whose one window is an implicit Window subclass.
window_cases() {
    local win=$work/image_gui_window.exe t='GUI Window' style client
    start window-geometry-resize-and-close "$win" ''
    if wait_records 2 && frame "$t"; then
        # The content area lies where the Window says (10, 50 into the available area: the
        # whole screen here) with its size; a document frame with GrowIcon, ZoomIcon and
        # CloseBox: WS_CAPTION, WS_SYSMENU, WS_THICKFRAME, WS_MINIMIZEBOX, WS_MAXIMIZEBOX, no
        # WS_POPUP.
        client="Open ${frame_rect[4]},${frame_rect[5]} $((frame_rect[6] - frame_rect[4]))x$((frame_rect[7] - frame_rect[5]))"
        [ "$client" = "$(cut -f2- "$case_log" | head -n1)" ] || gd_fail "native content is $client"
        gd_step "no information on \"$t\"" gd_probe window-info --title "$t" >"$case_dir/info.out" 2>&1
        style=$(sed -n 's/^style //p' "$case_dir/info.out")
        [ -n "$style" ] && [ $((style & 0x80CF0000)) -eq $((0x00CF0000)) ] || gd_fail "style ${style:-unreadable}"
        # The user's resize by 100 x 50, then the close box.
        gd_step "cannot resize" gd_probe resize --title "$t" --by 100,50 >/dev/null 2>&1
        wait_records 3 && gd_step "cannot close" gd_probe close --title "$t" >/dev/null 2>&1 && wait_records 4
    fi
    finish 0 'Open 50,110 320x200' 'Same window' 'Resized 50,110 420x250' Close
}

# The Clipboard class end to end: what the image copies is what X11 reads (lone CRs arrive as
# they are), and what xclip puts on CLIPBOARD the image reads back with Wine's CR LF line ends.
# The boxes of the explanation show the layout; a box of the visible frame takes its title.
clipboard_case() {
    local c=GUI\ Clip xclip_pid=''
    start clipboard-copy-paste-and-box-layout "$work/image_gui_clipboard.exe" ''
    if wait_records 1 && frame "$c"; then
        printf 'すごい!\r本当?\r終わり' >"$case_dir/x11-expected"
        local end=$(($(gd_us) + wait_timeout * 1000000))
        # A request that meets Wine's taking of the selection can go unanswered: 2 s each.
        until timeout $((2 * ${QUAVER_TIME_SCALE:-1})) xclip -selection clipboard -t UTF8_STRING -o >"$case_dir/x11-copied" 2>/dev/null;
              cmp -s "$case_dir/x11-expected" "$case_dir/x11-copied"; do
            [ "$(gd_us)" -lt "$end" ] || { gd_fail "X11 clipboard holds: $(od -An -c "$case_dir/x11-copied" | head -n 2)"; break; }
            sleep 0.05
        done
        printf '日本語の行\n二行目' >"$case_dir/x11-text"
        xclip -quiet -selection clipboard -t UTF8_STRING -i "$case_dir/x11-text" >/dev/null 2>&1 &
        xclip_pid=$!
        # Wine takes the new X selection in from its clipboard thread, a moment later: Paste
        # until the image reads it (earlier reads still see the copied text, left out below).
        local n=1 pasted='Pasted 日本語の行\r\n二行目'
        end=$(($(gd_us) + wait_timeout * 1000000))
        while gd_ok; do
            n=$((n + 1))
            key "$c" ctrl+p $n || break
            [ "$(sed -n "${n}p" "$case_log" | cut -f2-)" != "$pasted" ] || break
            [ "$(gd_us)" -lt "$end" ] || gd_fail "the image did not read the X11 text"
        done
        ! gd_ok || [ "$(sed -n "${n}p" "$case_log" | cut -f1)" = "$c" ] ||
            gd_fail "the Paste box's caption is not \"$c\""
        key "$c" ctrl+e $((n + 2)) && key "$c" ctrl+q $((n + 2))
    fi
    same_text='/^Pasted すごい!\\r本当?\\r終わり$/d'
    finish 0 Copied 'Pasted 日本語の行\r\n二行目' '保存しました\r\n\r\n変更は元に戻せません' '末尾に空行'
    [ -z "$xclip_pid" ] || { kill "$xclip_pid" 2>/dev/null; wait "$xclip_pid" 2>/dev/null; }
}

# Timers and threads from image code: Once's box is a modal loop in which Ticker keeps firing;
# the two workers' 500 rounds each are all counted under their CriticalSection.
timers_case() {
    local t=GUI\ Timers
    start timers-and-threads "$work/image_gui_timers.exe" ''
    wait_records 7 && frame "$t" && key "$t" ctrl+q 8
    finish 0 Open 'Once Mode 0' 'Box open' 'Ticks inside the box: yes' 'Workers counted 1000' 'Objects balanced 1' \
        'Stack size 925696' Close
}

# click_control TITLE TEXT|--control-class CLASS: a real mouse click (XTEST) at the middle of
# the window's control found by its caption or its class.
click_control() {
    local title=$1
    shift
    [ $# -eq 1 ] && set -- --text "$1"
    gd_click "$title" "$@"
}

# Controls in a window, used as a user would: clicks at the buttons' and the check box's places,
# Return and Escape for the Default and Cancel buttons, Alt plus a caption's mnemonic, and the
# X clipboard's text pasted into a multi-line field through its Edit menu's EditPaste item.
controls_case() {
    local t=GUI\ Controls xclip_pid='' n
    start controls-clicks-keys-and-paste "$work/image_gui_controls.exe" ''
    # Put on the X clipboard first: Wine takes a new selection in a moment later.
    printf '日本語の行\n二行目\n三' >"$case_dir/x11-text"
    xclip -quiet -selection clipboard -t UTF8_STRING -i "$case_dir/x11-text" >/dev/null 2>&1 &
    xclip_pid=$!
    if wait_records 1 && frame "$t"; then
        # Each press runs Action once: the next box is always the next press's. OK's action
        # receiver is told before its Action runs; so are the check box's data receivers.
        click_control "$t" Go && wait_records 2 &&
            key "$t" Return 4 && key "$t" Escape 5 && key "$t" alt+g 6 &&
            click_control "$t" Remember && wait_records 8 &&
            key "$t" ctrl+t 9 && click_control "$t" Remember && wait_records 11 &&
            click_control "$t" --control-class RichEdit20W
        # The paste: Alt+E opens Edit on Paste, Return chooses it. Until Wine has taken the X
        # text in, an older clipboard may be pasted: empty the field (Test: Clear) and again.
        local pasted='TextChange 日本語の行\r二行目\r三' end=$(($(gd_us) + wait_timeout * 1000000))
        n=11
        while gd_ok; do
            gd_front "$t" && gd_keys alt+e && gd_popup && gd_keys Return && wait_records $((n + 1)) ||
                break
            n=$((n + 1))
            [ "$(sed -n "${n}p" "$case_log" | cut -f2-)" != "$pasted" ] || break
            [ "$(gd_us)" -lt "$end" ] || { gd_fail "the field did not get the X11 text"; break; }
            key "$t" ctrl+l $((n + 1)) && n=$((n + 1))
        done
        key "$t" ctrl+r $((n + 1)) && key "$t" ctrl+q $((n + 1))
    fi
    # Leftovers of pastes that came too early, and the clearing after each.
    same_text='/^TextChange 日本語の行\\r二行目\\r三$/!{/^TextChange /d}'
    finish 0 Open 'Action Go' PerformAction 'Action OK' 'Action Cancel' 'Action Go' DataChanged 'Action Check 1' \
        'Set Check 0' DataChanged 'Action Check 1' 'TextChange 日本語の行\r二行目\r三' 'Text 日本語の行\r二行目\r三'
    [ -z "$xclip_pid" ] || { kill "$xclip_pid" 2>/dev/null; wait "$xclip_pid" 2>/dev/null; }
}

# No program of a case may outlive it, failed ones included (programs of this session's
# prefix only: other sessions may run the same images).
leftovers() {
    local left='' pid args
    while read -r pid args; do
        tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" &&
            left+="$pid $args"$'\n'
    done < <(ps -eo pid=,args= | grep -E 'image_(gui_[a-z]+|unbound)\.exe|win_dialog_fixture\.exe' | grep -v grep)
    if [ -z "$left" ]; then
        echo "ok   nothing left running"
        passed=$((passed + 1))
    else
        echo "FAIL nothing left running:"
        printf '%s' "$left" | sed 's/^/    | /'
        failed=$((failed + 1))
    fi
}

# An image that calls a routine this runtime lacks: the loader's failed assertion when it links
# (answered OK, so the program goes on), then the application error when the call is made.
unbound_case() {
    start link-missing-routine "$work/image_unbound.exe" ''
    finish 1 'Failed Assertion: 4\nPress OK to Continue\nPress Cancel to Quit.\n\nPlease report what caused this error\nalong with the information below.\n\nloaderX86: 206\nFailure Condition: foundFunction\nFunction '"'NoSuchRoutineAnywhere'"' was not exported' \
        linked 'The application called the routine NoSuchRoutineAnywhere, which this runtime does not provide. The application must shut down.'
}

fixture_cases
if attach image_gui_app "GUI Test" && attach image_gui_bare "GUI Bare"; then
    runtime_cases
fi
attach image_gui_timers "GUI Timers" && timers_case
attach image_unbound "" && unbound_case
attach image_gui_window "" && window_cases

attach image_gui_clipboard "GUI Clip" && clipboard_case
attach image_gui_controls "" && controls_case
leftovers
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
