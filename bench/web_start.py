#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The web program's start in headless Chromium against the bare window
built with the same Qt for WebAssembly: both are loaded by the program's own
page, in turn, each in a new tab of one browser (so both come from its
cache after the first round), and each prints the moment of its first
paint ("first-paint <ns>", FirstPaint.cpp; in a browser that clock is the
page's, counted from the navigation). Prints the median of each and the
median of the pairs' ratios.
Usage: web_start.py SITE [ROUNDS]   (SITE made by scripts/web/bench.sh)"""
import pathlib
import statistics
import sys
import time

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent / "tests" / "web"))
from cdp import Browser, Failure, Site  # noqa: E402

site = Site(pathlib.Path(sys.argv[1]))
rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 15

browser = Browser()


def first_paint(program):
    browser.open_page()
    seen = len(browser.console)
    browser.call("Page.navigate", url=f"{site.url}{program}.html")
    end = time.monotonic() + 60
    while time.monotonic() < end:
        for line in browser.console[seen:]:
            if line.startswith("first-paint "):
                return int(line.split()[1]) / 1e6
        time.sleep(0.02)
    raise Failure(f"{program}: no first paint within 60 s")


try:
    times = {"velitar_first_paint": [], "bare_window": []}
    for _ in range(rounds + 1):  # the first round fills the browser's cache and is not counted
        for program in times:
            times[program].append(first_paint(program))
finally:
    browser.close()
    site.stop()
velitar, bare = times["velitar_first_paint"][1:], times["bare_window"][1:]
ratios = [v / b for v, b in zip(velitar, bare)]
print(f"first paint after navigation, median of {rounds}: Velitar {statistics.median(velitar):.0f} ms, "
      f"bare window {statistics.median(bare):.0f} ms; ratio (median of pairs) {statistics.median(ratios):.3f}")
