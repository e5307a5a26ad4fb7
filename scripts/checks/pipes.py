#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The shell scripts under the working directory that pipe into a reader
that may stop early (see 05-pipes.sh)."""
import os
import re
import shlex
import sys

# A pipe (not ||), then grep with its options, or head.
PIPE = re.compile(r"(?<!\|)\|&?\s*(?:command\s+)?(?P<reader>e?grep|fgrep|head)\b(?P<rest>[^|;&)]*)")
EARLY = re.compile(r"^-[A-Za-z]*[qm]|^--(quiet|silent|max-count)")


def scripts():
    for top, dirs, files in os.walk("."):
        dirs[:] = [d for d in dirs if not (top == "." and (d.startswith("build") or d == ".git"))]
        for name in files:
            path = os.path.join(top, name)[2:]
            if name.endswith(".sh"):
                yield path
            else:
                try:
                    with open(path, "rb") as f:
                        first = f.readline()
                except OSError:
                    continue
                if re.match(rb"#!\s*(/usr)?/bin/(env\s+)?(ba)?sh\b", first):
                    yield path


def statements(path):
    """The lines of a script with continued ones joined: after a trailing
    pipe or backslash, or before a leading pipe; comment lines left out."""
    joined, start = "", 0
    with open(path, errors="replace") as f:
        lines = f.read().splitlines()
    for number, line in enumerate(lines, 1):
        if line.strip().startswith("#"):
            continue
        if joined and not line.lstrip().startswith("|") and not re.search(r"(\||\\)\s*$", joined):
            yield start, joined
            joined = ""
        if not joined:
            start = number
        joined = (joined.rstrip().rstrip("\\") + " " + line.strip()) if joined else line
    if joined:
        yield start, joined


def early(match):
    if match["reader"] == "head":
        return True
    try:
        words = shlex.split(match["rest"])
    except ValueError:
        words = match["rest"].split()
    for word in words:
        if word == "--" or not word.startswith("-"):
            return False
        if EARLY.match(word):
            return True
    return False


found = 0
for path in sorted(scripts()):
    for number, text in statements(path):
        if any(early(m) for m in PIPE.finditer(text)):
            print(f"FAIL {path}:{number}: a pipe into a reader that may stop early: {text.strip()}")
            found += 1
print(f"ok   no shell script pipes into grep -q, grep -m or head" if not found else
      f"FAIL {found} pipes into a reader that may stop early (capture the output first)")
sys.exit(1 if found else 0)
