// Code page 932 decoding of any bytes: what decodes encodes back to bytes that decode to the same
// text, and a failure is what every decoder owes.

#include "fuzz/fuzz_check.h"

using namespace orvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto decode = [](QByteArrayView b, QString &t, codec::cp932::DecodeError *e = nullptr) {
        return codec::cp932::decode(b, t, e);
    };
    QString text;
    if (!fuzz::checkDecoder(decode, QByteArrayView(data, qsizetype(size)), text))
        return 0;
    QByteArray encoded;
    FUZZ_CHECK(codec::cp932::encode(text, encoded));
    QString again;
    FUZZ_CHECK(decode(encoded, again) && again == text);
    return 0;
}
