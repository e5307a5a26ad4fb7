#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Puts the web program's site together: the page of packaging/web/, the
program built in BUILD (velitar.js, velitar.wasm, Qt's qtloader.js), the
icons, and the service worker with the list of the site's files and a
version made of their contents. Prints the site's sizes, raw and as a web
server sends them compressed (gzip -9 and brotli), and fails if the
compressed transfer exceeds 5 MB.

Usage: make-site.py SOURCE BUILD SITE [PROGRAM...]
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


def main():
    source, build, site = (pathlib.Path(a) for a in sys.argv[1:4])
    extra = sys.argv[4:]
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
