// Code page 932 decoding of any bytes: what decodes encodes back to bytes that decode to the same
// text; a failure stops at the first bad sequence, with its line and column.

#include "fuzz/reference.h"

using namespace orvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(data, qsizetype(size));
    const auto decode = [](QByteArrayView b, QString &t, cp932::DecodeError *e = nullptr) { return cp932::decode(b, t, e); };
    QString text;
    cp932::DecodeError error;
    if (!decode(bytes, text, &error)) {
        fuzz::checkDecodeFailure(decode, bytes, text, error.at);
        return 0;
    }
    QByteArray encoded;
    FUZZ_CHECK(cp932::encode(text, encoded));
    QString again;
    FUZZ_CHECK(decode(encoded, again) && again == text);
    return 0;
}
