#pragma once
// Line and column of a place in text or in UTF-8 bytes, counted as the codecs report them: lines
// end at CR LF, lone CR or lone LF; a column is a character (a surrogate pair is one). Only
// errors need them, so they walk from the start.

#include "text/codec/codec_error.h"

namespace orvane::codepage {

inline bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c < 0xDC00; }
inline bool isLowSurrogate(char16_t c) { return c >= 0xDC00 && c < 0xE000; }

// Adds the line ends before offset to at.line and returns the start of offset's line. Works on
// units of any width: CR and LF are never part of a longer sequence in any of the codecs.
template <typename Unit> qsizetype countLines(const Unit *src, qsizetype offset, Position &at)
{
    qsizetype lineStart = 0;
    for (qsizetype k = 0; k < offset; ++k) {
        if (src[k] == '\r') {
            if (k + 1 < offset && src[k + 1] == '\n')
                ++k;
        } else if (src[k] != '\n') {
            continue;
        }
        ++at.line;
        lineStart = k + 1;
    }
    return lineStart;
}

// The position of UTF-16 unit `offset`.
Position positionOfUnit(const char16_t *text, qsizetype offset);
// The position of byte `offset` of UTF-8 that is well-formed before it.
Position positionOfUtf8Byte(const unsigned char *bytes, qsizetype offset);

// The index of the first surrogate without its partner, or size. Sets endsInHigh when that
// surrogate is a high one in the last unit, which a following unit could still complete.
qsizetype firstUnpairedSurrogate(const char16_t *text, qsizetype size, bool *endsInHigh = nullptr);

} // namespace orvane::codepage
