#pragma once
// The encodings a document's file may have. Shift-JIS means code page 932, without a byte-order
// mark; the UTF-16 ones always carry theirs; EUC-JP and ISO-2022-JP (JIS) have none.

#include <QByteArrayView>

namespace orvane::codec {

enum class TextEncoding { ShiftJis, Utf8, Utf8Bom, Utf16Le, Utf16Be, EucJp, Iso2022Jp };

inline constexpr TextEncoding allTextEncodings[]
    = {TextEncoding::ShiftJis, TextEncoding::Utf8,  TextEncoding::Utf8Bom,  TextEncoding::Utf16Le,
       TextEncoding::Utf16Be,  TextEncoding::EucJp, TextEncoding::Iso2022Jp};

// The encodings whose files may hold several codes of one character (FileCodes).
inline bool isJisBased(TextEncoding encoding)
{
    return encoding == TextEncoding::ShiftJis || encoding == TextEncoding::EucJp
        || encoding == TextEncoding::Iso2022Jp;
}

// The mark a file of this encoding starts with; empty for Shift-JIS and UTF-8 without one.
inline QByteArrayView byteOrderMark(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf8Bom:
        return "\xEF\xBB\xBF";
    case TextEncoding::Utf16Le:
        return "\xFF\xFE";
    case TextEncoding::Utf16Be:
        return "\xFE\xFF";
    case TextEncoding::ShiftJis:
    case TextEncoding::Utf8:
    case TextEncoding::EucJp:
    case TextEncoding::Iso2022Jp:
        break;
    }
    return {};
}

} // namespace orvane::codec
