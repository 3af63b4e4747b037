#pragma once
// Where a conversion between bytes and text stopped, shared by every codec of the document's
// files, so that their callers report a bad byte or an unstorable character the same way.

#include <QtGlobal>

namespace orvane::codec {

// Line and column are 1-based; lines end at CR LF, lone CR or lone LF, and columns count
// characters (a surrogate pair is one).
struct Position {
    qsizetype offset = 0; // byte offset (decoding) or UTF-16 index (encoding) of the bad sequence
    qsizetype line = 1;
    qsizetype column = 1;
};

struct DecodeError {
    Position at;
    // The input ended inside a sequence that more bytes could have completed: Open says the file
    // was cut off, and wholeCharacters (block_cut.h) ends a block before such a sequence.
    bool truncated = false;
};

struct EncodeError {
    Position at;
    char32_t codePoint = 0; // the character that the encoding cannot store
};

} // namespace orvane::codec
