#!/usr/bin/env bash
# hollerpad_convert_click.sh HOLLERPAD_EXE [SIZE_KB]: times 変換してコピー in the real program
# under Wine on SIZE_KB (default 100) of the benchmark corpus, from the XTEST click to the
# clipboard's change (win_probe watches its sequence number), and the same text through
# hollerpad-convert. Prints the medians of RUNS (default 5) runs of each. Not a test.
#
# Needs build/win32/bin/win_probe.exe and build/linux/bin/hollerpad-convert; starts its own
# Wine session (scripts/wine-session.sh) and ends it.
set -uo pipefail

[[ $# -ge 1 && $# -le 2 ]] || { echo "usage: $0 HOLLERPAD_EXE [SIZE_KB]" >&2; exit 2; }
root=$(cd "$(dirname "$0")/.." && pwd)
exe=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
size_kb=${2:-100}
runs=${RUNS:-5}
cd "$root"
probe_exe=build/win32/bin/win_probe.exe
convert=build/linux/bin/hollerpad-convert
out=build/bench/convert-click
mkdir -p "$out"

corpus=build/bench/corpus-1mb.txt
[[ -s $corpus ]] || bench/make_corpus.sh "$corpus" 1 || exit 1
# Whole lines of the corpus's start, LF line ends as the X11 clipboard holds them.
python3 - "$corpus" "$out/text.txt" "$size_kb" <<'EOF'
import sys
data = open(sys.argv[1], 'rb').read()[:int(sys.argv[3]) * 1024]
open(sys.argv[2], 'wb').write(data[:data.rindex(b'\r')].replace(b'\r', b'\n'))
EOF
tr '\n' '\r' <"$out/text.txt" | "$convert" --clipboard | sed 's/\r$//' >"$out/expected.txt"

. scripts/wine-session.sh
trap ws_end EXIT
ws_begin build/locale || exit 1
GD_PROBE=$probe_exe GD_TIMEOUT=60
. scripts/gui-driver.sh
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
windows_clipboard_is() { gd_probe clipboard-text >"$out/clip.txt" 2>/dev/null && cmp -s "$out/clip.txt" "$1"; }
field_holds() {  # BYTES: the rich edit holds at least that many bytes
    gd_probe text --title Hollerpad --control-class RichEdit20W >"$out/field.txt" 2>/dev/null &&
        [ "$(wc -c <"$out/field.txt")" -ge "$1" ]
}
# A step that fails ends the benchmark: its figures would not be what they say.
stop_on_failure() { gd_ok || { echo "run $run: $GD_FAIL" >&2; exit 1; }; }

: >"$out/gui.times"
sed -z 's/\n/\r\n/g' "$out/text.txt" >"$out/windows-form.txt"
for ((run = 1; run <= runs; ++run)); do
    gd_case "$out"
    LC_ALL=$WS_LOCALE wine "$probe_exe" run --log "$(gd_winpath "$out/boxes.log")" --timeout 1800 --cwd 'C:\' \
        -- "\"$(gd_winpath "$exe")\"" >"$out/run.out" 2>&1 &
    run_pid=$!
    gd_control Hollerpad --caption 貼り付け && px=$GD_X py=$GD_Y &&
        gd_control Hollerpad --caption 変換してコピー && cx=$GD_X cy=$GD_Y &&
        gd_step "no information on the window" gd_probe window-info --title Hollerpad >"$out/info.out" 2>&1
    stop_on_failure
    xclip -quiet -selection clipboard -t UTF8_STRING -i "$out/text.txt" >/dev/null 2>&1 &
    # Paste once Wine has taken the text in, then wait for the field to hold all of it.
    gd_until 60 "Wine to take the X11 clipboard" windows_clipboard_is "$out/windows-form.txt" &&
        gd_front Hollerpad && gd_click_at "$px" "$py" &&
        gd_until 600 "the pasted text in the field" field_holds "$(wc -c <"$out/windows-form.txt")" &&
        gd_step "cannot read the clipboard's sequence number" gd_probe clipboard-seq >"$out/seq.txt" 2>&1
    stop_on_failure
    gd_probe clipboard-wait --seq "$(cat "$out/seq.txt")" --timeout 1800 >"$out/wait.out" 2>&1 &
    wait_pid=$!
    gd_until 60 "the clipboard watch to be ready" grep -q ready "$out/wait.out"
    stop_on_failure
    t0=$(gd_us)
    gd_click_at "$cx" "$cy"
    stop_on_failure
    wait "$wait_pid"
    t1=$(awk '/^seq / { print $4 }' "$out/wait.out")
    [ -n "$t1" ] || { echo "run $run: the clipboard did not change within 1800 s" >&2; exit 1; }
    timeout 5 xclip -selection clipboard -t UTF8_STRING -o >"$out/got.txt" 2>/dev/null
    cmp -s "$out/got.txt" "$out/expected.txt" || echo "run $run: the clipboard differs from hollerpad-convert's result" >&2
    echo $(((t1 - t0) / 1000)) >>"$out/gui.times"
    # Ctrl+Q, then the probe's kill if the program has not ended 30 s later.
    gd_front Hollerpad && gd_keys ctrl+q
    end=$(($(gd_us) + 30000000))
    while kill -0 "$run_pid" 2>/dev/null && [ "$(gd_us)" -lt "$end" ]; do sleep 0.1; done
    kill -0 "$run_pid" 2>/dev/null && gd_probe kill --pid "$(awk '/^pid /{print $2}' "$out/info.out")" >/dev/null 2>&1
    wait "$run_pid"
done

: >"$out/cli.times"
for ((run = 1; run <= runs; ++run)); do
    tr '\n' '\r' <"$out/text.txt" >"$out/input.txt"
    t0=$(gd_us)
    "$convert" --clipboard <"$out/input.txt" >/dev/null
    echo $((($(gd_us) - t0) / 1000)) >>"$out/cli.times"
done
echo "== $(wc -c <"$out/text.txt") bytes, medians of $runs runs (load $(cut -d' ' -f1-3 /proc/loadavg))"
echo "  変換してコピー under Wine, click to clipboard  $(median <"$out/gui.times") ms"
echo "  hollerpad-convert --clipboard               $(median <"$out/cli.times") ms"
