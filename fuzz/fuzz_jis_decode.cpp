// EUC-JP and ISO-2022-JP decoding of any bytes (the first byte picks the encoding): the fast decoder
// agrees with the one-by-one reference, a failure is what every decoder owes, what decodes encodes
// back with the file's codes to bytes that decode to the same text, and ISO-2022-JP read in two
// pieces at any split gives the whole text.

#include "fuzz/fuzz_check.h"
#include "text/codec/iso2022jp.h"
#include "text/codec/text_codec.h"

using namespace orvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const codec::TextEncoding encoding
        = data[0] % 2 ? codec::TextEncoding::Iso2022Jp : codec::TextEncoding::EucJp;
    const QByteArrayView bytes(data + 1, qsizetype(size - 1));
    const auto decode = [encoding](QByteArrayView b, QString &t, codec::DecodeError *e = nullptr) {
        return codec::decode(encoding, b, t, e);
    };
    QString text;
    const bool ok = fuzz::checkDecoder(decode, bytes, text, encoding != codec::TextEncoding::Iso2022Jp);
    QString slow;
    FUZZ_CHECK(reference::decodeJisOneByOne(encoding, bytes, slow) == ok);
    if (!ok)
        return 0;
    FUZZ_CHECK(slow == text);
    codec::cp932::FileCodes codes;
    QString again;
    FUZZ_CHECK(codec::decode(encoding, bytes, again, nullptr, &codes) && again == text);
    QByteArray encoded;
    FUZZ_CHECK(codec::encode(encoding, text, encoded, nullptr, &codes));
    FUZZ_CHECK(codec::decode(encoding, encoded, again) && again == text);
    if (encoding == codec::TextEncoding::Iso2022Jp) {
        const qsizetype split = bytes.isEmpty() ? 0 : qsizetype(data[0] >> 1) * bytes.size() / 127;
        codec::iso2022jp::Decoder decoder;
        QString first;
        qsizetype consumed = 0;
        FUZZ_CHECK(decoder.decode(bytes.first(split), first, nullptr, &consumed));
        QString rest;
        FUZZ_CHECK(decoder.decode(bytes.sliced(consumed), rest) && first + rest == text);
    }
    return 0;
}
