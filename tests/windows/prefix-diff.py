#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Compares two snapshots of a Wine prefix (made by installer-check.sh): the
paths under drive_c and every file's contents, and the registry hives
user.reg, system.reg and userdef.reg. Prints what it looked at and every
difference; ends with status 1 when a path was added or removed, a file's
contents changed, or a registry key or value was added, removed or changed,
but for the values listed in WINE_OWN: Wine's own bookkeeping, which it
updates by itself while programs run, whatever they are.

    prefix-diff.py BEFORE-DIR AFTER-DIR
"""
import os
import re
import sys

# (hive, key, value) of what Wine itself changes between the snapshots: the
# date of its display driver and the monitor's device instance, which it
# writes anew when a program first opens a window on a new X display.
WINE_OWN = {
    ("system.reg", r"[System\\ControlSet001\\Control\\Class\\{4D36E968-E325-11CE-BFC1-08002BE10318}\\0000]",
     '"DriverDateData"'),
    ("system.reg", r"[System\\ControlSet001\\Control\\DeviceClasses\\{E6F07B5F-EE97-4A90-B076-33F57BF4EAA7}"
     r"\\##?#DISPLAY#Default_Monitor#0000&0000#{E6F07B5F-EE97-4A90-B076-33F57BF4EAA7}]", '"DeviceInstance"'),
}


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
    contents = [dict(reversed(line.split("  ", 1)) for line in open(os.path.join(d, "contents"), encoding="utf-8")
                     .read().splitlines()) for d in (before, after)]
    print("     looked at: the contents of %d files" % len(contents[0]))
    for path in sorted(set(contents[0]) & set(contents[1])):
        if contents[0][path] != contents[1][path]:
            print("FAIL changed in the file system: %s" % path)
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
                    wine = (name, key, value) in WINE_OWN
                    print("%s changed in %s: %s %s" % ("     (Wine's own)" if wine else "FAIL", name, key, value))
                    failures += not wine
    return failures


if __name__ == "__main__":
    sys.exit(1 if main(sys.argv[1], sys.argv[2]) else 0)
