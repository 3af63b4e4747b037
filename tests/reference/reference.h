#pragma once
// Slow, obviously correct versions of the text engine's fast code, written from the table rows one
// unit at a time, for the unit tests and the fuzz targets to compare it with. Speed is no concern
// here; being plainly right is.

#include "text/chars/conversion_kind.h"
#include "text/chars/instr.h"
#include "text/codec/codec_error.h"
#include "text/codec/text_encoding.h"

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <utility>

namespace orvane::reference {

// The kind's conversion of text, one character at a time straight from the table rows.
QString convertOneByOne(chars::ConversionKind kind, QStringView text);

// InStr by plain comparison at every position; text comparison folds both strings first.
chars::Match findOneByOne(qsizetype start, QStringView text, QStringView sought, chars::CompareMode mode);

// Every non-overlapping match of sought replaced, searched with findOneByOne from the end of the
// previous match; the number of matches beside the new text.
std::pair<QString, qsizetype> replaceOneByOne(QStringView text, QStringView sought, QStringView replacement,
                                              chars::CompareMode mode);

// The text without the line end after its last line (CR LF, lone CR or lone LF), if it has one.
QString withoutLastLineEnd(QStringView text);

// Line and column of the UTF-16 index offset in text, counted from its start.
codec::Position positionIn(QStringView text, qsizetype offset);

// The character at UTF-16 index i: a surrogate pair's code point, or the unit itself.
char32_t codePointAt(QStringView text, qsizetype i);

// Whether the encoding stores every character of text (a lone surrogate as itself).
bool storable(QStringView text, codec::TextEncoding encoding = codec::TextEncoding::ShiftJis);
bool stores(codec::TextEncoding encoding, char32_t c);

// EUC-JP or ISO-2022-JP decoded one sequence at a time from the code tables; false at any bad one.
bool decodeJisOneByOne(codec::TextEncoding encoding, QByteArrayView bytes, QString &text);

} // namespace orvane::reference
