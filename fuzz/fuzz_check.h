#pragma once
// What the fuzz targets share beside the slow reference: how a failed property stops the run, how
// an input becomes text, and the checks every decoder owes its callers.

#include "tests/reference/reference.h"
#include "text/codec/cp932.h"

#include <QByteArrayView>
#include <QString>

#include <algorithm>
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

// Decodes bytes with decode(bytes, text, error = nullptr) -> bool and checks what every decoder
// owes its callers: a failure stops at the first bad sequence, text holds exactly what the bytes
// before it decode to, line and column point at it; and a shorter input (cut inside the last few
// bytes, as a block of a stream may end) is consistent with the whole, failing for good only where
// the whole fails too. Returns whether the whole decoded. A stateful decoder (ISO-2022-JP) is not
// asked to fail again on the bytes from the bad one on: they start over in its first state.
template <typename Decode>
bool checkDecoder(Decode decode, QByteArrayView bytes, QString &text, bool stateless = true)
{
    codec::cp932::DecodeError error;
    const bool ok = decode(bytes, text, &error);
    if (!ok) {
        const codec::cp932::Position &at = error.at;
        FUZZ_CHECK(at.offset >= 0 && at.offset < bytes.size());
        QString before;
        FUZZ_CHECK(decode(bytes.first(at.offset), before));
        FUZZ_CHECK(before == text);
        QString rest;
        codec::cp932::DecodeError restError;
        FUZZ_CHECK(!stateless
                   || (!decode(bytes.sliced(at.offset), rest, &restError) && restError.at.offset == 0));
        const codec::cp932::Position expected = reference::positionIn(text, text.size());
        FUZZ_CHECK(at.line == expected.line && at.column == expected.column);
    }
    const qsizetype cutBy = bytes.empty() ? 0 : 1 + uchar(bytes[0]) % 4;
    const QByteArrayView cut = bytes.first(std::max<qsizetype>(0, bytes.size() - cutBy));
    QString cutText;
    codec::cp932::DecodeError cutError;
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
