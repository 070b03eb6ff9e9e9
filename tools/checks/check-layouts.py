#!/usr/bin/env python3
"""Checks every shipped report layout (reports/rpt_*.json) against reports/layout.schema.json.

A layout that does not fit the schema is reported with the place of each fault. The schema
itself is checked first, and so is that it still refuses the faults a hand edit makes most
often (a misspelt key, an unknown block type, a colour that is not #rrggbb), so that a schema
loosened by mistake does not pass every layout unseen.
"""
import copy
import json
import pathlib
import sys

from jsonschema import Draft202012Validator


def faults(validator, layout):
    return [f"{'/'.join(map(str, e.absolute_path)) or '(top)'}: {e.message}"
            for e in validator.iter_errors(layout)]


def still_refuses(validator, layout):
    """The faults a hand edit makes, each of which the schema must refuse."""
    edits = {
        "a misspelt top-level key": lambda l: l.update(bodyy=l.pop("body")),
        "an unknown block type": lambda l: l["body"][0].update(type="picture"),
        "a misspelt key of a block": lambda l: l["body"][0].update(pageBreak=True),
        "a colour that is not #rrggbb": lambda l: l["theme"].update(text="dark grey"),
        "a column without its cell": lambda l: next(b for b in l["body"] if b["type"] == "table")["columns"][0]
        .pop("cell"),
    }
    missed = []
    for name, edit in edits.items():
        broken = copy.deepcopy(layout)
        edit(broken)
        if not faults(validator, broken):
            missed.append(f"the schema accepts {name}")
    return missed


def main(root: pathlib.Path) -> int:
    schema = json.loads((root / "reports/layout.schema.json").read_text(encoding="utf-8"))
    Draft202012Validator.check_schema(schema)
    validator = Draft202012Validator(schema)
    layouts = sorted((root / "reports").glob("rpt_*.json"))
    problems = [] if layouts else ["no layout in reports/"]
    for path in layouts:
        layout = json.loads(path.read_text(encoding="utf-8"))
        problems += [f"{path.name}: {f}" for f in faults(validator, layout)]
        problems += [f"{path.name}: {m}" for m in still_refuses(validator, layout)]
    for p in problems:
        print(p, file=sys.stderr)
    print(f"{len(layouts)} layouts checked, {len(problems)} faults")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".")))
