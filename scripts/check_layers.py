#!/usr/bin/env python3
"""Checks that source folders include only from themselves and the folders below them.

The order below is the architecture, lowest first. A file's folder is the longest entry that
prefixes its path; an #include "x/y.h" names its folder the same way. A folder that is not in
the order fails the check until it is given a place, so a new folder cannot slip into a cycle.
The image code (app/) and plug-ins see only sdk/. Tests and benchmarks may include anything.

Prints one line per offending include and ends with "N passed, N failed" over the folders.
"""
import os
import re
import sys

LAYERS = [
    "sdk",                    # the image ABI: the records and routines image code sees
    "core",                   # fixed-width types, Result
    "platform",               # operating-system services (win32/, posix/)
    "runtime/diagnostics",    # failed-assertion reports
    "runtime/memory",         # allocator, runtime locks
    "runtime/text",           # byte-level codecs: UTF forms, case tables, Japanese encodings, tags
    "runtime/strings",        # RuntimeString, StringRef, conversion between encodings, string functions
    "runtime/collections",    # StringMap
    "runtime/resources",      # resource manager
    "runtime/registry",       # the exported-routine registry
    "runtime/objects",        # objects, classes, raising exceptions and the landing-record search
    "runtime/definitions",    # class definitions, signatures, global functions
    "runtime/exceptions",     # the built-in exception classes, RunGuarded
    "runtime/encodings",      # TextEncoding and TextConverter classes
    "runtime/arrays",
    "runtime/variants",       # Variant, Dictionary, Date
    "runtime/exports",        # exported routines over everything above
    "runtime/startup",
    "loader",                 # application images
    "framework",              # the framework's portable rules and registries (key names, shortcuts, ...)
    "framework/application",  # the application object, event firing, screens, the quit protocol
    "framework/menus",        # menus, menu items and the dispatch of menu commands
    "framework/event_loop",   # the event loop, key pre-translation, periodic tasks, sockets
    "framework/timers",       # Timer and Thread
    "framework/plugins",      # plug-in classes and their entry points
    "framework/startup",      # start-up and shutdown, the MDI frame, the runtime's entry points
    "ui/clipboard",           # the Clipboard class over an installable system clipboard
    "ui/binding",             # notifications, bound parts and binders over hooks the controls provide
    "ui/dialogs",             # the message dialog's answers
    "ui/drag_drop",           # DragItem, what windows and controls accept, choosing a drop's receiver, the drop queue
    "ui",                     # the portable control core, and the routine lists of the three above
    "ui/controls",            # Control, RectControl, Canvas, the native peers; what they need of a window
    "ui/controls/buttons",    # push buttons, check boxes, radio buttons, static text, group boxes
    "ui/controls/edit_field", # the edit field over the rich edit control
    "ui/controls/startup",    # the control layer's routines and class registration
    "ui/windows",             # the Window class and its native window
    "ui/win32",               # the real clipboard and message boxes
    "graphics",
    "debugger",
    "tools",                  # command-line programs and the runtime executable
]
ISLANDS = {"app": {"app", "sdk"}, "plugins": {"plugins", "sdk"}}
# Programs on top may compile the application's portable code (hollerpad-convert).
EXTRA = {"tools": {"app"}}
UNCHECKED = ("tests/", "bench/", "build/", ".git/")
SOURCE = re.compile(r"\.(c|cc|cpp|h|hpp|inc)$")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def folder_of(path):
    known = [f for f in list(ISLANDS) + LAYERS if path == f or path.startswith(f + "/")]
    return max(known, key=len) if known else None


def allowed(source, target):
    if source in ISLANDS:
        return target in ISLANDS[source]
    if target in ISLANDS:
        return target in EXTRA.get(source, set())
    return LAYERS.index(target) <= LAYERS.index(source)


def main(root):
    failures, checked = {}, set()
    for dirpath, dirnames, filenames in os.walk(root):
        rel_dir = os.path.relpath(dirpath, root)
        dirnames[:] = sorted(d for d in dirnames
                             if not (os.path.join(rel_dir, d) + "/").lstrip("./").startswith(UNCHECKED)
                             and not d.startswith("."))
        for name in sorted(filenames):
            if not SOURCE.search(name):
                continue
            path = os.path.normpath(os.path.join(rel_dir, name))
            if path.startswith(UNCHECKED) or "/" not in path:
                continue
            source = folder_of(path)
            if source is None:
                top = path.split("/")[0] if not path.startswith("runtime/") else "/".join(path.split("/")[:2])
                failures.setdefault(top, []).append(f"{path}: folder {top} has no place in the layer order")
                continue
            checked.add(source)
            with open(os.path.join(root, path), encoding="utf-8", errors="replace") as f:
                for number, line in enumerate(f, 1):
                    m = INCLUDE.match(line)
                    if not m or "/" not in m.group(1):
                        continue  # same-folder or system-style includes
                    target = folder_of(m.group(1))
                    if target is None:
                        continue  # not one of ours (a generated or third-party header)
                    if not allowed(source, target):
                        failures.setdefault(source, []).append(
                            f"{path}:{number}: includes \"{m.group(1)}\": {source} may not include {target}"
                            " (a folder includes only from itself and the folders below it)")
    for folder in sorted(failures):
        for message in failures[folder]:
            print("FAIL", message)
    passed = len(checked - set(failures))
    print(f"layers: {passed} folders in order, {len(failures)} with includes against it")
    print(f"{passed} passed, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..")))
