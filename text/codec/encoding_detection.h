#pragma once
// Which encoding a document's bytes are in, by their own evidence: the one rule both programs follow
// (the editor's Open, and orvane-conv's --from auto).

#include "text/codec/text_encoding.h"

#include <QByteArrayView>

namespace orvane::codepage {

struct DetectedEncoding {
    TextEncoding encoding = TextEncoding::ShiftJis;
    // UTF-8 with a multi-byte sequence that is valid Shift-JIS too (ﾃｽ = C3 BD): which one the
    // bytes mean is the caller's decision.
    bool validAsBoth = false;
};

// A byte-order mark decides (EF BB BF UTF-8 with its mark, FF FE UTF-16 LE, FE FF UTF-16 BE), the
// rest unchecked; else valid UTF-8 with a multi-byte sequence is UTF-8; else Shift-JIS, which
// includes ASCII and bytes valid in neither. complete: bytes are the whole input, not only its start
// (which may end inside a character).
DetectedEncoding detectEncoding(QByteArrayView bytes, bool complete = true);

} // namespace orvane::codepage
