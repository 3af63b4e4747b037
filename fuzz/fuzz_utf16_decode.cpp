// UTF-16 decoding of any bytes in either byte order (the first byte picks it): valid bytes encode
// back to themselves, and a failure is what every decoder owes.

#include "fuzz/fuzz_check.h"
#include "text/codec/utf16.h"

using namespace orvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const auto order
        = data[0] & 1 ? codec::utf16::ByteOrder::BigEndian : codec::utf16::ByteOrder::LittleEndian;
    const QByteArrayView bytes(data + 1, qsizetype(size - 1));
    const auto decode = [order](QByteArrayView b, QString &t, codec::utf16::DecodeError *e = nullptr) {
        return codec::utf16::decode(b, order, t, e);
    };
    QString text;
    if (fuzz::checkDecoder(decode, bytes, text)) {
        QByteArray encoded;
        FUZZ_CHECK(codec::utf16::encode(text, order, encoded) && encoded == bytes);
    }
    return 0;
}
