#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes licenses.txt, the one text that travels with the Windows program:
what velitar.exe is made of, under which licence each part is, and the full
texts; UTF-8 with a byte order mark and CR LF line ends, as Notepad reads it.

    licenses.py OUTPUT VERSION QT-PREFIX SOURCE-DIR
"""
import glob
import os
import sys

output, version, qt, source = sys.argv[1:5]


def read(path):
    with open(path, encoding="utf-8", errors="replace") as f:
        return f.read().rstrip()


def doc(package):
    return read("/usr/share/doc/%s/copyright" % package)


qt_version = os.path.basename(os.path.realpath(qt)).split("-")[1]
parts = []
parts.append("""Велитарь (Velitar) %(v)s for Windows: licences
================================================

velitar.exe is one file that holds the program and everything it needs:

1. Velitar itself: free software under the GNU General Public License,
   version 3 or (at your option) any later version (GPL-3.0-or-later).
   Its source code is published with the program, together with the scripts
   that build this file.
2. Qt %(q)s (Qt Core, Qt Gui, Qt Widgets and the "windows" platform plugin),
   built from Debian's qt6-base source package and linked statically.
   Qt is under the GNU Lesser General Public License, version 3
   (LGPL-3.0-only); The Qt Company Ltd. and other contributors.
   How its terms are met: Velitar is itself under the GPL, version 3 or
   later, whose terms include the LGPL's. Its complete source code, the
   recipe that builds Qt from Debian's qt6-base %(q)s source package, and the
   build scripts are published, so that anyone may rebuild velitar.exe with
   a changed Qt and use it in place of this one.
3. Third-party code that Qt compiled in (FreeType, HarfBuzz, PCRE2, zlib,
   libpng, double-conversion and others), each under its own licence, listed
   in section B with its copyright and licence text.
4. The fonts the windows are laid out in, carried inside the program:
   Liberation Sans and Liberation Serif (SIL Open Font License 1.1) and
   DejaVu Sans (Bitstream Vera Fonts licence, changes in the public domain);
   section C.
5. The runtime of the GNU compiler (MinGW-w64): GCC's libstdc++ and libgcc
   (GPL-3.0 with the GCC Runtime Library Exception, which allows this use),
   the MinGW-w64 runtime and winpthreads (permissive licences); section D.

Contents: A. GPL-3.0 (Velitar)  B. Qt: LGPL-3.0 and the third-party
notices  C. Fonts  D. Compiler runtime
""" % {"v": version, "q": qt_version})
parts.append("A. Velitar: GNU General Public License, version 3\n" + "=" * 50 + "\n\n" + read(
    os.path.join(source, "COPYING")))
parts.append("B. Qt %s: GNU Lesser General Public License, version 3\n" % qt_version + "=" * 60 + "\n\n" +
             read(os.path.join(qt, "licenses", "LGPL-3.0-only.txt")))
parts.append("B. Third-party code compiled into Qt\n" + "=" * 36 + "\n\n" +
             read(os.path.join(qt, "licenses", "third-party.txt")))
parts.append("C. Fonts: Liberation (Debian's fonts-liberation)\n" + "=" * 48 + "\n\n" + doc("fonts-liberation"))
parts.append("C. Fonts: DejaVu (Debian's fonts-dejavu-core)\n" + "=" * 46 + "\n\n" + doc("fonts-dejavu-core"))
parts.append("D. GCC's runtime libraries (Debian's gcc-mingw-w64)\n" + "=" * 51 + "\n\n" + doc("gcc-mingw-w64-base"))
parts.append("D. MinGW-w64 runtime and winpthreads (Debian's mingw-w64)\n" + "=" * 57 + "\n\n" +
             doc("mingw-w64-x86-64-dev"))
text = "\n\n\n".join(parts) + "\n"
with open(output, "w", encoding="utf-8-sig", newline="\r\n") as f:
    f.write(text)
