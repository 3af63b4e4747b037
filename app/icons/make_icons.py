#!/usr/bin/env python3
"""Draws the program's icon from the pixel grid below and writes it as PNG files (16, 32, 48 and
64 pixels, each pixel of the 16-pixel design scaled up), an SVG of the same pixels and a Windows
.ico holding the 16 and 32 pixel PNGs. Needs nothing but the Python standard library.

Run it from anywhere: python3 app/icons/make_icons.py
"""

import os
import struct
import zlib

# A page with a folded corner: "A", an arrow, "ア". 16 colours at most, '.' is transparent.
GRID = [
    "..kkkkkkkkk.....",
    "..kwwwwwwwkk....",
    "..kwwwwwwwkwk...",
    "..kwwnwwwwkkkk..",
    "..kwnwnwwwwwwk..",
    "..kwnwnwwwwgwk..",
    "..kwnnnwwwwgwk..",
    "..kwnwnwwwwgwk..",
    "..kwnwnwwwgggk..",
    "..kwwwwwwwwgwk..",
    "..kwrrrrrwwwwk..",
    "..kwwwwwrwwwwk..",
    "..kwwwrrwwwwwk..",
    "..kwwwrwwwwwwk..",
    "..kwwrwwwwwwwk..",
    "..kkkkkkkkkkkk..",
]

# Entries of the classic 16-colour palette that the design uses; index 0 is transparent.
PALETTE = {
    ".": (0, 0, 0),
    "k": (0, 0, 0),
    "w": (255, 255, 255),
    "g": (128, 128, 128),
    "n": (0, 0, 128),
    "r": (128, 0, 0),
}
KEYS = list(PALETTE)
assert len(KEYS) <= 16 and all(len(row) == 16 for row in GRID) and len(GRID) == 16


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)


def png(scale):
    size = 16 * scale
    rows = b""
    for row in GRID:
        line = bytes(KEYS.index(c) for c in row for _ in range(scale))
        rows += (b"\0" + line) * scale
    palette = b"".join(bytes(PALETTE[k]) for k in KEYS)
    transparency = bytes(0 if k == "." else 255 for k in KEYS)
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 3, 0, 0, 0))
            + chunk(b"PLTE", palette)
            + chunk(b"tRNS", transparency)
            + chunk(b"IDAT", zlib.compress(rows, 9))
            + chunk(b"IEND", b""))


def svg():
    rects = []
    for y, row in enumerate(GRID):
        for x, c in enumerate(row):
            if c != ".":
                rects.append('<rect x="%d" y="%d" width="1" height="1" fill="#%02x%02x%02x"/>' % ((x, y) + PALETTE[c]))
    return ('<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 16 16" width="16" height="16" '
            'shape-rendering="crispEdges">\n' + "\n".join(rects) + "\n</svg>\n")


def ico(images):
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    for size, data in images:
        entries += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    return header + entries + b"".join(data for _, data in images)


here = os.path.dirname(os.path.abspath(__file__))
for scale in (1, 2, 3, 4):
    with open(os.path.join(here, "orvane-%d.png" % (16 * scale)), "wb") as f:
        f.write(png(scale))
with open(os.path.join(here, "orvane.svg"), "w") as f:
    f.write(svg())
with open(os.path.join(here, "orvane.ico"), "wb") as f:
    f.write(ico([(16, png(1)), (32, png(2))]))
