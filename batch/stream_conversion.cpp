#include "stream_conversion.h"

#include "batch_texts.h"
#include "block_cut.h"
#include "block_reader.h"
#include "cp932_direct.h"
#include "cp932_direct_run.h"
#include "encoding_detection.h"
#include "text_position.h"

#include "text/chars/convert.h"
#include "text/codec/cp932.h"
#include "text/codec/text_encoding.h"
#include "text/codec/utf16.h"
#include "text/codec/utf8.h"

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
    void writeUncounted(QByteArrayView bytes) { m_sink.write(bytes); }
    qint64 count() const { return m_count; }

private:
    ByteSink &m_sink;
    qint64 m_count = 0;
};

QString codePointName(char32_t codePoint)
{
    return QStringLiteral("U+") + QString::number(codePoint, 16).toUpper().rightJustified(4, u'0');
}

utf16::ByteOrder byteOrder(Encoding encoding)
{
    return encoding == Encoding::Utf16Be ? utf16::ByteOrder::BigEndian : utf16::ByteOrder::LittleEndian;
}

QString invalidInput(Encoding from, TextPosition at)
{
    switch (from) {
    case Encoding::Utf8:
    case Encoding::Utf8Bom:
        return batch_texts::invalidUtf8(at.line, at.column);
    case Encoding::Utf16Le:
    case Encoding::Utf16Be:
        return batch_texts::invalidUtf16(at.line, at.column);
    default:
        return batch_texts::invalidShiftJis(at.line, at.column);
    }
}

// Decodes one piece; false at its first invalid sequence, with text holding what came before it
// and at its place relative to the piece.
bool decodePiece(Encoding from, QByteArrayView bytes, QString &text, TextPosition &at)
{
    switch (from) {
    case Encoding::Utf8:
    case Encoding::Utf8Bom: {
        utf8::DecodeError bad;
        if (utf8::decode(bytes, text, &bad))
            return true;
        at = {bad.at.line, bad.at.column};
        return false;
    }
    case Encoding::Utf16Le:
    case Encoding::Utf16Be: {
        utf16::DecodeError bad;
        if (utf16::decode(bytes, byteOrder(from), text, &bad))
            return true;
        at = {bad.at.line, bad.at.column};
        return false;
    }
    default: {
        cp932::DecodeError bad;
        if (cp932::decode(bytes, text, &bad))
            return true;
        at = {bad.at.line, bad.at.column};
        return false;
    }
    }
}

// A unit that the next piece may change the conversion of: a half-width letter whose mark may
// follow, half a surrogate pair, a CR whose LF may follow.
bool holdsBack(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0xFF61 && u <= 0xFF9D) || c.isHighSurrogate() || u == u'\r';
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
        return encode(text);
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

    bool encode(const QString &text)
    {
        m_bytes.clear();
        switch (m_to) {
        case Encoding::Utf8:
        case Encoding::Utf8Bom:
            // The text holds no lone surrogate: the decoders refuse them and the kinds keep pairs.
            utf8::encode(text, m_bytes);
            m_sink.write(m_bytes);
            return true;
        case Encoding::Utf16Le:
        case Encoding::Utf16Be:
            utf16::encode(text, byteOrder(m_to), m_bytes);
            m_sink.write(m_bytes);
            return true;
        default:
            break;
        }
        cp932::EncodeError bad;
        const bool ok = cp932::encode(text, m_bytes, &bad);
        m_sink.write(m_bytes);
        if (!ok) {
            const TextPosition at = offsetBy(m_written, bad.at.line, bad.at.column);
            const char32_t codePoint = bad.codePoint;
            m_error = batch_texts::cannotStore(QString::fromUcs4(&codePoint, 1), codePointName(codePoint),
                                               at.line, at.column);
            if (codePoint == U'\u00A5')
                m_error += batch_texts::yenSignHint();
            return false;
        }
        advance(m_written, text);
        return true;
    }

    Encoding m_to;
    std::optional<LineEnd> m_lineEnd;
    QList<ConversionKind> m_kinds;
    QList<QString> m_carry; // one per kind, and one before the encoder
    ByteSink &m_sink;
    QByteArray m_bytes;
    TextPosition m_written;
    QString m_error;
};

StreamOutcome failed(const QString &message) { return {Unconvertible, message, 0}; }

StreamOutcome runThroughText(const StreamOptions &options, Encoding from, BlockReader &reader,
                             qsizetype start, ByteSink &sink)
{
    TextPipeline pipeline(options, sink);
    TextPosition read;
    for (;;) {
        const QByteArrayView bytes = reader.bytes().sliced(start);
        const bool last = reader.atEnd();
        const qsizetype cut = last ? bytes.size() : wholeCharacters(from, bytes);
        QString text;
        TextPosition bad;
        if (!decodePiece(from, bytes.first(cut), text, bad)) {
            if (!pipeline.push(std::move(text), true))
                return failed(pipeline.error());
            return failed(invalidInput(from, offsetBy(read, bad.line, bad.column)));
        }
        advance(read, text);
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
    Encoding from = options.from;
    DetectingSource detecting(input);
    ByteSource *source = &input;
    if (from == Encoding::Auto) {
        from = detecting.detect();
        source = &detecting;
    }
    BlockReader reader(*source, options.blockSize);
    reader.next();
    const QByteArrayView head = reader.bytes();
    qsizetype start = 0;
    switch (from) {
    case Encoding::Cp932:
        // Such a file decodes as Shift-JIS by accident, into mojibake.
        if (head.startsWith(utf8Bom))
            return failed(batch_texts::looksLikeUtf8());
        if (head.startsWith(utf16LeBom) || head.startsWith(utf16BeBom))
            return failed(batch_texts::looksLikeUtf16());
        break;
    case Encoding::Utf16Le:
        start = head.startsWith(utf16LeBom) ? 2 : 0;
        break;
    case Encoding::Utf16Be:
        start = head.startsWith(utf16BeBom) ? 2 : 0;
        break;
    default:
        if (head.startsWith(utf16LeBom) || head.startsWith(utf16BeBom))
            return failed(batch_texts::looksLikeUtf16());
        start = head.startsWith(utf8Bom) ? utf8Bom.size() : 0;
        break;
    }
    if (options.writeBom) {
        if (options.to == Encoding::Utf8Bom)
            sink.writeUncounted(utf8Bom);
        else if (options.to == Encoding::Utf16Le)
            sink.writeUncounted(utf16LeBom);
        else if (options.to == Encoding::Utf16Be)
            sink.writeUncounted(utf16BeBom);
    }
    if (from == Encoding::Cp932 && !options.lineEnd) {
        if (const Cp932Direct *direct = Cp932Direct::shared(options.kinds, options.to))
            return runCp932Direct(*direct, reader, sink);
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
        outcome = {UsageError, error.message(), 0};
    }
    outcome.bytesWritten = counted.count();
    return outcome;
}

} // namespace orvane::batch
