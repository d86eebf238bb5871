# gui-driver.sh: drives Windows programs inside a Wine session as a user would, for the GUI
# tests, scripts/run.sh, scripts/screenshots.sh and the benchmarks. Source it after
# scripts/wine-session.sh. Real XTEST clicks and keys (xdotool); windows and controls found by
# title, caption or class through win_probe.exe, whose screen coordinates are X root coordinates
# in the session (Wine draws the frames itself).
#
# Steps fail their case. A case is a run of steps begun by gd_case. The first step that fails
# records why in GD_FAIL and returns 1; from then on every step returns 1 at once without acting.
# So a case whose step failed cannot pass, however its steps are written: chained with &&,
# tested by `if`, or one per line. Queries (gd_probe, and the predicates given to gd_until) do
# not fail a case by themselves: their answer is a value. Steps must not run in a subshell
# ($(...), a pipe, < <(...)): the failure they record would be lost there.
#
#   gd_case DIR             a new case: no failure, the steps' output files go to DIR
#   gd_fail WHY...          records WHY unless a failure is recorded already; returns 1
#   gd_ok                   true while no step of the case has failed
#   gd_step WHAT CMD...     runs CMD as a step: a failure of CMD fails the case with WHAT
#   gd_until S WHAT CMD...  polls CMD every 50 ms until it succeeds; fails after S seconds
#   gd_window TITLE         waits for a top-level window: GD_RECT=(L T R B), its client GD_CLIENT
#   gd_control TITLE OPT... waits for a control of the window, OPT as win_probe's control
#                           command takes them (--caption C, --control-class K, --index N):
#                           GD_RECT, GD_CLIENT, and the client area's centre in GD_X GD_Y
#   gd_front TITLE          makes the window the foreground window
#   gd_click TITLE OPT...   brings the window to the front and clicks the control's centre
#   gd_click_at X Y         clicks at screen X Y
#   gd_point_at X Y         moves the pointer to screen X Y
#   gd_keys KEYS...         sends keys (xdotool names) to whatever has the keyboard
#   gd_popup                waits for an open menu (a "#32768" window): GD_RECT
#   gd_probe ARGS...        win_probe.exe itself, for queries
#   gd_winpath PATH         PATH as a Windows path (Z:\...)
#   gd_us                   microseconds now
#
# GD_PROBE is win_probe.exe (default build/win32/bin/win_probe.exe), GD_TIMEOUT the seconds
# each wait gives the program (default 15). Wine output always goes to files, never into a pipe
# (scripts/wine-session.sh says why).

GD_PROBE=${GD_PROBE:-build/win32/bin/win_probe.exe}
GD_TIMEOUT=${GD_TIMEOUT:-$((15 * ${QUAVER_TIME_SCALE:-1}))}
GD_FAIL='' GD_DIR=${TMPDIR:-/tmp} GD_RECT=() GD_CLIENT=() GD_X='' GD_Y=''

gd_us() { local t=${EPOCHREALTIME/./}; echo "${t#0}"; }
gd_winpath() { local p; p=$(cd "$(dirname "$1")" && pwd)/$(basename "$1"); echo "Z:${p//\//\\}"; }
gd_probe() { LC_ALL=${WS_LOCALE:-ja_JP.UTF-8} wine "$GD_PROBE" "$@"; }

gd_case() { GD_FAIL='' GD_DIR=$1 GD_RECT=() GD_CLIENT=() GD_X='' GD_Y=''; mkdir -p "$GD_DIR"; }
gd_fail() { [ -n "$GD_FAIL" ] || GD_FAIL="$*"; return 1; }
gd_ok() { [ -z "$GD_FAIL" ]; }

gd_step() {   # WHAT COMMAND...
    gd_ok || return 1
    "${@:2}" || gd_fail "$1"
}

gd_until() {   # SECONDS WHAT COMMAND...
    gd_ok || return 1
    local seconds=$1 what=$2 end=$(($(gd_us) + $1 * 1000000))
    shift 2
    until "$@"; do
        [ "$(gd_us)" -lt "$end" ] || { gd_fail "timed out waiting ${seconds}s for $what"; return 1; }
        sleep 0.05
    done
}

# Reads "hwnd 0x.. rect L T R B client L T R B" from FILE into GD_RECT and GD_CLIENT.
gd_read_rects() {   # FILE WHAT
    local line
    line=$(grep -m1 '^hwnd ' "$1") || { gd_fail "no rectangle for $2"; return 1; }
    read -r -a GD_RECT <<<"$(cut -d' ' -f4-7 <<<"$line")"
    read -r -a GD_CLIENT <<<"$(cut -d' ' -f9-12 <<<"$line")"
    [ ${#GD_RECT[@]} -eq 4 ] && [ ${#GD_CLIENT[@]} -eq 4 ] || gd_fail "cannot read the rectangles of $2"
}

gd_window() {   # TITLE
    gd_ok || return 1
    gd_probe wait-window --title "$1" --timeout "$GD_TIMEOUT" >"$GD_DIR/window.out" 2>&1 ||
        { gd_fail "no window \"$1\""; return 1; }
    gd_read_rects "$GD_DIR/window.out" "the window \"$1\""
}

gd_control() {   # TITLE PROBE_OPTION...
    gd_ok || return 1
    local title=$1
    shift
    gd_probe control --title "$title" "$@" --timeout "$GD_TIMEOUT" >"$GD_DIR/control.out" 2>&1 ||
        { gd_fail "no control $* in \"$title\""; return 1; }
    gd_read_rects "$GD_DIR/control.out" "control $* in \"$title\"" || return 1
    # The client area's centre: inside the text of a field whatever its scroll bars.
    GD_X=$(((GD_CLIENT[0] + GD_CLIENT[2]) / 2)) GD_Y=$(((GD_CLIENT[1] + GD_CLIENT[3]) / 2))
}

# X focus alone is not enough: without a window manager the window that was last active keeps
# the keyboard, and after a message box closes Wine may leave the frame inactive.
# SetForegroundWindow from inside the session activates it.
gd_front() {   # TITLE
    gd_ok || return 1
    gd_probe foreground --title "$1" >/dev/null 2>&1 || gd_fail "cannot bring \"$1\" to the front"
}

gd_click_at() {   # X Y
    gd_ok || return 1
    xdotool mousemove --sync "$1" "$2" click 1 || gd_fail "cannot click at $1,$2"
}

gd_point_at() {   # X Y
    gd_ok || return 1
    xdotool mousemove --sync "$1" "$2" || gd_fail "cannot move the pointer to $1,$2"
}

gd_click() {   # TITLE PROBE_OPTION...
    gd_control "$@" && gd_front "$1" && gd_click_at "$GD_X" "$GD_Y"
}

gd_keys() {   # KEYS...
    gd_ok || return 1
    xdotool key "$@" || gd_fail "cannot send the keys $*"
}

gd_popup() {
    gd_ok || return 1
    gd_probe wait-window --class '#32768' --timeout "$GD_TIMEOUT" >"$GD_DIR/popup.out" 2>&1 ||
        { gd_fail "no menu opened"; return 1; }
    gd_read_rects "$GD_DIR/popup.out" "the open menu"
}
