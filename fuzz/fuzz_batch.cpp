// The batch converter over any input, encodings, chain of kinds and line ends: block by block, in
// blocks and reads of fuzzed sizes, it gives byte for byte what it gives in one block, and that is
// what decoding the whole, converting it, rewriting its line ends and encoding it gives; a block is
// cut where walking its characters cuts it. Input: from, to, a byte of the byte-order-mark flag, the
// chain's length and the line end, three kinds, two bytes of block and read size, then the bytes to
// convert.

#include "batch/memory_streams.h"
#include "batch/stream_conversion.h"
#include "fuzz/fuzz_check.h"
#include "tests/reference/codec_rules.h"
#include "text/chars/convert.h"
#include "text/codec/block_cut.h"
#include "text/codec/text_codec.h"

using namespace orvane;

namespace {

constexpr qsizetype headerSize = 8;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < size_t(headerSize))
        return 0;
    batch::StreamOptions options;
    // Past the encodings: auto.
    const size_t source = data[0] % (std::size(codec::allTextEncodings) + 1);
    options.from = source < std::size(codec::allTextEncodings)
        ? std::optional(codec::allTextEncodings[source])
        : std::nullopt;
    options.to = codec::allTextEncodings[data[1] % std::size(codec::allTextEncodings)];
    options.writeBom = data[2] & 1;
    // Past the line ends: each kept.
    const size_t lineEnd = (data[2] >> 3) % (std::size(codec::allLineEnds) + 1);
    if (lineEnd < std::size(codec::allLineEnds))
        options.lineEnd = codec::allLineEnds[lineEnd];
    for (int k = 0; k < (data[2] >> 1) % 4; ++k)
        options.kinds.append(chars::allConversionKinds[data[3 + k] % std::size(chars::allConversionKinds)]);
    const QByteArray input(reinterpret_cast<const char *>(data) + headerSize, qsizetype(size) - headerSize);
    // Up to the input's size, where the cuts fall; at most about eight blocks, as each costs its own
    // pieces and the cuts' places, not their number, are what varies.
    const qsizetype blockSize
        = std::max((data[6] | (data[7] & 0x0F) << 8) % (input.size() + 2), input.size() / 8);
    const qsizetype readSize = data[7] >> 4;

    // One block larger than the input holds it all, and auto reads it all ahead: the default sizes
    // would allocate one and sixteen megabytes a run.
    options.blockSize = input.size() + 1;
    options.lookAhead = input.size() + 1;
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
    // makes Shift-JIS, EUC-JP and ISO-2022-JP refuse it; the source's own is left out.
    if (!options.from)
        return 0;
    const codec::TextEncoding from = *options.from;
    const codec::TextEncoding to = options.to;
    const QByteArrayView block = QByteArrayView(input).first(std::min(blockSize, input.size()));
    FUZZ_CHECK(codec::wholeCharacters(from, block) == reference::wholeCharactersByWalking(from, block));
    const QByteArrayView utf8Mark = codec::byteOrderMark(codec::TextEncoding::Utf8Bom);
    const QByteArrayView ownMark = from == codec::TextEncoding::Utf8 ? utf8Mark : codec::byteOrderMark(from);
    const bool utf16Marked = input.startsWith(codec::byteOrderMark(codec::TextEncoding::Utf16Le))
        || input.startsWith(codec::byteOrderMark(codec::TextEncoding::Utf16Be));
    const bool byteCoded = from == codec::TextEncoding::ShiftJis || from == codec::TextEncoding::EucJp
        || from == codec::TextEncoding::Iso2022Jp;
    const bool refused
        = (utf16Marked && from != codec::TextEncoding::Utf16Le && from != codec::TextEncoding::Utf16Be)
        || (byteCoded && input.startsWith(utf8Mark));
    const QByteArrayView body = QByteArrayView(input).sliced(input.startsWith(ownMark) ? ownMark.size() : 0);
    QString text;
    QByteArray expected;
    bool ok = !refused && codec::decode(from, body, text);
    for (const chars::ConversionKind kind : options.kinds)
        text = chars::convert(kind, text);
    if (options.lineEnd)
        text = reference::withLineEndsBySplitting(text, *options.lineEnd);
    ok = ok && codec::encode(to, text, expected);
    FUZZ_CHECK(ok == (inOne.exitStatus == batch::ExitStatus::Success));
    FUZZ_CHECK(!ok
               || whole.bytes()
                   == (options.writeBom ? codec::byteOrderMark(to).toByteArray() : QByteArray()) + expected);
    return 0;
}
