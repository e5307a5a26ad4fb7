#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Builds one of Velitar's multi-image window icons (.ico) from PNG renderings.

Usage: make-ico.py OUTPUT.ico SIZE=IMAGE.png [SIZE=IMAGE.png ...]

Every image is stored as a BMP entry (BITMAPINFOHEADER, colour bitmap, then
the 1-bit AND mask), in this order:

    48, 32, 16 px   8 bits per pixel, 256-colour palette, AND mask
    96, 32 px       24 bits per pixel, AND mask
    96, 64, 48,
    32, 24, 16 px   32 bits per pixel with alpha (BGRA), AND mask

The PNGs must be 8-bit RGBA (or RGB) and not interlaced, as rsvg-convert
writes them; one PNG per size, used by every entry of that size. Entries
without alpha show a pixel where its alpha is at least half and leave it to
the mask elsewhere; the 256-colour palette is cut from the image's own
colours by median cut.
"""

import struct
import sys
import zlib

LAYOUT = [(48, 8), (32, 8), (16, 8),
          (96, 24), (32, 24),
          (96, 32), (64, 32), (48, 32), (32, 32), (24, 32), (16, 32)]

PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"


class Image:
    """A square RGBA picture: pixels as (r, g, b, a) tuples, row by row from the top."""

    def __init__(self, size, pixels):
        self.size = size
        self.pixels = pixels

    def row(self, y):
        return self.pixels[y * self.size:(y + 1) * self.size]


def read_png(path):
    with open(path, "rb") as f:
        data = f.read()
    if not data.startswith(PNG_SIGNATURE):
        raise ValueError(f"{path}: not a PNG file")
    pos = len(PNG_SIGNATURE)
    header = None
    compressed = bytearray()
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            compressed += body
        elif kind == b"IEND":
            break
    if header is None:
        raise ValueError(f"{path}: no IHDR chunk")
    width, height, depth, colour_type, _, _, interlace = header
    if depth != 8 or colour_type not in (2, 6) or interlace != 0:
        raise ValueError(f"{path}: only 8-bit RGB/RGBA PNGs without interlacing are read "
                         f"(depth {depth}, colour type {colour_type}, interlace {interlace})")
    if width != height:
        raise ValueError(f"{path}: {width}x{height} is not square")
    channels = 4 if colour_type == 6 else 3
    stride = width * channels
    raw = zlib.decompress(bytes(compressed))
    if len(raw) != height * (stride + 1):
        raise ValueError(f"{path}: image data has {len(raw)} bytes, expected {height * (stride + 1)}")

    rows = []
    previous = bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        kind = raw[start]
        line = bytearray(raw[start + 1:start + 1 + stride])
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up = previous[i]
            upper_left = previous[i - channels] if i >= channels else 0
            if kind == 0:
                predictor = 0
            elif kind == 1:
                predictor = left
            elif kind == 2:
                predictor = up
            elif kind == 3:
                predictor = (left + up) // 2
            elif kind == 4:
                p = left + up - upper_left
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - upper_left)
                predictor = left if pa <= pb and pa <= pc else up if pb <= pc else upper_left
            else:
                raise ValueError(f"{path}: unknown filter {kind} in row {y}")
            line[i] = (line[i] + predictor) & 0xFF
        rows.append(line)
        previous = line

    pixels = []
    for line in rows:
        for x in range(width):
            px = line[x * channels:(x + 1) * channels]
            pixels.append((px[0], px[1], px[2], px[3] if channels == 4 else 255))
    return Image(width, pixels)


def median_cut(colours, limit=256):
    """Reduces a {(r, g, b): count} histogram to at most `limit` colours."""
    if len(colours) <= limit:
        return sorted(colours)
    boxes = [list(colours.items())]
    while len(boxes) < limit:
        # Split the box whose widest channel spans the most, at its median pixel.
        best = None
        for index, box in enumerate(boxes):
            if len(box) < 2:
                continue
            for channel in range(3):
                values = [c[channel] for c, _ in box]
                spread = max(values) - min(values)
                if best is None or spread > best[0]:
                    best = (spread, index, channel)
        if best is None or best[0] == 0:
            break
        _, index, channel = best
        box = sorted(boxes.pop(index), key=lambda item: item[0][channel])
        total = sum(n for _, n in box)
        running, cut = 0, 1
        for i, (_, n) in enumerate(box[:-1]):
            running += n
            if running * 2 >= total:
                cut = i + 1
                break
        else:
            cut = len(box) - 1
        boxes += [box[:cut], box[cut:]]
    palette = []
    for box in boxes:
        total = sum(n for _, n in box)
        palette.append(tuple((sum(c[k] * n for c, n in box) + total // 2) // total for k in range(3)))
    return sorted(set(palette))


def nearest(palette, colour, cache):
    if colour not in cache:
        cache[colour] = min(range(len(palette)),
                            key=lambda i: sum((palette[i][k] - colour[k]) ** 2 for k in range(3)))
    return cache[colour]


def shown(pixel):
    """Whether an entry without alpha shows this pixel rather than masking it."""
    return pixel[3] >= 128


def and_mask(image, visible):
    """The 1-bit mask, bottom row first, rows padded to 4 bytes; 1 = transparent."""
    row_bytes = (image.size + 31) // 32 * 4
    out = bytearray()
    for y in reversed(range(image.size)):
        line = bytearray(row_bytes)
        for x, pixel in enumerate(image.row(y)):
            if not visible(pixel):
                line[x // 8] |= 0x80 >> (x % 8)
        out += line
    return bytes(out)


def pad(row):
    return row + bytes(-len(row) % 4)


def bmp_entry(image, bits):
    size = image.size
    palette = b""
    colours = 0
    if bits == 8:
        histogram = {}
        for pixel in image.pixels:
            if shown(pixel):
                histogram[pixel[:3]] = histogram.get(pixel[:3], 0) + 1
        table = median_cut(histogram)
        cache = {}
        rows = []
        for y in reversed(range(size)):
            rows.append(pad(bytes(nearest(table, p[:3], cache) if shown(p) else 0 for p in image.row(y))))
        colours = 256
        table = table + [(0, 0, 0)] * (colours - len(table))
        palette = b"".join(bytes((b, g, r, 0)) for r, g, b in table)
        mask = and_mask(image, shown)
    elif bits == 24:
        rows = []
        for y in reversed(range(size)):
            rows.append(pad(b"".join(bytes((p[2], p[1], p[0])) if shown(p) else bytes(3) for p in image.row(y))))
        mask = and_mask(image, shown)
    elif bits == 32:
        rows = [b"".join(bytes((p[2], p[1], p[0], p[3])) for p in image.row(y)) for y in reversed(range(size))]
        mask = and_mask(image, lambda p: p[3] > 0)
    else:
        raise ValueError(f"no BMP entry with {bits} bits per pixel")
    bitmap = b"".join(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, len(bitmap) + len(mask), 0, 0, colours, 0)
    return header + palette + bitmap + mask


def write_ico(path, images):
    entries = []
    for size, bits in LAYOUT:
        if size not in images:
            raise ValueError(f"no {size}x{size} image given")
        entries.append((size, bits, bmp_entry(images[size], bits)))
    directory = struct.pack("<HHH", 0, 1, len(entries))
    offset = len(directory) + 16 * len(entries)
    body = b""
    for size, bits, data in entries:
        directory += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, bits, len(data), offset)
        offset += len(data)
        body += data
    with open(path, "wb") as f:
        f.write(directory + body)


def main(argv):
    if len(argv) < 3:
        sys.exit(__doc__)
    images = {}
    for argument in argv[2:]:
        size_text, _, png = argument.partition("=")
        image = read_png(png)
        if image.size != int(size_text):
            sys.exit(f"{png}: {image.size}x{image.size}, expected {size_text}x{size_text}")
        images[image.size] = image
    try:
        write_ico(argv[1], images)
    except ValueError as error:
        sys.exit(f"{argv[1]}: {error}")


if __name__ == "__main__":
    main(sys.argv)
