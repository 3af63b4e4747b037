// The batch converter over any input, encodings and chain of kinds: block by block, in blocks and
// reads of fuzzed sizes, it gives byte for byte what it gives in one block, and that is what
// decoding the whole, converting it and encoding it gives. Input: from, to, a byte of the
// byte-order-mark flag and the chain's length, three kinds, two bytes of block and read size, then
// the bytes to convert.

#include "batch/memory_streams.h"
#include "batch/stream_conversion.h"
#include "fuzz/reference.h"
#include "text/chars/convert.h"
#include "text/codec/text_codec.h"

using namespace orvane;

namespace {

constexpr qsizetype kHeader = 8;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < size_t(kHeader))
        return 0;
    batch::StreamOptions options;
    // Past the encodings: auto.
    const size_t source = data[0] % (std::size(allTextEncodings) + 1);
    options.from
        = source < std::size(allTextEncodings) ? std::optional(allTextEncodings[source]) : std::nullopt;
    options.to = allTextEncodings[data[1] % std::size(allTextEncodings)];
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

    // A byte-order mark of UTF-16 makes any other source encoding refuse the input, one of UTF-8
    // makes Shift-JIS refuse it; the source's own is left out.
    if (!options.from)
        return 0;
    const TextEncoding from = *options.from;
    const TextEncoding to = options.to;
    const QByteArrayView utf8Mark = byteOrderMark(TextEncoding::Utf8Bom);
    const QByteArrayView ownMark = from == TextEncoding::Utf8 ? utf8Mark : byteOrderMark(from);
    const bool utf16Marked = input.startsWith(byteOrderMark(TextEncoding::Utf16Le))
        || input.startsWith(byteOrderMark(TextEncoding::Utf16Be));
    const bool refused = (utf16Marked && from != TextEncoding::Utf16Le && from != TextEncoding::Utf16Be)
        || (from == TextEncoding::ShiftJis && input.startsWith(utf8Mark));
    const QByteArrayView body = QByteArrayView(input).sliced(input.startsWith(ownMark) ? ownMark.size() : 0);
    QString text;
    QByteArray expected;
    bool ok = !refused && codepage::decode(from, body, text);
    for (const ConversionKind kind : options.kinds)
        text = convert(kind, text);
    ok = ok && codepage::encode(to, text, expected);
    FUZZ_CHECK(ok == (inOne.exitStatus == batch::ExitStatus::Success));
    FUZZ_CHECK(!ok
               || whole.bytes()
                   == (options.writeBom ? byteOrderMark(to).toByteArray() : QByteArray()) + expected);
    return 0;
}
