#pragma once
// Line and column of a place in text or in encoded bytes, counted alike by the codecs' errors and by
// orvane-conv over a stream: lines end at CR LF, lone CR or lone LF; a column is a character (a
// surrogate pair is one). Counted from the start of a text, or resumed piece by piece.

#include "text/codec/codec_error.h"

#include <QStringView>

namespace orvane::codec {

inline bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c < 0xDC00; }
inline bool isLowSurrogate(char16_t c) { return c >= 0xDC00 && c < 0xE000; }

// The line ends in units[0, size): every CR, and every LF but one right after a CR. units never
// starts right after a CR. CR and LF are never part of a longer sequence in any of the codecs, so
// this works on the bytes of each encoding as on UTF-16.
qsizetype countLineEnds(const unsigned char *units, qsizetype size);
qsizetype countLineEnds(const char16_t *units, qsizetype size);

// Moves at past units[0, size), a piece of a longer text that at points to the start of: adds the
// line ends and counts the columns of the piece's last line with columns(lineStart, size). A piece
// never ends between CR and LF, nor inside a character.
template <typename Unit, typename Columns>
void advance(Position &at, const Unit *units, qsizetype size, Columns columns)
{
    qsizetype lineStart = size;
    while (lineStart > 0 && units[lineStart - 1] != '\r' && units[lineStart - 1] != '\n')
        --lineStart;
    if (lineStart > 0) {
        at.line += countLineEnds(units, lineStart);
        at.column = 1;
    }
    at.column += columns(lineStart, size);
    at.offset += size;
}

// The same for the pieces of each kind of text: UTF-16, well-formed UTF-8, and code page 932 that
// decodes cleanly.
void advance(Position &at, QStringView text);
void advanceUtf8(Position &at, const unsigned char *bytes, qsizetype size);
void advanceCp932(Position &at, const unsigned char *bytes, qsizetype size);

// The position of a place given relative to a piece that starts at start.
inline Position continued(Position start, Position inPiece)
{
    if (inPiece.line == 1)
        return {start.offset + inPiece.offset, start.line, start.column + inPiece.column - 1};
    return {start.offset + inPiece.offset, start.line + inPiece.line - 1, inPiece.column};
}

// The position of UTF-16 unit `offset`.
Position positionOfUnit(const char16_t *text, qsizetype offset);

// The end of an encode of the size units at src that stopped at bad: true when it stored them
// all, else false with error (when given) naming the character at bad (a surrogate pair as one).
bool storedAll(const char16_t *src, qsizetype bad, qsizetype size, EncodeError *error);
// The position of byte `offset` of UTF-8 that is well-formed before it.
Position positionOfUtf8Byte(const unsigned char *bytes, qsizetype offset);
// The position of byte `offset` of code page 932 that decodes cleanly before it.
Position positionOfCp932Byte(const unsigned char *bytes, qsizetype offset);

// The index of the first surrogate without its partner, or size. Sets endsInHigh when that
// surrogate is a high one in the last unit, which a following unit could still complete.
qsizetype firstUnpairedSurrogate(const char16_t *text, qsizetype size, bool *endsInHigh = nullptr);

} // namespace orvane::codec
