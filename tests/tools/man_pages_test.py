#!/usr/bin/env python3
"""The manual pages against the programs they describe, and their rendering.

quirnctl.1 must list the commands and options that "quirnctl help" prints, each command under
the synopsis that "quirnctl help COMMAND" prints, the JSON fields and the Prometheus metrics
that quirnctl writes for a saved page; quirn-sim.1 the options, scenarios and faults that
"quirn-sim --help" prints. Both pages must render without a warning from groff or man.

    man_pages_test.py QUIRNCTL QUIRN_SIM MAN_DIR FIXTURE_DIR
"""
import json
import os
import re
import shlex
import subprocess
import sys

failures = []


def fail(message):
    failures.append(message)
    print("FAIL " + message)


# --- the pages' source ---

ESCAPES = [(r"\-", "-"), (r"\~", " "), (r"\(dq", '"'), (r"\(aq", "'"), (r"\(lq", '"'),
           (r"\(rq", '"'), (r"\|", ""), (r"\&", ""), (r"\%", ""), (r"\e", "\\")]
ALTERNATING = {"BR", "RB", "BI", "IB", "IR", "RI"}


def plain(text):
    """A line of roff text as it reads: fonts dropped, escapes resolved."""
    text = re.sub(r"\\f[BIRP]", "", text)
    for escape, char in ESCAPES:
        text = text.replace(escape, char)
    return text


def line_text(line):
    """The text a source line contributes: a font macro's words, or the line itself."""
    if not line.startswith("."):
        return plain(line)
    name, _, rest = line[1:].partition(" ")
    words = shlex.split(rest.replace("\\", "\\\\"), posix=True) if rest else []
    words = [w.replace("\\\\", "\\") for w in words]
    joiner = "" if name in ALTERNATING else " "
    return plain(joiner.join(words))


def tagged_entries(path):
    """{(section, subsection): [(tag, body text)]} for every .TP entry of the page."""
    with open(path, encoding="utf-8") as f:
        lines = f.read().splitlines()
    entries = {}
    section = subsection = None
    i = 0
    while i < len(lines):
        line = lines[i]
        if line.startswith(".SH "):
            section, subsection = line_text(line), None
        elif line.startswith(".SS "):
            subsection = line_text(line)
        elif line == ".TP" and i + 1 < len(lines):
            tag = line_text(lines[i + 1])
            body = []
            i += 2
            while i < len(lines) and not re.match(r"\.(TP|SH|SS|PP)\b", lines[i]):
                if not lines[i].startswith('.\\"'):
                    body.append(line_text(lines[i]))
                i += 1
            entries.setdefault((section, subsection), []).append((tag, " ".join(body)))
            continue
        i += 1
    return entries


def tags(entries, section, subsection=None):
    return [tag for tag, _ in entries.get((section, subsection), [])]


# --- the programs' output ---

def output(*command, expect=0):
    run = subprocess.run(command, capture_output=True, text=True, timeout=30)
    if run.returncode != expect:
        fail(f"{' '.join(command)} exited {run.returncode}, expected {expect}: {run.stderr}")
    return run.stdout


def section_lines(text, heading):
    """The lines under a heading line that starts with `heading`, up to the next blank line."""
    lines = text.splitlines()
    for i, line in enumerate(lines):
        if line.startswith(heading):
            block = []
            for item in lines[i + 1:]:
                if not item.strip():
                    break
                block.append(item)
            return block
    fail(f"no {heading!r} in:\n{text}")
    return []


def option_words(line):
    """'  --router HOST    read...' gives '--router HOST'."""
    return re.split(r"\s{2,}", line.strip())[0]


def compare(what, listed, expected):
    listed, expected = set(listed), set(expected)
    for name in sorted(listed - expected):
        fail(f"{what} lists {name!r}, which the program does not")
    for name in sorted(expected - listed):
        fail(f"{what} lacks {name!r}")


def check_quirnctl(quirnctl, page, fixtures):
    entries = tagged_entries(page)
    usage = output(quirnctl, "help")

    commands = [line.split()[0] for line in section_lines(usage, "commands:")
                if line.startswith("  ") and not line.startswith("   ")]
    manual_synopses = {tag.split()[0]: tag for tag in tags(entries, "COMMANDS")}
    compare("quirnctl.1 COMMANDS", manual_synopses, commands)
    for command in commands:
        first = output(quirnctl, "help", command).splitlines()[0]
        synopsis = first.removeprefix("usage: quirnctl ")
        if command in manual_synopses and manual_synopses[command] != synopsis:
            fail(f"quirnctl.1 gives {command} as {manual_synopses[command]!r}, "
                 f"quirnctl help {command} as {synopsis!r}")

    options = [option_words(line) for line in section_lines(usage, "options:")]
    # The usage's own lines name the options that stand without a command.
    head = usage.split("\ncommands:")[0]
    options += sorted(set(re.findall(r"--[a-z-]+", head)))
    compare("quirnctl.1 OPTIONS", tags(entries, "OPTIONS"), options)

    page_file = os.path.join(fixtures, "status_page.html")
    record = json.loads(output(quirnctl, "parse", page_file, "--json"))["status"]
    compare("quirnctl.1 OUTPUT FORMATS json", tags(entries, "OUTPUT FORMATS", "json"), record)
    metrics = re.findall(r"^# TYPE (\S+) gauge$",
                         output(quirnctl, "parse", page_file, "--format", "prometheus"), re.M)
    compare("quirnctl.1 OUTPUT FORMATS prometheus",
            tags(entries, "OUTPUT FORMATS", "prometheus"), metrics)


def check_quirn_sim(quirn_sim, page):
    entries = tagged_entries(page)
    usage = output(quirn_sim, "--help")
    options = [option_words(line) for line in usage.splitlines() if line.startswith("  --")]
    compare("quirn-sim.1 OPTIONS", tags(entries, "OPTIONS"), options)
    scenarios = [line.split()[0] for line in section_lines(usage, "Scenarios:")]
    compare("quirn-sim.1 SCENARIOS", tags(entries, "SCENARIOS"), scenarios)
    faults = [line.split()[0] for line in section_lines(usage, "Faults")
              if line.startswith("  ")]
    compare("quirn-sim.1 FAULTS", tags(entries, "FAULTS"), faults)


def check_rendering(page):
    name = os.path.basename(page)
    groff = subprocess.run(["groff", "-man", "-ww", "-z", page], capture_output=True, text=True)
    if groff.returncode != 0 or groff.stderr:
        fail(f"groff -man -ww -z {name}: exit {groff.returncode}\n{groff.stderr}")
    env = dict(os.environ, MANWIDTH="80", LC_ALL="C.UTF-8")
    man = subprocess.run(["man", "--warnings", "-l", page], capture_output=True, text=True,
                         env=env)
    if man.returncode != 0 or man.stderr:
        fail(f"man --warnings -l {name}: exit {man.returncode}\n{man.stderr}")
    if "NAME" not in man.stdout:
        fail(f"man -l {name} printed no NAME section")


def main():
    quirnctl, quirn_sim, man_dir, fixtures = sys.argv[1:5]
    check_quirnctl(quirnctl, os.path.join(man_dir, "quirnctl.1"), fixtures)
    check_quirn_sim(quirn_sim, os.path.join(man_dir, "quirn-sim.1"))
    for page in ("quirnctl.1", "quirn-sim.1"):
        check_rendering(os.path.join(man_dir, page))
    if failures:
        return 1
    print("the manual pages agree with the programs and render cleanly")
    return 0


if __name__ == "__main__":
    sys.exit(main())
