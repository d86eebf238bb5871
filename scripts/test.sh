#!/bin/bash
# Builds the three presets (linux, linux-asan, win32) and runs every test suite: the Linux
# suites natively and under AddressSanitizer/UBSan, the Windows suites under Wine in a
# private prefix, and the command-line checks of hollerpad-convert in both builds (their
# outputs compared byte for byte). Installs missing packages first.
#
# Prints one line per suite and ends with the totals over every suite, "N passed, N failed".
# Exits non-zero if anything failed, crashed, hung or did not build.
# Logs and result files: build/test-results/. QUAVER_SUITE_TIMEOUT (seconds, default 900)
# limits each suite.
set -uo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
results=build/test-results   # relative to the root: the Windows suites get it as a path too
suite_timeout=${QUAVER_SUITE_TIMEOUT:-900}
total_passed=0 total_failed=0
problems=()

# record LABEL PASSED FAILED [NOTE]
record() {
  total_passed=$((total_passed + $2)) total_failed=$((total_failed + $3))
  printf '%-40s %5d passed, %d failed%s\n' "$1" "$2" "$3" "${4:+  ($4)}"
  [ "$3" -eq 0 ] || problems+=("$1: $3 failed${4:+ ($4)}")
}

# build PRESET: configure and build, going on past errors so that the suites that do build
# still run. Returns 1 if anything failed to build.
build() {
  local preset=$1 t0=$SECONDS
  local log=$results/build-$preset.log
  echo "building $preset ..."
  if cmake --preset "$preset" >"$log" 2>&1 && cmake --build --preset "$preset" -- -k 0 >>"$log" 2>&1; then
    echo "built $preset in $((SECONDS - t0)) s"
    return 0
  fi
  echo "---- $preset build failed, errors from $log:"
  grep -E -A12 '(error|Error|FAILED:)' "$log" | head -n 80
  echo "----"
  record "build $preset" 0 1 "see $log"
  return 1
}

# suites PRESET: names of the test executables the build defines (from ninja, so that a suite
# that failed to link is still known; stale files in bin/ are not).
suites() {
  [ -f "build/$1/build.ninja" ] || return 0
  ninja -C "build/$1" -t targets all 2>/dev/null | sed -n 's|^bin/\([^:/]*_tests\(\.exe\)\{0,1\}\): .*|\1|p' | sort -u
}

# parse_suite LABEL JSON LOG EXIT_CODE: prints the suite line and the failures, adds the counts.
# Counts come from gtest's JSON; a suite that died before writing it is counted from its log,
# with the test it was running (or the suite itself) as one more failure.
parse_suite() {
  local label=$1 counts
  counts=$(python3 - "$@" 2>"$2.details" <<'EOF'
import json, os, re, sys
label, json_path, log_path, rc = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
passed = failed = skipped = 0
notes, details = [], []

def log_tail(n):
    try:
        with open(log_path, errors="replace") as f:
            return ["    | " + l.rstrip("\n") for l in f.readlines()[-n:]]
    except OSError:
        return ["    (no log)"]

data = None
if os.path.exists(json_path):
    try:
        with open(json_path, encoding="utf-8", errors="replace") as f:
            data = json.load(f)
    except ValueError as e:
        notes.append(f"unreadable results: {e}")
if data is not None:
    for suite in data.get("testsuites", []):
        for t in suite.get("testsuite", []):
            name = f"{t.get('classname', '?')}.{t.get('name', '?')}"
            if t.get("failures"):
                failed += 1
                details.append(f"  FAILED {name}")
                for fl in t["failures"]:
                    details += ["    " + l for l in fl.get("failure", "").splitlines()[:15]]
            elif t.get("status") == "NOTRUN":
                pass  # disabled
            elif t.get("result") == "SKIPPED":
                skipped += 1
            else:
                passed += 1
    if rc != 0 and failed == 0:
        failed += 1
        notes.append(f"exit status {rc} after all tests passed")
        details += log_tail(30)
else:
    running = None
    try:
        with open(log_path, errors="replace") as f:
            for line in f:
                if m := re.match(r"\[ RUN      \] (\S+)", line):
                    running = m.group(1)
                elif re.match(r"\[       OK \] \S+ \(\d+ ms\)", line):
                    passed += 1; running = None
                elif m := re.match(r"\[  FAILED  \] ([^,\s]+).* \(\d+ ms\)$", line):
                    failed += 1; running = None
                    details.append(f"  FAILED {m.group(1)}")
                elif re.match(r"\[  SKIPPED \] \S+ \(\d+ ms\)", line):
                    skipped += 1; running = None
    except OSError:
        pass
    failed += 1
    what = ("timed out" if rc in (124, 137) else
            f"no results written, exit status {rc}" if rc == 0 else f"crashed, exit status {rc}")
    notes.append(what + (f" in {running}" if running else ""))
    details += log_tail(40)
if skipped:
    notes.insert(0, f"{skipped} skipped")
print(passed, failed, "; ".join(notes))
print("\n".join(details), file=sys.stderr)
EOF
  ) || counts="0 1 result parser failed"
  local p f note
  read -r p f note <<<"$counts"
  record "$label" "$p" "$f" "$note"
  [ "$f" -eq 0 ] || head -n 200 "$2.details"
}

# run_suites PRESET LABEL COMMAND_PREFIX...: runs every suite of the preset, from the repo root.
run_suites() {
  local preset=$1 label=$2 built=$3; shift 3
  local name dir=$results/$preset rc t0
  mkdir -p "$dir"
  for name in $(suites "$preset"); do
    if [ "$built" != yes ] && ! cmake --build --preset "$preset" --target "${name%.exe}" >>"$dir/rebuild.log" 2>&1; then
      record "$label ${name%.exe}" 0 1 "did not build"
      continue
    fi
    t0=$SECONDS rc=0
    timeout --foreground -k 10 "$suite_timeout" "$@" "build/$preset/bin/$name" --gtest_color=no \
      --gtest_output="json:$dir/$name.json" </dev/null >"$dir/$name.log" 2>&1 || rc=$?
    parse_suite "$label ${name%.exe} ($((SECONDS - t0)) s)" "$dir/$name.json" "$dir/$name.log" "$rc"
  done
}

# cli LABEL OUT_DIR [--compare DIR] COMMAND...: the hollerpad-convert checks.
cli() {
  local label=$1 out=$2; shift 2
  local log=$out.log line p= f=
  tests/tools/convert_cli_test.sh --out "$out" "$@" </dev/null >"$log" 2>&1
  line=$(tail -n 1 "$log")
  if [[ $line =~ ^([0-9]+)\ passed,\ ([0-9]+)\ failed$ ]]; then
    p=${BASH_REMATCH[1]} f=${BASH_REMATCH[2]}
    record "$label" "$p" "$f"
    [ "$f" -eq 0 ] || grep '^FAIL' "$log" | head -n 40
  else
    record "$label" 0 1 "did not finish, see $log"
    tail -n 20 "$log"
  fi
}

# script_check LABEL LOG COMMAND...: a check script that ends with "N passed, N failed".
script_check() {
  local label=$1 log=$2; shift 2
  local line
  "$@" </dev/null >"$log" 2>&1
  line=$(tail -n 1 "$log")
  if [[ $line =~ ^([0-9]+)\ passed,\ ([0-9]+)\ failed$ ]]; then
    record "$label" "${BASH_REMATCH[1]}" "${BASH_REMATCH[2]}"
    [ "${BASH_REMATCH[2]}" -eq 0 ] || grep '^FAIL' -A8 "$log" | head -n 60
  else
    record "$label" 0 1 "did not finish, see $log"
    tail -n 20 "$log"
  fi
}

# fuzz SECONDS: builds the fuzz targets with clang and runs each for a bounded time, starting
# from a scratch copy of its seed corpus (tests/fuzz/corpus/TARGET) so the tree is not
# written; crashing inputs go to build/test-results/fuzz-TARGET-crash-*.
fuzz() {
  local seconds=$1 target max_len rss malloc log corpus
  if ! cmake --preset linux-fuzz >"$results/build-linux-fuzz.log" 2>&1 ||
     ! cmake --build --preset linux-fuzz >>"$results/build-linux-fuzz.log" 2>&1; then
    record "fuzz" 0 1 "did not build, see $results/build-linux-fuzz.log"
    return
  fi
  # TARGET MAX_LEN RSS_LIMIT_MB MALLOC_LIMIT_MB. An image built from an object of a few KB
  # needs a few KB: one allocation over 128 MB there is a runaway size taken from the input.
  while read -r target max_len rss malloc; do
    log=$results/fuzz-$target.log corpus=$results/fuzz-corpus/$target
    mkdir -p "$corpus"
    cp tests/fuzz/corpus/"$target"/* "$corpus"/ 2>/dev/null
    if timeout -k 10 $((seconds + 60)) build/linux-fuzz/bin/"$target" -max_total_time="$seconds" \
         -max_len="$max_len" -rss_limit_mb="$rss" -malloc_limit_mb="$malloc" -timeout=10 -artifact_prefix="$results/fuzz-$target-" \
         "$corpus" </dev/null >"$log" 2>&1; then
      record "fuzz $target (${seconds} s, $(grep -o 'Done [0-9]* runs' "$log" | head -n 1), $(grep -o 'cov: [0-9]*' "$log" | tail -n 1))" 1 0
    else
      record "fuzz $target" 0 1 "see $log"
      grep -E 'ERROR|SUMMARY|crash-|timeout|leak-|oom-' "$log" | head -n 20
    fi
  done <<'TARGETS'
image_parsers_fuzz 4096 2048 2048
elf_object_fuzz 8192 1024 128
TARGETS
}

# The whole run is one function, read before it starts, so editing this file mid-run is safe.
main() {
  cd "$root" || return 1
  local start=$SECONDS
  if ! "$root/scripts/install-deps.sh"; then
    echo "install-deps.sh failed"
    echo "0 passed, 1 failed"
    return 1
  fi
  rm -rf "$results"
  mkdir -p "$results"

  # ---- Folders include only from themselves and the layers below them
  script_check "include layers" "$results/layers.log" python3 scripts/check_layers.py

  # ---- Linux i386
  linux_built=no
  build linux && linux_built=yes
  run_suites linux "linux" "$linux_built"
  if [ -x build/linux/bin/hollerpad-convert ] &&
     { [ $linux_built = yes ] || cmake --build --preset linux --target hollerpad-convert >/dev/null 2>&1; }; then
    cli "linux hollerpad-convert CLI" "$results/cli-linux" build/linux/bin/hollerpad-convert
  else
    record "linux hollerpad-convert CLI" 0 1 "not built"
  fi

  script_check "linux test images (qvrun)" "$results/images-linux.log" \
    tests/images/run_images_test.sh native build/linux/bin/qvrun build/linux/images

  # ---- Linux i386 under valgrind. The frame-gap test reads below the stack pointer on
  # purpose (it builds a broken frame chain), which valgrind reports; it runs everywhere else.
  run_suites linux "linux-valgrind" "$linux_built" env \
    GTEST_FILTER=-ExceptionSearchChain.FrameGapOfMoreThan4096BytesEndsTheSearch \
    valgrind --error-exitcode=9 -q

  # ---- Linux i386 with AddressSanitizer and UBSan (LeakSanitizer too)
  asan_built=no
  build linux-asan && asan_built=yes
  run_suites linux-asan "linux-asan" "$asan_built" env \
    ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1}" \
    UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
  # The test images under the sanitizers, with their default options: what the exception
  # search and the landing records do to the stack must hold up without special settings.
  script_check "linux-asan test images (qvrun)" "$results/images-linux-asan.log" \
    tests/images/run_images_test.sh native build/linux-asan/bin/qvrun build/linux-asan/images

  fuzz "${QUAVER_FUZZ_SECONDS:-30}"  # per target

  # ---- Windows i686 under Wine
  win_built=no
  build win32 && win_built=yes
  . "$root/scripts/wine-session.sh"
  trap ws_end EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM
  if [ -n "$(suites win32)" ] || [ -x build/win32/bin/hollerpad-convert.exe ]; then
    t0=$SECONDS
    if ws_begin "$root/build/locale"; then
      echo "wine session ready in $((SECONDS - t0)) s (prefix $WINEPREFIX, DISPLAY $DISPLAY)"
      run_suites win32 "win32" "$win_built" env LC_ALL="$WS_LOCALE" wine
      if [ -x build/win32/bin/hollerpad-convert.exe ] &&
         { [ $win_built = yes ] || cmake --build --preset win32 --target hollerpad-convert >/dev/null 2>&1; }; then
        compare=()
        [ -d "$results/cli-linux" ] && compare=(--compare "$results/cli-linux")
        cli "win32 hollerpad-convert CLI" "$results/cli-win32" "${compare[@]}" \
          env LC_ALL="$WS_LOCALE" wine build/win32/bin/hollerpad-convert.exe
      else
        record "win32 hollerpad-convert CLI" 0 1 "not built"
      fi
      if [ -x build/win32/bin/qvrun.exe ] && [ -x build/linux/bin/qvimage ]; then
        script_check "win32 test images (attached to qvrun.exe)" "$results/images-win32.log" \
          env LC_ALL="$WS_LOCALE" tests/images/run_images_test.sh wine build/linux/bin/qvimage \
          build/win32/bin/qvrun.exe build/linux/images "$results/images-win32"
      else
        record "win32 test images" 0 1 "qvrun.exe or qvimage not built"
      fi
    else
      record "wine session" 0 1 "could not start"
    fi
    ws_end
  fi

  echo
  if [ ${#problems[@]} -gt 0 ]; then
    echo "Failures:"
    printf '  %s\n' "${problems[@]}"
  fi
  echo "total time $((SECONDS - start)) s; results in $results"
  echo "$total_passed passed, $total_failed failed"
  [ "$total_failed" -eq 0 ]
}

main "$@"; exit $?
