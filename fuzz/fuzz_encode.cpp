// Encoding any UTF-16 text as code page 932, UTF-8 or UTF-16 LE/BE (the first byte picks it):
// it succeeds exactly when the encoding stores every character, its bytes decode to text that
// encodes to the same bytes (the same text, for the UTFs), and a failure names the first character
// it cannot store, with its line and column, after the bytes of the characters before it.

#include "fuzz/reference.h"
#include "host/codepage/utf16.h"
#include "host/codepage/utf8.h"

using namespace orvane;

namespace {

using codepage::DecodeError;
using codepage::EncodeError;

struct Codec {
    bool (*encode)(QStringView, QByteArray &, EncodeError *);
    bool (*decode)(QByteArrayView, QString &);
    bool (*stores)(char32_t);
};

bool unicodeStores(char32_t c) { return c < 0xD800 || c > 0xDFFF; }

constexpr Codec codecs[] = {
    {cp932::encode, [](QByteArrayView b, QString &t) { return cp932::decode(b, t); }, cp932::canEncode},
    {utf8::encode, [](QByteArrayView b, QString &t) { return utf8::decode(b, t); }, unicodeStores},
    {[](QStringView t, QByteArray &b, EncodeError *e) { return utf16::encode(t, utf16::ByteOrder::LittleEndian, b, e); },
     [](QByteArrayView b, QString &t) { return utf16::decode(b, utf16::ByteOrder::LittleEndian, t); }, unicodeStores},
    {[](QStringView t, QByteArray &b, EncodeError *e) { return utf16::encode(t, utf16::ByteOrder::BigEndian, b, e); },
     [](QByteArrayView b, QString &t) { return utf16::decode(b, utf16::ByteOrder::BigEndian, t); }, unicodeStores},
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const Codec &codec = codecs[data[0] % std::size(codecs)];
    const QString text = fuzz::unitsOf(data + 1, size - 1);
    QByteArray bytes;
    EncodeError error;
    if (codec.encode(text, bytes, &error)) {
        FUZZ_CHECK(fuzz::storable(text, codec.stores));
        QString decoded;
        FUZZ_CHECK(codec.decode(bytes, decoded));
        FUZZ_CHECK(codec.stores == cp932::canEncode || decoded == text);
        QByteArray again;
        FUZZ_CHECK(codec.encode(decoded, again, nullptr) && again == bytes);
        return 0;
    }
    const qsizetype at = error.at.offset;
    FUZZ_CHECK(at >= 0 && at < text.size());
    const QStringView before = QStringView(text).first(at);
    QByteArray beforeBytes;
    FUZZ_CHECK(fuzz::storable(before, codec.stores) && codec.encode(before, beforeBytes, nullptr) && beforeBytes == bytes);
    FUZZ_CHECK(error.codePoint == fuzz::codePointAt(text, at) && !codec.stores(error.codePoint));
    const cp932::Position expected = fuzz::positionIn(text, at);
    FUZZ_CHECK(error.at.line == expected.line && error.at.column == expected.column);
    return 0;
}
