#!/usr/bin/env python3
"""The desktop programs, ventrolux and ventrolux-help, with and without a graphical session.

usage: check-desktop-session.py no-display BIN_DIR
         without a display, or with one that cannot be reached, each program prints one line in
         the language of the user's locale and ends with exit code 1 (Qt alone would abort);
       check-desktop-session.py windows BIN_DIR PACKAGING_DIR
         (in an X server) each program's window carries the program's icon in several sizes, and
         its class is that of a desktop entry of PACKAGING_DIR, so that a task bar names it."""

import configparser
import glob
import os
import re
import shutil
import subprocess
import sys
import tempfile

# The programs, each with a help page to open (the viewer's argument) and its one-line messages.
PROGRAMS = {
    "ventrolux": [],
    "ventrolux-help": ["MOLV_ConceptsHelp_Eng.html"],
}
ENGLISH = "{} needs a graphical session; "
FRENCH = "{} a besoin d'une session graphique\u00a0; "
# Locales as users set them, and the language the line must be in: LC_ALL before LC_MESSAGES
# before LANG, as the C library chooses the language of messages.
LOCALES = [
    ({}, ENGLISH),
    ({"LANG": "fr_CA.UTF-8"}, FRENCH),
    ({"LANG": "en_CA.UTF-8", "LC_MESSAGES": "fr_FR.UTF-8"}, FRENCH),
    ({"LANG": "fr_CA.UTF-8", "LC_ALL": "C"}, ENGLISH),
]
# No display at all, and an X display that no server answers.
DISPLAYS = [{}, {"DISPLAY": ":2147"}]

problems = []


def check(condition, message):
    if not condition:
        problems.append(message)
    return condition


def session_free_environment():
    env = {k: v for k, v in os.environ.items()
           if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_SESSION_TYPE", "LANG", "LANGUAGE")
           and not k.startswith("LC_")}
    return env


def check_no_display(bin_dir):
    for program, args in PROGRAMS.items():
        for display in DISPLAYS:
            for locale, expected in LOCALES:
                env = session_free_environment()
                env.update(display)
                env.update(locale)
                done = subprocess.run([os.path.join(bin_dir, program), *args], env=env, capture_output=True,
                                      timeout=60)
                case = f"{program} with {display or 'no display'} and {locale or 'no locale'}"
                err = done.stderr.decode("utf-8", "replace")
                lines = err.splitlines()
                check(done.returncode == 1, f"{case}: exit code {done.returncode}, not 1:\n{err}")
                check(len(lines) == 1 and lines[0].startswith(expected.format(program)) and "ventrolux-cli" in lines[0],
                      f"{case}: printed\n{err}")
                check(not done.stdout, f"{case}: wrote on standard output: {done.stdout!r}")
    print(f"{len(PROGRAMS) * len(DISPLAYS) * len(LOCALES)} starts without a graphical session")


def desktop_entries(packaging_dir):
    """Each desktop entry of the folder, by the window class a task bar matches with it."""
    entries = {}
    for path in glob.glob(os.path.join(packaging_dir, "*.desktop")):
        entry = configparser.ConfigParser(interpolation=None)
        entry.optionxform = str
        entry.read(path, encoding="utf-8")
        desktop = entry["Desktop Entry"]
        name = os.path.basename(path)[: -len(".desktop")]
        entries[desktop.get("StartupWMClass", name)] = desktop
    return entries


def window_class_and_icon_sizes(window):
    """The class of a window (WM_CLASS) and the sizes of the images of its icon (_NET_WM_ICON)."""
    done = subprocess.run(["xprop", "-len", "100000000", "-id", window, "-notype", "WM_CLASS", "_NET_WM_ICON"],
                          capture_output=True, text=True, timeout=30)
    found = re.search(r'^WM_CLASS = "[^"]*", "([^"]*)"', done.stdout, re.M)
    sizes = [(int(w), int(h)) for w, h in re.findall(r"Icon \((\d+) x (\d+)\)", done.stdout)]
    return (found.group(1) if found else None), sizes


def check_windows(bin_dir, packaging_dir):
    entries = desktop_entries(packaging_dir)
    with tempfile.TemporaryDirectory(prefix="ventrolux-windows-") as tmp:
        # A copy of the program directory, so that the build tree's user database is left alone.
        for name in os.listdir(bin_dir):
            source = os.path.join(bin_dir, name)
            if name in PROGRAMS:
                shutil.copy2(source, tmp)
            elif not name.startswith("myData"):
                os.symlink(source, os.path.join(tmp, name))
        env = {k: v for k, v in os.environ.items() if k != "QT_QPA_PLATFORM"}
        env.update({"HOME": tmp, "QT_QPA_PLATFORM": "xcb"})
        for program, args in PROGRAMS.items():
            process = subprocess.Popen([os.path.join(tmp, program), *[os.path.join(tmp, a) for a in args]], env=env,
                                       stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
            try:
                found = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--pid", str(process.pid)],
                                       capture_output=True, text=True, timeout=60)
                windows = found.stdout.split()
                if not check(windows, f"{program} showed no window"):
                    continue
                window_class, sizes = window_class_and_icon_sizes(windows[0])
                entry = entries.get(window_class)
                if check(entry is not None, f"{program}'s window class {window_class!r} names no desktop entry "
                                            f"of {sorted(entries)}"):
                    check(entry.get("Icon") == "ventrolux", f"{program}'s desktop entry has Icon={entry.get('Icon')}")
                check({(16, 16), (32, 32), (48, 48)} <= set(sizes),
                      f"{program}'s window icon has the sizes {sizes}, not 16, 32 and 48 among them")
                print(f"{program}: class {window_class}, icon sizes {sizes}")
            finally:
                process.terminate()
                process.wait(timeout=30)


def main():
    if len(sys.argv) >= 3 and sys.argv[1] == "no-display":
        check_no_display(sys.argv[2])
    elif len(sys.argv) >= 4 and sys.argv[1] == "windows":
        check_windows(sys.argv[2], sys.argv[3])
    else:
        raise SystemExit(__doc__)
    for p in problems:
        print(p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
