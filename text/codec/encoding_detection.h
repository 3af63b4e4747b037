#pragma once
// Which encoding a document's bytes are in, by their own evidence: the one rule both programs follow
// (the editor's Open, and orvane-conv's --from auto).

#include "text/codec/text_encoding.h"

#include <QByteArrayView>

namespace orvane::codec {

struct DetectedEncoding {
    TextEncoding encoding = TextEncoding::ShiftJis;
    // UTF-8 with a multi-byte sequence that is valid Shift-JIS too (ﾃｽ = C3 BD), where neither
    // reading looks clearly more Japanese: which one the bytes mean is the caller's decision.
    bool validAsBoth = false;
    // Bytes that no candidate (UTF-8, Shift-JIS, EUC-JP) decodes; encoding is then Shift-JIS, whose
    // decode names the first bad byte.
    bool fitsNone = false;
};

// A byte-order mark decides (EF BB BF UTF-8 with its mark, FF FE UTF-16 LE, FE FF UTF-16 BE), the
// rest unchecked; 7-bit bytes with an ISO-2022-JP escape sequence that decode as ISO-2022-JP are it; else
// valid UTF-8 with a multi-byte sequence is UTF-8 unless its Shift-JIS reading looks clearly more Japanese;
// else Shift-JIS or EUC-JP, whichever decodes the bytes, and when both do, the reading that looks more
// Japanese (Shift-JIS when they look alike, as for ASCII). complete: bytes are the whole input, not only its
// start (which may end inside a character).
DetectedEncoding detectEncoding(QByteArrayView bytes, bool complete = true);

} // namespace orvane::codec
