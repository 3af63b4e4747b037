#pragma once
// Slow, obviously correct versions of the fast text code, written from the table rows one unit at
// a time, and the checks the fuzz targets share. Speed is no concern here; being plainly right is.

#include "convert/conversion_kind.h"
#include "host/codepage/cp932.h"
#include "host/text/instr.h"

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// Stops the run with the failed property, so that libFuzzer keeps the input as a reproducer.
#define FUZZ_CHECK(condition)                                                                         \
    do {                                                                                              \
        if (!(condition)) {                                                                           \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition);     \
            std::abort();                                                                             \
        }                                                                                             \
    } while (false)

namespace orvane::fuzz {

// The input as UTF-16 LE units; an odd last byte is dropped.
QString unitsOf(const uint8_t *data, size_t size);

QString convertOneByOne(ConversionKind kind, QStringView text);

// InStr by plain comparison at every position; text comparison folds both strings first.
text::Match findOneByOne(qsizetype start, QStringView text, QStringView sought, text::CompareMode mode);

// Line and column of the UTF-16 index offset in text, counted from its start.
cp932::Position positionIn(QStringView text, qsizetype offset);

// Whether code page 932 stores every character of text.
bool storable(QStringView text);

// The properties of a decoder's failure: it stopped at the first bad sequence, text holds exactly
// what the bytes before it decode to, and line and column point at it.
template <typename Decode>
void checkDecodeFailure(Decode decode, QByteArrayView bytes, const QString &text, const cp932::Position &at)
{
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

} // namespace orvane::fuzz
