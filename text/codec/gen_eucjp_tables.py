#!/usr/bin/env python3
"""Generates eucjp_tables.h, the decode and encode tables of EUC-JP (and of ISO-2022-JP, which
holds the same JIS codes with the high bits cleared).

Run from anywhere:  python3 text/codec/gen_eucjp_tables.py > text/codec/eucjp_tables.h

Sources and rules:
- JIS X 0208 (two bytes 0xA1-0xFE) reads as Python's `cp932` reads the Shift-JIS code of the
  same JIS row and cell, so that a file converted between the two encodings is the same text.
  That covers NEC row 13 (0xADA1-0xADFE) and puts the NEC-selected IBM extensions in rows
  89-92 (0xF9A1-0xFCFE) where Windows' code page 51932 has them.
- Rows 85-88 and 93-94 (0xF5A1-0xF8FE, 0xFDA1-0xFEFE) and JIS X 0212 (0x8F + two bytes, with
  the IBM extensions at 0x8FF3F3-0x8FF4FE and the user-defined area at 0x8FF5A1-0x8FFEFE) read as
  glibc's EUC-JP-MS (eucJP-ms) reads them, through its iconv.
- Half-width katakana: 0x8E + 0xA1-0xDF is U+FF61-U+FF9F.
- Encoding is the inverse, a character with several codes written with, in this order: its
  JIS X 0208 code, NEC row 13, JIS X 0212 (with the IBM extensions), rows 89-92, the user-defined
  rows. The seven JIS-variant characters of the code page 932 tables are written at their JIS
  X 0208 code, as there.
"""

import ctypes
import ctypes.util
import platform
import sys

libc = ctypes.CDLL(ctypes.util.find_library("c"), use_errno=True)
libc.iconv_open.restype = ctypes.c_void_p
libc.iconv_open.argtypes = [ctypes.c_char_p, ctypes.c_char_p]
libc.iconv.restype = ctypes.c_size_t
libc.iconv.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_char_p), ctypes.POINTER(ctypes.c_size_t),
                       ctypes.POINTER(ctypes.c_char_p), ctypes.POINTER(ctypes.c_size_t)]
libc.gnu_get_libc_version.restype = ctypes.c_char_p


def glibc_decoder(name):
    cd = libc.iconv_open(b"UTF-32BE", name.encode())
    assert cd != ctypes.c_void_p(-1).value, name

    def decode(data):
        libc.iconv(cd, None, None, None, None)
        src = ctypes.create_string_buffer(data, len(data))
        dst = ctypes.create_string_buffer(16)
        ip, il = ctypes.c_char_p(ctypes.addressof(src)), ctypes.c_size_t(len(data))
        op, ol = ctypes.c_char_p(ctypes.addressof(dst)), ctypes.c_size_t(16)
        if libc.iconv(cd, ctypes.byref(ip), ctypes.byref(il), ctypes.byref(op), ctypes.byref(ol)) == 2**64 - 1:
            return None
        out = dst.raw[:16 - ol.value]
        return int.from_bytes(out, "big") if len(out) == 4 else None
    return decode


# As in gen_cp932_tables.py: JIS-variant characters written at the JIS X 0208 code whose
# Microsoft reading is another character.
JIS_VARIANTS = {0x301C: 0xA1C1, 0x2016: 0xA1C2, 0x2212: 0xA1DD, 0x00A2: 0xA1F1, 0x00A3: 0xA1F2,
                0x00AC: 0xA2CC, 0x2014: 0xA1BD}


def sjis_of(row, cell):
    """The Shift-JIS code of JIS row and cell (1-94)."""
    lead = (row + 1) // 2 + (0x80 if row <= 62 else 0xC0)
    if row % 2:
        trail = cell + 0x3F + (1 if cell >= 64 else 0)
    else:
        trail = cell + 0x9E
    return bytes([lead, trail])


def cp932_one(data):
    try:
        text = data.decode("cp932")
    except UnicodeDecodeError:
        return 0
    return ord(text) if len(text) == 1 else 0


def build():
    ms = glibc_decoder("EUC-JP-MS")
    primary = [[0] * 94 for _ in range(94)]
    secondary = [[0] * 94 for _ in range(94)]
    for row in range(1, 95):
        for cell in range(1, 95):
            euc = bytes([0xA0 + row, 0xA0 + cell])
            u = cp932_one(sjis_of(row, cell))
            if not u and (85 <= row <= 88 or row >= 93):
                u = ms(euc) or 0
            primary[row - 1][cell - 1] = u
            secondary[row - 1][cell - 1] = ms(b"\x8F" + euc) or 0
    for table in (primary, secondary):
        for r in table:
            assert all(0x80 <= u < 0xD800 or 0xE000 <= u < 0xFFFF for u in r if u)
    # The rules the converter relies on.
    assert primary[0][0x41 - 1 - 0x20] == 0xFF5E  # 0xA1C1 is the character 0x8160 is
    assert primary[12][0] == 0x2460 and primary[88][0] == cp932_one(b"\xED\x40")
    assert secondary[0x73 - 0x21][0x73 - 0x21] == 0x2170 and secondary[0x75 - 0x21][0] == 0xE3AC

    def preference(code):
        if code < 0x100:
            return 0  # half-width katakana
        if code >= 0x8080:
            row = (code >> 8) - 0xA0
            return 0 if row <= 84 and row != 13 else 1 if row == 13 else 3 if 89 <= row <= 92 else 4
        return 2

    codes = {}
    for b in range(0xA1, 0xE0):
        codes.setdefault(0xFF61 + b - 0xA1, []).append(b)
    for row in range(94):
        for cell in range(94):
            if primary[row][cell]:
                codes.setdefault(primary[row][cell], []).append((0xA1 + row) << 8 | (0xA1 + cell))
            if secondary[row][cell]:
                codes.setdefault(secondary[row][cell], []).append((0x21 + row) << 8 | (0x21 + cell))
    encode = {u: min(cs, key=lambda c: (preference(c), c)) for u, cs in codes.items()}
    for u, c in JIS_VARIANTS.items():
        assert u not in encode and primary[(c >> 8) - 0xA1][(c & 0xFF) - 0xA1]
        encode[u] = c
    stats = {
        "JIS X 0208 plane characters": sum(1 for r in primary for u in r if u),
        "JIS X 0212 plane characters": sum(1 for r in secondary for u in r if u),
        "encodable characters (without ASCII)": len(encode),
        "codes read back as other codes": sum(len(cs) - 1 for cs in codes.values()),
    }
    return primary, secondary, encode, stats


def hex4(v):
    return "0x%04X" % v


def emit(primary, secondary, encode, stats):
    out = []
    w = out.append
    w("#pragma once")
    w("// EUC-JP tables. Generated by text/codec/gen_eucjp_tables.py from the cp932 codec of Python")
    w("// %s and the EUC-JP-MS converter of glibc %s; do not edit by hand, run the script again."
      % (platform.python_version(), libc.gnu_get_libc_version().decode()))
    w("//")
    for k, v in stats.items():
        w("// %s: %d" % (k, v))
    w("")
    w("#include <cstdint>")
    w("")
    w("namespace orvane::codec::eucjp::tables {")
    w("")
    for name, table, lead, what in (("primary", primary, "", "JIS X 0208 with the rows named above"),
                                    ("secondary", secondary, "8F", "JIS X 0212 with the IBM extensions")):
        w("// %s: [byte - 0xA1][byte - 0xA1] of the two bytes (after 0x8F where named); 0 is unassigned." % what)
        w("constexpr char16_t %s[94][94] = {" % name)
        for row in range(94):
            w("    { // %s%02X" % (lead, 0xA1 + row))
            for i in range(0, 94, 16):
                w("        %s," % ", ".join(hex4(u) for u in table[row][i:i + 16]))
            w("    },")
        w("};")
        w("")
    pages = sorted({u >> 8 for u in encode})
    index = {p: i + 1 for i, p in enumerate(pages)}
    w("// Encoding of characters from U+0080: encodePage[high byte] selects a page of encodePages (0 is")
    w("// all zero). An entry is 0 (not encodable), a half-width katakana byte 0xA1-0xDF (after 0x8E),")
    w("// a JIS X 0212 code 0x2121-0x7E7E (after 0x8F, high bits set) or a two-byte code 0xA1A1-0xFEFE.")
    w("constexpr uint8_t encodePage[256] = {")
    for base in range(0, 256, 16):
        w("    /* U+%02X00 */ %s," % (base, ", ".join("%3d" % index.get(p, 0) for p in range(base, base + 16))))
    w("};")
    w("")
    w("constexpr uint16_t encodePages[][256] = {")
    w("    {},")
    for p in pages:
        w("    { // U+%02X00" % p)
        for i in range(0, 256, 16):
            w("        %s," % ", ".join(hex4(encode.get(p << 8 | (i + j), 0)) for j in range(16)))
        w("    },")
    w("};")
    w("")
    w("} // namespace orvane::codec::eucjp::tables")
    return "\n".join(out) + "\n"


def main():
    primary, secondary, encode, stats = build()
    sys.stdout.write(emit(primary, secondary, encode, stats))
    sys.stderr.write("".join("%s: %d\n" % kv for kv in stats.items()))


if __name__ == "__main__":
    main()
