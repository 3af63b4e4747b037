#!/usr/bin/env python3
"""Writes a large file of Japanese prose lines (CR LF) for the big-file benchmarks.

Usage: make_big_file.py PATH MEGABYTES [cp932|utf-8]. The size counts the file's own bytes; the
lines come from a shuffled 4 MB block that repeats, so a gigabyte takes seconds to write.
"""
import random
import sys

SENTENCES = [
    "吾輩は猫である。名前はまだ無い。",
    "どこで生れたかとんと見当がつかぬ。",
    "何でも薄暗いじめじめした所でニャーニャー泣いていた事だけは記憶している。",
    "会議は午前１０時から第３会議室で行います。",
    "新しいバージョン2.4では、検索と置換の速度が大幅に改善されました。",
    "東京都千代田区丸の内１－２－３　ＡＢＣビル５階",
    "お問い合わせは、サポート窓口（support@example.jp）までご連絡ください。",
    "「今日はいい天気ですね」と彼女は言った。",
    "ﾃﾞｰﾀの入力には半角ｶﾀｶﾅを使わないでください。",
    "第一章　春の訪れ",
    "この文書は、社内の手順を説明するためのものです。",
    "価格：12,800円（税込）、送料無料。",
    "",
]


def main():
    path, megabytes = sys.argv[1], int(sys.argv[2])
    encoding = sys.argv[3] if len(sys.argv) > 3 else "cp932"
    rng = random.Random(7)
    encoded = [s.encode(encoding) for s in SENTENCES]
    lines = []
    size = 0
    while size < 4_000_000:
        line = b"".join(rng.choice(encoded) for _ in range(rng.randint(1, 3))) + b"\r\n"
        lines.append(line)
        size += len(line)
    block = b"".join(lines)
    target = megabytes * 1_000_000
    with open(path, "wb") as out:
        written = 0
        while written + len(block) <= target:
            out.write(block)
            written += len(block)
        rest = block[: target - written]
        out.write(rest[: rest.rfind(b"\r\n") + 2] if b"\r\n" in rest else b"")


if __name__ == "__main__":
    main()
