// The batch converter over any input, encodings and chain of kinds: block by block, in blocks and
// reads of fuzzed sizes, it gives byte for byte what it gives in one block, and that is what
// decoding the whole, converting it and encoding it gives. Input: from, to, a byte of the
// byte-order-mark flag and the chain's length, three kinds, two bytes of block and read size, then
// the bytes to convert.

#include "convert/convert.h"
#include "convert/memory_streams.h"
#include "convert/stream_conversion.h"
#include "fuzz/reference.h"
#include "host/codepage/utf16.h"
#include "host/codepage/utf8.h"

using namespace orvane;
using batch::Encoding;

namespace {

constexpr qsizetype kHeader = 8;

bool decodeAs(Encoding e, QByteArrayView b, QString &t)
{
    if (e == Encoding::Utf8 || e == Encoding::Utf8Bom)
        return utf8::decode(b.startsWith("\xEF\xBB\xBF") ? b.sliced(3) : b, t);
    if (e == Encoding::Utf16Le)
        return utf16::decode(b.startsWith("\xFF\xFE") ? b.sliced(2) : b, utf16::ByteOrder::LittleEndian, t);
    if (e == Encoding::Utf16Be)
        return utf16::decode(b.startsWith("\xFE\xFF") ? b.sliced(2) : b, utf16::ByteOrder::BigEndian, t);
    return !b.startsWith("\xEF\xBB\xBF") && cp932::decode(b, t);
}

bool encodeAs(Encoding e, QStringView t, QByteArray &b)
{
    if (e == Encoding::Utf8 || e == Encoding::Utf8Bom)
        return utf8::encode(t, b);
    if (e == Encoding::Utf16Le || e == Encoding::Utf16Be)
        return utf16::encode(t, e == Encoding::Utf16Le ? utf16::ByteOrder::LittleEndian : utf16::ByteOrder::BigEndian, b);
    return cp932::encode(t, b);
}

QByteArrayView markOf(Encoding e)
{
    return e == Encoding::Utf8Bom ? "\xEF\xBB\xBF" : e == Encoding::Utf16Le ? "\xFF\xFE" : e == Encoding::Utf16Be ? "\xFE\xFF" : "";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < size_t(kHeader))
        return 0;
    batch::StreamOptions options;
    options.from = Encoding(data[0] % 6);
    options.to = Encoding(data[1] % 5);
    options.writeBom = data[2] & 1;
    for (int k = 0; k < (data[2] >> 1) % 4; ++k)
        options.kinds.append(fuzz::allKinds[data[3 + k] % std::size(fuzz::allKinds)]);
    const QByteArray input(reinterpret_cast<const char *>(data) + kHeader, qsizetype(size) - kHeader);
    // Up to the input's size, where the cuts fall.
    const qsizetype blockSize = (data[6] | (data[7] & 0x0F) << 8) % (input.size() + 2);
    const qsizetype readSize = data[7] >> 4;

    // One block larger than the input holds it all (the default size costs a megabyte a run).
    options.blockSize = input.size() + 1;
    batch::MemorySource wholeSource(input);
    batch::MemorySink whole;
    const batch::StreamOutcome inOne = batch::convertStream(options, wholeSource, whole);
    options.blockSize = blockSize;
    batch::MemorySource blockSource(input, readSize);
    batch::MemorySink blocks;
    const batch::StreamOutcome inBlocks = batch::convertStream(options, blockSource, blocks);
    FUZZ_CHECK(inBlocks.exitStatus == inOne.exitStatus && inBlocks.error == inOne.error);
    FUZZ_CHECK(inBlocks.bytesWritten == inOne.bytesWritten && blocks.bytes() == whole.bytes());

    if (options.from == Encoding::Auto || input.startsWith("\xFF\xFE") || input.startsWith("\xFE\xFF"))
        return 0;
    QString text;
    QByteArray expected;
    bool ok = decodeAs(options.from, input, text);
    for (const ConversionKind kind : options.kinds)
        text = convert(kind, text);
    ok = ok && encodeAs(options.to, text, expected);
    FUZZ_CHECK(ok == (inOne.exitStatus == batch::Success));
    FUZZ_CHECK(!ok || whole.bytes() == (options.writeBom ? markOf(options.to).toByteArray() : QByteArray()) + expected);
    return 0;
}
