#pragma once
// Code page 932 (Windows Shift-JIS) as Windows decodes and writes it, for the document's files.
// Table-driven because no library available here does exactly this (see cp932.cpp); the tables
// come from gen_cp932_tables.py.

#include "text/codec/codec_error.h"
#include "text/codec/cp932_file_codes.h"
#include "text/codec/cp932_lead_byte.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace orvane::codec::cp932 {

using codec::DecodeError;
using codec::EncodeError;
using codec::Position;

// Decodes every byte; returns false at the first sequence that is not a character of the code page
// (a lead byte with a trail byte outside 0x40-0x7E / 0x80-0xFC, reported at the lead byte; an
// unassigned pair; a lead byte at the end, which sets truncated). On failure text holds the
// characters before it. With codes, a successful decode also tells which of a character's several
// codes the bytes used (FileCodes).
bool decode(QByteArrayView bytes, QString &text, DecodeError *error = nullptr, FileCodes *codes = nullptr);

// The same decode straight into UTF-8, as the edit control keeps its text, without a detour
// through UTF-16. units is the text's length in UTF-16 code units.
bool decodeToUtf8(QByteArrayView bytes, QByteArray &utf8, qsizetype &units, DecodeError *error = nullptr,
                  FileCodes *codes = nullptr);

// Encodes every character; returns false at the first one the code page cannot store (a lone
// surrogate is reported as itself). On failure bytes holds the codes of the characters before it.
// A character that codes names is written with the file's code, every other one as Windows writes it.
bool encode(QStringView text, QByteArray &bytes, EncodeError *error = nullptr,
            const FileCodes *codes = nullptr);

// The same encode from well-formed UTF-8, as the edit control keeps its text, without a detour
// through UTF-16. On failure the error's offset is the byte's.
bool encodeUtf8(QByteArrayView utf8, QByteArray &bytes, EncodeError *error = nullptr,
                const FileCodes *codes = nullptr);

// True when the character has a code in code page 932 (including the JIS variants written as their
// JIS character, such as U+301C).
bool canEncode(char32_t codePoint);

} // namespace orvane::codec::cp932
