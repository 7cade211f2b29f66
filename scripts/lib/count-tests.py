#!/usr/bin/env python3
"""Counts the test cases of one ctest run.

    count-tests.py CTEST_LOG RESULTS_DIR TESTS_JSON
    count-tests.py --self-test

TESTS_JSON is what `ctest --show-only=json-v1` printed for the run. A
GoogleTest program (an entry labelled "gtest") leaves RESULTS_DIR/<name>.xml
with every case it ran, and each case counts; any other entry (a script, a
check on the program) counts as one case. Nothing that did not run counts as
a pass:
- a GoogleTest program that exited 0 without its results file, or with none
  of its cases run, ran no test: one failure;
- a program that failed without a failing case in its results (it crashed, or
  wrote nothing) counts one failure more;
- an entry ctest skipped (its launcher could not run it here, exit 77) and a
  GoogleTest case that skipped itself count as skipped;
- an entry of the run that is missing from the log (ctest stopped) fails.
Prints "PASSED FAILED SKIPPED" on standard output and a line for each
failure and skip on standard error.
"""
import json
import os
import re
import sys
import tempfile
import xml.etree.ElementTree as ElementTree

RESULT = re.compile(r"Test\s+#\d+: (\S+) \.*\s*(?:\*\*\*)?(Passed|Failed|Exception|Timeout|Not Run|Skipped|\w+)")


class Tally:
    def __init__(self):
        self.passed = self.failed = self.skipped = 0
        self.notes = []

    def fail(self, name, why):
        self.failed += 1
        self.notes.append(f"{name}: FAILED: {why}")

    def skip(self, name, why):
        self.skipped += 1
        self.notes.append(f"{name}: skipped: {why}")


def gtest_entries(tests_json):
    """Names of the run's entries, and of those that are GoogleTest programs."""
    with open(tests_json, encoding="utf-8") as f:
        tests = json.load(f).get("tests", [])
    names, gtests = [], set()
    for test in tests:
        names.append(test["name"])
        for prop in test.get("properties", []):
            if prop.get("name") == "LABELS" and "gtest" in prop.get("value", []):
                gtests.add(test["name"])
    return names, gtests


def count_cases(tally, name, xml_path):
    """Adds the cases of one results file; returns (ran, failed) of them."""
    ran = failed = 0
    for case in ElementTree.parse(xml_path).getroot().iter("testcase"):
        if case.find("failure") is not None or case.find("error") is not None:
            tally.fail(f"{name} {case.get('classname')}.{case.get('name')}", "a failing case")
            ran += 1
            failed += 1
        elif case.get("result") == "skipped" or case.find("skipped") is not None:
            tally.skip(f"{name} {case.get('classname')}.{case.get('name')}", "the case skipped itself")
        elif case.get("result", "completed") == "completed" and case.get("status", "run") == "run":
            tally.passed += 1
            ran += 1
    return ran, failed


def count(log_path, results_dir, tests_json):
    tally = Tally()
    names, gtests = gtest_entries(tests_json)
    with open(log_path, encoding="utf-8", errors="replace") as log:
        outcomes = dict(RESULT.findall(log.read()))
    for name in names:
        outcome = outcomes.get(name)
        if outcome is None:
            tally.fail(name, "not in ctest's log (the run stopped before it)")
            continue
        if outcome == "Skipped":
            tally.skip(name, "its launcher could not run it here (see its output)")
            continue
        ok = outcome == "Passed"
        xml_path = os.path.join(results_dir, name + ".xml")
        if name not in gtests:
            if ok:
                tally.passed += 1
            else:
                tally.fail(name, outcome)
            continue
        if not os.path.isfile(xml_path):
            tally.fail(name, "ran no test (exited 0 without its results file)" if ok
                       else f"{outcome}, without its results file")
            continue
        try:
            ran, failed = count_cases(tally, name, xml_path)
        except ElementTree.ParseError:
            tally.fail(name, "its results file is cut short")
            continue
        if ok and ran == 0:
            tally.fail(name, "ran no test (no case in its results file)")
        elif not ok and failed == 0:
            tally.fail(name, f"{outcome} after its last case")
    return tally


def self_test():
    """Lays out a ctest run with every kind of outcome and checks the count."""
    with tempfile.TemporaryDirectory() as work:
        results = os.path.join(work, "results")
        os.mkdir(results)
        entries = {"whole": True, "no_xml": True, "crashed": True, "empty": True,
                   "refused": True, "script": False, "script_failed": False, "never_started": True}
        with open(os.path.join(work, "tests.json"), "w", encoding="utf-8") as f:
            json.dump({"tests": [{"name": n, "properties": [{"name": "LABELS", "value": ["gtest"]}] if g else []}
                                 for n, g in entries.items()]}, f)
        log_lines = [
            "1/8 Test #1: whole ............................   Passed    0.50 sec",
            "2/8 Test #2: no_xml ...........................   Passed    0.01 sec",
            "3/8 Test #3: crashed ..........................***Exception: SegFault  0.02 sec",
            "4/8 Test #4: empty ............................   Passed    0.01 sec",
            "5/8 Test #5: refused ..........................***Skipped   0.01 sec",
            "6/8 Test #6: script ...........................   Passed    0.10 sec",
            "7/8 Test #7: script_failed ....................***Failed    0.10 sec",
        ]
        with open(os.path.join(work, "ctest.log"), "w", encoding="utf-8") as f:
            f.write("\n".join(log_lines) + "\n")
        suite = '<?xml version="1.0"?><testsuites><testsuite name="S">{}</testsuite></testsuites>'
        case = '<testcase name="{}" classname="S" status="run" result="{}">{}</testcase>'
        files = {
            "whole": case.format("a", "completed", "") * 3 + case.format("b", "skipped", "<skipped/>"),
            "crashed": case.format("a", "completed", ""),  # two passed before it died
            "empty": "",
        }
        files["crashed"] *= 2
        for name, body in files.items():
            with open(os.path.join(results, name + ".xml"), "w", encoding="utf-8") as f:
                f.write(suite.format(body))
        tally = count(os.path.join(work, "ctest.log"), results, os.path.join(work, "tests.json"))
    # passed: whole 3, crashed 2, script 1.
    expected = (6, 5, 2)
    expected_notes = [
        "whole S.b: skipped: the case skipped itself",
        "no_xml: FAILED: ran no test (exited 0 without its results file)",
        "crashed: FAILED: Exception after its last case",
        "empty: FAILED: ran no test (no case in its results file)",
        "refused: skipped: its launcher could not run it here (see its output)",
        "script_failed: FAILED: Failed",
        "never_started: FAILED: not in ctest's log (the run stopped before it)",
    ]
    got = (tally.passed, tally.failed, tally.skipped)
    if got != expected or tally.notes != expected_notes:
        print(f"self-test: expected {expected}, counted {got}", file=sys.stderr)
        print("\n".join(tally.notes), file=sys.stderr)
        return 1
    print(f"self-test: {got[0]} passed, {got[1]} failed, {got[2]} skipped, as expected")
    return 0


def main(argv):
    if argv[1:] == ["--self-test"]:
        return self_test()
    if len(argv) != 4:
        print(__doc__, file=sys.stderr)
        return 2
    tally = count(*argv[1:])
    for note in tally.notes:
        print(note, file=sys.stderr)
    print(tally.passed, tally.failed, tally.skipped)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
