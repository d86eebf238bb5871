#!/bin/bash
# The shipped program needs nothing beside it: a copy alone in a fresh folder starts, its
# start-up writes the plug-in library it carries into the user's application-data folder,
# and the library loaded in the running process is that file, byte for byte the one built.
#
#   packaged_program_test.sh PROGRAM_EXE PLUGIN_DLL WIN_PROBE_EXE WINDOW_TITLE WORK_DIR
#
# Runs inside a Wine session (scripts/wine-session.sh). Ends the program by closing the window
# titled WINDOW_TITLE and expects exit code 0. Prints one line per check and ends with
# "N passed, N failed".
set -uo pipefail

if [ $# -ne 5 ]; then
    echo "usage: $0 PROGRAM_EXE PLUGIN_DLL WIN_PROBE_EXE WINDOW_TITLE WORK_DIR" >&2
    exit 2
fi
program=$1 plugin=$2 probe_exe=$3 title=$4 work=$5
timeout=${QUAVER_GUI_WAIT:-$((30 * ${QUAVER_TIME_SCALE:-1}))}
passed=0 failed=0
check() {   # NAME COMMAND...: one line per check
    if "${@:2}"; then echo "ok   $1"; passed=$((passed + 1)); else echo "FAIL $1"; failed=$((failed + 1)); fi
}
if [ -z "${WINEPREFIX:-}" ] || [ -z "${DISPLAY:-}" ]; then
    echo "FAIL setup: needs the Wine session of scripts/wine-session.sh (WINEPREFIX, DISPLAY)"
    echo "0 passed, 1 failed"
    exit 1
fi
GD_PROBE=$probe_exe
. "$(cd "$(dirname "$0")/../.." && pwd)/scripts/gui-driver.sh"

folder=$work/bare
rm -rf "$work" && mkdir -p "$folder" || exit 1
name=$(basename "$program")
cp "$program" "$folder/$name"
plugin_name=$(basename "$plugin")
find "$WINEPREFIX/drive_c/users" -iname "$plugin_name" -delete 2>/dev/null

gd_probe run --log "$(gd_winpath "$work/boxes.log")" --pid-file "$(gd_winpath "$work/pid")" --timeout $((timeout * 2)) \
    --cwd "$(gd_winpath "$folder")" -- "\"$(gd_winpath "$folder/$name")\"" >"$work/probe.out" 2>&1 &
probe_pid=$!

gd_probe wait-window --title "$title" --timeout "$timeout" >"$work/window.out" 2>&1
check "the program shows its window \"$title\"" grep -q '^hwnd ' "$work/window.out"
installed=$(find "$WINEPREFIX/drive_c/users" -path '*/AppData/Roaming/*' -iname "$plugin_name" 2>/dev/null | head -n1)
check "$plugin_name is written to the application-data folder" test -n "$installed"
check "the written $plugin_name is the one built" cmp -s "$plugin" "${installed:-/nonexistent}"
if [ -s "$work/pid" ]; then
    gd_probe modules --pid "$(head -n1 "$work/pid" | tr -d '\r')" >"$work/modules.out" 2>&1
fi
check "the running program has that file loaded" grep -qi "AppData\\\\Roaming\\\\$plugin_name" "$work/modules.out"
check "nothing was written beside the program" test "$(ls -A "$folder")" = "$name"

gd_probe close --title "$title" >/dev/null 2>&1
end=$((SECONDS + timeout))
while kill -0 "$probe_pid" 2>/dev/null && [ $SECONDS -lt $end ]; do sleep 0.1; done
if kill -0 "$probe_pid" 2>/dev/null; then
    [ -s "$work/pid" ] && gd_probe kill --pid "$(head -n1 "$work/pid" | tr -d '\r')" >/dev/null 2>&1
    kill "$probe_pid" 2>/dev/null
fi
wait "$probe_pid" 2>/dev/null
check "closing the window ends the program with exit code 0" grep -Eq '^exit 0( |$)' "$work/probe.out"
if [ "$failed" -gt 0 ]; then
    sed 's/^/    probe| /' "$work/probe.out" "$work/window.out" | head -n 8
    sed 's/^/    module| /' "$work/modules.out" 2>/dev/null | grep -i "$plugin_name\|$name" | head -n 4
    sed 's/^/    box| /' "$work/boxes.log" 2>/dev/null | head -n 8
fi
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
