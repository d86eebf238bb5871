#!/usr/bin/env bash
# run.sh [--steps[=K|=all]]: the conversion benchmark in one go. Builds what it needs in the
# linux preset, makes the corpus under build/bench/ when it is missing, times ConvertText and
# the CPython bytes.replace chain on it, checks that hollerpad-convert's output equals
# Python's byte for byte, and prints both figures and their ratio, the ratio of the application's
# way (per step a read, one replace-all and a write on a held text), and the number of passes
# the conversion made (steps that found something and made a new text).
#
# Environment: CORPUS_MB (default 8), RUNS (default 7), PYTHON (default python3).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
corpus_mb=${CORPUS_MB:-8}
runs=${RUNS:-7}
python=${PYTHON:-python3}
steps_flag=()
for arg in "$@"; do
    case $arg in
        --steps | --steps=*) steps_flag=("$arg") ;;
        *) echo "usage: $0 [--steps[=K|=all]]" >&2; exit 2 ;;
    esac
done

bin=build/linux/bin
out=build/bench
mkdir -p "$out"

# Only the two programs the benchmark runs, so unrelated targets cannot hold it up.
[[ -f build/linux/build.ninja ]] || cmake --preset linux > "$out/configure.log"
cmake --build --preset linux --target conversion_bench hollerpad-convert > "$out/build.log" \
    || { cat "$out/build.log" >&2; exit 1; }

corpus=$out/corpus-${corpus_mb}mb.txt
[[ -s $corpus ]] || bench/make_corpus.sh "$corpus" "$corpus_mb"

# Other work on the machine skews both figures; the load shows how much to trust them.
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
# Under an i386 emulator the C++ side runs emulated and Python natively: the ratio then says
# little about a native run.
source scripts/i386-support.sh
i386=$(i386_status)
echo "== C++ (ConvertText, $bin/conversion_bench)"
"$bin/conversion_bench" "$corpus" --runs "$runs" "${steps_flag[@]}" | tee "$out/cpp_bench.txt"
echo "== CPython (bench/python_chain.py)"
"$python" bench/python_chain.py "$corpus" --runs "$runs" --out "$out/python.out" | tee "$out/python_bench.txt"

"$bin/hollerpad-convert" < "$corpus" > "$out/hollerpad-convert.out"
if cmp -s "$out/hollerpad-convert.out" "$out/python.out"; then
    same="yes ($(stat -c %s "$out/python.out") bytes)"
else
    same="NO: $(cmp "$out/hollerpad-convert.out" "$out/python.out" 2>&1 | head -n 1)"
fi

cpp=$(awk '/^ConvertText:/ { print $2 }' "$out/cpp_bench.txt")
copy=$(awk '/^110-pass byte copy:/ { print $4 }' "$out/cpp_bench.txt")
held=$(awk '/^held text, per step/ { print $6 }' "$out/cpp_bench.txt")
passes=$(awk '/^passes:/ { print $2 " of " $4 }' "$out/cpp_bench.txt")
py=$(awk '/^python bytes.replace chain:/ { print $4 }' "$out/python_bench.txt")
echo "== summary ($corpus, medians of $runs runs; load average $load_before before, $(cut -d' ' -f1-3 /proc/loadavg) after)"
printf '  C++ ConvertText        %10s MB/s\n' "$cpp"
printf '  CPython replace chain  %10s MB/s\n' "$py"
printf '  ratio C++ / Python     %10s\n' "$(awk -v a="$cpp" -v b="$py" 'BEGIN { printf "%.2fx", a / b }')"
printf '  read/replace/write     %10s MB/s  (%s of the CPython chain)\n' "$held" \
    "$(awk -v a="$held" -v b="$py" 'BEGIN { printf "%.2fx", a / b }')"
printf '  passes (new texts)     %10s steps\n' "$passes"
printf '  110-pass byte copy     %10s MB/s  (C++ conversion at %s of it)\n' "$copy" \
    "$(awk -v a="$cpp" -v b="$copy" 'BEGIN { printf "%.1f%%", 100 * a / b }')"
printf '  hollerpad-convert output equals Python'"'"'s: %s\n' "$same"
if [[ $i386 == emulated ]]; then
    echo "  note: i386 programs run through qemu-user-static here; the C++ figures are emulated, CPython's native"
fi
[[ $same == yes* ]]
