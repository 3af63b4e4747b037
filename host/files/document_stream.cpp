#include "host/files/document_stream.h"

#include "host/files/document_bytes.h"
#include "text/codec/block_cut.h"
#include "text/codec/cp932.h"
#include "text/codec/eucjp.h"
#include "text/codec/line_ends.h"
#include "text/codec/utf8.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace orvane {

namespace {

// Small enough to stay out of the memory budget, large enough that per-block costs vanish.
constexpr qsizetype kBlockBytes = qsizetype(2) << 20;

// Room beyond the text for typing, so that the first keys do not wait for the buffer to grow: a
// few megabytes of typing or pasting before it grows once.
qsizetype typingRoom(qsizetype bytes)
{
    return std::clamp<qsizetype>(bytes / 64, 64 * 1024, qsizetype(16) << 20);
}

// What a load of so much UTF-8 needs besides it: the control's line index, the blocks in flight.
qint64 memoryForLoad(qsizetype capacity) { return capacity + capacity / 16 + 4 * kBlockBytes; }

std::optional<codec::LineEnd> firstLineEnd(QByteArrayView bytes)
{
    const qsizetype lf = bytes.indexOf('\n');
    const qsizetype cr = bytes.first(lf < 0 ? bytes.size() : lf).indexOf('\r');
    if (cr >= 0)
        return cr + 1 < bytes.size() && bytes[cr + 1] == '\n' ? codec::LineEnd::CrLf : codec::LineEnd::Cr;
    if (lf >= 0)
        return codec::LineEnd::Lf;
    return std::nullopt;
}

enum class Mode {
    Utf8, // marked UTF-8
    MaybeUtf8, // valid UTF-8 so far; ASCII alone is Shift-JIS
    ShiftJis,
};

// Reads the file's blocks in turn; owns the bytes read and not yet decoded.
class Blocks {
public:
    Blocks(DocumentSource &source, Progress &progress)
        : m_source(source)
        , m_progress(progress)
    {
    }

    // Reads until a block is pending or the file has ended.
    void fill()
    {
        while (!m_ended && m_pending.size() < kBlockBytes) {
            const qsizetype old = m_pending.size();
            m_pending.resize(kBlockBytes);
            const qsizetype n = m_source.read(m_pending.data() + old, kBlockBytes - old);
            m_pending.resize(old + n);
            m_ended = n == 0;
            m_done += n;
        }
        m_progress.step(m_done);
    }
    QByteArray &pending() { return m_pending; }
    void consume(qsizetype n) { m_pending.remove(0, n); }
    bool ended() const { return m_ended; }

private:
    DocumentSource &m_source;
    Progress &m_progress;
    QByteArray m_pending;
    qint64 m_done = 0;
    bool m_ended = false;
};

// The whole file in memory, decoded by decodeDocumentBytes: its errors name line and column, and
// it knows what to do with the encodings that are not streamed.
LoadedText readWhole(DocumentSource &source, const QString &shownPath, Progress &progress,
                     const std::function<void(qint64)> &checkMemory)
{
    source.rewind();
    // The bytes, the text and the control's copy of it: UTF-16 goes through a QString.
    checkMemory(5 * source.size);
    progress.setTotal(source.size);
    QByteArray bytes(qsizetype(source.size) + 1, Qt::Uninitialized);
    qsizetype done = 0;
    for (;;) {
        if (done == bytes.size())
            bytes.resize(done + kBlockBytes); // the file grew since it was measured
        const qsizetype n = source.read(bytes.data() + done, std::min(kBlockBytes, bytes.size() - done));
        if (n == 0)
            break;
        done += n;
        progress.step(done);
    }
    bytes.truncate(done);
    return decodeDocumentBytes(std::move(bytes), shownPath);
}

// A Shift-JIS file's own codes, from the file read again: per block the decoder cannot tell
// which of two codes of one character came first.
codec::cp932::FileCodes fileCodes(DocumentSource &source, Progress &progress)
{
    source.rewind();
    Blocks blocks(source, progress);
    codec::cp932::FileCodes::Scanner scanner;
    for (;;) {
        blocks.fill();
        QByteArray &pending = blocks.pending();
        const qsizetype cut = blocks.ended() ? pending.size()
                                             : codec::wholeCharacters(codec::TextEncoding::ShiftJis, pending);
        scanner.add(QByteArrayView(pending).first(cut));
        blocks.consume(cut);
        if (blocks.ended() && blocks.pending().isEmpty())
            return scanner.take();
    }
}

} // namespace

LoadedText streamDocument(DocumentSource &source, const QString &shownPath, TextLoad &load,
                          Progress &progress, const std::function<void(qint64)> &checkMemory)
{
    progress.setTotal(source.size);
    Blocks blocks(source, progress);
    blocks.fill();
    QByteArray &pending = blocks.pending();
    if (pending.startsWith(codec::byteOrderMark(codec::TextEncoding::Utf16Le))
        || pending.startsWith(codec::byteOrderMark(codec::TextEncoding::Utf16Be)))
        return readWhole(source, shownPath, progress, checkMemory);

    Mode mode = Mode::MaybeUtf8;
    codec::TextEncoding encoding = codec::TextEncoding::Utf8;
    if (pending.startsWith(codec::byteOrderMark(codec::TextEncoding::Utf8Bom))) {
        blocks.consume(codec::byteOrderMark(codec::TextEncoding::Utf8Bom).size());
        mode = Mode::Utf8;
        encoding = codec::TextEncoding::Utf8Bom;
    }

    // The control's buffer is sized once from the first block: UTF-8 stays as it is, Shift-JIS
    // grows as its first block did (a file that grows more only makes the buffer grow later).
    QByteArray utf8;
    qsizetype units = 0;
    qsizetype capacity = source.size;
    const auto firstBlock = [&](codec::TextEncoding cutAs) {
        return QByteArrayView(pending).first(blocks.ended() ? pending.size()
                                                            : codec::wholeCharacters(cutAs, pending));
    };
    if (mode == Mode::MaybeUtf8 && !codec::utf8::validate(firstBlock(codec::TextEncoding::Utf8))) {
        // Bytes that read as EUC-JP too are for the whole file's detection to score.
        QString ignored;
        if (codec::eucjp::decode(firstBlock(codec::TextEncoding::EucJp), ignored))
            return readWhole(source, shownPath, progress, checkMemory);
        const QByteArrayView first = firstBlock(codec::TextEncoding::ShiftJis);
        const double ratio = codec::cp932::decodeToUtf8(first, utf8, units) && !first.isEmpty()
            ? double(utf8.size()) / double(first.size())
            : 1.5;
        capacity = qsizetype(double(source.size) * std::min(3.0, ratio * 1.02));
        units = 0;
    }
    capacity += typingRoom(capacity);
    checkMemory(memoryForLoad(capacity));
    load.reserve(capacity);

    bool nonAscii = false;
    bool escape = false; // seven-bit text with escapes may be ISO-2022-JP
    bool maybeShiftJis = true; // UTF-8 bytes that are valid Shift-JIS too, as far as seen
    bool otherCodes = false;
    std::optional<codec::LineEnd> documentLineEnd;
    codec::LineEnds ends;
    codec::cp932::FileCodes codes;
    for (;;) {
        QByteArrayView chunk = pending;
        if (blocks.ended()) {
            ends = codec::takeLastLineEnd(pending);
            chunk = pending;
        } else {
            // Two bytes stay behind, so that the line end after the last line is never loaded.
            const QByteArrayView head = chunk.first(std::max<qsizetype>(0, chunk.size() - 2));
            const codec::TextEncoding cutAs
                = mode == Mode::ShiftJis ? codec::TextEncoding::ShiftJis : codec::TextEncoding::Utf8;
            const qsizetype cut = codec::wholeCharacters(cutAs, head);
            chunk = head.first(cut > 0 ? cut : head.size());
        }
        if (!documentLineEnd)
            documentLineEnd = firstLineEnd(chunk);

        if (mode != Mode::ShiftJis) {
            if (codec::utf8::validate(chunk)) {
                const qsizetype chunkUnits = codec::utf8::utf16Length(chunk);
                nonAscii = nonAscii || chunkUnits != chunk.size();
                escape = escape || chunk.contains('\x1B');
                if (mode == Mode::MaybeUtf8 && nonAscii && maybeShiftJis) {
                    codec::cp932::DecodeError error;
                    QByteArray ignored;
                    qsizetype ignoredUnits = 0;
                    maybeShiftJis
                        = codec::cp932::decodeToUtf8(chunk, ignored, ignoredUnits, &error) || error.truncated;
                }
                load.append(chunk);
                units += chunkUnits;
                blocks.consume(chunk.size());
                if (blocks.ended())
                    break;
                blocks.fill();
                continue;
            }
            // Invalid UTF-8 after nothing but ASCII is Shift-JIS, and the ASCII loaded so far is
            // the same text in both; anything else needs the whole file's verdict.
            if (mode == Mode::Utf8 || nonAscii)
                return readWhole(source, shownPath, progress, checkMemory);
            mode = Mode::ShiftJis;
            encoding = codec::TextEncoding::ShiftJis;
            if (!blocks.ended())
                chunk = chunk.first(codec::wholeCharacters(codec::TextEncoding::ShiftJis, chunk));
        }
        qsizetype chunkUnits = 0;
        if (!codec::cp932::decodeToUtf8(chunk, utf8, chunkUnits, nullptr, &codes))
            return readWhole(source, shownPath, progress, checkMemory);
        otherCodes = otherCodes || !codes.isEmpty();
        load.append(utf8);
        units += chunkUnits;
        blocks.consume(chunk.size());
        if (blocks.ended())
            break;
        blocks.fill();
    }

    // UTF-8 that may be Shift-JIS too is rare and asks the user: the whole file decides.
    if (mode == Mode::MaybeUtf8 && (nonAscii ? maybeShiftJis : escape))
        return readWhole(source, shownPath, progress, checkMemory);
    LoadedText loaded;
    loaded.encoding = mode == Mode::MaybeUtf8 && !nonAscii ? codec::TextEncoding::ShiftJis : encoding;
    loaded.lineEnds = {documentLineEnd.value_or(ends.document), ends.last};
    loaded.utf8Units = units;
    loaded.streamed = true;
    if (otherCodes)
        loaded.codes = fileCodes(source, progress);
    return loaded;
}

} // namespace orvane
