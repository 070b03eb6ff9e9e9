"""Rendering a manual page the way a reader sees it, shared by the checks of this folder."""

import os
import re
import subprocess


def render(page, width=80):
    """The page as man shows it at `width` columns, plain text, and what troff said on stderr.

    Every warning groff knows is switched on; the C.UTF-8 locale makes man format for a UTF-8
    terminal whatever the caller's locale is."""
    env = dict(os.environ)
    env.update({"MANWIDTH": str(width), "MANPAGER": "cat", "PAGER": "cat", "LC_ALL": "C.UTF-8", "LANG": "C.UTF-8"})
    env.pop("MAN_KEEP_FORMATTING", None)
    done = subprocess.run(["man", "--warnings=w", "-l", page], env=env, capture_output=True, text=True)
    # Bold and underline as overstrikes, should man keep them: the text alone.
    text = re.sub(r".\x08", "", done.stdout)
    return done.returncode, text, done.stderr


def sections(text):
    """The rendered page's sections: heading -> its lines (indented text; headings start at column 0)."""
    found = {}
    current = None
    for line in text.splitlines():
        if line and not line[0].isspace():
            current = line.strip()
            found[current] = []
        elif current is not None:
            found[current].append(line)
    return found
