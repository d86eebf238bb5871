#!/bin/bash
# Builds the three presets (linux, linux-asan, win32) and runs every test suite through
# CTest: the Linux suites natively, under valgrind and under AddressSanitizer/UBSan, the
# Windows suites under Wine in a private prefix, and the command-line checks of hollerpad-convert in both builds (their
# outputs compared byte for byte). Installs missing packages first.
#
# Prints one line per suite and ends with the totals over every suite, "N passed, N failed",
# or "N passed, N failed, N skipped" when something could not run here: on a machine whose
# kernel runs no 32-bit programs, i386 programs run through an emulator (see
# scripts/install-deps.sh), and what cannot run there (valgrind, LeakSanitizer, everything
# under Wine) is named as not run, with the reason, and never counted as passed.
# Exits non-zero if anything failed, crashed, hung or did not build.
# Logs and result files: build/test-results/. QUAVER_SUITE_TIMEOUT (seconds, default 900)
# limits each suite; QUAVER_TIME_SCALE (default 1) multiplies it and every wait of the GUI
# scripts, for slow machines. QUAVER_SECTIONS (default "checks linux valgrind asan fuzz win32") runs only
# the named sections; a section that needs another's programs builds them first.
set -uo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
results=${QUAVER_RESULTS:-build/test-results}   # relative to the root: the Windows suites get it as a path too
# A Windows program reads "/work/..." as a path on its current drive, not as the Unix root:
# a results folder inside the project is passed on relative to it.
case $results in "$root"/*) results=${results#"$root"/} ;; esac
suite_timeout=${QUAVER_SUITE_TIMEOUT:-$((900 * ${QUAVER_TIME_SCALE:-1}))}
sections=" ${QUAVER_SECTIONS:-checks linux valgrind asan fuzz win32} "
total_passed=0 total_failed=0 total_skipped=0
problems=() not_run=()
. "$root/scripts/i386-support.sh"

# section NAME: whether this run includes that section.
section() { [[ $sections == *" $1 "* ]]; }

# linux_ready: builds the linux preset once per run; linux_built says whether it built.
linux_built=
linux_ready() {
  [ -n "$linux_built" ] && return
  linux_built=no
  build linux && linux_built=yes
}

# vm_section NAME DIR: runs that section of this script inside the virtual machine of
# scripts/wine-vm.sh (results under DIR) and takes over its lines and totals.
vm_section() {
  local name=$1 dir=$2 t0=$SECONDS line
  echo "running the $name section in a virtual machine (console and output: $dir) ..."
  # Everything in there runs about ten times slower: every wait is stretched to match.
  QUAVER_SECTIONS=$name QUAVER_RESULTS=$dir/results QUAVER_PREBUILT=1 QUAVER_TIME_SCALE=${QUAVER_TIME_SCALE:-8} \
    scripts/wine-vm.sh run "$dir" scripts/test.sh
  echo "virtual machine finished in $((SECONDS - t0)) s"
  if ! grep -Eq '^[0-9]+ passed, [0-9]+ failed' "$dir/vm.out" 2>/dev/null; then
    record "$name in a virtual machine" 0 1 "it ended without totals, see $dir/vm.out"
    return
  fi
  while IFS= read -r line; do
    if [[ $line =~ ^(.*[^\ ])\ +([0-9]+)\ passed,\ ([0-9]+)\ failed(\ \ \((.*)\))?$ ]]; then
      record "${BASH_REMATCH[1]}" "${BASH_REMATCH[2]}" "${BASH_REMATCH[3]}" "${BASH_REMATCH[5]}"
    elif [[ $line =~ ^(.*[^\ ])\ +skipped\ \ \((.*)\)$ ]]; then
      skip "${BASH_REMATCH[1]}" "${BASH_REMATCH[2]}"
    fi
  done <"$dir/vm.out"
}

# record LABEL PASSED FAILED [NOTE]
record() {
  total_passed=$((total_passed + $2)) total_failed=$((total_failed + $3))
  printf '%-40s %5d passed, %d failed%s\n' "$1" "$2" "$3" "${4:+  ($4)}"
  [ "$3" -eq 0 ] || problems+=("$1: $3 failed${4:+ ($4)}")
}

# skip LABEL REASON: something that does not run on this machine.
skip() {
  total_skipped=$((total_skipped + 1))
  printf '%-40s skipped  (%s)\n' "$1" "$2"
  not_run+=("$1: $2")
}

# skip_suites PRESET LABEL REASON: each suite of the preset, named as not run.
skip_suites() {
  local name
  for name in $(suites "$1"); do
    skip "$2 ${name%.exe}" "$3"
  done
}

# skipped_cases LABEL LOG: the "SKIP  NAME: REASON" lines of a check script, each named as
# not run.
skipped_cases() {
  local line
  while IFS= read -r line; do
    line=${line#SKIP  }
    skip "$1: ${line%%: *}" "${line#*: }"
  done < <(grep '^SKIP  ' "$2")
}

# build PRESET: configure and build, going on past errors so that the suites that do build
# still run. Returns 1 if anything failed to build.
build() {
  local preset=$1 t0=$SECONDS
  local log=$results/build-$preset.log
  # Inside the virtual machine the builds made outside are used as they are (building there
  # is ten times slower, and two builds must not write one tree at once).
  if [ -n "${QUAVER_PREBUILT:-}" ]; then
    [ -f "build/$preset/build.ninja" ] && return 0
    record "build $preset" 0 1 "not built outside the virtual machine"
    return 1
  fi
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

# run_suites PRESET LABEL BUILT [VAR=VALUE...] [-- CTEST_ARGS...]: runs every suite of the
# preset through `ctest --preset PRESET` from the repo root, with the variables set for the
# suites; CTEST_ARGS replace the default mode, -T Test. Each suite writes its gtest JSON into
# $results/LABEL; scripts/suite_results.py turns that and CTest's record of the run into one
# line per suite. If the build failed, each suite is rebuilt alone first and the ones that
# still do not build are failures.
run_suites() {
  local preset=$1 label=$2 built=$3; shift 3
  local name dir=$results/$label vars=() mode=(-T Test) names=() line secs p f note
  while [ $# -gt 0 ] && [ "$1" != -- ]; do vars+=("$1"); shift; done
  [ $# -eq 0 ] || { shift; mode=("$@"); }
  rm -rf "$dir"
  mkdir -p "$dir"
  for name in $(suites "$preset"); do
    name=${name%.exe}
    if [ "$built" != yes ] && ! cmake --build --preset "$preset" --target "$name" >>"$dir/rebuild.log" 2>&1; then
      record "$label $name" 0 1 "did not build"
      continue
    fi
    names+=("$name")
  done
  [ ${#names[@]} -gt 0 ] || return 0
  # A suite CTest does not know, or one missing from its records, still gets its line below,
  # as a failure. The outer timeout only guards against CTest itself hanging. Testing/ goes
  # first so that no record of an earlier run is read as this one's.
  rm -rf "build/$preset/Testing"
  local regex="^($(IFS='|'; echo "${names[*]}"))\$"
  env "${vars[@]}" GTEST_COLOR=no GTEST_OUTPUT="json:$dir/" \
    timeout -k 10 $(( ${#names[@]} * (suite_timeout + 60) + 60 )) \
    ctest --preset "$preset" --test-dir "build/$preset" "${mode[@]}" -R "$regex" --timeout "$suite_timeout" \
      --test-output-size-passed 8000000 --test-output-size-failed 8000000 --no-compress-output \
      </dev/null >"$dir/ctest.log" 2>&1
  if ! python3 scripts/suite_results.py "build/$preset" "$dir" "$dir/ctest.log" "${names[@]}" \
       >"$dir/suites.tsv" 2>"$dir/suite_results.err"; then
    cat "$dir/suite_results.err"
    : >"$dir/suites.tsv"   # every suite below then counts as failed
  fi
  for name in "${names[@]}"; do
    line=$(grep -m 1 "^$name"$'\t' "$dir/suites.tsv")
    if [ -z "$line" ]; then
      record "$label $name" 0 1 "result parser failed, see $dir"
      continue
    fi
    IFS=$'\t' read -r _ secs p f note <<<"$line"
    # Wine itself now and then dies of a signal while a process that has finished tears down
    # (seen once in several loaded runs, never in 25 runs in a row). Such a suite, every test of
    # which passed, runs once more; the line says so, and a second failure stands.
    if [ "$preset" = win32 ] && [ "$f" -eq 1 ] && [[ $note == *"after all tests passed"* ]] &&
       line=$(run_again "$preset" "$dir/again-$name" "$name" "${vars[@]}"); then
      IFS=$'\t' read -r _ secs p f _ <<<"$line"
      [ "$f" -eq 0 ] && note="passed when run again: the first run ended in a crash after all tests passed"
    fi
    record "$label $name ($secs s)" "$p" "$f" "$note"
    [ "$f" -eq 0 ] || head -n 200 "$dir/$name.details"
  done
}

# run_again PRESET DIR NAME [VAR=VALUE...]: runs one suite through CTest again and prints its
# suite_results line; fails when there is none.
run_again() {
  local preset=$1 dir=$2 name=$3; shift 3
  rm -rf "$dir" "build/$preset/Testing"
  mkdir -p "$dir"
  env "$@" GTEST_COLOR=no GTEST_OUTPUT="json:$dir/" timeout -k 10 $((suite_timeout + 60)) \
    ctest --preset "$preset" --test-dir "build/$preset" -T Test -R "^$name\$" --timeout "$suite_timeout" \
      --no-compress-output </dev/null >"$dir/ctest.log" 2>&1
  python3 scripts/suite_results.py "build/$preset" "$dir" "$dir/ctest.log" "$name" 2>/dev/null |
    grep -m 1 "^$name"$'\t'
}

# cli LABEL OUT_DIR [--compare DIR] COMMAND...: the hollerpad-convert checks.
cli() {
  local label=$1 out=$2; shift 2
  local log=$out.log line p= f=
  tests/tools/convert_cli_test.sh --out "$out" "$@" </dev/null >"$log" 2>&1
  line=$(tail -n 1 "$log")
  if [[ $line =~ ^([0-9]+)\ passed,\ ([0-9]+)\ failed(,\ [0-9]+\ skipped)?$ ]]; then
    p=${BASH_REMATCH[1]} f=${BASH_REMATCH[2]}
    record "$label" "$p" "$f"
    skipped_cases "$label" "$log"
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
  if [[ $line =~ ^([0-9]+)\ passed,\ ([0-9]+)\ failed(,\ [0-9]+\ skipped)?$ ]]; then
    record "$label" "${BASH_REMATCH[1]}" "${BASH_REMATCH[2]}"
    skipped_cases "$label" "$log"
    [ "${BASH_REMATCH[2]}" -eq 0 ] || grep '^FAIL' -A8 "$log" | head -n 60
  else
    record "$label" 0 1 "did not finish, see $log"
    tail -n 20 "$log"
  fi
}

# The fuzz targets: TARGET MAX_LEN RSS_LIMIT_MB MALLOC_LIMIT_MB [MOST_SECONDS]. An image built
# from an object of a few KB needs a few KB: one allocation over 128 MB there is a runaway size
# taken from the input. MOST_SECONDS caps a target's time below SECONDS, to keep the run short.
fuzz_targets_table='image_parsers_fuzz 4096 2048 2048
elf_object_fuzz 8192 1024 128
debugger_lines_fuzz 140000 1024 64 15
mass_property_table_fuzz 4096 1024 64 15
bmp_file_fuzz 4096 1024 64 15'
fuzz_targets() { cut -d ' ' -f 1 <<<"$fuzz_targets_table"; }

# fuzz SECONDS: builds the fuzz targets with clang and runs each for a bounded time, starting
# from a scratch copy of its seed corpus (tests/fuzz/corpus/TARGET) so the tree is not
# written; crashing inputs go to build/test-results/fuzz-TARGET-crash-*.
fuzz() {
  local seconds=$1 target max_len rss malloc log corpus seeds
  if ! cmake --preset linux-fuzz >"$results/build-linux-fuzz.log" 2>&1 ||
     ! cmake --build --preset linux-fuzz >>"$results/build-linux-fuzz.log" 2>&1; then
    record "fuzz" 0 1 "did not build, see $results/build-linux-fuzz.log"
    return
  fi
  local target_seconds most
  while read -r target max_len rss malloc most; do
    target_seconds=$seconds
    [ -n "$most" ] && [ "$most" -lt "$seconds" ] && target_seconds=$most
    log=$results/fuzz-$target.log corpus=$results/fuzz-corpus/$target
    mkdir -p "$corpus"
    cp tests/fuzz/corpus/"$target"/* "$corpus"/ 2>/dev/null
    # The seeds are also named one by one: under the i386 emulator libFuzzer's listing of the
    # folder comes back empty ("0 files found").
    seeds=$(printf '%s,' "$corpus"/*) seeds=${seeds%,}
    # Under the i386 emulator, AddressSanitizer's own check of where a large block was mapped
    # ("CHECK failed: asan_poisoning.cpp ... AddrIsInMem") can stop a run: the emulator placed
    # the mapping where no program could have it. That is no fault of the code under test (a
    # fault is an ERROR report or a runtime error), so such a run is started again, twice at
    # most, and named as not run if it stops so each time.
    local attempt emulator_stop
    for attempt in 1 2 3; do
      emulator_stop=no
      if timeout -k 10 $((seconds + 60)) build/linux-fuzz/bin/"$target" -max_total_time="$target_seconds" \
           -max_len="$max_len" -rss_limit_mb="$rss" -malloc_limit_mb="$malloc" -timeout=10 -artifact_prefix="$results/fuzz-$target-" \
           -seed_inputs="$seeds" "$corpus" </dev/null >"$log" 2>&1; then
        record "fuzz $target (${target_seconds} s, $(grep -o 'Done [0-9]* runs' "$log" | head -n 1), $(grep -o 'cov: [0-9]*' "$log" | tail -n 1))" 1 0
        break
      fi
      # Also under the emulator: a floating-point trap inside libFuzzer itself, while it picks
      # the next input (std::piecewise_constant_distribution called from MutateAndTestOne),
      # before any code under test runs; seen once in many runs, with an empty input.
      if [ "$emulated" = yes ] &&
         { { grep -q 'AddressSanitizer: CHECK failed: asan_poisoning.cpp.*AddrIsInMem' "$log" &&
             ! grep -qE 'ERROR: (AddressSanitizer|libFuzzer)|runtime error:' "$log"; } ||
           { grep -qE '#0 0x[0-9a-f]+ in (double )?std::piecewise_constant_distribution' "$log" &&
             grep -qE '#1 0x[0-9a-f]+ in fuzzer::Fuzzer::MutateAndTestOne' "$log" &&
             ! grep -q 'runtime error:' "$log"; }; }; then
        emulator_stop=yes
        mv "$log" "$log.emulator-stop-$attempt"
        rm -f "$results/fuzz-$target-"crash-*
        continue
      fi
      record "fuzz $target" 0 1 "see $log"
      grep -E 'ERROR|SUMMARY|crash-|timeout|leak-|oom-' "$log" | head -n 20
      break
    done
    [ $emulator_stop = no ] ||
      skip "fuzz $target" "stopped three times under the emulator by AddressSanitizer's own address check or a trap inside libFuzzer, see $log.emulator-stop-3"
  done <<<"$fuzz_targets_table"
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
  local i386 emulated=no
  i386=$(i386_status)
  case $i386 in
    native) ;;
    emulated)
      emulated=yes
      echo "i386 programs run through qemu-user-static here (the kernel runs no 32-bit programs, or an emulator is registered for them): everything is slower, and what is far too slow under emulation is skipped"
      ;;
    *)
      echo "this machine runs no i386 programs: run scripts/install-deps.sh as root to set up the emulator, or boot with ia32_emulation=on"
      echo "0 passed, 1 failed"
      return 1
      ;;
  esac

  # Under the emulator LeakSanitizer's check at exit never ends, and the allocator's default
  # 256 MB quarantine trips AddressSanitizer's own checks: every sanitized program (the asan
  # suites, qvimage, the fuzz targets) runs with these, whichever sections run.
  [ $emulated = no ] ||
    export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:quarantine_size_mb=8:detect_stack_use_after_return=1:check_initialization_order=1}

  # ---- Folders include only from themselves and the layers below them; every exported routine
  # is written out under its name
  if section checks; then
    script_check "include layers" "$results/layers.log" python3 scripts/check_layers.py
    script_check "exported routine definitions" "$results/definitions.log" python3 scripts/check_definitions.py
    # The GUI-driving library's failure rules, with Wine and xdotool stubbed (runs anywhere)
    script_check "GUI-driving library" "$results/gui-driver.log" tests/scripts/gui_driver_test.sh
  fi

  # ---- Linux i386
  if section linux; then
    linux_ready
    run_suites linux "linux" "$linux_built"
    if [ -x build/linux/bin/hollerpad-convert ] &&
       { [ $linux_built = yes ] || cmake --build --preset linux --target hollerpad-convert >/dev/null 2>&1; }; then
      cli "linux hollerpad-convert CLI" "$results/cli-linux" build/linux/bin/hollerpad-convert
    else
      record "linux hollerpad-convert CLI" 0 1 "not built"
    fi

    script_check "linux test images (qvrun)" "$results/images-linux.log" \
      tests/images/run_images_test.sh native build/linux/bin/qvrun build/linux/images
    script_check "linux debugger session (qvrun)" "$results/debugger-linux.log" \
      python3 tests/debugger/debugger_session_test.py build/linux/bin/qvrun build/linux/images/image_debugger.qvi
    # Where process_vm_readv is refused (emulators, some sandboxes), memory is probed another
    # way; an emulated run takes that way anyway, an ordinary one takes it with the call refused.
    # The preload goes to qvrun alone, through a wrapper: the 64-bit tools around it would each
    # complain that they cannot load a 32-bit library.
    if [ $emulated = no ]; then
      local refused_qvrun=$root/$results/qvrun-refused
      printf '#!/bin/sh\nLD_PRELOAD=%s exec %s "$@"\n' "$root/build/linux/lib/librefuse_process_vm_readv.so" \
        "$root/build/linux/bin/qvrun" >"$refused_qvrun" && chmod +x "$refused_qvrun"
      script_check "linux test images, process_vm_readv refused" "$results/images-linux-refused.log" \
        tests/images/run_images_test.sh native "$refused_qvrun" build/linux/images
      script_check "linux debugger session, process_vm_readv refused" "$results/debugger-linux-refused.log" \
        python3 tests/debugger/debugger_session_test.py "$refused_qvrun" build/linux/images/image_debugger.qvi
    fi
  fi

  # ---- Linux i386 under valgrind. The frame-gap test reads below the stack pointer on
  # purpose (it builds a broken frame chain), which valgrind reports; it runs everywhere else.
  if section valgrind; then
    linux_ready
    if [ $emulated = yes ]; then
      skip_suites linux "linux-valgrind" "valgrind's i386 tool stops at once under the emulator (\"the 'impossible' happened\")"
    else
      run_suites linux "linux-valgrind" "$linux_built" \
        GTEST_FILTER=-ExceptionSearchChain.FrameGapOfMoreThan4096BytesEndsTheSearch \
        -- -T MemCheck --overwrite MemoryCheckCommand="$(command -v valgrind)" \
        --overwrite "MemoryCheckCommandOptions=--error-exitcode=9 -q"
    fi
  fi

  # ---- Linux i386 with AddressSanitizer and UBSan (LeakSanitizer too)
  if section asan; then
    local asan_options=${ASAN_OPTIONS:-detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1}
    if [ $emulated = yes ]; then
      # Under the emulator LeakSanitizer's check at exit never ends, and the allocator's default
      # 256 MB quarantine trips AddressSanitizer's own checks; the build runs sanitized programs
      # too (qvimage), so the options hold for everything from here on.
      asan_options=${ASAN_OPTIONS:-detect_leaks=0:quarantine_size_mb=8:detect_stack_use_after_return=1:check_initialization_order=1}
      export ASAN_OPTIONS=$asan_options
      skip "LeakSanitizer (linux-asan and fuzz)" "its check at exit never ends under the emulator"
    fi
    asan_built=no
    build linux-asan && asan_built=yes
    run_suites linux-asan "linux-asan" "$asan_built" \
      ASAN_OPTIONS="$asan_options" \
      UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
    # The test images under the sanitizers, with their default options (under the emulator, the
    # ones above): what the exception search and the landing records do to the stack must hold
    # up without special settings.
    script_check "linux-asan test images (qvrun)" "$results/images-linux-asan.log" \
      tests/images/run_images_test.sh native build/linux-asan/bin/qvrun build/linux-asan/images --sanitized
    script_check "linux-asan debugger session (qvrun)" "$results/debugger-linux-asan.log" \
      python3 tests/debugger/debugger_session_test.py build/linux-asan/bin/qvrun \
      build/linux-asan/images/image_debugger.qvi
  fi

  section fuzz && fuzz "${QUAVER_FUZZ_SECONDS:-30}"  # per target

  # ---- Windows i686 under Wine
  if section win32; then
    # its scripts use the Linux tools (qvimage, hollerpad-convert)
    linux_ready
    win_built=no
    build win32 && win_built=yes
    . "$root/scripts/wine-session.sh"
    trap ws_end EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM
    if [ $emulated = yes ] && [ "${QUAVER_WINE_VM:-no}" = yes ] && [ $win_built = yes ] &&
       scripts/wine-vm.sh prepare; then
      # Wine is an i386 program too, and cannot run under the user-mode emulator: the same
      # section runs inside a virtual machine whose kernel runs i386 programs (asked for with
      # QUAVER_WINE_VM=yes: it adds most of an hour).
      vm_section win32 "$results/win32-vm"
    elif [ $emulated = yes ]; then
      # Measured under qemu-user-static on such a machine: creating a prefix ran 12 minutes and
      # then failed ("could not load kernel32.dll"). The build above still shows that the
      # Windows side compiles and links.
      local why="Wine cannot run under the i386 emulator (QUAVER_WINE_VM=yes runs these in a virtual machine)"
      [ "${QUAVER_WINE_VM:-no}" != yes ] || why="Wine cannot run under the i386 emulator, and the virtual machine could not be prepared"
      skip_suites win32 "win32" "$why"
      for name in "win32 hollerpad-convert CLI" "win32 test images (attached to qvrun.exe)" \
                  "win32 GUI runtime (runtime.exe)" "win32 debugger session (runtime.exe)" \
                  "win32 Hollerpad.exe alone in a folder" "win32 Hollerpad end to end"; do
        skip "$name" "$why"
      done
    elif [ -n "$(suites win32)" ] || [ -x build/win32/bin/hollerpad-convert.exe ]; then
      t0=$SECONDS
      if ws_begin "$root/build/locale"; then
        echo "wine session ready in $((SECONDS - t0)) s (prefix $WINEPREFIX, DISPLAY $DISPLAY)"
        # The suites run through the toolchain's emulator (wine) in this session's prefix.
        run_suites win32 "win32" "$win_built" LC_ALL="$WS_LOCALE"
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
        # The GUI runtime end to end: images attached to runtime.exe, driven through its windows.
        if [ -x build/win32/bin/runtime.exe ] && [ -x build/linux/bin/qvimage ] && [ -x build/win32/bin/win_probe.exe ]; then
          script_check "win32 GUI runtime (runtime.exe)" "$results/gui-win32.log" \
            env LC_ALL="$WS_LOCALE" tests/images/run_gui_test.sh build/linux/bin/qvimage build/win32/bin/runtime.exe \
            build/win32/bin/win_probe.exe build/linux/images "$results/gui-win32"
        else
          record "win32 GUI runtime" 0 1 "runtime.exe, win_probe.exe or qvimage not built"
        fi
        # The debugger session against the debug images attached to runtime.exe: the plain
        # image as natively, and a GUI program whose event loop serves the connection.
        if [ -x build/win32/bin/runtime.exe ] && [ -x build/linux/bin/qvimage ] && [ -x build/win32/bin/win_probe.exe ]; then
          script_check "win32 debugger session (runtime.exe)" "$results/debugger-win32.log" \
            timeout -k 10 $((900 * ${QUAVER_TIME_SCALE:-1})) env LC_ALL="$WS_LOCALE" python3 tests/debugger/debugger_session_test.py --wine \
            build/linux/bin/qvimage build/win32/bin/runtime.exe build/win32/bin/win_probe.exe build/linux/images \
            "$results/debugger-win32"
        else
          record "win32 debugger session" 0 1 "runtime.exe, win_probe.exe or qvimage not built"
        fi
        # The shipped program started from a folder of its own, its plug-in library installed.
        if [ -f build/win32/bin/Hollerpad.exe ] && [ -x build/win32/bin/win_probe.exe ]; then
          script_check "win32 Hollerpad.exe alone in a folder" "$results/packaged-win32.log" \
            env LC_ALL="$WS_LOCALE" tests/tools/packaged_program_test.sh build/win32/bin/Hollerpad.exe \
            build/win32/bin/BevelControls.dll build/win32/bin/win_probe.exe Hollerpad "$results/packaged-win32"
        else
          record "win32 Hollerpad.exe" 0 1 "not built"
        fi
        # Hollerpad end to end: the shipped program driven through its windows, its conversions
        # compared with hollerpad-convert.
        if [ -x build/win32/bin/Hollerpad.exe ] && [ -x build/win32/bin/win_probe.exe ] && [ -x build/linux/bin/hollerpad-convert ]; then
          script_check "win32 Hollerpad end to end" "$results/hollerpad-win32.log" \
            env LC_ALL="$WS_LOCALE" tests/app/run_hollerpad_test.sh build/win32/bin/Hollerpad.exe \
            build/win32/bin/win_probe.exe build/linux/bin/hollerpad-convert "$results/hollerpad-win32"
        else
          record "win32 Hollerpad end to end" 0 1 "Hollerpad.exe, win_probe.exe or hollerpad-convert not built"
        fi
      else
        record "wine session" 0 1 "could not start"
      fi
      ws_end
    fi
  fi

  echo
  if [ ${#problems[@]} -gt 0 ]; then
    echo "Failures:"
    printf '  %s\n' "${problems[@]}"
  fi
  if [ ${#not_run[@]} -gt 0 ]; then
    echo "Not run here:"
    printf '  %s\n' "${not_run[@]}"
  fi
  echo "total time $((SECONDS - start)) s; results in $results"
  if [ "$total_skipped" -gt 0 ]; then
    echo "$total_passed passed, $total_failed failed, $total_skipped skipped"
  else
    echo "$total_passed passed, $total_failed failed"
  fi
  [ "$total_failed" -eq 0 ]
}

main "$@"; exit $?
