#!/usr/bin/env python3
"""The release history of NEWS as the Debian package and the software centre read it.

usage: news.py changelog NEWS VERSION MAINTAINER OUT
         the Debian changelog of the package (English), newest release first;
       news.py metainfo NEWS VERSION TEMPLATE OUT
         the metadata TEMPLATE with its line "<!-- releases from NEWS -->" replaced by a
         <releases> element (each change in English and in French).

Both refuse a NEWS whose newest release is not VERSION, so that the package, the metadata and
`ventrolux-cli --version` never disagree with the history."""

import datetime
import re
import sys
import textwrap
from xml.sax.saxutils import escape

HEADING = re.compile(r"^Ventrolux (\S+) \((\d{4}-\d{2}-\d{2})\)$")
MARKER = "<!-- releases from NEWS -->"


class Release:
    def __init__(self, version, date):
        self.version = version
        self.date = datetime.date.fromisoformat(date)
        self.changes = []  # (english, french)


def read_news(path):
    """The releases of NEWS, newest first; the text before the first heading is left out."""
    releases = []
    item = None

    def close_item():
        if item is None:
            return
        english, _, french = " ".join(item).partition(" fr: ")
        if not french.strip():
            raise SystemExit(f"{path}: a change of {releases[-1].version} has no French text: {english[:60]}...")
        releases[-1].changes.append((english.strip(), french.strip()))

    with open(path, encoding="utf-8") as f:
        lines = f.read().splitlines()
    for number, line in enumerate(lines, 1):
        heading = HEADING.match(line)
        if heading:
            close_item()
            item = None
            releases.append(Release(*heading.groups()))
        elif not releases or re.fullmatch(r"-+", line):
            continue
        elif line.startswith("* "):
            close_item()
            item = [line[2:].strip()]
        elif line.startswith("  ") and item is not None:
            item.append(line.strip())
        elif line.strip():
            raise SystemExit(f"{path}:{number}: neither a heading, an item nor its continuation: {line}")
        else:
            close_item()
            item = None
    close_item()
    if not releases or not all(r.changes for r in releases):
        raise SystemExit(f"{path}: a release without changes, or no release at all")
    return releases


def checked(releases, version, path):
    if releases[0].version != version:
        raise SystemExit(f"{path}: the newest release is {releases[0].version}, the project's version is "
                         f"{version}; give {version} its entry")
    return releases


def changelog(releases, maintainer):
    out = []
    for r in releases:
        out.append(f"ventrolux ({r.version}) unstable; urgency=medium\n")
        for english, _ in r.changes:
            out.append(textwrap.fill(english, width=78, initial_indent="  * ", subsequent_indent="    ",
                                     break_on_hyphens=False))
        # Noon UTC of the release day, in the form dpkg reads.
        when = datetime.datetime.combine(r.date, datetime.time(12), datetime.timezone.utc)
        out.append(f"\n -- {maintainer}  {when.strftime('%a, %d %b %Y %H:%M:%S %z')}\n")
    return "\n".join(out)


def releases_xml(releases):
    out = ["  <releases>"]
    for r in releases:
        out.append(f'    <release version="{escape(r.version)}" date="{r.date.isoformat()}">')
        out.append("      <description>")
        out.append("        <ul>")
        for english, french in r.changes:
            out.append(f"          <li>{escape(english)}</li>")
            out.append(f'          <li xml:lang="fr">{escape(french)}</li>')
        out.append("        </ul>")
        out.append("      </description>")
        out.append("    </release>")
    out.append("  </releases>")
    return "\n".join(out)


def main():
    if len(sys.argv) != 6 or sys.argv[1] not in ("changelog", "metainfo"):
        raise SystemExit(__doc__)
    mode, news, version, third, out = sys.argv[1:]
    releases = checked(read_news(news), version, news)
    if mode == "changelog":
        text = changelog(releases, third)
    else:
        with open(third, encoding="utf-8") as f:
            template = f.read()
        if template.count(MARKER) != 1:
            raise SystemExit(f"{third} should hold the line {MARKER} once")
        text = re.sub(r"^[ \t]*" + re.escape(MARKER) + r"[ \t]*$", lambda _: releases_xml(releases), template,
                      flags=re.MULTILINE)
    with open(out, "w", encoding="utf-8") as f:
        f.write(text)


if __name__ == "__main__":
    main()
