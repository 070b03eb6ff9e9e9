#!/usr/bin/env python3
"""Builds the Debian package of a build tree, unpacks it into a temporary root and checks that
what it holds works as installed: the command-line tool finds the reference database under
usr/share/ventrolux and keeps myData.db in the user's data folder, the menu entry's program
and icon are there, and so are the metadata and the manual pages.

usage: check-package.py CPACK BUILD_DIR"""

import configparser
import glob
import os
import re
import struct
import subprocess
import sys
import tempfile

# The datasets the reference data is published in: volumes 1 and 2 for the whole country,
# volume 3 for the whole country and each region, province and territory.
REGIONS_OF_VOLUME_3 = ["ALL", "ATLANTIC", "NS", "NB", "NL", "PE", "QC", "ON", "PRAIRIES", "MB", "SK", "AB",
                       "BC", "TERRITORIES", "NT", "NU", "YT"]
EXPECTED_DATASETS = {("1", "ALL"), ("2", "ALL")} | {("3", r) for r in REGIONS_OF_VOLUME_3}
ICON_SIZES = [16, 32, 48, 64, 128, 256]
PROGRAMS = ["ventrolux", "ventrolux-cli", "ventrolux-help"]

problems = []


def check(condition, message):
    if not condition:
        problems.append(message)
    return condition


def build_package(cpack, build_dir, out_dir):
    done = subprocess.run([cpack, "--config", os.path.join(build_dir, "CPackConfig.cmake"), "-G", "DEB",
                           "-B", out_dir], capture_output=True, text=True)
    if done.returncode != 0:
        raise SystemExit(f"cpack failed ({done.returncode}):\n{done.stdout}\n{done.stderr}")
    packages = glob.glob(os.path.join(out_dir, "ventrolux_*.deb"))
    if len(packages) != 1:
        raise SystemExit(f"cpack made {packages}, not one ventrolux_*.deb")
    return packages[0]


def control_field(package, field):
    return subprocess.run(["dpkg-deb", "--field", package, field], capture_output=True, text=True,
                          check=True).stdout.strip()


def check_control(package):
    depends = control_field(package, "Depends")
    # Found by dpkg-shlibdeps from what the programs link.
    for library in ("libqt6core6", "libqt6widgets6", "libsqlite3-0", "libc6"):
        check(library in depends, f"Depends lacks {library}: {depends}")
    # Loaded while running, so named by hand.
    for runtime in ("libqt6sql6-sqlite", "qt6-translations-l10n", "fonts-dejavu-core"):
        check(runtime in depends, f"Depends lacks {runtime}: {depends}")
    # Office mode links the PostgreSQL client library and loads Qt's driver for it.
    check("libpq5" in depends, f"Depends lacks libpq5: {depends}")
    recommends = control_field(package, "Recommends")
    check("libqt6sql6-psql" in recommends, f"Recommends lacks libqt6sql6-psql: {recommends}")
    for field in ("Maintainer", "Section", "Description", "Version"):
        check(control_field(package, field), f"the control file has no {field}")
    # The long description: lines of text, or "." for an empty line, each within a terminal's width.
    description = control_field(package, "Description").splitlines()
    check(len(description) > 2, f"the description has no long text: {description}")
    for line in description[1:]:
        check(re.fullmatch(r"\.|[A-Za-z0-9(\"'].{0,78}", line.strip()) is not None,
              f"the description has the line {line!r}")


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    if head[:8] != b"\x89PNG\r\n\x1a\n":
        return None
    return struct.unpack(">II", head[16:24])


def check_desktop_entry(root):
    entries = glob.glob(os.path.join(root, "usr/share/applications/*.desktop"))
    if not check(len(entries) == 1, f"usr/share/applications holds {entries}"):
        return
    entry = configparser.ConfigParser(interpolation=None)
    entry.optionxform = str
    entry.read(entries[0], encoding="utf-8")
    desktop = entry["Desktop Entry"]
    program = desktop.get("Exec", "").split()[0]
    binary = os.path.join(root, "usr/bin", program)
    check(os.path.isfile(binary) and os.access(binary, os.X_OK), f"Exec={program} is not in usr/bin")
    icon = desktop.get("Icon", "")
    hicolor = os.path.join(root, "usr/share/icons/hicolor")
    check(os.path.isfile(os.path.join(hicolor, "scalable/apps", icon + ".svg")),
          f"Icon={icon} has no scalable SVG in usr/share/icons/hicolor")
    for size in ICON_SIZES:
        png = os.path.join(hicolor, f"{size}x{size}/apps/{icon}.png")
        if check(os.path.isfile(png), f"Icon={icon} has no {size}x{size} PNG"):
            check(png_size(png) == (size, size), f"the {size}x{size} icon is {png_size(png)}")


def check_metadata(root):
    metainfo = glob.glob(os.path.join(root, "usr/share/metainfo/*.metainfo.xml"))
    check(len(metainfo) == 1, f"usr/share/metainfo holds {metainfo}")
    # The whole tree as a software centre reads it: the metadata and the desktop entry it names.
    done = subprocess.run(["appstreamcli", "validate-tree", "--no-net", root], capture_output=True, text=True)
    check(done.returncode == 0, f"appstreamcli validate-tree:\n{done.stdout}{done.stderr}")


def check_manual_pages(root):
    for folder in ("usr/share/man/man1", "usr/share/man/fr/man1"):
        for program in PROGRAMS:
            check(os.path.isfile(os.path.join(root, folder, program + ".1.gz")),
                  f"{folder}/{program}.1.gz is missing")


def check_tool_runs(root, home):
    env = {k: v for k, v in os.environ.items() if not k.startswith("XDG_")}
    env.update({"HOME": home, "QT_QPA_PLATFORM": "offscreen"})
    done = subprocess.run([os.path.join(root, "usr/bin/ventrolux-cli"), "datasets"], env=env,
                          capture_output=True, text=True, timeout=60)
    if not check(done.returncode == 0, f"ventrolux-cli datasets ended with {done.returncode}:\n{done.stderr}"):
        return
    rows = [line.split("\t") for line in done.stdout.splitlines() if line]
    check(len(rows) == 19, f"ventrolux-cli datasets printed {len(rows)} lines, not 19:\n{done.stdout}")
    listed = {(row[1], row[2]) for row in rows if len(row) >= 5}
    check(listed == EXPECTED_DATASETS, f"the datasets listed differ: {sorted(listed ^ EXPECTED_DATASETS)}")
    counts = [row[4] for row in rows if len(row) >= 5]
    # Every 2011 table is in the reference database (a small territory may have no industry in it).
    check(all(c.isdigit() for c in counts) and sum(int(c) for c in counts) > 0,
          f"the industry counts do not read as the tables' sizes: {counts}")
    # The shared folder stays as the package left it; the user's own database is in their home.
    check(os.path.isfile(os.path.join(home, ".local/share/ventrolux/myData.db")),
          "myData.db was not created in ~/.local/share/ventrolux")
    check(not os.path.exists(os.path.join(root, "usr/share/ventrolux/myData.db")),
          "myData.db was created in the installed share folder")


def main():
    cpack, build_dir = sys.argv[1:3]
    with tempfile.TemporaryDirectory(prefix="ventrolux-package-") as tmp:
        package = build_package(cpack, build_dir, os.path.join(tmp, "out"))
        print(f"built {os.path.basename(package)}, {os.path.getsize(package) // 1024} KiB")
        root = os.path.join(tmp, "root")
        subprocess.run(["dpkg", "-x", package, root], check=True)
        home = os.path.join(tmp, "home")
        os.mkdir(home)
        check_control(package)
        for program in PROGRAMS:
            check(os.path.isfile(os.path.join(root, "usr/bin", program)), f"usr/bin/{program} is missing")
        check(os.path.isfile(os.path.join(root, "usr/share/ventrolux/KLV_DATA.db")),
              "usr/share/ventrolux/KLV_DATA.db is missing")
        check_desktop_entry(root)
        check_metadata(root)
        check_manual_pages(root)
        check_tool_runs(root, home)
    for p in problems:
        print(p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
