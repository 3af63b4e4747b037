// Code page 932 encoding of any UTF-16 text: it succeeds exactly when every character is storable,
// its bytes decode to text that encodes to the same bytes, and a failure names the first character
// it cannot store, with its line and column.

#include "fuzz/reference.h"

using namespace orvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = fuzz::unitsOf(data, size);
    QByteArray bytes;
    cp932::EncodeError error;
    if (cp932::encode(text, bytes, &error)) {
        FUZZ_CHECK(fuzz::storable(text));
        QString decoded;
        FUZZ_CHECK(cp932::decode(bytes, decoded));
        QByteArray again;
        FUZZ_CHECK(cp932::encode(decoded, again) && again == bytes);
        return 0;
    }
    const qsizetype at = error.at.offset;
    FUZZ_CHECK(at >= 0 && at < text.size());
    QByteArray before;
    FUZZ_CHECK(fuzz::storable(QStringView(text).first(at)) && cp932::encode(QStringView(text).first(at), before));
    FUZZ_CHECK(before == bytes);
    const QString bad = QString::fromUcs4(&error.codePoint, 1);
    FUZZ_CHECK(!cp932::canEncode(error.codePoint) && QStringView(text).sliced(at).startsWith(bad));
    const cp932::Position expected = fuzz::positionIn(text, at);
    FUZZ_CHECK(error.at.line == expected.line && error.at.column == expected.column);
    return 0;
}
