// UTF-8 decoding of any bytes: valid bytes encode back to themselves, every validation kernel this
// processor runs agrees with the exact scalar pass, and a failure is what every decoder owes.

#include "fuzz/fuzz_check.h"
#include "text/codec/utf8.h"
#include "text/codec/utf8_kernels.h"

using namespace orvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(data, qsizetype(size));
    const auto decode = [](QByteArrayView b, QString &t, codec::utf8::DecodeError *e = nullptr) {
        return codec::utf8::decode(b, t, e);
    };
    QString text;
    const bool ok = fuzz::checkDecoder(decode, bytes, text);
    codec::utf8::DecodeError expected;
    FUZZ_CHECK(codec::utf8::validateWith(codec::utf8::Kernel::Scalar, bytes, &expected) == ok);
    for (const codec::utf8::Kernel kernel : {codec::utf8::Kernel::Ssse3, codec::utf8::Kernel::Avx2}) {
        codec::utf8::DecodeError error;
        FUZZ_CHECK(!codec::utf8::isAvailable(kernel)
                   || codec::utf8::validateWith(kernel, bytes, &error) == ok);
        FUZZ_CHECK(ok || !codec::utf8::isAvailable(kernel)
                   || (error.at.offset == expected.at.offset && error.truncated == expected.truncated));
    }
    if (ok) {
        QByteArray encoded;
        FUZZ_CHECK(codec::utf8::encode(text, encoded) && encoded == bytes);
        FUZZ_CHECK(codec::utf8::utf16Length(bytes) == text.size());
    }
    return 0;
}
