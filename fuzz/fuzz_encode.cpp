// Encoding any UTF-16 text as code page 932, UTF-8, UTF-16 LE/BE, EUC-JP or ISO-2022-JP (the first
// byte picks it):
// it succeeds exactly when the encoding stores every character, its bytes decode to text that
// encodes to the same bytes (the same text, for the UTFs), and a failure names the first character
// it cannot store, with its line and column, after the bytes of the characters before it.

#include "fuzz/fuzz_check.h"
#include "text/codec/text_codec.h"

using namespace orvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    constexpr codec::TextEncoding encodings[]
        = {codec::TextEncoding::ShiftJis, codec::TextEncoding::Utf8,  codec::TextEncoding::Utf16Le,
           codec::TextEncoding::Utf16Be,  codec::TextEncoding::EucJp, codec::TextEncoding::Iso2022Jp};
    const codec::TextEncoding encoding = encodings[data[0] % std::size(encodings)];
    const QString text = fuzz::unitsOf(data + 1, size - 1);
    QByteArray bytes;
    codec::EncodeError error;
    if (codec::encode(encoding, text, bytes, &error)) {
        FUZZ_CHECK(reference::storable(text, encoding));
        QString decoded;
        FUZZ_CHECK(codec::decode(encoding, bytes, decoded));
        FUZZ_CHECK(codec::isJisBased(encoding) || decoded == text);
        QByteArray again;
        FUZZ_CHECK(codec::encode(encoding, decoded, again) && again == bytes);
        return 0;
    }
    const qsizetype at = error.at.offset;
    FUZZ_CHECK(at >= 0 && at < text.size());
    const QStringView before = QStringView(text).first(at);
    QByteArray beforeBytes;
    FUZZ_CHECK(reference::storable(before, encoding) && codec::encode(encoding, before, beforeBytes)
               && beforeBytes == bytes);
    FUZZ_CHECK(error.codePoint == reference::codePointAt(text, at)
               && !reference::stores(encoding, error.codePoint));
    const codec::cp932::Position expected = reference::positionIn(text, at);
    FUZZ_CHECK(error.at.line == expected.line && error.at.column == expected.column);
    return 0;
}
