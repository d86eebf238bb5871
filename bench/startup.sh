#!/usr/bin/env bash
# startup.sh [HOLLERPAD_EXE]: times Hollerpad.exe under Wine from its start to its main window
# being shown, against startup_window.exe (one window from the same toolchain, nothing else),
# RUNS (default 9) runs of each, alternating, in one Wine session. win_probe starts each program
# and polls for its window every millisecond. Prints both medians and their ratio. Not a test.
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
exe=${1:-build/win32/bin/Hollerpad.exe}
exe=$(cd "$(dirname "$exe")" && pwd)/$(basename "$exe")
runs=${RUNS:-9}
out=build/bench/startup
mkdir -p "$out"
[[ -f build/win32/build.ninja ]] || cmake --preset win32 >"$out/configure.log"
cmake --build --preset win32 --target startup_window win_probe >"$out/build.log" 2>&1 ||
    { cat "$out/build.log" >&2; exit 1; }
floor=$root/build/win32/bin/startup_window.exe
[[ -f $exe ]] || { echo "no $exe (build the win32 preset)" >&2; exit 1; }

. scripts/wine-session.sh
trap ws_end EXIT
ws_begin build/locale || exit 1
GD_PROBE=build/win32/bin/win_probe.exe
. scripts/gui-driver.sh
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# time_one TITLE EXE TIMES_FILE: one start, its microseconds appended to the file.
time_one() {
    gd_probe time-start --title "$1" --timeout $((60 * ${QUAVER_TIME_SCALE:-1})) --cwd 'C:\' \
        -- "\"$(gd_winpath "$2")\"" >"$out/one.out" 2>&1
    local us
    us=$(awk '/^shown / { print $2 }' "$out/one.out")
    [[ -n $us ]] || { echo "no window \"$1\" from $2:" >&2; cat "$out/one.out" >&2; exit 1; }
    echo "$us" >>"$3"
}

: >"$out/hollerpad.us"
: >"$out/floor.us"
# One unmeasured start of each first: the first start of a program in a session also loads
# Wine's own libraries from disk.
time_one Hollerpad "$exe" /dev/null
time_one "Startup Window" "$floor" /dev/null
for ((run = 1; run <= runs; ++run)); do
    time_one Hollerpad "$exe" "$out/hollerpad.us"
    time_one "Startup Window" "$floor" "$out/floor.us"
done
h=$(median <"$out/hollerpad.us")
f=$(median <"$out/floor.us")
echo "== start-up to the main window shown under Wine, medians of $runs alternating runs (load $(cut -d' ' -f1-3 /proc/loadavg))"
awk -v h="$h" -v f="$f" 'BEGIN {
    printf "  Hollerpad.exe        %.0f ms\n  startup_window.exe   %.0f ms\n  ratio                %.2f\n", h / 1000, f / 1000, h / f
}'
