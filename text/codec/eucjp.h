#pragma once
// EUC-JP as Japanese Unix files and Windows' code page 51932 have it: ASCII, JIS X 0208 with NEC
// row 13 and the IBM extensions, half-width katakana after 0x8E, JIS X 0212 after 0x8F. A JIS X 0208
// character reads as the same character as its Shift-JIS code does. Tables: gen_eucjp_tables.py.

#include "text/codec/codec_error.h"
#include "text/codec/cp932_file_codes.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <array>
#include <memory>
#include <vector>

namespace orvane::codec::eucjp {

using codec::DecodeError;
using codec::EncodeError;
using cp932::FileCodes;

// Decodes every byte; returns false at the first sequence that is no character (reported at its
// first byte; one the end cut off sets truncated). Bytes 0x80-0xFF outside a sequence, C1 controls
// included, are invalid. On failure text holds the characters before it. With codes, a successful
// decode also tells which of a character's several codes the bytes used, where that is not the one
// encode would write.
bool decode(QByteArrayView bytes, QString &text, DecodeError *error = nullptr, FileCodes *codes = nullptr);

// Encodes every character; returns false at the first one EUC-JP cannot store (a lone surrogate is
// reported as itself). A character that codes names is written with the file's code; every other
// one with its JIS X 0208 code first, then NEC row 13, then JIS X 0212, then rows 89-92.
bool encode(QStringView text, QByteArray &bytes, EncodeError *error = nullptr,
            const FileCodes *codes = nullptr);

// The code a character is written with: 0 when none; a byte 0xA1-0xDF for half-width katakana
// (after 0x8E); 0x2121-0x7E7E for JIS X 0212 (after 0x8F, high bits set); else the two bytes
// 0xA1A1-0xFEFE. Characters below U+0080 are ASCII and not in it. ISO-2022-JP uses the same codes.
uint16_t codeOf(char16_t c);
// The character of a two-byte code (JIS X 0208 plane) or a JIS X 0212 code as codeOf gives them,
// bytes 0xA1-0xFE; 0 when unassigned.
char16_t primaryCharacter(unsigned first, unsigned second);
char16_t secondaryCharacter(unsigned first, unsigned second);

// True when the character has a code in EUC-JP.
bool canEncode(char32_t codePoint);

// Whether more than one code reads as the character.
bool hasSeveralCodes(char16_t c);

// The codes a decode of EUC-JP or ISO-2022-JP met for characters with several: the first one of
// each, kept where it is not the one encode writes. Owns a set of the characters seen, made at the
// first such character.
class CodeRecorder {
public:
    // c has several codes (hasSeveralCodes); code as codeOf gives it.
    void note(char16_t c, uint16_t code);
    FileCodes codes() const;

private:
    std::unique_ptr<std::array<uint64_t, 0x10000 / 64>> m_seen;
    std::vector<FileCodes::Entry> m_found; // sorted by character when taken
};

} // namespace orvane::codec::eucjp
