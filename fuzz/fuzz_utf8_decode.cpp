// UTF-8 decoding of any bytes: valid bytes encode back to themselves, every validation kernel this
// processor runs agrees with the exact scalar pass, and a failure is what every decoder owes.

#include "fuzz/fuzz_check.h"
#include "text/codec/utf8.h"
#include "text/codec/utf8_kernels.h"

using namespace orvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(data, qsizetype(size));
    const auto decode
        = [](QByteArrayView b, QString &t, utf8::DecodeError *e = nullptr) { return utf8::decode(b, t, e); };
    QString text;
    const bool ok = fuzz::checkDecoder(decode, bytes, text);
    utf8::DecodeError expected;
    FUZZ_CHECK(utf8::validateWith(utf8::Kernel::Scalar, bytes, &expected) == ok);
    for (const utf8::Kernel kernel : {utf8::Kernel::Ssse3, utf8::Kernel::Avx2}) {
        utf8::DecodeError error;
        FUZZ_CHECK(!utf8::isAvailable(kernel) || utf8::validateWith(kernel, bytes, &error) == ok);
        FUZZ_CHECK(ok || !utf8::isAvailable(kernel)
                   || (error.at.offset == expected.at.offset && error.truncated == expected.truncated));
    }
    if (ok) {
        QByteArray encoded;
        FUZZ_CHECK(utf8::encode(text, encoded) && encoded == bytes);
        FUZZ_CHECK(utf8::utf16Length(bytes) == text.size());
    }
    return 0;
}
