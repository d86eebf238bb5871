#!/usr/bin/env python3
"""The CPython baseline for the conversion benchmark: Hollerpad's steps as a chain of bytes.replace.

Reads the step table from app/conversion_steps.h itself, so the baseline follows the table as it
changes, runs it over a corpus several times and reports the median throughput in MB/s of input
(1 MB = 10^6 bytes). --out writes the converted text, to compare byte for byte with the C++ tool.

    python_chain.py CORPUS [--runs N] [--switches NNNNNNNNN] [--out FILE]
"""
import argparse
import pathlib
import re
import statistics
import sys
import time

STEPS_HEADER = pathlib.Path(__file__).resolve().parent.parent / "app" / "conversion_steps.h"

# A C string literal; the body keeps escapes as written.
_LITERAL = r'"((?:[^"\\\n]|\\.)*)"'
_ROW = re.compile(
    r"\b(STEP|PREPEND)\(\s*(\d+)\s*,\s*(\d+)\s*,\s*" + _LITERAL + r"(?:\s*,\s*" + _LITERAL + r")?\s*\)")
_SIMPLE_ESCAPES = {"n": "\n", "r": "\r", "t": "\t", "\\": "\\", '"': '"', "'": "'", "0": "\0"}


def c_literal_bytes(body):
    """The UTF-8 bytes of a C string literal's body (the escapes the table can hold)."""
    out = []
    i = 0
    while i < len(body):
        c = body[i]
        if c != "\\":
            out.append(c)
            i += 1
            continue
        e = body[i + 1]
        if e in "uU":
            width = 4 if e == "u" else 8
            out.append(chr(int(body[i + 2:i + 2 + width], 16)))
            i += 2 + width
        elif e in _SIMPLE_ESCAPES:
            out.append(_SIMPLE_ESCAPES[e])
            i += 2
        else:
            raise ValueError(f"escape \\{e} in a step literal is not handled: {body!r}")
    return "".join(out).encode("utf-8")


def parse_steps(header_text):
    """Rows of the table in order: (kind, number, switch, find_or_head, replacement_or_None)."""
    start = header_text.index("#define HOLLERPAD_CONVERSION_STEPS")
    rows = []
    for m in _ROW.finditer(header_text, start):
        kind, number, switch, first, second = m.groups()
        if (kind == "STEP") != (second is not None):
            raise ValueError(f"malformed row: {m.group(0)}")
        rows.append((kind, int(number), int(switch), c_literal_bytes(first),
                     None if second is None else c_literal_bytes(second)))
    count = int(re.search(r"#define HOLLERPAD_STEP_COUNT (\d+)", header_text).group(1))
    if len(rows) != count:
        raise ValueError(f"found {len(rows)} rows in the step table, the header says {count}")
    return rows


def switch_mask(digits):
    if len(digits) != 9 or set(digits) - {"0", "1"}:
        raise argparse.ArgumentTypeError("nine digits 0 or 1")
    return {k + 1 for k, d in enumerate(digits) if d == "1"}


def compile_chain(rows, switches_on):
    """The rows that run under these switches, as (find, replacement) or (head, None)."""
    return [(first, second) for _, _, sw, first, second in rows if sw == 0 or sw in switches_on]


def convert(text, chain):
    for first, second in chain:
        text = first + text if second is None else text.replace(first, second)
    return text


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("corpus", type=pathlib.Path)
    parser.add_argument("--runs", type=int, default=7)
    parser.add_argument("--switches", type=switch_mask, default=switch_mask("111111110"),
                        help="switches 1 to 9, each 0 or 1 (default 111111110)")
    parser.add_argument("--out", type=pathlib.Path, help="write the converted text here")
    args = parser.parse_args(argv)
    if args.runs < 1:
        parser.error("--runs needs a count of at least 1")

    chain = compile_chain(parse_steps(STEPS_HEADER.read_text(encoding="utf-8")), args.switches)
    text = args.corpus.read_bytes()
    result = convert(text, chain)  # untimed first run, as in the C++ harness
    times = []
    for _ in range(args.runs):
        start = time.perf_counter()
        convert(text, chain)
        times.append(time.perf_counter() - start)
    seconds = statistics.median(times)
    print(f"python bytes.replace chain: {len(text) / 1e6 / seconds:9.2f} MB/s  "
          f"(median {seconds * 1e3:.1f} ms, {len(chain)} steps, {args.runs} runs, "
          f"Python {sys.version.split()[0]})")
    if args.out:
        args.out.write_bytes(result)
    return 0


if __name__ == "__main__":
    sys.exit(main())
