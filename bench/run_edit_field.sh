#!/usr/bin/env bash
# run_edit_field.sh: the edit field benchmark (edit_field_bench.exe) under Wine in one go.
# Builds it in the win32 preset, makes a 1 MB corpus under build/bench/ when it is missing (the
# benchmark takes its first KB kilobytes) and runs it in a private Wine session.
#
# Environment: KB (default 100), RUNS (default 7).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
kb=${KB:-100}
runs=${RUNS:-7}
out=build/bench
mkdir -p "$out"

[[ -f build/win32/build.ninja ]] || cmake --preset win32 > "$out/configure-win32.log"
cmake --build --preset win32 --target edit_field_bench > "$out/build-edit-field.log" \
    || { cat "$out/build-edit-field.log" >&2; exit 1; }
corpus=$out/corpus-1mb.txt
[[ -s $corpus ]] || bench/make_corpus.sh "$corpus" 1

. scripts/wine-session.sh
trap ws_end EXIT
ws_begin build/locale
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
# Wine output goes to a file (see wine-session.sh), shown once the program has ended.
status=0
LC_ALL=$WS_LOCALE wine build/win32/bin/edit_field_bench.exe "$corpus" --kb "$kb" --runs "$runs" \
    > "$out/edit_field_bench.txt" 2> "$out/edit_field_bench.err" || status=$?
tr -d '\r' < "$out/edit_field_bench.txt"
echo "(load average $load_before before, $(cut -d' ' -f1-3 /proc/loadavg) after)"
exit $status
