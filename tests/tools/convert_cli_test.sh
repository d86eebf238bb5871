#!/bin/bash
# Command-line checks of hollerpad-convert, for either build:
#
#   tests/tools/convert_cli_test.sh [--out DIR] [--compare DIR] COMMAND...
#   tests/tools/convert_cli_test.sh build/linux/bin/hollerpad-convert
#   tests/tools/convert_cli_test.sh --compare DIR wine build/win32/bin/hollerpad-convert.exe
#
# COMMAND is run once per case with the case's options, stdin from a file, stdout and stderr
# to files (never through a pipe: a wine command may leave processes holding it open).
# Fixed cases check exact bytes and exit codes. Corpus cases (Japanese manual pages and a
# seeded mix of everything the steps look for) are checked against --compare DIR, the --out
# of another build, byte for byte. Prints one line per case, then "N passed, N failed" (with
# ", N skipped" and a SKIP line for each case that cannot run here); exits 1 if any case failed.
set -uo pipefail

out_dir= compare_dir=
while [ $# -gt 0 ]; do
  case $1 in
    --out) out_dir=$2; shift 2 ;;
    --compare) compare_dir=$2; shift 2 ;;
    --) shift; break ;;
    *) break ;;
  esac
done
[ $# -gt 0 ] || { echo "usage: $0 [--out DIR] [--compare DIR] COMMAND..." >&2; exit 2; }
cmd=("$@")

if [ -z "$out_dir" ]; then
  out_dir=$(mktemp -d "${TMPDIR:-/tmp}/convert-cli.XXXXXX")
  trap 'rm -rf "$out_dir"' EXIT
fi
mkdir -p "$out_dir"
case_timeout=${CONVERT_CLI_TIMEOUT:-$((120 * ${QUAVER_TIME_SCALE:-1}))}
passed=0 failed=0 skipped=0

pass() { echo "PASS  $1"; passed=$((passed + 1)); }
skip() { echo "SKIP  $1: $2"; skipped=$((skipped + 1)); }
fail() { echo "FAIL  $1: $2"; failed=$((failed + 1)); }
hex() { od -An -tx1 -v "$1" | tr -s ' \n' ' ' | sed 's/^ //; s/ $//' | cut -c1-120; }

# run NAME INPUT_FILE [OPTIONS...]: leaves NAME.out, NAME.err, NAME.rc in out_dir.
run() {
  local name=$1 input=$2; shift 2
  local rc=0
  timeout --foreground -k 5 "$case_timeout" "${cmd[@]}" "$@" <"$input" >"$out_dir/$name.out" 2>"$out_dir/$name.err" || rc=$?
  echo "$rc" >"$out_dir/$name.rc"
  return 0
}

# expect NAME INPUT_BYTES EXPECTED_BYTES [OPTIONS...]: bytes as printf formats, exit 0.
expect() {
  local name=$1 input=$2 expected=$3; shift 3
  printf "$input" >"$out_dir/$name.in"
  printf "$expected" >"$out_dir/$name.want"
  run "$name" "$out_dir/$name.in" "$@"
  local rc; rc=$(cat "$out_dir/$name.rc")
  if [ "$rc" != 0 ]; then
    fail "$name" "exit $rc: $(head -c 300 "$out_dir/$name.err")"
  elif ! cmp -s "$out_dir/$name.out" "$out_dir/$name.want"; then
    fail "$name" "got [$(hex "$out_dir/$name.out")] want [$(hex "$out_dir/$name.want")]"
  elif [ -s "$out_dir/$name.err" ]; then
    fail "$name" "unexpected stderr: $(head -c 300 "$out_dir/$name.err")"
  else
    pass "$name"
  fi
}

# expect_usage_error NAME OPTIONS...: exit 2, a message on stderr, nothing on stdout.
expect_usage_error() {
  local name=$1; shift
  printf 'あ' >"$out_dir/$name.in"
  run "$name" "$out_dir/$name.in" "$@"
  local rc; rc=$(cat "$out_dir/$name.rc")
  if [ "$rc" != 2 ]; then
    fail "$name" "exit $rc, want 2"
  elif [ -s "$out_dir/$name.out" ]; then
    fail "$name" "wrote to stdout: $(hex "$out_dir/$name.out")"
  elif ! grep -q 'hollerpad-convert' "$out_dir/$name.err"; then
    fail "$name" "no message on stderr"
  else
    pass "$name"
  fi
}

# Default switches (1-8 on): the full stop becomes the small tsu plus a space, ! and ? on
# their own expand, and the blank before a line end (a lone CR) goes.
expect sokuon '行く。' '\xe8\xa1\x8c\xe3\x81\x8f\xe3\x83\x83\x20'
expect marks_and_line_end 'すごい!\r本当?' 'すごい !!\r本当 !? '
expect clipboard_crlf 'すごい!\r本当?' 'すごい !!\r\n本当 !? ' --clipboard
expect clipboard_keeps_lone_lf 'a\nb\rc' 'a\nb\r\nc' --clipboard
expect exclamation 'すごい!' 'すごい !! '
expect question '本当?' '本当 !? '
expect small_tsu_full_stop 'そうだっ。' 'そうだ──ッ '
expect switch3_off '行く。' '行く\xe3\x80\x80' --switches 110111110
expect switch3_off_line_end '行く。\r次' '行く\r次' --switches 110111110
expect name_line_with_defaults 'あ' '名無しンぼ＠お腹いっぱいッ\rあ' --switches 111111111
# A converted text converts to itself: the first steps undo the marks the last run added.
expect idempotent_marks 'すごい !!\r本当 !? ' 'すごい !!\r本当 !? '
expect idempotent_tsu 'そうだ──ッ ' 'そうだ──ッ '
expect empty_input '' ''
# All switches off leaves only the fixed steps: the full stop becomes an ideographic space.
expect switches_all_off '行く。' '行く\xe3\x80\x80' --switches 000000000
expect switches_equals_form '行く。' '行く\xe3\x80\x80' --switches=000000000
# Switch 9 alone puts the name line in front, even of an empty text.
expect name_line_only '' '名無しンぼ＠お腹いっぱいッ\r' --switches 000000001
expect switch8_only 'あなた' 'あンた' --switches 000000010
expect switch8_off 'あなた' 'あなた' --switches 111111100
expect options_combined 'あ\r' '名無しンぼ＠お腹いっぱいッ\r\nあ\r\n' --clipboard --switches 111111111
# Bytes nothing matches pass through untouched: LF and CR LF are not translated (a Windows
# text-mode stream would), NUL and invalid UTF-8 are kept.
expect binary_passthrough 'x\r\ny\nz\000\xff\xfe\x80end' 'x\r\ny\nz\000\xff\xfe\x80end'

expect_usage_error unknown_option --bogus
expect_usage_error switches_too_short --switches 11111111
expect_usage_error switches_bad_digit --switches 111121111
expect_usage_error switches_missing_value --switches

printf '' >"$out_dir/help.in"
run help "$out_dir/help.in" --help
if [ "$(cat "$out_dir/help.rc")" = 0 ] && grep -q -- '--switches' "$out_dir/help.out" &&
   grep -q -- '--clipboard' "$out_dir/help.out"; then
  pass help
else
  fail help "exit $(cat "$out_dir/help.rc"), stdout: $(head -c 200 "$out_dir/help.out")"
fi

# Corpus: real Japanese prose (the ja manual pages, LF turned into the CR line ends the
# conversion works on) and a seeded random mix of the fragments the steps search for, with
# invalid bytes and NULs. Large enough to cross the tool's 64 KiB read chunks many times.
corpus_dir=$out_dir/corpus
mkdir -p "$corpus_dir"
man_pages=(/usr/share/man/ja/man1/*.1.gz)
if [ -e "${man_pages[0]}" ]; then
  zcat "${man_pages[@]:0:60}" | tr '\n' '\r' >"$corpus_dir/manpages.in"
else
  fail corpus_manpages "no Japanese manual pages (package manpages-ja) in /usr/share/man/ja/man1"
fi
python3 - "$corpus_dir/fragments.in" <<'EOF'
import random, sys
fragments = ["!", "?", "！", "？", " ", "\u3000", "\r", "\r\n", "\n", "。", "、", "ー", "─", "―",
             "～", "っ", "ッ", "ん", "ン", "だろう", "ああ", "わ", "なの", "びいーん", "びいーン",
             "あなた", "行く", "本当", "すごい", "abc", "\x00"]
raw = [b"\xff", b"\xe3\x83", b"\x80"]   # invalid and cut-off UTF-8
rng = random.Random(20240601)
out = bytearray()
while len(out) < 400_000:
    if rng.random() < 0.02:
        out += rng.choice(raw)
    else:
        out += "".join(rng.choice(fragments) for _ in range(rng.randint(1, 8))).encode()
open(sys.argv[1], "wb").write(out)
EOF
for input in "$corpus_dir"/*.in; do
  base=$(basename "$input" .in)
  for variant in default:111111110 all:111111111 none:000000000 odd:101010101 clip:111111110:--clipboard; do
    IFS=: read -r label switches extra <<<"$variant"
    name=corpus/$base-$label
    run "$name" "$input" --switches "$switches" ${extra:+"$extra"}
    rc=$(cat "$out_dir/$name.rc")
    if [ "$rc" != 0 ]; then
      fail "$name" "exit $rc: $(head -c 300 "$out_dir/$name.err")"
    elif [ ! -s "$out_dir/$name.out" ]; then
      fail "$name" "empty output for $(stat -c %s "$input") input bytes"
    elif [ -n "$compare_dir" ]; then
      if cmp -s "$out_dir/$name.out" "$compare_dir/$name.out"; then
        pass "$name (identical to $compare_dir)"
      else
        fail "$name" "differs from $compare_dir/$name.out: $(cmp "$out_dir/$name.out" "$compare_dir/$name.out" 2>&1 | head -n1)"
      fi
    else
      pass "$name"
    fi
  done
done

# Under an address-space limit the tool ends with "out of memory" and exit 1, never an
# uncaught exception: 20 million full stops (60 MB; the sokuon step makes 80 MB of them) under
# limits that stop it while reading, inside the replace-all steps, and not at all. Linux only:
# ulimit -v cannot limit a program run through wine.
native=yes
for word in "${cmd[@]}"; do
  [[ $word == wine || $word == */wine || $word == *.exe ]] && native=no
done
. "$(dirname "${BASH_SOURCE[0]}")/../../scripts/i386-support.sh"
if [ "$native" = yes ] && [ "$(i386_status)" = emulated ]; then
  skip "out of memory under address-space limits" \
    "ulimit -v limits the emulator running the program, which reserves the whole 4 GB guest space at start"
elif [ "$native" = yes ]; then
  python3 -c 'import sys; sys.stdout.buffer.write("\u3002".encode() * 20_000_000)' >"$out_dir/oom.in"
  oom_failures=0
  for limit_kb in 80000 150000 300000 600000; do
    name=oom_$limit_kb
    (ulimit -v "$limit_kb" && run "$name" "$out_dir/oom.in")
    rc=$(cat "$out_dir/$name.rc")
    if [ "$rc" = 1 ] && [ "$(cat "$out_dir/$name.err")" = "hollerpad-convert: out of memory" ]; then
      oom_failures=$((oom_failures + 1))
      pass "$name (out of memory, exit 1)"
    elif [ "$rc" = 0 ] && [ "$(stat -c %s "$out_dir/$name.out")" = 80000000 ] &&
         [ "$(head -c 8 "$out_dir/$name.out")" = 'ッ ッ ' ] && [ ! -s "$out_dir/$name.err" ]; then
      pass "$name (converted)"
    else
      fail "$name" "exit $rc: $(head -c 300 "$out_dir/$name.err")"
    fi
    rm -f "$out_dir/$name.out"
  done
  # The limits must reach the failure paths, or the cases above show nothing.
  if [ "$oom_failures" -ge 2 ]; then
    pass "oom limits reach the failure paths"
  else
    fail "oom limits reach the failure paths" "only $oom_failures of the limits ran out of memory"
  fi
  rm -f "$out_dir/oom.in"
fi

# The fixed cases' outputs from the other build must match too (exit codes included).
if [ -n "$compare_dir" ]; then
  for rcfile in "$out_dir"/*.rc; do
    name=$(basename "$rcfile" .rc)
    if cmp -s "$out_dir/$name.out" "$compare_dir/$name.out" && cmp -s "$rcfile" "$compare_dir/$name.rc"; then
      pass "$name same as $compare_dir"
    else
      fail "$name same as $compare_dir" "output or exit code differs"
    fi
  done
fi

if [ "$skipped" -gt 0 ]; then
  echo "$passed passed, $failed failed, $skipped skipped"
else
  echo "$passed passed, $failed failed"
fi
[ "$failed" -eq 0 ]
