#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Records, for a static Qt just built, which third-party code each of its
object files holds, so that a program's notices can name exactly what it
links (licenses.py reads the program's link map against this record).

Third-party code is what a qt_attribution.json of Qt's source describes: the
files it names, or its whole folder. An object holds it when one of those
files went into its compilation: compiled, or included, as Qt Core includes
TinyCBOR, the hash functions and the easing equations from its own sources;
the compiler's dependency record (ninja -t deps) lists every such file.

    attributions.py QT-BUILD-DIR QT-SOURCE-DIR OUTPUT.json

The output: "entries", each third-party part with its name, version,
licence, copyright and licence texts; and "objects", for every object of
the build by archive and member name ("libQt6Core.a(unity_0_cxx.cxx.obj)",
or the file name of an object linked on its own), the entries it holds.
"""
import fnmatch
import json
import os
import re
import subprocess
import sys

build, source, output = (os.path.realpath(a) for a in sys.argv[1:4])
src = os.path.join(source, "src")


def listed(value):
    return value.split() if isinstance(value, str) else list(value or [])


# Every described part: its folder, the files it covers (none: all of the
# folder), and what the notice says.
entries = []
for folder, _, files in os.walk(src):
    if "qt_attribution.json" not in files:
        continue
    with open(os.path.join(folder, "qt_attribution.json"), encoding="utf-8") as f:
        data = json.loads(f.read(), strict=False)
    for entry in data if isinstance(data, list) else [data]:
        texts = []
        for name in listed(entry.get("LicenseFiles")) or listed(entry.get("LicenseFile")):
            with open(os.path.join(folder, name), encoding="utf-8", errors="replace") as f:
                texts.append(f.read().rstrip())
        copyright = entry.get("Copyright", "")
        entries.append({
            "folder": os.path.relpath(folder, source),
            "files": [os.path.normpath(os.path.join(folder, p)) for p in listed(entry.get("Files"))],
            "name": entry.get("Name", entry.get("Id", "")),
            "version": entry.get("Version", ""),
            "usage": " ".join(entry.get("QtUsage", "").split()),
            "licence": entry.get("LicenseId", entry.get("License", "")),
            "copyright": copyright if isinstance(copyright, list) else copyright.splitlines(),
            "texts": texts,
        })


def holds(entry, path):
    if entry["files"]:
        return any(fnmatch.fnmatchcase(path, p) for p in entry["files"])
    return path.startswith(os.path.join(source, entry["folder"]) + os.sep)


# Which archive each object goes into, from the build's own rules.
archive_of = {}
with open(os.path.join(build, "build.ninja"), encoding="utf-8") as f:
    for line in f:
        if line.startswith("build ") and "_STATIC_LIBRARY_LINKER_" in line:
            outputs, rule = line[6:].split(":", 1)
            archive = os.path.basename(outputs.split()[0])
            for obj in rule.split("|")[0].split()[1:]:
                archive_of[obj] = archive

deps = subprocess.run(["ninja", "-C", build, "-t", "deps"], check=True, capture_output=True,
                      text=True).stdout
objects = {}
current = None
for line in deps.splitlines():
    head = re.match(r"^(\S.*?): #deps", line)
    if head:
        obj = head.group(1)
        member = os.path.basename(obj)
        key = "%s(%s)" % (archive_of[obj], member) if obj in archive_of else member
        current = objects.setdefault(key, set())
    elif line.startswith("    ") and current is not None:
        path = os.path.normpath(os.path.join(build, line.strip()))
        if path.startswith(src + os.sep):
            current.update(i for i, e in enumerate(entries) if holds(e, path))

used = sorted({i for held in objects.values() for i in held})
renumber = {old: new for new, old in enumerate(used)}
record = {
    "entries": [entries[i] for i in used],
    "objects": {k: sorted(renumber[i] for i in v) for k, v in sorted(objects.items()) if v},
}
with open(output, "w", encoding="utf-8") as f:
    json.dump(record, f, ensure_ascii=False, indent=0)
print("%d third-party parts in the objects of this Qt: %s" % (len(used), ", ".join(sorted(
    {e["name"] for e in record["entries"]}, key=str.lower))))
