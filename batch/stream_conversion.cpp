#include "stream_conversion.h"

#include "batch_texts.h"
#include "block_reader.h"
#include "cp932_byte_map_run.h"
#include "detecting_source.h"

#include "text/chars/convert.h"
#include "text/chars/voiced_mark.h"
#include "text/codec/block_cut.h"
#include "text/codec/codec_texts.h"
#include "text/codec/iso2022jp.h"
#include "text/codec/text_codec.h"
#include "text/codec/text_encoding.h"
#include "text/codec/text_positions.h"

namespace orvane::batch {

namespace {

const QByteArrayView utf8Bom = codec::byteOrderMark(codec::TextEncoding::Utf8Bom);
const QByteArrayView utf16LeBom = codec::byteOrderMark(codec::TextEncoding::Utf16Le);
const QByteArrayView utf16BeBom = codec::byteOrderMark(codec::TextEncoding::Utf16Be);

class CountingSink final : public ByteSink {
public:
    explicit CountingSink(ByteSink &sink)
        : m_sink(sink)
    {
    }
    void write(QByteArrayView bytes) override
    {
        if (bytes.isEmpty())
            return;
        m_sink.write(bytes);
        m_count += bytes.size();
    }
    // A byte-order mark is not output of the input.
    void writeUncounted(QByteArrayView bytes)
    {
        if (!bytes.isEmpty())
            m_sink.write(bytes);
    }
    qint64 count() const { return m_count; }

private:
    ByteSink &m_sink;
    qint64 m_count = 0;
};

QString invalidInput(codec::TextEncoding from, codec::Position at)
{
    switch (from) {
    case codec::TextEncoding::Utf8:
    case codec::TextEncoding::Utf8Bom:
        return batch_texts::invalidUtf8(at.line, at.column);
    case codec::TextEncoding::Utf16Le:
    case codec::TextEncoding::Utf16Be:
        return batch_texts::invalidUtf16(at.line, at.column);
    case codec::TextEncoding::EucJp:
        return batch_texts::invalidIn(batch_texts::eucJpName(), at.line, at.column);
    case codec::TextEncoding::Iso2022Jp:
        return batch_texts::invalidIn(batch_texts::iso2022JpName(), at.line, at.column);
    case codec::TextEncoding::ShiftJis:
        break;
    }
    return batch_texts::invalidShiftJis(at.line, at.column);
}

QString encodingName(codec::TextEncoding to)
{
    return to == codec::TextEncoding::EucJp    ? batch_texts::eucJpName()
        : to == codec::TextEncoding::Iso2022Jp ? batch_texts::iso2022JpName()
                                               : QStringLiteral("Shift-JIS");
}

// A unit that the next piece may change the conversion of: a half-width letter whose mark may
// follow, half a surrogate pair, a CR whose LF may follow.
bool holdsBack(QChar c)
{
    const char16_t u = c.unicode();
    return chars::mayJoinVoicedMark(u) || c.isHighSurrogate() || u == u'\r';
}

// Converts decoded pieces through the kinds and writes them in the target encoding. Each stage
// keeps back the last unit of a piece when the next piece could still change its conversion.
class TextPipeline {
public:
    TextPipeline(const StreamOptions &options, ByteSink &sink)
        : m_to(options.to)
        , m_lineEnd(options.lineEnd)
        , m_kinds(options.kinds)
        , m_carry(options.kinds.size() + 1)
        , m_sink(sink)
    {
    }

    // false when the target cannot store a character; error() says which.
    bool push(QString text, bool last)
    {
        for (qsizetype k = 0; k < m_kinds.size(); ++k)
            text = chars::convert(m_kinds[k], take(k, std::move(text), last));
        text = take(m_kinds.size(), std::move(text), last);
        // A CR at the end of a piece waits for the next, so CR LF is never split here.
        if (m_lineEnd)
            text = codec::withLineEnds(text, *m_lineEnd);
        return encode(text, last);
    }
    const QString &error() const { return m_error; }

private:
    QString take(qsizetype stage, QString text, bool last)
    {
        QString &carry = m_carry[stage];
        if (!carry.isEmpty()) {
            text.prepend(carry);
            carry.clear();
        }
        if (!last && !text.isEmpty() && holdsBack(text.back())) {
            carry = text.back();
            text.chop(1);
        }
        return text;
    }

    bool encode(const QString &text, bool last)
    {
        m_bytes.clear();
        // Only the JIS-based encodings refuse a character: the text holds no lone surrogate, since
        // the decoders refuse them and the kinds keep pairs. ISO-2022-JP carries its designation
        // from piece to piece.
        codec::EncodeError bad;
        const bool ok = m_to == codec::TextEncoding::Iso2022Jp ? m_jis.encode(text, m_bytes, last, &bad)
                                                               : codec::encode(m_to, text, m_bytes, &bad);
        m_sink.write(m_bytes);
        if (!ok) {
            bad.at = codec::continued(m_written, bad.at);
            m_error
                = codec_texts::unstorableIn(encodingName(m_to), bad, {batch_texts::yenSignHint(), {}, {}});
            return false;
        }
        // Only a refusal needs the place, so only they count it.
        if (codec::isJisBased(m_to))
            codec::advance(m_written, text);
        return true;
    }

    codec::TextEncoding m_to;
    std::optional<codec::LineEnd> m_lineEnd;
    QList<chars::ConversionKind> m_kinds;
    QList<QString> m_carry; // one per kind, and one before the encoder
    ByteSink &m_sink;
    QByteArray m_bytes;
    codec::iso2022jp::Encoder m_jis;
    codec::Position m_written;
    QString m_error;
};

StreamOutcome failed(const QString &message) { return {ExitStatus::Unconvertible, message, 0}; }

StreamOutcome runThroughText(const StreamOptions &options, codec::TextEncoding from, BlockReader &reader,
                             qsizetype start, ByteSink &sink)
{
    TextPipeline pipeline(options, sink);
    codec::Position read;
    codec::iso2022jp::Decoder jis; // the designation in force, from block to block
    for (;;) {
        const QByteArrayView bytes = reader.bytes().sliced(start);
        const bool last = reader.atEnd();
        qsizetype cut = bytes.size();
        QString text;
        codec::DecodeError bad;
        bool ok = false;
        if (from == codec::TextEncoding::Iso2022Jp) {
            ok = jis.decode(bytes, text, &bad, last ? nullptr : &cut);
        } else {
            if (!last)
                cut = codec::wholeCharacters(from, bytes);
            ok = codec::decode(from, bytes.first(cut), text, &bad);
        }
        if (!ok) {
            if (!pipeline.push(std::move(text), true))
                return failed(pipeline.error());
            return failed(invalidInput(from, codec::continued(read, bad.at)));
        }
        codec::advance(read, text);
        if (!pipeline.push(std::move(text), last))
            return failed(pipeline.error());
        if (last)
            return {};
        reader.keepFrom(start + cut);
        start = 0;
        reader.next();
    }
}

StreamOutcome run(const StreamOptions &options, ByteSource &input, CountingSink &sink)
{
    DetectingSource detecting(input, options.lookAhead);
    ByteSource *source = &input;
    codec::TextEncoding from;
    if (options.from) {
        from = *options.from;
    } else {
        from = detecting.detect();
        source = &detecting;
    }
    BlockReader reader(*source, options.blockSize);
    reader.next();
    const QByteArrayView head = reader.bytes();
    qsizetype start = 0;
    switch (from) {
    case codec::TextEncoding::ShiftJis:
    case codec::TextEncoding::EucJp:
    case codec::TextEncoding::Iso2022Jp:
        // Such a file decodes as Shift-JIS or EUC-JP by accident, into mojibake.
        if (head.startsWith(utf8Bom))
            return failed(batch_texts::looksLikeUtf8());
        if (head.startsWith(utf16LeBom) || head.startsWith(utf16BeBom))
            return failed(batch_texts::looksLikeUtf16());
        break;
    case codec::TextEncoding::Utf16Le:
    case codec::TextEncoding::Utf16Be:
        start = head.startsWith(codec::byteOrderMark(from)) ? codec::byteOrderMark(from).size() : 0;
        break;
    default:
        if (head.startsWith(utf16LeBom) || head.startsWith(utf16BeBom))
            return failed(batch_texts::looksLikeUtf16());
        start = head.startsWith(utf8Bom) ? utf8Bom.size() : 0;
        break;
    }
    if (options.writeBom)
        sink.writeUncounted(codec::byteOrderMark(options.to));
    if (from == codec::TextEncoding::ShiftJis && !options.lineEnd) {
        if (const codec::Cp932ByteMap *map = codec::Cp932ByteMap::shared(options.kinds, options.to))
            return runCp932ByteMap(*map, reader, sink);
    }
    return runThroughText(options, from, reader, start, sink);
}

} // namespace

StreamOutcome convertStream(const StreamOptions &options, ByteSource &source, ByteSink &sink)
{
    CountingSink counted(sink);
    StreamOutcome outcome;
    try {
        outcome = run(options, source, counted);
    } catch (const StreamError &error) {
        outcome = {ExitStatus::UsageError, error.message(), 0};
    }
    outcome.bytesWritten = counted.count();
    return outcome;
}

} // namespace orvane::batch
