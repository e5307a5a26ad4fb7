#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes licenses.txt, the one text that travels with the Windows program:
what velitar.exe is made of, under which licence each part is, the full
texts, and where the source of every part can be had; UTF-8 with a byte
order mark and CR LF line ends, as Notepad reads it.

The third-party code is what velitar.exe links: every member of Qt's
archives that the linker took in (its link map) is looked up in the record
of the Qt build (licenses/attributions.json of the Qt prefix), which names
the third-party parts compiled or included into each. Debian's copyright
file of the Qt source goes along whole.

    licenses.py OUTPUT VERSION QT-PREFIX SOURCE-DIR LINK-MAP HOMEPAGE
"""
import json
import os
import re
import sys

output, version, qt, source, link_map, homepage = sys.argv[1:7]
licenses = os.path.join(qt, "licenses")


def read(path):
    with open(path, encoding="utf-8", errors="replace") as f:
        return f.read().rstrip()


def doc(package):
    return read("/usr/share/doc/%s/copyright" % package)


def heading(text):
    return text + "\n" + "=" * len(text) + "\n\n"


# The archive members linked: "libQt6Core.a(qstring.cpp.obj)" for each line
# of the map that names one (the list of members taken to satisfy a
# reference; a long name has its reason on the next line).
linked = set()
with open(link_map, encoding="utf-8", errors="replace") as f:
    for line in f:
        found = re.match(r"(\S+\.a)\(([^()]+)\)", line)
        if found:
            linked.add("%s(%s)" % (os.path.basename(found.group(1)), found.group(2)))
if not any(member.startswith("libQt6Core.a(") for member in linked):
    sys.exit("licenses.py: no member of Qt Core in the link map %s" % link_map)

record = json.load(open(os.path.join(licenses, "attributions.json"), encoding="utf-8"))
used = sorted({i for member in linked for i in record["objects"].get(member, [])},
              key=lambda i: record["entries"][i]["name"].lower())
if not used:
    sys.exit("licenses.py: no third-party code found in what velitar.exe links")
debian_version = read(os.path.join(licenses, "debian-version"))
qt_version = debian_version.split("+")[0]
patches_dir = os.path.join(licenses, "patches")
patches = sorted(os.listdir(patches_dir))

parts = []
parts.append("""Велитарь (Velitar) %(v)s for Windows: licences
================================================

velitar.exe is one file that holds the program and everything it needs:

1. Velitar itself: free software under the GNU General Public License,
   version 3 or (at your option) any later version (GPL-3.0-or-later).
2. Qt %(q)s (Qt Core, Qt Gui, Qt Widgets and the "windows" platform plugin),
   built from Debian's qt6-base source package, revision %(d)s, with the
   changes in section E, and linked statically. Qt is under the GNU Lesser
   General Public License, version 3 (LGPL-3.0-only); The Qt Company Ltd.
   and other contributors. Velitar is itself under the GPL, version 3 or
   later, whose terms include the LGPL's: with the source below, anyone may
   rebuild velitar.exe with a changed Qt and use it in place of this one.
3. Third-party code that those parts of Qt compile or include, each under
   its own licence: section B lists every part linked into velitar.exe
   (%(n)d parts) with its copyright and licence text; section F is Debian's
   copyright file of the whole Qt source.
4. The fonts the windows are laid out in, carried inside the program:
   Liberation Sans and Liberation Serif (SIL Open Font License 1.1) and
   DejaVu Sans (Bitstream Vera Fonts licence, changes in the public domain);
   section C.
5. The runtime of the GNU compiler (MinGW-w64): GCC's libstdc++ and libgcc
   (GPL-3.0 with the GCC Runtime Library Exception, which allows this use),
   the MinGW-w64 runtime and winpthreads (permissive licences); section D.

Where the source is (the complete corresponding source of velitar.exe):
- Velitar's source code, with the scripts that build Qt and velitar.exe
  and the changes to Qt of section E: %(h)s (release %(v)s).
- Qt's source as built: Debian's qt6-base source package %(d)s, kept
  for good in Debian's snapshot archive,
  https://snapshot.debian.org/package/qt6-base/%(d)s/
  (qt6-base_%(d)s.dsc and the files it names); the changes of section E
  are applied to it.
- The compiler runtime and the fonts: Debian's packages gcc-mingw-w64,
  mingw-w64, fonts-liberation and fonts-dejavu, also in
  https://snapshot.debian.org/.

Contents: A. GPL-3.0 (Velitar)  B. Qt: LGPL-3.0 and the third-party code
C. Fonts  D. Compiler runtime  E. Changes to Qt  F. Debian's copyright file
of Qt's source
""" % {"v": version, "q": qt_version, "d": debian_version, "n": len(used), "h": homepage})
parts.append(heading("A. Velitar: GNU General Public License, version 3") + read(os.path.join(source, "COPYING")))
parts.append(heading("B. Qt %s: GNU Lesser General Public License, version 3" % qt_version) +
             read(os.path.join(licenses, "LGPL-3.0-only.txt")))
notices = []
for i in used:
    entry = record["entries"][i]
    notice = "%s%s\nLicence: %s\n" % (entry["name"], " " + entry["version"] if entry.get("version") else "",
                                      entry["licence"])
    if entry.get("copyright"):
        notice += "\n" + "\n".join(entry["copyright"]) + "\n"
    for text in entry.get("texts", []):
        notice += "\n" + text.rstrip() + "\n"
    notices.append(notice)
parts.append(heading("B. Third-party code in the Qt that velitar.exe links") +
             ("\n" + "-" * 72 + "\n\n").join(notices).rstrip())
parts.append(heading("C. Fonts: Liberation (Debian's fonts-liberation)") + doc("fonts-liberation"))
parts.append(heading("C. Fonts: DejaVu (Debian's fonts-dejavu-core)") + doc("fonts-dejavu-core"))
parts.append(heading("D. GCC's runtime libraries (Debian's gcc-mingw-w64)") + doc("gcc-mingw-w64-base"))
parts.append(heading("D. MinGW-w64 runtime and winpthreads (Debian's mingw-w64)") + doc("mingw-w64-x86-64-dev"))
parts.append(heading("E. Changes to Qt %s, applied to Debian's source" % debian_version) +
             "\n\n".join("%s\n\n%s" % (name, read(os.path.join(patches_dir, name))) for name in patches))
parts.append(heading("F. Qt %s: Debian's copyright file of the whole source" % debian_version) +
             read(os.path.join(licenses, "debian-copyright")))
text = "\n\n\n".join(parts) + "\n"
with open(output, "w", encoding="utf-8-sig", newline="\r\n") as f:
    f.write(text)
print("licenses.txt: %d third-party parts of Qt linked, of %d members of Qt's archives" %
      (len(used), sum(1 for m in linked if m in record["objects"] or m.startswith(("libQt6", "libq")))))
