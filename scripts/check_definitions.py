#!/usr/bin/env python3
"""Checks that every exported routine can be found by its name.

A routine that sdk/quaver.h declares and that the runtime registers (by name in a routine list,
QV_PROVIDED(name), or in a class's tables, QV_ROUTINE(name) and the record macros around it)
must have a definition that `grep -w name` finds outside sdk/: a line that starts with the
routine's return type and the name, whose parameter list is followed by its body. A routine made
by pasting tokens, or by a macro that takes its name as an argument, has none, and fails.

Prints one line per routine without a definition and ends with "N passed, N failed" over the
declared and registered routines.
"""
import os
import re
import sys

# Folders with the runtime's sources; sdk/ declares, the image (app/), the plug-ins, the tests
# and the benchmarks only call.
SOURCE_FOLDERS = ["core", "platform", "runtime", "loader", "framework", "ui", "graphics", "debugger", "tools"]
SOURCE = re.compile(r"\.(c|cc|cpp|h|hpp|inc)$")
# A declaration in the sdk header: a line that starts with a type and ends in "name(...);".
DECLARATION = re.compile(r"^(?!typedef|#| )[A-Za-z_][\w \*]*?\b(\w+)\([^;{]*\);", re.MULTILINE)
# Where a source names a routine for the registry: the two macros, and the arrays of routine
# lists and class tables (where record macros pass the name on to QV_ROUTINE).
NAMING_MACRO = re.compile(r"\bQV_(?:PROVIDED|ROUTINE)\((\w+)\)")
TABLE = re.compile(r"\b(?:ProvidedRoutine|PropertyRecord|MethodRecord)\s+k\w*\[\]\s*=\s*\{(.*?)\n\s*\};", re.DOTALL)
WORD = re.compile(r"[A-Za-z_]\w*")
# What may stand before the name on a definition's first line: the return type (with linkage and
# attributes).
RETURN_TYPE = re.compile(r'\s*(?:extern\s+"C"\s+)?(?:__attribute__\(\(.*?\)\)\s*|\[\[.*?\]\]\s*)*'
                         r'(?:[A-Za-z_][\w:<>]*[\s\*&]+)+')
NOT_A_TYPE = {"return", "else", "case", "goto", "new", "delete", "throw", "using", "typedef", "sizeof"}


def sources(root):
    for folder in SOURCE_FOLDERS:
        for dirpath, dirnames, filenames in os.walk(os.path.join(root, folder)):
            dirnames.sort()
            for name in sorted(filenames):
                if SOURCE.search(name):
                    path = os.path.join(dirpath, name)
                    with open(path, encoding="utf-8", errors="replace") as f:
                        yield os.path.relpath(path, root), f.read()


def body_follows(text, at):
    """True when text[at] opens a parameter list whose closing parenthesis the body follows."""
    depth = 0
    for i in range(at, len(text)):
        if text[i] == "(":
            depth += 1
        elif text[i] == ")":
            depth -= 1
            if depth == 0:
                rest = text[i + 1:].lstrip()
                rest = re.sub(r"^(?:noexcept|const|override)\b\s*", "", rest)
                return rest.startswith("{")
    return False


def definition_lines(text, name):
    """Lines (1-based) where `grep -w name` would stop at the routine's definition."""
    found = []
    line_start = 0
    for match in re.finditer(r"(?<![\w])" + re.escape(name) + r"(?![\w])", text):
        line_start = text.rfind("\n", 0, match.start()) + 1
        prefix = text[line_start:match.start()]
        if not RETURN_TYPE.fullmatch(prefix) or prefix.split()[0] in NOT_A_TYPE:
            continue
        after = match.end() + len(text[match.end():]) - len(text[match.end():].lstrip(" \t"))
        if after < len(text) and text[after] == "(" and body_follows(text, after):
            found.append(text.count("\n", 0, match.start()) + 1)
    return found


def main(root):
    with open(os.path.join(root, "sdk", "quaver.h"), encoding="utf-8", errors="replace") as f:
        declared = sorted(set(DECLARATION.findall(f.read())))
    files = list(sources(root))
    registered = set()
    for _, text in files:
        registered.update(NAMING_MACRO.findall(text))
        for table in TABLE.findall(text):
            registered.update(WORD.findall(table))
    checked = [name for name in declared if name in registered]
    passed, failed = 0, 0
    for name in checked:
        places = [f"{path}:{line}" for path, text in files if name in text for line in definition_lines(text, name)]
        if places:
            passed += 1
        else:
            failed += 1
            print(f"FAIL {name}: declared in sdk/quaver.h and registered, but grep -w finds no definition "
                  "outside sdk/ (write the routine out under its name)")
    unregistered = len(declared) - len(checked)
    print(f"definitions: {len(checked)} declared and registered routines, {unregistered} declared ones "
          "registered nowhere (not checked)")
    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..")))
