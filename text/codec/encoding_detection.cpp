#include "text/codec/encoding_detection.h"

#include "text/codec/block_cut.h"
#include "text/codec/japanese_score.h"
#include "text/codec/text_codec.h"
#include "text/codec/utf8.h"

#include <QString>

namespace orvane::codec {

namespace {

constexpr qsizetype piece = qsizetype(1) << 20;

struct Reading {
    bool valid = false;
    long long score = 0;
};

// Decodes piece by piece, so that a long input does not need its whole UTF-16 text at once; the
// score only where asked, as most inputs are valid in one candidate only.
Reading read(TextEncoding encoding, QByteArrayView bytes, bool complete, bool scored)
{
    if (!complete)
        bytes = bytes.first(wholeCharacters(encoding, bytes));
    QString text;
    JapaneseScore score;
    while (!bytes.isEmpty()) {
        qsizetype size = bytes.size() <= piece ? bytes.size() : wholeCharacters(encoding, bytes.first(piece));
        if (size == 0)
            size = bytes.size();
        if (!decode(encoding, bytes.first(size), text))
            return {};
        if (scored)
            score.add(text);
        bytes = bytes.sliced(size);
    }
    return {true, score.value()};
}

bool hasIso2022JpEscape(QByteArrayView bytes)
{
    for (const char *escape : {"\x1B$B", "\x1B$@", "\x1B(J", "\x1B(I", "\x1B$(D", "\x1B$(B"}) {
        if (bytes.contains(escape))
            return true;
    }
    return false;
}

// Shift-JIS or EUC-JP. Most inputs fail in one of them within their first piece, and then the
// other is taken without reading further.
DetectedEncoding shiftJisOrEucJp(QByteArrayView bytes, bool complete)
{
    const bool whole = bytes.size() <= piece;
    const QByteArrayView head = whole ? bytes : bytes.first(piece);
    const bool shiftJis = read(TextEncoding::ShiftJis, head, complete && whole, false).valid;
    const bool eucJp = read(TextEncoding::EucJp, head, complete && whole, false).valid;
    if (!shiftJis && !eucJp)
        return {TextEncoding::ShiftJis, false, true};
    if (shiftJis != eucJp)
        return {shiftJis ? TextEncoding::ShiftJis : TextEncoding::EucJp};
    const Reading asShiftJis = read(TextEncoding::ShiftJis, bytes, complete, true);
    const Reading asEucJp = read(TextEncoding::EucJp, bytes, complete, true);
    if (!asShiftJis.valid && !asEucJp.valid)
        return {TextEncoding::ShiftJis, false, true};
    if (asEucJp.valid && (!asShiftJis.valid || asEucJp.score > asShiftJis.score))
        return {TextEncoding::EucJp};
    return {TextEncoding::ShiftJis};
}

} // namespace

DetectedEncoding detectEncoding(QByteArrayView bytes, bool complete)
{
    for (const TextEncoding marked : {TextEncoding::Utf8Bom, TextEncoding::Utf16Le, TextEncoding::Utf16Be}) {
        if (bytes.startsWith(byteOrderMark(marked)))
            return {marked};
    }
    // UTF-8 first: most Shift-JIS and EUC-JP stops being valid UTF-8 at its first double-byte
    // character.
    const QByteArrayView utf8 = complete ? bytes : bytes.first(wholeCharacters(TextEncoding::Utf8, bytes));
    if (!utf8::validate(utf8))
        return shiftJisOrEucJp(bytes, complete);
    if (utf8::utf16Length(utf8) == utf8.size()) {
        // Seven-bit throughout, but for a CR the cut of a start held back.
        if (const QByteArrayView rest = bytes.sliced(utf8.size()); rest.isEmpty() || rest == "\r") {
            const bool jis
                = hasIso2022JpEscape(bytes) && read(TextEncoding::Iso2022Jp, bytes, complete, false).valid;
            return {jis ? TextEncoding::Iso2022Jp : TextEncoding::ShiftJis};
        }
        return shiftJisOrEucJp(bytes, complete);
    }
    // Real UTF-8 text stops being valid Shift-JIS within its first lines; short texts may not.
    const Reading asShiftJis = read(TextEncoding::ShiftJis, bytes, complete, true);
    if (!asShiftJis.valid)
        return {TextEncoding::Utf8};
    QString text;
    utf8::decode(utf8, text);
    const long long asUtf8 = japaneseScore(text);
    if (clearlyAhead(asUtf8, asShiftJis.score))
        return {TextEncoding::Utf8};
    if (clearlyAhead(asShiftJis.score, asUtf8))
        return {TextEncoding::ShiftJis};
    return {TextEncoding::Utf8, true};
}

} // namespace orvane::codec
