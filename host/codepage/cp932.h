#pragma once
// Code page 932 (Windows Shift-JIS) as Windows decodes and writes it, for the document's files.
// Table-driven because no library available here does exactly this (see cp932.cpp); the tables
// come from gen_cp932_tables.py.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace orvane::cp932 {

// Where conversion stopped: line and column are 1-based; lines end at CR LF, lone CR or lone LF,
// and columns count characters (a surrogate pair is one).
struct Position {
    qsizetype offset = 0; // byte offset (decoding) or UTF-16 index (encoding) of the bad sequence
    qsizetype line = 1;
    qsizetype column = 1;
};

struct DecodeError {
    Position at;
};

struct EncodeError {
    Position at;
    char32_t codePoint = 0; // the character that code page 932 cannot store
};

// Decodes every byte; returns false at the first sequence that is not a character of the code page
// (a lead byte with a trail byte outside 0x40-0x7E / 0x80-0xFC, reported at the lead byte; an
// unassigned pair; a lead byte at the end). On failure text holds the characters before it.
bool decode(QByteArrayView bytes, QString &text, DecodeError *error = nullptr);

// Encodes every character; returns false at the first one the code page cannot store (a lone
// surrogate is reported as itself). On failure bytes holds the codes of the characters before it.
bool encode(QStringView text, QByteArray &bytes, EncodeError *error = nullptr);

// True when the character has a code in code page 932 (including the JIS variants written as their
// JIS character, such as U+301C).
bool canEncode(char32_t codePoint);

} // namespace orvane::cp932
