#!/usr/bin/env python3
"""Writes japanese_lines.txt: lines of real Japanese text, the detection test's corpus.

Run from anywhere:  python3 tests/data/make_japanese_lines.py > tests/data/japanese_lines.txt

The lines are the Japanese translations (msgstr) of the message catalogues of Debian 12 packages
(vim, coreutils, bash, grep, dpkg, apt, gnupg, glib, gtk), each line with at least five
characters outside ASCII, every one storable in code page 932, without duplicates, in a fixed
shuffled order, at most 4,000 of them.
"""

import gettext
import random
import sys

CATALOGUES = [
    "/usr/share/vim/vim90/lang/ja/LC_MESSAGES/vim.mo",
    "/usr/share/locale/ja/LC_MESSAGES/coreutils.mo",
    "/usr/share/locale/ja/LC_MESSAGES/bash.mo",
    "/usr/share/locale/ja/LC_MESSAGES/grep.mo",
    "/usr/share/locale/ja/LC_MESSAGES/dpkg.mo",
    "/usr/share/locale/ja/LC_MESSAGES/apt.mo",
    "/usr/share/locale/ja/LC_MESSAGES/gnupg2.mo",
    "/usr/share/locale/ja/LC_MESSAGES/glib20.mo",
    "/usr/share/locale/ja/LC_MESSAGES/gtk30.mo",
]


def main():
    seen = set()
    lines = []
    for path in CATALOGUES:
        with open(path, "rb") as f:
            catalogue = gettext.GNUTranslations(f)
        for message in catalogue._catalog.values():
            for line in message.split("\n"):
                line = line.strip()
                if sum(1 for c in line if ord(c) >= 0x80) < 5 or line in seen:
                    continue
                # gnupg's lines that open with a |…| field marker, and the one that cites ZeroMQ's
                # documents, say nothing of Japanese text.
                if line.startswith("|") or "ZeroMQ" in line:
                    continue
                try:
                    line.encode("cp932")
                except UnicodeEncodeError:
                    continue
                seen.add(line)
                lines.append(line)
    lines.sort()
    random.Random(22).shuffle(lines)
    sys.stdout.write("".join(line + "\n" for line in lines[:4000]))
    sys.stderr.write("%d lines of %d\n" % (min(len(lines), 4000), len(lines)))


if __name__ == "__main__":
    main()
