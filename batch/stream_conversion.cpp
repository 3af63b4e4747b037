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

const QByteArrayView utf8Bom = byteOrderMark(TextEncoding::Utf8Bom);
const QByteArrayView utf16LeBom = byteOrderMark(TextEncoding::Utf16Le);
const QByteArrayView utf16BeBom = byteOrderMark(TextEncoding::Utf16Be);

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

QString invalidInput(TextEncoding from, codepage::Position at)
{
    switch (from) {
    case TextEncoding::Utf8:
    case TextEncoding::Utf8Bom:
        return batch_texts::invalidUtf8(at.line, at.column);
    case TextEncoding::Utf16Le:
    case TextEncoding::Utf16Be:
        return batch_texts::invalidUtf16(at.line, at.column);
    case TextEncoding::EucJp:
        return batch_texts::invalidIn(batch_texts::eucJpName(), at.line, at.column);
    case TextEncoding::Iso2022Jp:
        return batch_texts::invalidIn(batch_texts::iso2022JpName(), at.line, at.column);
    case TextEncoding::ShiftJis:
        break;
    }
    return batch_texts::invalidShiftJis(at.line, at.column);
}

QString encodingName(TextEncoding to)
{
    return to == TextEncoding::EucJp    ? batch_texts::eucJpName()
        : to == TextEncoding::Iso2022Jp ? batch_texts::iso2022JpName()
                                        : QStringLiteral("Shift-JIS");
}

// A unit that the next piece may change the conversion of: a half-width letter whose mark may
// follow, half a surrogate pair, a CR whose LF may follow.
bool holdsBack(QChar c)
{
    const char16_t u = c.unicode();
    return mayJoinVoicedMark(u) || c.isHighSurrogate() || u == u'\r';
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
            text = convert(m_kinds[k], take(k, std::move(text), last));
        text = take(m_kinds.size(), std::move(text), last);
        // A CR at the end of a piece waits for the next, so CR LF is never split here.
        if (m_lineEnd)
            text = withLineEnds(text, *m_lineEnd);
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
        codepage::EncodeError bad;
        const bool ok = m_to == TextEncoding::Iso2022Jp ? m_jis.encode(text, m_bytes, last, &bad)
                                                        : codepage::encode(m_to, text, m_bytes, &bad);
        m_sink.write(m_bytes);
        if (!ok) {
            bad.at = codepage::continued(m_written, bad.at);
            m_error
                = codec_texts::unstorableIn(encodingName(m_to), bad, {batch_texts::yenSignHint(), {}, {}});
            return false;
        }
        // Only a refusal needs the place, so only they count it.
        if (isJisBased(m_to))
            codepage::advance(m_written, text);
        return true;
    }

    TextEncoding m_to;
    std::optional<LineEnd> m_lineEnd;
    QList<ConversionKind> m_kinds;
    QList<QString> m_carry; // one per kind, and one before the encoder
    ByteSink &m_sink;
    QByteArray m_bytes;
    iso2022jp::Encoder m_jis;
    codepage::Position m_written;
    QString m_error;
};

StreamOutcome failed(const QString &message) { return {ExitStatus::Unconvertible, message, 0}; }

StreamOutcome runThroughText(const StreamOptions &options, TextEncoding from, BlockReader &reader,
                             qsizetype start, ByteSink &sink)
{
    TextPipeline pipeline(options, sink);
    codepage::Position read;
    iso2022jp::Decoder jis; // the designation in force, from block to block
    for (;;) {
        const QByteArrayView bytes = reader.bytes().sliced(start);
        const bool last = reader.atEnd();
        qsizetype cut = bytes.size();
        QString text;
        codepage::DecodeError bad;
        bool ok = false;
        if (from == TextEncoding::Iso2022Jp) {
            ok = jis.decode(bytes, text, &bad, last ? nullptr : &cut);
        } else {
            if (!last)
                cut = codepage::wholeCharacters(from, bytes);
            ok = codepage::decode(from, bytes.first(cut), text, &bad);
        }
        if (!ok) {
            if (!pipeline.push(std::move(text), true))
                return failed(pipeline.error());
            return failed(invalidInput(from, codepage::continued(read, bad.at)));
        }
        codepage::advance(read, text);
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
    TextEncoding from;
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
    case TextEncoding::ShiftJis:
    case TextEncoding::EucJp:
    case TextEncoding::Iso2022Jp:
        // Such a file decodes as Shift-JIS or EUC-JP by accident, into mojibake.
        if (head.startsWith(utf8Bom))
            return failed(batch_texts::looksLikeUtf8());
        if (head.startsWith(utf16LeBom) || head.startsWith(utf16BeBom))
            return failed(batch_texts::looksLikeUtf16());
        break;
    case TextEncoding::Utf16Le:
    case TextEncoding::Utf16Be:
        start = head.startsWith(byteOrderMark(from)) ? byteOrderMark(from).size() : 0;
        break;
    default:
        if (head.startsWith(utf16LeBom) || head.startsWith(utf16BeBom))
            return failed(batch_texts::looksLikeUtf16());
        start = head.startsWith(utf8Bom) ? utf8Bom.size() : 0;
        break;
    }
    if (options.writeBom)
        sink.writeUncounted(byteOrderMark(options.to));
    if (from == TextEncoding::ShiftJis && !options.lineEnd) {
        if (const codepage::Cp932ByteMap *map = codepage::Cp932ByteMap::shared(options.kinds, options.to))
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
