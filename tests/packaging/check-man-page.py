#!/usr/bin/env python3
"""A manual page renders at 80 columns without a single troff warning and has the sections a
reader looks for first.

usage: check-man-page.py PAGE NAME-HEADING SYNOPSIS-HEADING"""

import sys

# The shared module is imported from the source tree, which stays free of compiled files.
sys.dont_write_bytecode = True

from manpage import render, sections


def main():
    page, name_heading, synopsis_heading = sys.argv[1:4]
    status, text, warnings = render(page)
    problems = []
    if status != 0:
        problems.append(f"man ended with status {status}")
    if warnings.strip():
        problems.append("troff warnings:\n" + warnings.rstrip())
    found = sections(text)
    for heading in (name_heading, synopsis_heading):
        if not any(line.strip() for line in found.get(heading, [])):
            problems.append(f"no {heading} section with text in it")
    # A line wider than the page means something could not be broken (a long word, a
    # no-fill block), which a reader's terminal would wrap untidily.
    for number, line in enumerate(text.splitlines(), 1):
        if len(line) > 80:
            problems.append(f"line {number} is {len(line)} columns wide: {line.strip()[:60]}...")
    if problems:
        print(f"{page}:\n  " + "\n  ".join(problems))
        return 1
    print(f"{page}: {len(text.splitlines())} lines, no warnings")
    return 0


if __name__ == "__main__":
    sys.exit(main())
