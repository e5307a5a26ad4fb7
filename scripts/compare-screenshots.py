#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Compares freshly rendered screenshots with the committed ones, pixel by
pixel, and prints for each the number of differing pixels, the largest
difference of one colour channel and the box the differences lie in.

    compare-screenshots.py [--fuzz PERCENT] COMMITTED-DIR RENDERED-DIR

Every picture must be identical, with one exception: the start window's title
(Label1, bold Liberation Serif at 19 px, in its box of 249 x 49 px at the
top-left) is rasterised by Qt 6.8 with slightly different anti-aliasing
shading than by Qt 6.4: measured on Debian 13, 173 pixels of its glyphs'
edges, each by at most 14/255. There, and only there, up to TITLE_PIXELS
pixels may differ, each channel by at most TITLE_SHADE of 255; the glyphs'
positions are the same, so a moved or changed letter exceeds that. Ends with status 1 on
any other difference, or when a picture is missing or of another size.

With --fuzz, a pixel whose channels differ by at most PERCENT of 255 counts
as equal, and every other pixel as a difference: the web program's pictures
(drawn by a browser into a canvas) differ from the desktop's by such shades,
the test windows' by 1/255, the start windows' up to 14/255 at the edges of
its text's glyphs.
"""
import os
import struct
import sys
import zlib

TITLE_BOX = (0, 0, 249, 49)  # x, y, width, height in pixels
TITLE_PIXELS = 173
TITLE_SHADE = 14


def read_png(path):
    """(width, height, rows of RGB bytes) of an 8-bit, non-interlaced RGB or
    RGBA PNG, the kind Qt writes."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(f"{path}: not a PNG file")
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in (2, 6) or interlace:
        raise ValueError(f"{path}: not an 8-bit non-interlaced RGB(A) PNG")
    channels = 3 if colour == 2 else 4
    stride = width * channels
    raw = zlib.decompress(idat)
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - channels] if i >= channels else 0
            b = previous[i]
            c = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + a) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + b) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 0xFF
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 0xFF
        previous = line
        rows.append(bytes(line) if channels == 3 else bytes(v for j, v in enumerate(line) if j % 4 != 3))
    return width, height, rows


def differences(a, b):
    """The differing pixels of two pictures of one size: [(x, y, largest channel difference)]."""
    found = []
    for y, (row_a, row_b) in enumerate(zip(a, b)):
        if row_a == row_b:
            continue
        for x in range(len(row_a) // 3):
            d = max(abs(row_a[3 * x + i] - row_b[3 * x + i]) for i in range(3))
            if d:
                found.append((x, y, d))
    return found


def inside(box, x, y):
    bx, by, bw, bh = box
    return bx <= x < bx + bw and by <= y < by + bh


def main():
    arguments = sys.argv[1:]
    fuzz = None
    if arguments[0] == "--fuzz":
        percent = arguments[1]
        fuzz = float(percent) * 255 / 100
        arguments = arguments[2:]
    committed, rendered = arguments
    names = sorted(n for n in os.listdir(committed) if n.endswith(".png"))
    failed = False
    for name in names:
        other = os.path.join(rendered, name)
        if not os.path.exists(other):
            print(f"FAIL {name}: not rendered")
            failed = True
            continue
        wa, ha, a = read_png(os.path.join(committed, name))
        wb, hb, b = read_png(other)
        if (wa, ha) != (wb, hb):
            print(f"FAIL {name}: {wb} x {hb} px, committed {wa} x {ha} px")
            failed = True
            continue
        diff = differences(a, b)
        if fuzz is not None:
            beyond = [d for d in diff if d[2] > fuzz]
            shade = max((d for _, _, d in diff), default=0)
            print(f"{'FAIL' if beyond else 'ok  '} {name}: {len(beyond)} pixels beyond a "
                  f"fuzz of {percent} % ({len(diff)} differ, by at most {shade}/255)")
            failed = failed or bool(beyond)
            continue
        if not diff:
            print(f"ok   {name}: 0 pixels differ")
            continue
        shade = max(d for _, _, d in diff)
        xs, ys = [x for x, _, _ in diff], [y for _, y, _ in diff]
        where = f"in ({min(xs)},{min(ys)})-({max(xs)},{max(ys)})"
        summary = f"{name}: {len(diff)} pixels differ, by at most {shade}/255, {where}"
        title_only = name.startswith("start-") and all(inside(TITLE_BOX, x, y) for x, y, _ in diff)
        if title_only and len(diff) <= TITLE_PIXELS and shade <= TITLE_SHADE:
            print(f"ok   {summary}: the title's shading only")
        else:
            print(f"FAIL {summary}")
            failed = True
    return 1 if failed or not names else 0


if __name__ == "__main__":
    sys.exit(main())
