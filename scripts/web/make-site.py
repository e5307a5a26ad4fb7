#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Puts the web program's site together: the page of packaging/web/, the
program built in BUILD (velitar.js, velitar.wasm, Qt's qtloader.js), the
icons, the licences of what velitar.wasm is made of (licenses.txt), and the
service worker with the list of the site's files and a version made of
their contents. Prints the site's sizes, raw and as a web
server sends them compressed (gzip -9 and brotli), and fails if the
compressed transfer exceeds 5 MB.

Usage: make-site.py SOURCE BUILD SITE QT-PREFIX [PROGRAM...]
PROGRAM: further programs of BUILD (the timing pages) to put beside it,
each with a page of its own (PROGRAM.html)."""
import gzip
import hashlib
import json
import pathlib
import shutil
import subprocess
import sys

LIMIT = 5 * 1000 * 1000


def licences(source, qt):
    """The program's licence, the LGPL of the Qt it links statically, where
    the exact sources are, the project's changes to Qt, the fonts' licences
    and Debian's copyright file of the whole Qt source (every third-party part
    of Qt with its notice)."""
    version = (qt / "licenses" / "debian-version").read_text().strip()
    heading = lambda title: f"\n\n{'=' * 78}\n{title}\n{'=' * 78}\n\n"
    text = ("Velitar for the browser: velitar.wasm and velitar.js are Velitar, under the GNU General Public\n"
            "License 3.0 or later (A), statically linked with Qt 6.8 (Qt Core, Gui, Widgets and the\n"
            "WebAssembly platform), under the GNU Lesser General Public License 3.0 (B). The source of Velitar,\n"
            "with the scripts that build its Qt, is published at https://velitar.org; Qt's is Debian's\n"
            f"qt6-base source package {version},\n"
            f"https://snapshot.debian.org/package/qt6-base/{version}/,\n"
            "with the project's changes in C. Whoever passes the program on passes on, or offers, that source.\n"
            "D holds the licences of the fonts it carries, E Debian's copyright file of the whole Qt source.")
    text += heading("A. GNU General Public License 3.0") + (source / "COPYING").read_text(encoding="utf-8")
    text += heading("B. GNU Lesser General Public License 3.0") + \
        (qt / "licenses" / "LGPL-3.0-only.txt").read_text(encoding="utf-8")
    text += heading("C. The project's changes to Qt") + "".join(
        p.read_text(encoding="utf-8") for p in sorted((source / "scripts" / "qt" / "patches" / "wasm").glob("*.patch")))
    for package in ("fonts-liberation", "fonts-dejavu-core"):
        text += heading(f"D. Fonts: {package}") + pathlib.Path(f"/usr/share/doc/{package}/copyright").read_text(
            encoding="utf-8")
    text += heading("E. Qt: Debian's copyright file of the whole source") + \
        (qt / "licenses" / "debian-copyright").read_text(encoding="utf-8")
    return text


def main():
    source, build, site, qt = (pathlib.Path(a) for a in sys.argv[1:5])
    extra = sys.argv[5:]
    web = source / "packaging" / "web"
    shutil.rmtree(site, ignore_errors=True)
    (site / "icons").mkdir(parents=True)
    page = (web / "index.html").read_text(encoding="utf-8")
    wasm = build / "app" / "velitar.wasm"
    (site / "index.html").write_text(page.replace("@PROGRAM_BYTES@", str(wasm.stat().st_size)), encoding="utf-8")
    for name in ("page.js", "page.css", "manifest.webmanifest"):
        shutil.copy(web / name, site / name)
    for name in ("velitar.js", "velitar.wasm", "qtloader.js"):
        shutil.copy(build / "app" / name, site / name)
    svg = source / "resources" / "velitar-start.svg"
    shutil.copy(svg, site / "icons" / "velitar.svg")
    for size in (32, 192, 512):
        subprocess.run(["rsvg-convert", "--width", str(size), "--height", str(size), "--format", "png",
                        "--output", str(site / "icons" / f"velitar-{size}.png"), str(svg)], check=True)

    (site / "licenses.txt").write_text(licences(source, qt), encoding="utf-8")

    files = sorted(p.relative_to(site).as_posix() for p in site.rglob("*") if p.is_file())
    digest = hashlib.sha256()
    for name in files:
        digest.update(name.encode() + b"\0" + (site / name).read_bytes())
    worker = (web / "sw.js").read_text(encoding="utf-8")
    worker = worker.replace("@VERSION@", digest.hexdigest()[:16])
    worker = worker.replace("@FILES@", ", ".join(json.dumps(n) for n in ["./"] + files))
    (site / "sw.js").write_text(worker, encoding="utf-8")

    # The timing pages: not part of the site, not kept by the service worker.
    for name in extra:
        for suffix in (".js", ".wasm"):
            shutil.copy(build / "bench" / (name + suffix), site / (name + suffix))
        timing = page.replace('data-program="velitar"', f'data-program="{name}"')
        timing = timing.replace('src="velitar.js"', f'src="{name}.js"')
        timing = timing.replace("@PROGRAM_BYTES@", str((build / "bench" / (name + ".wasm")).stat().st_size))
        (site / (name + ".html")).write_text(timing, encoding="utf-8")

    raw = gz = br = 0
    for name in files + ["sw.js"]:
        data = (site / name).read_bytes()
        raw += len(data)
        gz += len(gzip.compress(data, 9, mtime=0))
        br += len(subprocess.run(["brotli", "-c", "-q", "11"], input=data, capture_output=True, check=True).stdout)
    print(f"site: {len(files) + 1} files, {raw} bytes; sent compressed: gzip {gz} bytes, brotli {br} bytes")
    if min(gz, br) > LIMIT:
        print(f"FAIL the site's transfer size ({min(gz, br)} bytes) is over {LIMIT}")
        sys.exit(1)


main()
