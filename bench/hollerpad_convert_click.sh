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
winpath() { local p; p=$(cd "$(dirname "$1")" && pwd)/$(basename "$1"); echo "Z:${p//\//\\}"; }
probe() { LC_ALL=$WS_LOCALE wine "$probe_exe" "$@"; }
us() { local t=${EPOCHREALTIME/./}; echo "${t#0}"; }
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
centre() {  # CAPTION: the button's centre
    probe control --title Hollerpad --caption "$1" --timeout 20 >"$out/control.out" 2>&1 || return 1
    awk '/^hwnd / { print int(($4 + $6) / 2), int(($5 + $7) / 2) }' "$out/control.out"
}

: >"$out/gui.times"
for ((run = 1; run <= runs; ++run)); do
    LC_ALL=$WS_LOCALE wine "$probe_exe" run --log "$(winpath "$out/boxes.log")" --timeout 1800 --cwd 'C:\' \
        -- "\"$(winpath "$exe")\"" >"$out/run.out" 2>&1 &
    run_pid=$!
    read -r px py < <(centre 貼り付け) && read -r cx cy < <(centre 変換してコピー) || { echo "no buttons" >&2; exit 1; }
    probe window-info --title Hollerpad >"$out/info.out" 2>&1
    xclip -quiet -selection clipboard -t UTF8_STRING -i "$out/text.txt" >/dev/null 2>&1 &
    # Paste once Wine has taken the text in, then wait for the field to hold all of it.
    sed -z 's/\n/\r\n/g' "$out/text.txt" >"$out/windows-form.txt"
    until probe clipboard-text >"$out/clip.txt" 2>/dev/null && cmp -s "$out/clip.txt" "$out/windows-form.txt"; do sleep 0.1; done
    probe foreground --title Hollerpad >/dev/null 2>&1
    xdotool mousemove --sync "$px" "$py" click 1
    until probe text --title Hollerpad --control-class RichEdit20W >"$out/field.txt" 2>/dev/null &&
        [ "$(wc -c <"$out/field.txt")" -ge "$(wc -c <"$out/windows-form.txt")" ]; do sleep 0.1; done
    probe clipboard-seq >"$out/seq.txt" 2>&1
    probe clipboard-wait --seq "$(cat "$out/seq.txt")" --timeout 1800 >"$out/wait.out" 2>&1 &
    wait_pid=$!
    until grep -q ready "$out/wait.out" 2>/dev/null; do sleep 0.01; done
    t0=$(us)
    xdotool mousemove --sync "$cx" "$cy" click 1
    wait "$wait_pid"
    t1=$(awk '/^seq / { print $4 }' "$out/wait.out")
    timeout 5 xclip -selection clipboard -t UTF8_STRING -o >"$out/got.txt" 2>/dev/null
    cmp -s "$out/got.txt" "$out/expected.txt" || echo "run $run: the clipboard differs from hollerpad-convert's result" >&2
    echo $(((t1 - t0) / 1000)) >>"$out/gui.times"
    # Ctrl+Q, then the probe's kill if the program has not ended 30 s later.
    probe foreground --title Hollerpad >/dev/null 2>&1 && xdotool key ctrl+q
    end=$(($(us) + 30000000))
    while kill -0 "$run_pid" 2>/dev/null && [ "$(us)" -lt "$end" ]; do sleep 0.1; done
    kill -0 "$run_pid" 2>/dev/null && probe kill --pid "$(awk '/^pid /{print $2}' "$out/info.out")" >/dev/null 2>&1
    wait "$run_pid"
done

: >"$out/cli.times"
for ((run = 1; run <= runs; ++run)); do
    tr '\n' '\r' <"$out/text.txt" >"$out/input.txt"
    t0=$(us)
    "$convert" --clipboard <"$out/input.txt" >/dev/null
    echo $((($(us) - t0) / 1000)) >>"$out/cli.times"
done
echo "== $(wc -c <"$out/text.txt") bytes, medians of $runs runs (load $(cut -d' ' -f1-3 /proc/loadavg))"
echo "  変換してコピー under Wine, click to clipboard  $(median <"$out/gui.times") ms"
echo "  hollerpad-convert --clipboard               $(median <"$out/cli.times") ms"
