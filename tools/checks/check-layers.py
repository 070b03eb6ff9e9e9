#!/usr/bin/env python3
"""Fails when a source file includes a header of a higher layer, or when a core
source (anything below the screens) includes Qt Widgets or Qt Print Support.

The layers, bottom to top; a folder may include its own layer and those below:
  0 platform        the seam: message boxes, program end, processes, printer, FatalError
  1 text            the language type and the two text tables
  2 data            data access, the table catalogue, the program's files
  3 industry firm   industry lookups; the firm model and its records
  4 report          ratios, report preparation and rendering (uses the firm model)
  5 userdb          the user database's schema (uses firm and report tables)
  5 refdata         import and export of the reference data (uses industry and report tables)
  6 state           the global application state (opens both databases)
  7 screens         the windows: screens/common first, then the four screen folders
  8 app cli help    the desktop program, the command-line tool, the help viewer
"""
import pathlib
import re
import sys

RANK = {
    "platform": 0, "text": 1, "data": 2, "industry": 3, "firm": 3, "report": 4,
    "userdb": 5, "refdata": 5, "state": 6, "screens": 7, "app": 8, "cli": 8, "help": 8,
}
CORE_MAX_RANK = 6
WIDGET_HEADER = re.compile(r'#\s*include\s*<(Qt(Widgets|PrintSupport)/)?(Q(Widget|MainWindow|Dialog|MessageBox|'
                           r'Application|Label|PushButton|LineEdit|TreeView|TableView|Printer|PrintDialog|'
                           r'Menu|MenuBar|Action|Layout|[VHG]BoxLayout|GridLayout|ComboBox|RadioButton|'
                           r'TextEdit|TextBrowser|ToolBar|ScrollArea|Frame|GroupBox|ButtonGroup|AbstractButton))\b')
INCLUDE = re.compile(r'#\s*include\s*"([a-z]+)/')


def main(src: pathlib.Path) -> int:
    faults = []
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp"):
            continue
        layer = path.relative_to(src).parts[0]
        if layer not in RANK:
            faults.append(f"{path}: folder '{layer}' has no place in the layer order")
            continue
        for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
            m = INCLUDE.match(line.strip())
            if m:
                target = m.group(1)
                if target not in RANK:
                    faults.append(f"{path}:{number}: includes from unknown folder '{target}'")
                elif RANK[target] > RANK[layer]:
                    faults.append(f"{path}:{number}: '{layer}' includes the higher layer '{target}'")
            if RANK[layer] <= CORE_MAX_RANK and WIDGET_HEADER.match(line.strip()):
                faults.append(f"{path}:{number}: core code includes a widget or printer header")
    for fault in faults:
        print(fault)
    print(f"{len(faults)} include faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "src")))
