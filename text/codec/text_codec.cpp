#include "text/codec/text_codec.h"

#include "text/codec/cp932.h"
#include "text/codec/utf8.h"

namespace orvane::codepage {

bool decode(TextEncoding encoding, QByteArrayView bytes, QString &text, DecodeError *error)
{
    switch (encoding) {
    case TextEncoding::Utf8:
    case TextEncoding::Utf8Bom:
        return utf8::decode(bytes, text, error);
    case TextEncoding::Utf16Le:
    case TextEncoding::Utf16Be:
        return utf16::decode(bytes, byteOrder(encoding), text, error);
    case TextEncoding::ShiftJis:
        break;
    }
    return cp932::decode(bytes, text, error);
}

bool encode(TextEncoding encoding, QStringView text, QByteArray &bytes, EncodeError *error)
{
    switch (encoding) {
    case TextEncoding::Utf8:
    case TextEncoding::Utf8Bom:
        return utf8::encode(text, bytes, error);
    case TextEncoding::Utf16Le:
    case TextEncoding::Utf16Be:
        return utf16::encode(text, byteOrder(encoding), bytes, error);
    case TextEncoding::ShiftJis:
        break;
    }
    return cp932::encode(text, bytes, error);
}

} // namespace orvane::codepage
