#!/usr/bin/env python3
"""Builds the Debian packages of a build tree, checks them as Debian would and unpacks them into
a temporary root to check that what they hold works as installed.

ventrolux holds the programs (for one architecture) and depends on ventrolux-data of its own
version, which holds the reference data, the help and the report layouts (Architecture: all).
lintian finds no error and no warning that lintian-accepted.txt does not list with its reason;
every program carries the hardening features dpkg-buildflags turns on (hardening-check); each
package has its copyright file and a changelog of its version. Installed, the command-line tool
finds the reference database under usr/share/ventrolux and keeps myData.db in the user's data
folder, and the menu entries' programs and icon, the metadata and the manual pages are there.

usage: check-package.py CPACK BUILD_DIR ACCEPTED_LINTIAN"""

import configparser
import glob
import gzip
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
# What hardening-check calls each feature of dpkg-buildflags.
HARDENING_CHECK_NAMES = {
    "pie": "Position Independent Executable",
    "stackprotector": "Stack protected",
    "fortify": "Fortify Source functions",
    "relro": "Read-only relocations",
    "bindnow": "Immediate binding",
    "stackclash": "Stack clash protection",
    "branch": "Control flow integrity",
}
# Domains kept for documentation and tests (RFC 2606, RFC 6761) and GitHub's relay: no one reads
# mail sent there.
RESERVED_MAIL = re.compile(r"@([^>]*\.)?(example(\.(com|net|org))?|test|invalid|localhost|users\.noreply\.[^>]*)>")

problems = []


def check(condition, message):
    if not condition:
        problems.append(message)
    return condition


def build_packages(cpack, build_dir, out_dir):
    done = subprocess.run([cpack, "--config", os.path.join(build_dir, "CPackConfig.cmake"), "-G", "DEB",
                           "-B", out_dir], capture_output=True, text=True)
    if done.returncode != 0:
        raise SystemExit(f"cpack failed ({done.returncode}):\n{done.stdout}\n{done.stderr}")
    programs = glob.glob(os.path.join(out_dir, "ventrolux_*.deb"))
    data = glob.glob(os.path.join(out_dir, "ventrolux-data_*_all.deb"))
    if len(programs) != 1 or len(data) != 1:
        raise SystemExit(f"cpack made {os.listdir(out_dir)}, not one ventrolux_*.deb and one ventrolux-data_*_all.deb")
    return programs[0], data[0]


def control_field(package, field):
    return subprocess.run(["dpkg-deb", "--field", package, field], capture_output=True, text=True,
                          check=True).stdout.strip()


def check_control(programs, data):
    version = control_field(programs, "Version")
    check(control_field(data, "Version") == version, "the two packages have different versions")
    check(control_field(programs, "Architecture") != "all", "ventrolux is not built for an architecture")
    check(control_field(data, "Architecture") == "all", "ventrolux-data is not Architecture: all")
    depends = control_field(programs, "Depends")
    check(f"ventrolux-data (= {version})" in depends, f"ventrolux does not depend on its own data: {depends}")
    # Found by dpkg-shlibdeps from what the programs link.
    for library in ("libqt6core6", "libqt6widgets6", "libsqlite3-0", "libc6"):
        check(library in depends, f"Depends lacks {library}: {depends}")
    # Loaded while running, so named by hand.
    for runtime in ("libqt6sql6-sqlite", "qt6-translations-l10n", "fonts-dejavu-core"):
        check(runtime in depends, f"Depends lacks {runtime}: {depends}")
    # Office mode links the PostgreSQL client library; Qt's driver for it is no longer used.
    check("libpq5" in depends, f"Depends lacks libpq5: {depends}")
    check("libqt6sql6-psql" not in control_field(programs, "Recommends"), "Recommends a driver nothing loads")
    check(not control_field(data, "Depends"), "ventrolux-data depends on something")
    for package in (programs, data):
        name = os.path.basename(package)
        for field in ("Maintainer", "Section", "Description", "Homepage"):
            check(control_field(package, field), f"{name}: the control file has no {field}")
        maintainer = control_field(package, "Maintainer")
        check(not RESERVED_MAIL.search(maintainer), f"{name}: the maintainer's address reaches no one: {maintainer}")
        # The long description: lines of text, or "." for an empty line, each within a terminal's width.
        description = control_field(package, "Description").splitlines()
        check(len(description) > 2, f"{name}: the description has no long text: {description}")
        for line in description[1:]:
            check(re.fullmatch(r"\.|[A-Za-z0-9(\"'].{0,78}", line.strip()) is not None,
                  f"{name}: the description has the line {line!r}")
    check(control_field(programs, "Description").splitlines()[0] != control_field(data, "Description").splitlines()[0],
          "both packages have the same summary")
    return version


def package_files(package):
    listing = subprocess.run(["dpkg-deb", "--fsys-tarfile", package], capture_output=True, check=True).stdout
    names = subprocess.run(["tar", "-t"], input=listing, capture_output=True, check=True).stdout.decode()
    return [n[2:] if n.startswith("./") else n for n in names.splitlines() if not n.endswith("/")]


def check_split(programs, data):
    in_programs = package_files(programs)
    in_data = package_files(data)
    check(sorted(f for f in in_programs if f.startswith("usr/bin/")) == [f"usr/bin/{p}" for p in PROGRAMS],
          f"usr/bin of ventrolux is not the three user programs: {[f for f in in_programs if 'bin/' in f]}")
    check(not any(f.startswith("usr/share/ventrolux/") for f in in_programs),
          "ventrolux holds files of usr/share/ventrolux, which belong to ventrolux-data")
    outside = [f for f in in_data if not f.startswith(("usr/share/ventrolux/", "usr/share/doc/ventrolux-data/"))]
    check(not outside, f"ventrolux-data holds files outside its data and documents: {outside}")
    for name in ("KLV_DATA.db", "MOLV_ConceptsHelp_Eng.html", "MOLV_Tech_Help_Fre.html", "reports/rpt_Comparison.json"):
        check(f"usr/share/ventrolux/{name}" in in_data, f"ventrolux-data lacks usr/share/ventrolux/{name}")


def check_documents(root, package, version):
    doc = os.path.join(root, "usr/share/doc", package)
    copyright_path = os.path.join(doc, "copyright")
    if check(os.path.isfile(copyright_path), f"{package} has no copyright file"):
        with open(copyright_path, encoding="utf-8") as f:
            text = f.read()
        check(text.startswith("Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/"),
              f"{package}'s copyright file is not in the machine-readable format")
        # Each licence a Files paragraph names has its text in a License paragraph.
        paragraphs = [p for p in text.split("\n\n") if p.strip()]
        named = {m for p in paragraphs if p.startswith("Files:") for m in re.findall(r"^License: (\S+)$", p, re.M)}
        given = {re.match(r"License: (\S+)", p).group(1) for p in paragraphs if p.startswith("License:")}
        check("GPL-3+" in named and named <= given, f"{package}'s copyright file: licences {named}, texts {given}")
    changelog = os.path.join(doc, "changelog.gz")
    if check(os.path.isfile(changelog), f"{package} has no changelog.gz"):
        with gzip.open(changelog, "rt", encoding="utf-8") as f:
            entries = f.read()
        done = subprocess.run(["dpkg-parsechangelog", "-l-", "-SVersion"], input=entries, capture_output=True,
                              text=True)
        check(done.returncode == 0 and done.stdout.strip() == version,
              f"{package}'s changelog does not read as one of version {version}: {done.stdout}{done.stderr}")


def accepted_findings(path):
    """The lintian findings this project accepts: "PACKAGE: TAG -- reason" lines."""
    accepted = {}
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.strip()
            if not line or line.startswith("#"):
                continue
            m = re.fullmatch(r"(\S+): (\S+) -- (.+)", line)
            if check(m is not None, f"{path}:{number}: not 'PACKAGE: TAG -- reason': {line}"):
                accepted[(m.group(1), m.group(2))] = m.group(3)
    return accepted


def check_lintian(packages, accepted_path):
    accepted = accepted_findings(accepted_path)
    done = subprocess.run(["lintian", "--fail-on", "none", "--tag-display-limit", "0", *packages],
                          capture_output=True, text=True, timeout=600)
    check(done.returncode == 0, f"lintian ended with {done.returncode}:\n{done.stderr}")
    seen = set()
    for line in done.stdout.splitlines():
        m = re.match(r"([EW]): ([^:\s]+)(?: \(\w+\))?: (\S+)", line)
        if not m:
            continue
        key = (m.group(2), m.group(3))
        seen.add(key)
        if key not in accepted:
            problems.append(f"lintian: {line}")
    for key in accepted.keys() - seen:
        print(f"note: lintian no longer reports {key[0]}: {key[1]}; take it off {accepted_path}")
    print(f"lintian: {len(seen)} kinds of error or warning, all accepted" if not any(
        p.startswith("lintian:") for p in problems) else "lintian: findings not accepted")


def hardening_features():
    """The hardening features dpkg-buildflags turns on, by hardening-check's names."""
    env = dict(os.environ, DEB_BUILD_MAINT_OPTIONS="hardening=+all")
    listing = subprocess.run(["dpkg-buildflags", "--query-features", "hardening"], env=env, capture_output=True,
                             text=True, check=True).stdout
    features = re.findall(r"^Feature: (\S+)\nEnabled: yes", listing, re.M)
    return [HARDENING_CHECK_NAMES[f] for f in features if f in HARDENING_CHECK_NAMES]


def check_hardening(root):
    wanted = hardening_features()
    check(len(wanted) >= 5, f"dpkg-buildflags names only {wanted}")
    for program in PROGRAMS:
        path = os.path.join(root, "usr/bin", program)
        done = subprocess.run(["hardening-check", path], capture_output=True, text=True)
        report = dict(re.findall(r"^ ([^:]+): (.*)$", done.stdout, re.M))
        print(f"{program}: " + "; ".join(f"{name}: {report.get(name, '?')}" for name in wanted))
        for name in wanted:
            check(report.get(name, "").startswith("yes"), f"{program} lacks {name}: {report.get(name)}")


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    if head[:8] != b"\x89PNG\r\n\x1a\n":
        return None
    return struct.unpack(">II", head[16:24])


def check_desktop_entries(root):
    entries = sorted(glob.glob(os.path.join(root, "usr/share/applications/*.desktop")))
    names = [os.path.basename(e) for e in entries]
    if not check(names == ["ventrolux-help.desktop", "ventrolux.desktop"], f"usr/share/applications holds {names}"):
        return
    hicolor = os.path.join(root, "usr/share/icons/hicolor")
    for path in entries:
        entry = configparser.ConfigParser(interpolation=None)
        entry.optionxform = str
        entry.read(path, encoding="utf-8")
        desktop = entry["Desktop Entry"]
        program = desktop.get("Exec", "").split()[0]
        binary = os.path.join(root, "usr/bin", program)
        check(os.path.isfile(binary) and os.access(binary, os.X_OK), f"Exec={program} is not in usr/bin")
        # The help viewer is started by the program, never from the menu.
        check((desktop.get("NoDisplay") == "true") == (program == "ventrolux-help"),
              f"{os.path.basename(path)}: NoDisplay={desktop.get('NoDisplay')}")
        icon = desktop.get("Icon", "")
        check(icon == "ventrolux", f"{os.path.basename(path)}: Icon={icon}")
    check(os.path.isfile(os.path.join(hicolor, "scalable/apps/ventrolux.svg")),
          "the icon has no scalable SVG in usr/share/icons/hicolor")
    for size in ICON_SIZES:
        png = os.path.join(hicolor, f"{size}x{size}/apps/ventrolux.png")
        if check(os.path.isfile(png), f"the icon has no {size}x{size} PNG"):
            check(png_size(png) == (size, size), f"the {size}x{size} icon is {png_size(png)}")


def check_metadata(root, version):
    metainfo = glob.glob(os.path.join(root, "usr/share/metainfo/*.metainfo.xml"))
    if not check(len(metainfo) == 1, f"usr/share/metainfo holds {metainfo}"):
        return
    with open(metainfo[0], encoding="utf-8") as f:
        text = f.read()
    check("<project_license>GPL-3.0-or-later</project_license>" in text, "the metadata names another licence")
    check(re.search(rf'<release version="{re.escape(version)}"', text) is not None,
          f"the metadata's releases lack {version}")
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
    cpack, build_dir, accepted = sys.argv[1:4]
    with tempfile.TemporaryDirectory(prefix="ventrolux-package-") as tmp:
        programs, data = build_packages(cpack, build_dir, os.path.join(tmp, "out"))
        for package in (programs, data):
            print(f"built {os.path.basename(package)}, {os.path.getsize(package) // 1024} KiB")
        version = check_control(programs, data)
        check_split(programs, data)
        root = os.path.join(tmp, "root")
        for package in (programs, data):
            subprocess.run(["dpkg", "-x", package, root], check=True)
        home = os.path.join(tmp, "home")
        os.mkdir(home)
        for package in ("ventrolux", "ventrolux-data"):
            check_documents(root, package, version)
        check_hardening(root)
        check_desktop_entries(root)
        check_metadata(root, version)
        check_manual_pages(root)
        check_tool_runs(root, home)
        check_lintian([programs, data], accepted)
    for p in problems:
        print(p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
