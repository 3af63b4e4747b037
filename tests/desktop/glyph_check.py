#!/usr/bin/env python3
"""Tells real glyphs from tofu in screenshot crops of Japanese captions.

A font without Japanese draws every missing character as the same box, so all captions that
start with Japanese characters start with the same row of boxes; drawn with real glyphs, they
start with different characters. Each crop is split into text rows, each row into words (runs of
inked columns with no wider gap than a third of the row's height), and the start of each word,
one row-height wide (about one Japanese character), is its fingerprint. The captions count as real glyphs when the crops hold at
least --min-distinct different fingerprints. Solid blocks (a highlighted menu item) are ignored.

Input: grey-scale plain PGM files (P2), as ImageMagick writes with -compress none.
"""

import argparse
import sys
from collections import Counter


def read_pgm(path):
    with open(path, encoding="ascii") as f:
        tokens = []
        for line in f:
            tokens.extend(line.split("#", 1)[0].split())
    if tokens[0] != "P2":
        raise ValueError(f"{path}: not a plain PGM")
    width, height, maxval = int(tokens[1]), int(tokens[2]), int(tokens[3])
    values = [int(v) * 255 // maxval for v in tokens[4:4 + width * height]]
    return width, height, [values[r * width:(r + 1) * width] for r in range(height)]


def ink_mask(rows):
    # The commonest grey is the background; ink is whatever differs from it clearly, so that dark
    # text on a light background and light text on a highlight both count.
    background = Counter(v for row in rows for v in row).most_common(1)[0][0]
    return [[abs(v - background) > 80 for v in row] for row in rows]


def runs(flags):
    """(start, end) of each run of True values."""
    result, start = [], None
    for i, flag in enumerate(list(flags) + [False]):
        if flag and start is None:
            start = i
        elif not flag and start is not None:
            result.append((start, i))
            start = None
    return result


def word_starts(mask, min_height):
    """The fingerprint (a tuple of row tuples) of the start of every word of the image."""
    found = []
    for top, bottom in runs(any(row) for row in mask):
        band = mask[top:bottom]
        height = bottom - top
        if height < min_height:
            continue
        columns = [any(row[c] for row in band) for c in range(len(band[0]))]
        words = []
        for left, right in runs(columns):
            if words and left - words[-1][1] <= height // 3:
                words[-1] = (words[-1][0], right)
            else:
                words.append((left, right))
        for left, right in words:
            cells = [row[left:min(right, left + height)] for row in band]
            inked = sum(sum(row) for row in cells)
            if inked > 0.9 * len(cells) * len(cells[0]):
                continue
            found.append(tuple(tuple(row) for row in cells))
    return found


def same_start(a, b):
    if abs(len(a) - len(b)) > 1 or abs(len(a[0]) - len(b[0])) > 1:
        return False
    h, w = min(len(a), len(b)), min(len(a[0]), len(b[0]))
    differ = sum(a[r][c] != b[r][c] for r in range(h) for c in range(w))
    inked = sum(a[r][c] or b[r][c] for r in range(h) for c in range(w))
    return differ <= 0.2 * max(inked, 1)


def distinct(found):
    groups = []
    for start in found:
        if not any(same_start(start, g) for g in groups):
            groups.append(start)
    return len(groups)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("images", nargs="+")
    parser.add_argument("--min-distinct", type=int, required=True)
    parser.add_argument("--min-height", type=int, default=7, help="lowest text row in pixels")
    args = parser.parse_args()
    found = []
    for image in args.images:
        _, _, rows = read_pgm(image)
        found.extend(word_starts(ink_mask(rows), args.min_height))
    count = distinct(found)
    print(f"{len(found)} words, {count} different starts (need {args.min_distinct})")
    return 0 if count >= args.min_distinct else 1


if __name__ == "__main__":
    sys.exit(main())
