#pragma once
// Slow, obviously correct versions of the fast text code, written from the table rows one unit at
// a time, and the checks the fuzz targets share. Speed is no concern here; being plainly right is.

#include "text/chars/conversion_kind.h"
#include "text/chars/instr.h"
#include "text/codec/cp932.h"
#include "text/codec/text_encoding.h"

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// Stops the run with the failed property, so that libFuzzer keeps the input as a reproducer.
#define FUZZ_CHECK(condition)                                                                                \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition);            \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (false)

namespace orvane::fuzz {

// The input as UTF-16 LE units; an odd last byte is dropped.
QString unitsOf(const uint8_t *data, size_t size);

inline constexpr ConversionKind allKinds[]
    = {ConversionKind::Upper,     ConversionKind::Lower,       ConversionKind::Wide,
       ConversionKind::Narrow,    ConversionKind::Katakana,    ConversionKind::Hiragana,
       ConversionKind::WideAscii, ConversionKind::NarrowAscii, ConversionKind::WideKana,
       ConversionKind::NarrowKana};

QString convertOneByOne(ConversionKind kind, QStringView text);

// InStr by plain comparison at every position; text comparison folds both strings first.
text::Match findOneByOne(qsizetype start, QStringView text, QStringView sought, text::CompareMode mode);

// The lines of text, ended by CR LF, lone CR or lone LF, joined by CR LF; no line end after the last.
QString joinedLines(QStringView text);

// Line and column of the UTF-16 index offset in text, counted from its start.
cp932::Position positionIn(QStringView text, qsizetype offset);

// The character at UTF-16 index i: a surrogate pair's code point, or the unit itself.
char32_t codePointAt(QStringView text, qsizetype i);

// Whether the encoding stores every character of text (a lone surrogate as itself).
bool storable(QStringView text, TextEncoding encoding = TextEncoding::ShiftJis);
bool stores(TextEncoding encoding, char32_t c);

// Decodes bytes with decode(bytes, text, error = nullptr) -> bool and checks what every decoder
// owes its callers: a failure stops at the first bad sequence, text holds exactly what the bytes
// before it decode to, line and column point at it; and a shorter input (cut inside the last few
// bytes, as a block of a stream may end) is consistent with the whole, failing for good only where
// the whole fails too. Returns whether the whole decoded.
template <typename Decode> bool checkDecoder(Decode decode, QByteArrayView bytes, QString &text)
{
    cp932::DecodeError error;
    const bool ok = decode(bytes, text, &error);
    if (!ok) {
        const cp932::Position &at = error.at;
        FUZZ_CHECK(at.offset >= 0 && at.offset < bytes.size());
        QString before;
        FUZZ_CHECK(decode(bytes.first(at.offset), before));
        FUZZ_CHECK(before == text);
        QString rest;
        cp932::DecodeError restError;
        FUZZ_CHECK(!decode(bytes.sliced(at.offset), rest, &restError) && restError.at.offset == 0);
        const cp932::Position expected = positionIn(text, text.size());
        FUZZ_CHECK(at.line == expected.line && at.column == expected.column);
    }
    const qsizetype cutBy = bytes.empty() ? 0 : 1 + uchar(bytes[0]) % 4;
    const QByteArrayView cut = bytes.first(std::max<qsizetype>(0, bytes.size() - cutBy));
    QString cutText;
    cp932::DecodeError cutError;
    if (decode(cut, cutText, &cutError)) {
        FUZZ_CHECK(text.startsWith(cutText) && (ok || error.at.offset >= cut.size()));
    } else if (cutError.truncated) {
        FUZZ_CHECK(ok || error.at.offset >= cutError.at.offset);
    } else {
        FUZZ_CHECK(!ok && error.at.offset == cutError.at.offset);
    }
    return ok;
}

} // namespace orvane::fuzz
