#include "text/codec/encoding_detection.h"

#include "text/codec/block_cut.h"
#include "text/codec/cp932.h"
#include "text/codec/utf8.h"

#include <QString>

namespace orvane::codepage {

namespace {

// Piece by piece, so that a long start does not need its whole UTF-16 text at once.
bool isShiftJis(QByteArrayView bytes)
{
    constexpr qsizetype piece = qsizetype(1) << 20;
    QString text;
    while (!bytes.isEmpty()) {
        const qsizetype size = bytes.size() <= piece
            ? bytes.size()
            : wholeCharacters(TextEncoding::ShiftJis, bytes.first(piece));
        if (!cp932::decode(bytes.first(size), text))
            return false;
        bytes = bytes.sliced(size);
    }
    return true;
}

} // namespace

DetectedEncoding detectEncoding(QByteArrayView bytes, bool complete)
{
    for (const TextEncoding marked : {TextEncoding::Utf8Bom, TextEncoding::Utf16Le, TextEncoding::Utf16Be}) {
        if (bytes.startsWith(byteOrderMark(marked)))
            return {marked};
    }
    // UTF-8 first: most Shift-JIS stops being valid UTF-8 at its first double-byte character.
    const QByteArrayView utf8 = complete ? bytes : bytes.first(wholeCharacters(TextEncoding::Utf8, bytes));
    if (!utf8::validate(utf8) || utf8::utf16Length(utf8) == utf8.size())
        return {TextEncoding::ShiftJis};
    // Real UTF-8 text stops being valid Shift-JIS within its first lines; short texts may not.
    const QByteArrayView shiftJis
        = complete ? bytes : bytes.first(wholeCharacters(TextEncoding::ShiftJis, bytes));
    return {TextEncoding::Utf8, isShiftJis(shiftJis)};
}

} // namespace orvane::codepage
