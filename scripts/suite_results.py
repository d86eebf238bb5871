#!/usr/bin/env python3
"""Results of one CTest run of the GoogleTest suites, one line per suite, for scripts/test.sh.

    suite_results.py BUILD_DIR RESULTS_DIR CTEST_LOG SUITE...

For each SUITE prints "SUITE<TAB>SECONDS<TAB>PASSED<TAB>FAILED<TAB>NOTE" and writes the
suite's output to RESULTS_DIR/SUITE.log and its failures to RESULTS_DIR/SUITE.details.

Individual tests are counted from the gtest JSON the suite wrote (RESULTS_DIR/SUITE.json).
How the suite ended (exit status, timeout, crash) comes from CTest: the Testing/<tag>/Test.xml
(or DynamicAnalysis.xml under -T MemCheck) it writes, and its console lines in CTEST_LOG.
A suite that died before writing its JSON is counted from its output, with the test it was
running (or the suite itself) as one more failure; one that CTest did not run at all is one
failure. No suite ever passes without its JSON saying so.
"""
import base64
import json
import os
import re
import sys
import xml.etree.ElementTree as ElementTree
import zlib


class SuiteRun:
    def __init__(self):
        self.found = False
        self.passed = False
        self.seconds = None
        self.reason = None      # why CTest counted it failed, as a short phrase
        self.output = ""
        self.defects = []       # memory checker findings, "KIND×N"
        self.checker_report = []  # the memory checker's own lines, which CTest puts first


def console_runs(ctest_log):
    """Status and time of each test from CTest's console lines ("1/5 Test #1: name ... Passed 0.01 sec")."""
    runs = {}
    line_re = re.compile(r"^\s*\d+/\d+ (?:Test|MemCheck)\s+#\s*\d+: (\S+) \.*\s*(.*?)\s+([0-9.]+) sec\s*$")
    try:
        with open(ctest_log, errors="replace") as f:
            for line in f:
                if m := line_re.match(line):
                    runs[m.group(1)] = (m.group(2).strip(), float(m.group(3)))
    except OSError:
        pass
    return runs


def reason_from_console(status):
    status = status.lstrip("*").strip()
    if status.startswith("Timeout"):
        return "timed out"
    if status.startswith("Exception"):
        return "crashed (" + status.split(":", 1)[-1].strip() + ")"
    if status.startswith("Not Run"):
        return "not run by CTest"
    return "non-zero exit status"


def measurement(test, name):
    for m in test.iter("NamedMeasurement"):
        if m.get("name") == name:
            value = m.find("Value")
            return "" if value is None or value.text is None else value.text
    return None


def decoded(element):
    text = element.text or ""
    if element.get("encoding") == "base64":
        data = base64.b64decode(text)
        if element.get("compression") == "gzip":
            data = zlib.decompress(data)
        text = data.decode("utf-8", errors="replace")
    return text


def xml_runs(build_dir):
    """Per-test results from the Test.xml / DynamicAnalysis.xml of CTest's latest -T run."""
    runs = {}
    testing = os.path.join(build_dir, "Testing")
    try:
        with open(os.path.join(testing, "TAG")) as f:
            tag = f.readline().strip()
    except OSError:
        return runs
    for file_name in ("Test.xml", "DynamicAnalysis.xml"):
        path = os.path.join(testing, tag, file_name)
        if not os.path.exists(path):
            continue
        try:
            root = ElementTree.parse(path).getroot()
        except (ElementTree.ParseError, OSError):
            continue
        for test in root.iter("Test"):
            name = test.findtext("Name")
            if test.get("Status") is None or not name:
                continue   # the TestList entries
            run = runs.setdefault(name, SuiteRun())
            run.found = True
            run.passed = test.get("Status") == "passed"
            if test.get("Status") == "notrun":
                run.reason = "not run by CTest"
            exit_code, exit_value = measurement(test, "Exit Code"), measurement(test, "Exit Value")
            if exit_code == "Failed":
                run.reason = f"exit status {exit_value}"
            elif exit_code == "Timeout":
                run.reason = "timed out"
            elif exit_code:
                run.reason = f"crashed ({exit_code})"
            seconds = measurement(test, "Execution Time")
            if seconds:
                run.seconds = float(seconds)
            output = None
            for m in test.iter("Measurement"):
                value = m.find("Value")
                if value is not None:
                    output = decoded(value)
            log = test.find("Log")
            if log is not None:
                output = decoded(log)
                run.checker_report = [re.sub(r"</?b>", "", l) for l in output.splitlines()
                                      if re.match(r"(<b>\w+</b> )?==\d+==", l)]
            if output is not None:
                run.output = output
            for defect in test.iter("Defect"):
                if defect.get("type"):
                    run.defects.append(f"{defect.get('type')}×{defect.text}")
    return runs


def count_suite(name, results_dir, run, ctest_log):
    """(passed, failed, notes, details) of one suite."""
    json_path = os.path.join(results_dir, name + ".json")
    passed = failed = skipped = 0
    notes, details = [], []
    lines = run.output.splitlines()

    def output_tail(n):
        return ["    | " + l for l in lines[-n:]] or ["    (no output)"]

    if not run.found:
        notes.append(run.reason or "not run by CTest")
        try:
            with open(ctest_log, errors="replace") as f:
                tail = ["    | " + l.rstrip("\n") for l in f.readlines()[-20:]]
        except OSError:
            tail = ["    (no CTest log)"]
        return 0, 1, notes, [f"  {notes[0]}, end of {ctest_log}:"] + tail

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
                test_name = f"{t.get('classname', '?')}.{t.get('name', '?')}"
                if t.get("failures"):
                    failed += 1
                    details.append(f"  FAILED {test_name}")
                    for fl in t["failures"]:
                        details += ["    " + l for l in fl.get("failure", "").splitlines()[:15]]
                elif t.get("status") == "NOTRUN":
                    pass  # disabled
                elif t.get("result") == "SKIPPED":
                    skipped += 1
                else:
                    passed += 1
        if not run.passed and failed == 0:
            failed += 1
            notes.append(f"{run.reason or 'failed'} after all tests passed")
            details += output_tail(30)
    else:
        running = None
        for line in lines:
            if m := re.match(r"\[ RUN      \] (\S+)", line):
                running = m.group(1)
            elif re.match(r"\[       OK \] \S+ \(\d+ ms\)", line):
                passed += 1; running = None
            elif m := re.match(r"\[  FAILED  \] ([^,\s]+).* \(\d+ ms\)$", line):
                failed += 1; running = None
                details.append(f"  FAILED {m.group(1)}")
            elif re.match(r"\[  SKIPPED \] \S+ \(\d+ ms\)", line):
                skipped += 1; running = None
        failed += 1
        what = ("no results written, exit status 0" if run.passed else
                "crashed, " + run.reason if run.reason and run.reason.startswith("exit status") else
                run.reason or "failed")
        notes.append(what + (f" in {running}" if running else ""))
        details += output_tail(40)
    if run.defects:
        notes.append("memory checker: " + ", ".join(run.defects))
    if run.checker_report and not run.passed:
        details += ["    memory checker report:"] + ["    | " + l for l in run.checker_report[:40]]
    if skipped:
        notes.insert(0, f"{skipped} skipped")
    return passed, failed, notes, details


def main():
    build_dir, results_dir, ctest_log, suites = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:]
    runs = xml_runs(build_dir)
    console = console_runs(ctest_log)
    for name in suites:
        run = runs.get(name, SuiteRun())
        if name in console:
            status, seconds = console[name]
            run.found = True
            if run.seconds is None:
                run.seconds = seconds
            if status != "Passed":
                run.passed = False
                run.reason = run.reason or reason_from_console(status)
            elif name not in runs:
                run.passed = True
        with open(os.path.join(results_dir, name + ".log"), "w", encoding="utf-8") as f:
            f.write(run.output)
        passed, failed, notes, details = count_suite(name, results_dir, run, ctest_log)
        with open(os.path.join(results_dir, name + ".details"), "w", encoding="utf-8") as f:
            f.write("\n".join(details) + "\n")
        seconds = "?" if run.seconds is None else str(round(run.seconds))
        note = "; ".join(notes).replace("\t", " ").replace("\n", " ")
        print(f"{name}\t{seconds}\t{passed}\t{failed}\t{note}")


if __name__ == "__main__":
    main()
