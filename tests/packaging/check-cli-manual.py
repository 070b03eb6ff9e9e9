#!/usr/bin/env python3
"""The manual of ventrolux-cli against the tool itself.

usage: check-cli-manual.py commands CLI PAGE COMMANDS-HEADING
         every command `CLI --help` lists (and every command of a group such as `firms`) is
         described under the page's COMMANDS-HEADING, so that a new command without its
         manual fails;
       check-cli-manual.py synopsis CLI PAGE SYNOPSIS-HEADING LANG
         the page's synopsis has the lines of the synopsis `CLI --lang LANG --help` prints,
         in the same order, and the page is that of the version `CLI --version` prints."""

import os
import re
import subprocess
import sys

# The shared module is imported from the source tree, which stays free of compiled files.
sys.dont_write_bytecode = True

from manpage import render, sections


def run_cli(cli, *args):
    env = dict(os.environ)
    env.setdefault("QT_QPA_PLATFORM", "offscreen")
    done = subprocess.run([cli, *args], env=env, capture_output=True, text=True)
    if done.returncode != 0:
        raise SystemExit(f"{cli} {' '.join(args)} ended with status {done.returncode}:\n{done.stderr}")
    return done.stdout


def listed_commands(help_text):
    """The command words of a help's command section (the English help names it "Commands:")."""
    words = []
    inside = False
    for line in help_text.splitlines():
        if line and not line[0].isspace():
            inside = line.strip() == "Commands:"
            continue
        if inside and line.strip():
            words.append(line.split()[0])
    return words


def every_command(cli):
    """Each command as typed: "datasets", "firms save", ..."""
    commands = []
    for word in listed_commands(run_cli(cli, "--help")):
        below = listed_commands(run_cli(cli, word, "--help"))
        if below:
            commands.extend(f"{word} {sub}" for sub in below)
        else:
            commands.append(word)
    return commands


def check_commands(cli, page, heading):
    commands = every_command(cli)
    if len(commands) < 2:
        return [f"the help of {cli} lists {len(commands)} commands; the check cannot read it"]
    status, text, _ = render(page)
    if status != 0:
        return [f"man could not render {page}"]
    # A command's entry is a tag at the page's first indentation, its words first.
    tags = [line.strip() for line in sections(text).get(heading, []) if re.match(r"^ {7}\S", line)]
    missing = [c for c in commands if not any(t == c or t.startswith(c + " ") for t in tags)]
    print(f"{len(commands)} commands in the help: {', '.join(commands)}")
    return [f"{page} does not describe the command '{c}' under {heading}" for c in missing]


def normalized(text):
    return " ".join(text.split())


def cli_synopsis(cli, language):
    """The synopsis lines of the help: its last paragraph, each line's heading ("usage:") left out."""
    footer = run_cli(cli, "--lang", language, "--help").rstrip("\n").split("\n\n")[-1]
    lines = []
    for line in footer.splitlines():
        start = line.find("ventrolux-cli")
        if start >= 0:
            lines.append(normalized(line[start:]))
    return lines


def page_synopsis(page, heading):
    """The page's synopsis entries: one paragraph each, its wrapped lines joined."""
    status, text, _ = render(page)
    if status != 0:
        raise SystemExit(f"man could not render {page}")
    body = "\n".join(sections(text).get(heading, []))
    return [normalized(p) for p in re.split(r"\n\s*\n", body) if p.strip()]


def command_words(entry):
    """ "ventrolux-cli [--data-dir DIR] firms save FILE ..." -> "firms save"."""
    # The options of the whole tool, in brackets before the command, are not part of it.
    words = re.sub(r"^\S+\s+(\[[^\]]*\]\s*)*", "", entry).split()
    taken = []
    for w in words:
        if not re.fullmatch(r"[a-z][a-z-]*", w):
            break
        taken.append(w)
    return " ".join(taken)


def check_synopsis(cli, page, heading, language):
    tool = cli_synopsis(cli, language)
    manual = page_synopsis(page, heading)
    if len(tool) < 2:
        return [f"the help of {cli} shows {len(tool)} synopsis lines; the check cannot read it"]
    problems = [f"the synopsis line\n    {line}\n  is not in {page}" for line in tool if line not in manual]
    known = {command_words(line) for line in tool}
    for entry in manual:
        if entry in tool:
            continue
        if command_words(entry) in known:
            problems.append(f"{page} has a synopsis line the tool does not print:\n    {entry}")
        else:
            # The manual may describe a command a little before the tool has it.
            print(f"note: {page} documents a command the tool does not have yet:\n    {entry}")
    # The page's footer carries the version the tool prints.
    version = run_cli(cli, "--version").split()[-1]
    _, text, _ = render(page)
    footer = text.rstrip().splitlines()[-1]
    if f"Ventrolux {version}" not in footer:
        problems.append(f"{page} is the page of another version than {version}: {footer.strip()}")
    shared = [e for e in manual if e in tool]
    if not problems and shared != tool:
        problems.append(f"{page} lists the synopsis lines in another order than the tool")
    print(f"{len(tool)} synopsis lines compared")
    return problems


def main():
    mode = sys.argv[1]
    if mode == "commands":
        problems = check_commands(*sys.argv[2:5])
    elif mode == "synopsis":
        problems = check_synopsis(*sys.argv[2:6])
    else:
        raise SystemExit(__doc__)
    for p in problems:
        print(p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
