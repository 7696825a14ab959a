#!/usr/bin/env python3
"""Counts one test run and names what did not pass: scripts/test and scripts/test-windows.

    test_summary.py junit FILE TAG   a ctest run (its --output-junit file)
    test_summary.py gtest FILE TAG   a GoogleTest executable's output (the Wine runs)

Prints "   SKIP  TAG: NAME: REASON" for every skipped test and "   FAIL  TAG: NAME" for every
failed one, then "counts PASSED FAILED SKIPPED" as the last line. Under CI (CI=true) a skip
counts as a failure unless its reason is one of TOLERATED: there every tool scripts/setup
installs is present, so a missing one is a fault of the run.
"""
import os
import re
import sys
import xml.etree.ElementTree as ElementTree

# Skips that are no fault of the machine's set-up, with why they may stay: (runs, reason).
TOLERATED = [
    # The file system of the temporary folder cannot make these (some overlays).
    (r"", r"^no sparse files here"),
    (r"", r"^no symbolic links here"),
    # Under Wine the tests make no songs with lame (it is a Linux program); the Linux builds run
    # the same cases.
    (r"^wine", r"^lame is not installed$"),
    # Wine's audio endpoint cannot set the level; the winmm mixer serves there, as on XP.
    (r"^wine", r"^no output device whose endpoint sets its level$"),
]


def tolerated(tag, reason):
    return any(re.search(run, tag) and re.search(why, reason) for run, why in TOLERATED)


def skip_reason(output):
    """The reason a test gave: GoogleTest's line after "Skipped", or a script's "skipped:"."""
    lines = output.splitlines()
    for i, line in enumerate(lines):
        if line.endswith(": Skipped") and i + 1 < len(lines) and lines[i + 1].strip():
            return lines[i + 1].strip()
        match = re.match(r"^skipped: (.*)$", line)
        if match:
            return match.group(1).strip()
    for line in lines:  # a whole GoogleTest program that skipped itself says why on its own
        if "skipped" in line:
            return line.strip()
    return "no reason given"


def junit_results(path):
    """(name, status, reason) of each test of a ctest run: status passed, failed or skipped."""
    results = []
    for case in ElementTree.parse(path).getroot().iter("testcase"):
        status = case.get("status")
        output = case.findtext("system-out") or ""
        if status == "run":
            results.append((case.get("name"), "passed", ""))
        elif status == "notrun" and case.find("skipped") is not None:
            results.append((case.get("name"), "skipped", skip_reason(output)))
        elif status == "disabled":
            continue  # left out on purpose in the CMake files
        else:
            results.append((case.get("name"), "failed", ""))
    return results


def gtest_results(path):
    """The same from a GoogleTest program's own output; None when it did not finish."""
    with open(path, encoding="utf-8", errors="replace") as log:
        text = log.read()
    if not re.search(r"^\[==========\] \d+ tests? from .* ran\.", text, re.M):
        return None
    results = []
    reason = "no reason given"
    for line in text.splitlines():
        skipped_line = re.match(r"^\[  SKIPPED \] (\S+) \(", line)
        done = re.match(r"^\[ +(OK|FAILED) +\] (\S+) \(", line)
        if line.endswith(": Skipped"):
            reason = None  # the next line is the reason
        elif reason is None:
            reason = line.strip() or "no reason given"
        elif skipped_line:
            results.append((skipped_line.group(1), "skipped", reason))
            reason = "no reason given"
        elif done:
            results.append((done.group(2), "passed" if done.group(1) == "OK" else "failed", ""))
    return results


def main():
    mode, path, tag = sys.argv[1:4]
    results = junit_results(path) if mode == "junit" else gtest_results(path)
    if results is None:
        print(f"   FAIL  {tag}: did not finish")
        print("counts 0 1 0")
        return
    under_ci = os.environ.get("CI") == "true"
    counts = {"passed": 0, "failed": 0, "skipped": 0}
    for name, status, reason in results:
        if status == "skipped" and under_ci and not tolerated(tag, reason):
            print(f"   FAIL  {tag}: {name}: skipped under CI: {reason}")
            status = "failed"
        elif status == "skipped":
            print(f"   SKIP  {tag}: {name}: {reason}")
        elif status == "failed":
            print(f"   FAIL  {tag}: {name}")
        counts[status] += 1
    print(f"counts {counts['passed']} {counts['failed']} {counts['skipped']}")


if __name__ == "__main__":
    main()
