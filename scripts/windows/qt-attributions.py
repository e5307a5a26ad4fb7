#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the notices of the third-party code that a Qt build compiled in:
every part of Qt's source described by a qt_attribution.json whose folder
holds a source file the build compiled (named in build.ninja, or included by
one of its unity files), but for Apple's Objective-C code; with its name,
version, licence, copyright and the text of its licence file(s).

    qt-attributions.py QT-BUILD-DIR QT-SOURCE-DIR OUTPUT-FILE
"""
import json
import os
import re
import sys

build, source, output = (os.path.realpath(a) for a in sys.argv[1:4])

compiled = set()
with open(os.path.join(build, "build.ninja"), encoding="utf-8") as f:
    for line in f:
        if line.startswith("build ") and "_COMPILER_" in line:
            compiled.update(re.findall(r"(/\S+\.(?:c|cc|cpp|cxx))\b", line.split(":", 1)[1]))
for folder, _, files in os.walk(build):
    if os.path.basename(folder) == "Unity":
        for name in files:
            if name.endswith((".c", ".cxx")):
                with open(os.path.join(folder, name), encoding="utf-8") as f:
                    compiled.update(re.findall(r'#include "(/[^"]+)"', f.read()))
compiled = {os.path.realpath(p) for p in compiled if p.startswith(source)}

entries = []
for folder, dirs, files in os.walk(os.path.join(source, "src")):
    if "qt_attribution.json" not in files:
        continue
    if not any(p.startswith(folder + os.sep) for p in compiled):
        continue
    with open(os.path.join(folder, "qt_attribution.json"), encoding="utf-8") as f:
        data = json.loads(f.read(), strict=False)
    for entry in data if isinstance(data, list) else [data]:
        # Code of one folder may be compiled into another file (included),
        # so every entry of the folder counts, but for Objective-C code, which
        # is Apple's alone.
        files = entry.get("Files", [])
        files = files.split() if isinstance(files, str) else files
        if files and all(f.endswith((".mm", ".m")) for f in files):
            continue
        entries.append((folder, entry))

out = []
for folder, entry in sorted(entries, key=lambda e: e[1].get("Name", "").lower()):
    out.append("=" * 78)
    out.append(("%s %s" % (entry.get("Name", entry.get("Id")), entry.get("Version", ""))).rstrip())
    out.append("Used in Qt: " + " ".join(entry.get("QtUsage", "").split()))
    out.append("Licence: " + entry.get("LicenseId", entry.get("License", "")))
    copyright = entry.get("Copyright", "")
    out.append("Copyright:")
    out.extend("  " + line for line in (copyright if isinstance(copyright, list) else copyright.splitlines()))
    files = entry.get("LicenseFiles") or ([entry["LicenseFile"]] if entry.get("LicenseFile") else [])
    for name in files:
        path = os.path.join(folder, name)
        out.append("-" * 78)
        with open(path, encoding="utf-8", errors="replace") as f:
            out.append(f.read().rstrip())
    out.append("")
with open(output, "w", encoding="utf-8") as f:
    f.write("\n".join(out) + "\n")
print("%d third-party parts compiled into Qt: %s" % (len(entries), ", ".join(sorted(
    {e.get("Name", e.get("Id", "?")) for _, e in entries}, key=str.lower))))
