#!/usr/bin/env python3
"""Counts the test cases of one ctest run: `count-tests.py CTEST_LOG RESULTS_DIR`.

A GoogleTest program left RESULTS_DIR/<program>.xml with every case it ran;
any other ctest entry (a script, a check on the program) counts as one case.
A program that failed without a failing case in its XML (it crashed, or wrote
nothing) counts one failure more. Prints "PASSED FAILED".
"""
import os
import re
import sys
import xml.etree.ElementTree as ElementTree

RESULT = re.compile(r"Test\s+#\d+: (\S+) \.*\s*(\*\*\*)?(Passed|Failed|Exception|Timeout|Not Run|Skipped|\w+)")


def cases(xml_path):
    passed = failed = 0
    for case in ElementTree.parse(xml_path).getroot().iter("testcase"):
        if case.find("failure") is not None or case.find("error") is not None:
            failed += 1
        elif case.get("result", "completed") == "completed" and case.get("status", "run") == "run":
            passed += 1
    return passed, failed


def main(log_path, results_dir):
    passed = failed = 0
    with open(log_path, encoding="utf-8", errors="replace") as log:
        entries = RESULT.findall(log.read())
    for name, _, outcome in entries:
        ok = outcome == "Passed"
        xml_path = os.path.join(results_dir, name + ".xml")
        if os.path.isfile(xml_path):
            try:
                p, f = cases(xml_path)
            except ElementTree.ParseError:
                p, f = 0, 1  # a results file cut short is no pass
            passed += p
            failed += f if ok or f else 1
        elif ok or outcome == "Skipped":
            passed += 1 if ok else 0
        else:
            failed += 1
    if not entries:
        failed += 1  # ctest itself did not run
    print(passed, failed)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
