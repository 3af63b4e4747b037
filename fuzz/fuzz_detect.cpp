// Encoding detection of any bytes, whole or as the start of a longer input: it never fails, and the
// encoding it names decodes the bytes (the whole input, or the start up to its last whole
// character), unless it says that none does or that the bytes are UTF-8 and Shift-JIS alike.

#include "fuzz/fuzz_check.h"
#include "text/codec/block_cut.h"
#include "text/codec/encoding_detection.h"
#include "text/codec/text_codec.h"

using namespace orvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const bool complete = data[0] & 1;
    const QByteArrayView bytes(data + 1, qsizetype(size - 1));
    const codec::DetectedEncoding detected = codec::detectEncoding(bytes, complete);
    const QByteArrayView mark = codec::byteOrderMark(detected.encoding);
    if (detected.fitsNone || !mark.isEmpty())
        return 0;
    const QByteArrayView decodable
        = complete ? bytes : bytes.first(codec::wholeCharacters(detected.encoding, bytes));
    QString text;
    FUZZ_CHECK(codec::decode(detected.encoding, decodable, text) || detected.validAsBoth);
    if (detected.validAsBoth) {
        FUZZ_CHECK(detected.encoding == codec::TextEncoding::Utf8
                   && codec::decode(codec::TextEncoding::Utf8, decodable, text));
    }
    return 0;
}
