#!/usr/bin/env python3
"""Checks the program's two text tables against the lookups in the code.

- resources/texts.tsv: every line is a comment, blank, or key<TAB>English<TAB>French with a
  key of dotted lower-case words, given once, and both texts non-empty;
- every key the code looks up (text("key", ...) or Txt("key")) is in the keyed table, and
  every key of the table appears in the code (a text nothing shows is a leftover);
- every numbered entry the code looks up by a literal number (Txt(N), text(N, ...)) has its
  English entry N (even) and its French entry N + 1 in resources/strings.tsv.
Lookups through named constants or tables are checked while the tests run: the suite sets
VENTROLUX_STRICT_TEXTS, which makes any lookup of a missing text end the program.
"""
import pathlib
import re
import sys

KEY = re.compile(r"^[a-z][a-z0-9]*(\.[a-z0-9][a-zA-Z0-9]*)+$")
KEY_LOOKUP = re.compile(r'\b(?:Txt|text)\(\s*"([^"]+)"')
NUMBER_LOOKUP = re.compile(r"\b(?:Txt|strings::text)\(\s*(\d+)\s*[,)]")


def main(root: pathlib.Path) -> int:
    faults = []
    keyed = {}
    for n, line in enumerate((root / "resources/texts.tsv").read_text(encoding="utf-8").split("\n"), 1):
        if not line or line.startswith("#"):
            continue
        fields = line.split("\t")
        where = f"resources/texts.tsv:{n}"
        if len(fields) != 3:
            faults.append(f"{where}: {len(fields)} fields, not key, English and French")
            continue
        key, english, french = fields
        if not KEY.match(key):
            faults.append(f"{where}: key '{key}' is not dotted lower-case words")
        if key in keyed:
            faults.append(f"{where}: key '{key}' is given twice (first on line {keyed[key]})")
        keyed.setdefault(key, n)
        if not english.strip() or not french.strip():
            faults.append(f"{where}: '{key}' lacks its English or French text")

    numbered = set()
    for line in (root / "resources/strings.tsv").read_text(encoding="utf-8").split("\n"):
        number = line.split("\t", 1)[0]
        if number.isdigit() and "\t" in line:
            numbered.add(int(number))

    sources = [p for p in sorted((root / "src").rglob("*")) if p.suffix in (".h", ".cpp")]
    everything = ""
    for path in sources:
        text = path.read_text(encoding="utf-8")
        everything += text
        rel = path.relative_to(root)
        for m in KEY_LOOKUP.finditer(text):
            if m.group(1) not in keyed:
                faults.append(f"{rel}: looks up '{m.group(1)}', which resources/texts.tsv does not hold")
        for m in NUMBER_LOOKUP.finditer(text):
            entry = int(m.group(1))
            english = entry - entry % 2
            for needed in (english, english + 1):
                if needed not in numbered:
                    faults.append(f"{rel}: looks up entry {entry}, but entry {needed} is not in resources/strings.tsv")

    for key in keyed:
        if f'"{key}"' not in everything:
            faults.append(f"resources/texts.tsv:{keyed[key]}: '{key}' is never used in src/")

    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(pathlib.Path(sys.argv[1])))
