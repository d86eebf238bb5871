#!/bin/bash
# End-to-end tests of Hollerpad.exe under Wine: the real program driven through its windows
# with XTEST clicks and keys (xdotool), its controls found and read by win_probe.exe, the
# clipboard read and written on the X11 side with xclip. Conversions are compared byte for
# byte with the command-line converter.
#
#   run_hollerpad_test.sh HOLLERPAD_EXE WIN_PROBE_EXE CONVERT WORK_DIR
#
# Runs inside a Wine session (scripts/wine-session.sh: WINEPREFIX, DISPLAY and a persistent
# wineserver set up by the caller). Every case starts a fresh program through the probe (which
# logs any message box: none is expected) and every wait has a timeout. The corpus case cuts
# its texts from HOLLERPAD_CORPUS, or from a corpus that bench/make_corpus.sh makes in
# WORK_DIR. Prints one line per case and ends with "N passed, N failed".
#
# The X11 clipboard holds LF line ends: Wine turns them into CR LF for the program and the
# program's CR LF back into LF; the converter reads lone CRs, as the text field keeps them.
set -uo pipefail

if [ $# -ne 4 ]; then
    echo "usage: $0 HOLLERPAD_EXE WIN_PROBE_EXE CONVERT WORK_DIR" >&2
    exit 2
fi
exe=$1 probe_exe=$2 convert=$3 work=$4
root=$(cd "$(dirname "$0")/../.." && pwd)
passed=0 failed=0
wait_timeout=${QUAVER_GUI_WAIT:-$((15 * ${QUAVER_TIME_SCALE:-1}))}   # seconds for each wait on the program
case_timeout=${QUAVER_GUI_CASE:-$((600 * ${QUAVER_TIME_SCALE:-1}))}  # seconds after which the probe ends the program
convert_timeout=${QUAVER_CONVERT_WAIT:-$((300 * ${QUAVER_TIME_SCALE:-1}))}  # seconds for one conversion of up to 100 KB
# The corpus case's switch sets, each with the largest text it takes in KB (empty for a quick
# run without it).
corpus_sets=${HOLLERPAD_CORPUS_SETS-111111110:100 010101011:100 101010101:100}

if [ -z "${WINEPREFIX:-}" ] || [ -z "${DISPLAY:-}" ]; then
    echo "FAIL setup: needs the Wine session of scripts/wine-session.sh (WINEPREFIX, DISPLAY)"
    echo "0 passed, 1 failed"
    exit 1
fi
mkdir -p "$work" && work=$(cd "$work" && pwd) || exit 1

main=Hollerpad
settings='Hollerpad　変換設定'
about='Hollerpad　について'

# Steps through the GUI-driving library: a step that fails fails its case, and no later step
# of the case acts.
GD_PROBE=$probe_exe GD_TIMEOUT=$wait_timeout
. "$root/scripts/gui-driver.sh"

# ---- One running case
case_name='' case_dir='' case_probe_pid='' xclip_pid=''

# start NAME [VAR=VALUE...]: runs the program (with those variables in its environment).
start() {
    case_name=$1 case_dir=$work/$1
    rm -rf "$case_dir" && gd_case "$case_dir"
    : >"$case_dir/boxes.log"
    env "${@:2}" LC_ALL="${LC_ALL:-ja_JP.UTF-8}" wine "$probe_exe" run --log "$(gd_winpath "$case_dir/boxes.log")" \
        --pid-file "$(gd_winpath "$case_dir/pid")" --timeout "$case_timeout" --cwd 'C:\' -- "\"$(gd_winpath "$exe")\"" \
        >"$case_dir/probe.out" 2>&1 &
    case_probe_pid=$!
    gd_window "$main"
}

# check_state WINDOW CAPTION 0|1: the check box's state.
check_state() {
    gd_control "$1" --caption "$2" || return 1
    grep -qx "check $3" "$case_dir/control.out" || gd_fail "check box \"$2\": $(grep '^check' "$case_dir/control.out"), expected $3"
}

# edit_menu KEYS...: opens the Edit menu from the keyboard (Alt+E opens it on its first item
# after the separator, やり直し; Right moves on to 設定 and about) and sends KEYS.
edit_menu() { gd_front "$main" && gd_keys alt+e && gd_popup && gd_keys "$@"; }

# field_text FILE: the main text field's text (the only visible rich edit), CR LF as LF.
field_text() {
    gd_probe text --title "$main" --control-class RichEdit20W >"$case_dir/field.raw" 2>"$case_dir/field.err" &&
        sed 's/\r$//' "$case_dir/field.raw" >"$1"
}
field_is() { field_text "$case_dir/field.txt" && cmp -s "$1" "$case_dir/field.txt"; }

# ---- The X11 clipboard
x_clipboard() { timeout $((2 * ${QUAVER_TIME_SCALE:-1})) xclip -selection clipboard -t UTF8_STRING -o >"$1" 2>/dev/null; }
x_clipboard_is() { x_clipboard "$case_dir/x11.txt" && cmp -s "$1" "$case_dir/x11.txt"; }
# The program put an empty text there: it took the selection from our xclip, and both sides
# read empty (an xclip read that timed out alone would not pass).
x_clipboard_empty() {
    ! kill -0 "$xclip_pid" 2>/dev/null && x_clipboard "$case_dir/x11.txt" && [ ! -s "$case_dir/x11.txt" ] &&
        windows_clipboard_is /dev/null
}

# x_put FILE: puts FILE's text on CLIPBOARD and waits until Wine has taken it in (the probe
# reads it on the Windows side with CR LF line ends), so that a paste sees it.
x_put() {
    x_stop
    xclip -quiet -selection clipboard -t UTF8_STRING -i "$1" >/dev/null 2>&1 &
    xclip_pid=$!
    sed -z 's/\n/\r\n/g' "$1" >"$case_dir/windows-form.txt"
    gd_until "$wait_timeout" "Wine to take the X11 clipboard" windows_clipboard_is "$case_dir/windows-form.txt"
}
windows_clipboard_is() { gd_probe clipboard-text >"$case_dir/windows-clip.txt" 2>/dev/null && cmp -s "$1" "$case_dir/windows-clip.txt"; }
x_stop() { [ -z "$xclip_pid" ] || { kill "$xclip_pid" 2>/dev/null; wait "$xclip_pid" 2>/dev/null; }; }

# expected SWITCHES INPUT OUTPUT: the converter's clipboard form of the X11 text INPUT, as X11
# shows it (LF line ends).
expected() { tr '\n' '\r' <"$2" | "$convert" --switches "$1" --clipboard | sed 's/\r$//' >"$3"; }

# convert_and_check SWITCHES INPUT: pastes INPUT, presses 変換してコピー and compares the
# clipboard and the field with the converter's result.
convert_and_check() {
    expected "$1" "$2" "$case_dir/expected.txt"
    gd_ok && x_put "$2" && gd_click "$main" --caption 貼り付け &&
        gd_until "$wait_timeout" "the pasted text in the field" field_is "$2" &&
        gd_click "$main" --caption 変換してコピー &&
        gd_until "$convert_timeout" "the conversion on the clipboard" x_clipboard_is "$case_dir/expected.txt" &&
        { field_is "$case_dir/expected.txt" || gd_fail "the field does not hold the converted text"; }
}

# finish EXPECTED_EXIT: ends the program (Ctrl+Q unless it has ended or the case failed),
# then checks the exit code and that no message box came up.
finish() {
    local want_exit=$1 end got_exit
    gd_ok && kill -0 "$case_probe_pid" 2>/dev/null && gd_front "$main" && gd_keys ctrl+q
    end=$(($(gd_us) + wait_timeout * 1000000))
    while gd_ok && kill -0 "$case_probe_pid" 2>/dev/null && [ "$(gd_us)" -lt "$end" ]; do sleep 0.05; done
    if kill -0 "$case_probe_pid" 2>/dev/null; then
        gd_fail "the program did not end"
        [ -s "$case_dir/pid" ] && gd_probe kill --pid "$(head -n1 "$case_dir/pid")" >/dev/null 2>&1
        local stop=$(($(gd_us) + 10000000))
        while kill -0 "$case_probe_pid" 2>/dev/null && [ "$(gd_us)" -lt "$stop" ]; do sleep 0.05; done
        kill -9 "$case_probe_pid" 2>/dev/null
    fi
    wait "$case_probe_pid" 2>/dev/null
    x_stop
    got_exit=$(sed -n 's/^exit \([0-9]*\).*/\1/p' "$case_dir/probe.out" | head -n1)
    [ ! -s "$case_dir/boxes.log" ] || gd_fail "a message box came up"
    [ "$got_exit" = "$want_exit" ] || gd_fail "exit code ${got_exit:-none}, expected $want_exit"
    if gd_ok; then
        echo "ok   $case_name"
        passed=$((passed + 1))
    else
        echo "FAIL $case_name: $GD_FAIL"
        cut -c1-240 "$case_dir/boxes.log" | sed 's/^/    box | /' | head -n 6
        for f in expected.txt x11.txt field.txt; do
            [ -f "$case_dir/$f" ] && echo "    $f ($(wc -c <"$case_dir/$f") bytes): $(head -c 160 "$case_dir/$f" | tr '\n' '|')"
        done
        [ -f "$case_dir/expected.txt" ] && [ -f "$case_dir/x11.txt" ] &&
            cmp "$case_dir/expected.txt" "$case_dir/x11.txt" 2>&1 | sed 's/^/    /' | head -n 1
        grep -v '^exit ' "$case_dir/probe.out" | sed 's/^/    probe| /' | head -n 4
        [ -n "$got_exit" ] && echo "    exit code $got_exit"
        failed=$((failed + 1))
    fi
}

# ---- Cases
# Every rule family on a few lines: 。 and 、, ！ and ？, long vowels, ん, だろう, なの, あなた,
# びいーん, わーー and ああーー; the last line ends without a line end.
sample=$work/sample.txt
printf '%s\n' 'あなたは本当に来るんだろう。' 'わーーっ！びいーんと鳴ったなの？' 'ああーーっ。もう知らない、帰る。' >"$sample"
printf '%s' '最後の行' >>"$sample"

conversion_cases() {
    start convert-default-switches
    convert_and_check 111111110 "$sample"
    finish 0

    # Switch 3 cleared and 9 set in the settings window, which stays open while the main
    # window converts: each change reaches the conversion at once.
    start settings-switches-reach-the-open-window
    if edit_menu Right Return && gd_window "$settings"; then
        check_state "$settings" '「。」→「ッ」' 1 && check_state "$settings" '１行目に「名無しンぼ＠お腹いっぱいッ」' 0 &&
            gd_click "$settings" --caption '「。」→「ッ」' && gd_click "$settings" --caption '１行目に「名無しンぼ＠お腹いっぱいッ」' &&
            check_state "$settings" '「。」→「ッ」' 0 && check_state "$settings" '１行目に「名無しンぼ＠お腹いっぱいッ」' 1
        convert_and_check 110111111 "$sample"
        gd_window "$settings"
    fi
    finish 0

    # やり直し (Ctrl+Z) after a conversion with the name line: the text as pasted, without it.
    start undo-restores-text-before-name-line
    if edit_menu Right Return && gd_window "$settings"; then
        gd_click "$settings" --caption '１行目に「名無しンぼ＠お腹いっぱいッ」' && gd_click "$settings" --caption 'Ｏ　Ｋ' &&
            gd_until "$wait_timeout" "the settings window to close" no_window "$settings"
        convert_and_check 111111111 "$sample"
        gd_front "$main" && gd_keys ctrl+z &&
            gd_until "$wait_timeout" "the text before the conversion" field_is "$sample"
    fi
    finish 0
}

ended() { ! kill -0 "$case_probe_pid" 2>/dev/null; }
no_window() { ! gd_probe wait-window --title "$1" --timeout 0 >/dev/null 2>&1; }

clipboard_cases() {
    # クリア (fourth Edit item): the field and the clipboard both empty.
    start clear-empties-field-and-clipboard
    gd_ok && x_put "$sample" && gd_click "$main" --caption 貼り付け &&
        gd_until "$wait_timeout" "the pasted text in the field" field_is "$sample" &&
        edit_menu Down Down Down Return &&
        gd_until "$wait_timeout" "an empty field" field_is /dev/null &&
        gd_until "$wait_timeout" "an empty clipboard" x_clipboard_empty
    finish 0

    # コピー (second Edit item) with nothing in the field replaces the clipboard's text.
    start copy-of-empty-field-empties-clipboard
    gd_ok && x_put "$sample" && edit_menu Down Return &&
        gd_until "$wait_timeout" "an empty clipboard" x_clipboard_empty
    finish 0

    # 終了 empties the clipboard and ends the program with 0.
    start quit-button-empties-clipboard
    gd_ok && x_put "$sample" && gd_click "$main" --caption 終了 &&
        gd_until "$wait_timeout" "the program to end" ended &&
        { x_clipboard_empty || gd_fail "the clipboard holds \"$(head -c 80 "$case_dir/x11.txt")\""; }
    finish 0

    start ctrl-q-quits
    finish 0
}

window_cases() {
    # The main field holds the keyboard focus from the start, nothing clicked: typing goes
    # into it, and Return makes a new line there instead of pressing the default button
    # 変換してコピー (which would replace the clipboard's text).
    start typing-at-start-reaches-the-field
    printf 'ab\ncd' >"$case_dir/typed.txt"
    gd_ok && x_put "$sample" && gd_front "$main" && gd_keys a b Return c d &&
        gd_until "$wait_timeout" "the typed text in the field" field_is "$case_dir/typed.txt" &&
        { x_clipboard_is "$sample" || gd_fail "the clipboard no longer holds the text put there"; }
    finish 0

    # The picture button: a click shows the joke, leaving the button (for the window's text)
    # brings the about text back; Ｏ　Ｋ closes the window.
    start about-picture-button
    if edit_menu Right Right Return && gd_window "$about"; then
        about_panes && about_text_has 'Hollerpad　ver. 0.1a' && gd_click "$about" --control-class QV_Pane --index 2 &&
            gd_until "$wait_timeout" "the joke" about_text_has '知らンがなッ' &&
            { ! about_text_has 'ver. 0.1a' || gd_fail "the joke did not replace the about text"; } &&
            gd_control "$about" --control-class QV_Pane --index 1 && gd_point_at "$GD_X" "$GD_Y" &&
            gd_until "$wait_timeout" "the about text back" about_text_has 'Hollerpad　ver. 0.1a' &&
            gd_click "$about" --caption 'Ｏ　Ｋ' && gd_until "$wait_timeout" "the about window to close" no_window "$about"
    fi
    finish 0

    # 変換設定 chosen again while its window is open brings that window back to the front;
    # no second one appears.
    start settings-window-once
    if edit_menu Right Return && gd_window "$settings"; then
        edit_menu Right Return &&
            gd_until "$wait_timeout" "the settings window in front" is_foreground "$settings" &&
            gd_probe windows --title "$settings" >"$case_dir/windows.out" 2>&1 &&
            { [ "$(grep -c '^hwnd ' "$case_dir/windows.out")" = 1 ] || gd_fail "$(grep -c '^hwnd ' "$case_dir/windows.out") settings windows"; }
    fi
    finish 0
}

is_foreground() { gd_probe window-info --title "$1" 2>/dev/null | grep -qx 'foreground 1'; }

# The about window's panes in creation order: Ｏ　Ｋ's, the about text, the picture button.
about_panes() {
    local i want=('' '221 65' '52 52')
    for i in 1 2; do
        gd_control "$about" --control-class QV_Pane --index $i || return 1
        [ "$((GD_RECT[2] - GD_RECT[0])) $((GD_RECT[3] - GD_RECT[1]))" = "${want[i]}" ] ||
            gd_fail "about pane $i is $((GD_RECT[2] - GD_RECT[0]))x$((GD_RECT[3] - GD_RECT[1])), expected ${want[i]/ /x}"
    done
}
about_text_has() {
    gd_probe text --title "$about" --control-class QV_Pane --index 1 >"$case_dir/about.txt" 2>/dev/null &&
        grep -qF "$1" "$case_dir/about.txt"
}

# ---- Real prose: 20 texts of 1 to 100 KB cut from the conversion benchmark's corpus at line
# ends, pasted and converted one after another in one program per switch set.
corpus_texts() {
    local corpus=${HOLLERPAD_CORPUS:-$work/corpus-1mb.txt}
    if [ ! -s "$corpus" ]; then
        "$root/bench/make_corpus.sh" "$corpus" 1 >"$work/corpus.log" 2>&1 ||
            { echo "FAIL corpus: $(tail -n 2 "$work/corpus.log")"; failed=$((failed + 1)); return 1; }
    fi
    mkdir -p "$work/texts"
    python3 - "$corpus" "$work/texts" <<'EOF'
import sys
data = open(sys.argv[1], 'rb').read()
for i in range(20):
    size = round(1024 * 100 ** (i / 19))  # 1 KB to 100 KB, evenly on a log scale
    start = data.index(b'\r', (len(data) - size) * i // 20) + 1
    text = data[start:start + size]
    text = text[:text.rindex(b'\r')]  # whole lines; the last one without its line end
    open('%s/%02d.txt' % (sys.argv[2], i), 'wb').write(text.replace(b'\r', b'\n'))
EOF
}

# The settings window's check boxes, switch 1 to 9.
switch_boxes=('「っ。」→「──ッ」' '「だろう。」→「だろうが──ッ !!」' '「。」→「ッ」' '「ああーー」→「ああ──ッ !!」'
    '「わーー」→「わ～～～ッ !!」' '「なの？」→「なの──ッ !?」' '「びいーん」→「ビィ～～～～～ン !!」' '「あなた」→「あンた」'
    '１行目に「名無しンぼ＠お腹いっぱいッ」')

# set_switches SWITCHES: in a fresh program (switches 111111110), ticks and clears the check
# boxes that differ, checks each box, and closes the settings window with Ｏ　Ｋ.
set_switches() {
    local k want
    edit_menu Right Return && gd_window "$settings" || return 1
    for k in {0..8}; do
        want=${1:k:1}
        [ "$want" = "${default_switches:k:1}" ] || gd_click "$settings" --caption "${switch_boxes[k]}" || return 1
        check_state "$settings" "${switch_boxes[k]}" "$want" || return 1
    done
    gd_click "$settings" --caption 'Ｏ　Ｋ' && gd_until "$wait_timeout" "the settings window to close" no_window "$settings"
}
default_switches=111111110

corpus_case() {  # NAME SWITCHES MAX_KB
    local text n=0 want=0
    start "$1"
    [ "$2" = "$default_switches" ] || set_switches "$2"
    for text in "$work"/texts/*.txt; do
        [ "$(wc -c <"$text")" -le $(($3 * 1024)) ] || continue
        want=$((want + 1))
        gd_ok || continue
        convert_and_check "$2" "$text" || GD_FAIL="text $(basename "$text"): $GD_FAIL"
        n=$((n + 1))
    done
    [ "$n" -eq "$want" ] && [ "$n" -gt 0 ] || gd_fail "$n of $want texts"
    finish 0
}

# ---- Leaks: QUAVER_LIVE_OBJECTS makes the runtime write what is alive after the image's entry
# has returned. What the application keeps for its whole life (the App object, its menus and
# handlers) is there whatever the session did, and the first use of a window or of the
# conversion may leave strings behind for good (the runtime keeps some texts once made); a
# second round of the same work must add nothing: the same objects, as many strings.
leak_round() {  # SWITCHES after switch 3 is toggled in this round
    gd_ok && edit_menu Right Return && gd_window "$settings" && gd_click "$settings" --caption "${switch_boxes[2]}" &&
        check_state "$settings" "${switch_boxes[2]}" "${1:2:1}" && gd_click "$settings" --caption 'Ｏ　Ｋ' &&
        gd_until "$wait_timeout" "the settings window to close" no_window "$settings"
    convert_and_check "$1" "$sample"
    gd_ok && edit_menu Right Right Return && gd_window "$about" && gd_click "$about" --control-class QV_Pane --index 2 &&
        gd_until "$wait_timeout" "the joke" about_text_has '知らンがなッ' &&
        gd_click "$about" --caption 'Ｏ　Ｋ' && gd_until "$wait_timeout" "the about window to close" no_window "$about"
    convert_and_check "$1" "$work/short.txt"
    gd_ok && edit_menu Down Down Down Return && gd_until "$wait_timeout" "an empty field" field_is /dev/null
}

leak_cases() {
    printf 'だろう。\nなの？' >"$work/short.txt"
    start leak-session-one-round QUAVER_LIVE_OBJECTS="$(gd_winpath "$work/leak-one.txt")"
    leak_round 110111110
    finish 0
    start leak-session-two-rounds QUAVER_LIVE_OBJECTS="$(gd_winpath "$work/leak-two.txt")"
    leak_round 110111110
    leak_round 111111110
    finish 0
    if [ ! -s "$work/leak-one.txt" ] || [ ! -s "$work/leak-two.txt" ]; then
        echo "FAIL leaks compared: no live-object report written"
        failed=$((failed + 1))
    elif [ "$(head -n1 "$work/leak-two.txt")" != "objects 0" ]; then
        # Every object goes once the program has quit: windows, controls, the application
        # object, its menu bar and its menu handlers.
        echo "FAIL leaks compared: objects alive after quitting"
        sed 's/^/    /' "$work/leak-two.txt" | head -n 30
        failed=$((failed + 1))
    elif diff "$work/leak-one.txt" "$work/leak-two.txt" >"$work/leak.diff"; then
        echo "ok   leaks compared (no object alive at exit; $(tail -n1 "$work/leak-two.txt") in both)"
        passed=$((passed + 1))
    else
        echo "FAIL leaks compared: a second round left more alive (one round <, two rounds >)"
        sed 's/^/    /' "$work/leak.diff" | head -n 30
        failed=$((failed + 1))
    fi
}

conversion_cases
clipboard_cases
window_cases
leak_cases
if [ -n "$corpus_sets" ] && corpus_texts; then
    for set in $corpus_sets; do
        corpus_case "corpus-switches-${set%%:*}-up-to-${set##*:}kb" "${set%%:*}" "${set##*:}"
    done
fi
x_stop
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
