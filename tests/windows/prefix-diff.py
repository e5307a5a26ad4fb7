#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Compares two snapshots of a Wine prefix (made by installer-check.sh): the
list of paths under drive_c, and the registry hives user.reg, system.reg and
userdef.reg. Prints what it looked at and every difference; ends with status
1 when a path, a registry key or a value was added or removed, or a value
changed that names the program (Velitar, its installer or uninstaller).
Other changed values are Wine's own bookkeeping (its devices' dates, say),
which Wine updates at every start; they are listed, not counted.

    prefix-diff.py BEFORE-DIR AFTER-DIR
"""
import os
import re
import sys

OURS = re.compile(r"velitar|велитарь|nsis|uninstall\.exe|setup\.exe", re.IGNORECASE)


def hive(path):
    """{key: {value name: value}} of a Wine .reg file."""
    keys, key, pending = {}, None, ""
    with open(path, encoding="utf-8", errors="replace") as f:
        for raw in f:
            line = pending + raw.rstrip("\n")
            if line.endswith("\\") and key is not None and not line.startswith("["):
                pending = line[:-1]
                continue
            pending = ""
            if line.startswith("["):
                key = re.sub(r"\]\s*\d*$", "]", line)
                keys[key] = {}
            elif key is not None and line and not line.startswith(("#", ";")):
                name, _, value = line.partition("=")
                keys[key][name] = value
    return keys


def main(before, after):
    failures = 0
    files = [set(open(os.path.join(d, "files"), encoding="utf-8").read().splitlines()) for d in (before, after)]
    print("     looked at: %d paths under drive_c" % len(files[0]))
    for path in sorted(files[1] - files[0]):
        print("FAIL left in the file system: %s" % path)
        failures += 1
    for path in sorted(files[0] - files[1]):
        print("FAIL gone from the file system: %s" % path)
        failures += 1
    for name in ("user.reg", "system.reg", "userdef.reg"):
        old, new = hive(os.path.join(before, name)), hive(os.path.join(after, name))
        print("     looked at: %s, %d keys and %d values" % (name, len(old), sum(len(v) for v in old.values())))
        for key in sorted(set(new) - set(old)):
            print("FAIL left in %s: key %s" % (name, key))
            failures += 1
        for key in sorted(set(old) - set(new)):
            print("FAIL gone from %s: key %s" % (name, key))
            failures += 1
        for key in sorted(set(old) & set(new)):
            for value in sorted(set(new[key]) - set(old[key])):
                print("FAIL left in %s: %s %s" % (name, key, value))
                failures += 1
            for value in sorted(set(old[key]) - set(new[key])):
                print("FAIL gone from %s: %s %s" % (name, key, value))
                failures += 1
            for value in sorted(set(old[key]) & set(new[key])):
                if old[key][value] != new[key][value]:
                    ours = OURS.search(key + value + old[key][value] + new[key][value])
                    print("%s changed in %s: %s %s" % ("FAIL" if ours else "     (Wine's own)", name, key, value))
                    failures += bool(ours)
    return failures


if __name__ == "__main__":
    sys.exit(1 if main(sys.argv[1], sys.argv[2]) else 0)
