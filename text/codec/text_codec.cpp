#include "text/codec/text_codec.h"

#include "text/codec/cp932.h"
#include "text/codec/eucjp.h"
#include "text/codec/iso2022jp.h"
#include "text/codec/utf8.h"

namespace orvane::codec {

bool decode(TextEncoding encoding, QByteArrayView bytes, QString &text, DecodeError *error,
            cp932::FileCodes *codes)
{
    if (codes)
        *codes = cp932::FileCodes();
    switch (encoding) {
    case TextEncoding::EucJp:
        return eucjp::decode(bytes, text, error, codes);
    case TextEncoding::Iso2022Jp:
        return iso2022jp::decode(bytes, text, error, codes);
    case TextEncoding::Utf8:
    case TextEncoding::Utf8Bom:
        return utf8::decode(bytes, text, error);
    case TextEncoding::Utf16Le:
    case TextEncoding::Utf16Be:
        return utf16::decode(bytes, byteOrder(encoding), text, error);
    case TextEncoding::ShiftJis:
        break;
    }
    return cp932::decode(bytes, text, error, codes);
}

bool encode(TextEncoding encoding, QStringView text, QByteArray &bytes, EncodeError *error,
            const cp932::FileCodes *codes)
{
    switch (encoding) {
    case TextEncoding::EucJp:
        return eucjp::encode(text, bytes, error, codes);
    case TextEncoding::Iso2022Jp:
        return iso2022jp::encode(text, bytes, error, codes);
    case TextEncoding::Utf8:
    case TextEncoding::Utf8Bom:
        return utf8::encode(text, bytes, error);
    case TextEncoding::Utf16Le:
    case TextEncoding::Utf16Be:
        return utf16::encode(text, byteOrder(encoding), bytes, error);
    case TextEncoding::ShiftJis:
        break;
    }
    return cp932::encode(text, bytes, error, codes);
}

} // namespace orvane::codec
