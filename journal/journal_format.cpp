#include "journal_format.h"

#include "fast_hash.h"

#include <QtEndian>

#include <cstddef>
#include <cstring>
#include <new>
#include <optional>

namespace orvane::journal {

namespace {

constexpr char mark[8] = {'O', 'R', 'V', 'J', 'R', 'N', 'L', '\n'};
constexpr qsizetype frameHead = 5; // length + type
constexpr qsizetype checkSize = 4;

enum class Tag : quint8 {
    Origin = 1,
    Insert = 2,
    Delete = 3,
    Conversion = 4,
    StepUndo = 5,
    OriginHash = 6,
    FormChange = 7,
    Replacement = 8,
    Rebase = 9,
};

void putVarint(QByteArray &out, quint64 value)
{
    char buffer[10];
    int n = 0;
    do {
        char byte = char(value & 0x7F);
        value >>= 7;
        if (value)
            byte = char(byte | 0x80);
        buffer[n++] = byte;
    } while (value);
    out.append(buffer, n);
}

quint64 zigzag(qint64 value) { return (quint64(value) << 1) ^ quint64(value >> 63); }
qint64 unzigzag(quint64 value) { return qint64(value >> 1) ^ -qint64(value & 1); }

void putSigned(QByteArray &out, qint64 value) { putVarint(out, zigzag(value)); }

void putBytes(QByteArray &out, QByteArrayView bytes)
{
    putVarint(out, quint64(bytes.size()));
    out.append(bytes);
}

// A form's encoding and line ends are each a byte: the enumerator's number; after the last line
// 0 for none, else 1 + the line end's number.
void putForm(QByteArray &out, const DocumentForm &form)
{
    putBytes(out, form.path.toUtf8());
    out.append(char(form.encoding));
    out.append(char(form.lineEnds.document));
    out.append(char(form.lineEnds.last ? 1 + int(*form.lineEnds.last) : 0));
}

// The enumerator numbered number among all, if any.
template <typename Enum, std::size_t N> std::optional<Enum> enumOf(const Enum (&all)[N], quint64 number)
{
    for (const Enum value : all) {
        if (quint64(value) == number)
            return value;
    }
    return std::nullopt;
}

// A string as its UTF-16 units, so that any string comes back exactly.
void putString(QByteArray &out, const QString &text)
{
    putVarint(out, quint64(text.size()));
    for (const QChar c : text)
        putVarint(out, c.unicode());
}

// Opens a frame: room for the length, then the type.
qsizetype beginFrame(QByteArray &out, Tag tag)
{
    const qsizetype start = out.size();
    out.append(4, '\0');
    out.append(char(tag));
    return start;
}

void endFrame(QByteArray &out, qsizetype start)
{
    const quint32 payload = quint32(out.size() - start - frameHead);
    qToLittleEndian(payload, out.data() + start);
    const quint32 check = quint32(fastHash(QByteArrayView(out).sliced(start)));
    char bytes[checkSize];
    qToLittleEndian(check, bytes);
    out.append(bytes, checkSize);
}

struct Payload {
    Payload(QByteArray &out_)
        : out(out_)
    {
    }
    QByteArray &out;

    void operator()(const Origin &r)
    {
        putForm(out, r.form);
        putSigned(out, r.file.size);
        putSigned(out, r.file.modifiedNs);
        out.append(char(r.file.hasHash ? 1 : 0));
        putVarint(out, r.file.hash);
        putSigned(out, r.baseLength);
    }
    void operator()(const Insert &r)
    {
        putVarint(out, quint64(r.position));
        out.append(r.bytes);
    }
    void operator()(const Delete &r)
    {
        putVarint(out, quint64(r.position));
        putVarint(out, quint64(r.length));
    }
    void operator()(const Conversion &r)
    {
        putVarint(out, quint64(r.kind));
        out.append(char(r.wholeText ? 1 : 0));
        putVarint(out, quint64(r.position));
        putVarint(out, quint64(r.removed));
        putVarint(out, quint64(r.inserted));
    }
    void operator()(const StepUndo &r)
    {
        putVarint(out, quint64(r.conversion));
        out.append(char(r.redo ? 1 : 0));
    }
    void operator()(const OriginHash &r) { putVarint(out, r.hash); }
    void operator()(const FormChange &r) { putForm(out, r.form); }
    void operator()(const Rebase &r) { out.append(r.text); }
    void operator()(const Replacement &r)
    {
        putString(out, r.command.pattern);
        putString(out, r.command.replacement);
        putString(out, r.command.lineEnd);
        out.append(char(r.command.compare == chars::CompareMode::Text ? 1 : 0));
        out.append(char(r.command.regularExpression ? 1 : 0));
        out.append(char(r.wholeText ? 1 : 0));
        putVarint(out, quint64(r.position));
        putVarint(out, quint64(r.removed));
        putVarint(out, quint64(r.inserted));
    }
};

Tag tagOf(const Record &record)
{
    static constexpr Tag tags[]
        = {Tag::Origin,     Tag::Insert,     Tag::Delete,      Tag::Conversion, Tag::StepUndo,
           Tag::OriginHash, Tag::FormChange, Tag::Replacement, Tag::Rebase};
    static_assert(std::size(tags) == std::variant_size_v<Record>);
    return tags[record.index()];
}

// Reads a payload; every read is checked against its end, and a payload must be used up exactly.
class PayloadReader {
public:
    explicit PayloadReader(QByteArrayView bytes)
        : m_p(bytes.data())
        , m_end(bytes.data() + bytes.size())
    {
    }
    bool ok() const { return m_ok; }
    bool atEnd() const { return m_p == m_end; }

    quint64 varint()
    {
        quint64 value = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            if (m_p == m_end)
                break;
            const quint8 byte = quint8(*m_p++);
            value |= quint64(byte & 0x7F) << shift;
            if (!(byte & 0x80))
                return value;
        }
        m_ok = false;
        return 0;
    }
    qint64 count()
    {
        const quint64 value = varint();
        if (value > quint64(std::numeric_limits<qint64>::max()))
            m_ok = false;
        return m_ok ? qint64(value) : 0;
    }
    qint64 signedValue() { return unzigzag(varint()); }
    quint8 byte()
    {
        if (m_p == m_end) {
            m_ok = false;
            return 0;
        }
        return quint8(*m_p++);
    }
    bool flag()
    {
        const quint8 value = byte();
        if (value > 1)
            m_ok = false;
        return value == 1;
    }
    QByteArrayView bytes(quint64 size)
    {
        if (size > quint64(m_end - m_p)) {
            m_ok = false;
            return {};
        }
        const QByteArrayView view(m_p, qsizetype(size));
        m_p += size;
        return view;
    }
    QByteArrayView rest() { return bytes(quint64(m_end - m_p)); }
    QString string()
    {
        const quint64 size = varint();
        // Each unit takes at least one byte.
        if (size > quint64(m_end - m_p)) {
            m_ok = false;
            return {};
        }
        QString text(qsizetype(size), Qt::Uninitialized);
        for (QChar &c : text) {
            const quint64 unit = varint();
            if (unit > 0xFFFF)
                m_ok = false;
            c = QChar(char16_t(unit));
        }
        return text;
    }
    DocumentForm form()
    {
        DocumentForm form;
        form.path = QString::fromUtf8(bytes(varint()));
        // A number this version does not know leaves the default.
        form.encoding = enumOf(codec::allTextEncodings, byte()).value_or(form.encoding);
        form.lineEnds.document = enumOf(codec::allLineEnds, byte()).value_or(form.lineEnds.document);
        const quint8 last = byte();
        if (last == 0)
            form.lineEnds.last.reset();
        else if (const std::optional<codec::LineEnd> lineEnd = enumOf(codec::allLineEnds, last - 1u))
            form.lineEnds.last = lineEnd;
        return form;
    }

private:
    const char *m_p;
    const char *m_end;
    bool m_ok = true;
};

bool readRecord(Tag tag, QByteArrayView payload, Record &record)
{
    PayloadReader in(payload);
    switch (tag) {
    case Tag::Origin: {
        Origin r;
        r.form = in.form();
        r.file.size = in.signedValue();
        r.file.modifiedNs = in.signedValue();
        r.file.hasHash = in.flag();
        r.file.hash = in.varint();
        r.baseLength = in.signedValue();
        if (r.baseLength < 0)
            return false;
        record = r;
        break;
    }
    case Tag::Insert: {
        Insert r;
        r.position = in.count();
        r.bytes = in.rest().toByteArray();
        record = r;
        break;
    }
    case Tag::Delete:
        record = Delete {in.count(), in.count()};
        break;
    case Tag::Conversion: {
        Conversion r;
        const std::optional<chars::ConversionKind> kind = enumOf(chars::allConversionKinds, in.varint());
        r.wholeText = in.flag();
        r.position = in.count();
        r.removed = in.count();
        r.inserted = in.count();
        // A kind this version does not know cannot be replayed: the record is damage.
        if (!kind)
            return false;
        r.kind = *kind;
        record = r;
        break;
    }
    case Tag::StepUndo: {
        const quint64 conversion = in.varint();
        if (conversion > quint64(std::numeric_limits<qint32>::max()))
            return false;
        record = StepUndo {qint32(conversion), in.flag()};
        break;
    }
    case Tag::OriginHash:
        record = OriginHash {in.varint()};
        break;
    case Tag::FormChange:
        record = FormChange {in.form()};
        break;
    case Tag::Rebase:
        record = Rebase {in.rest().toByteArray()};
        break;
    case Tag::Replacement: {
        Replacement r;
        r.command.pattern = in.string();
        r.command.replacement = in.string();
        r.command.lineEnd = in.string();
        r.command.compare = in.flag() ? chars::CompareMode::Text : chars::CompareMode::Binary;
        r.command.regularExpression = in.flag();
        r.wholeText = in.flag();
        r.position = in.count();
        r.removed = in.count();
        r.inserted = in.count();
        record = r;
        break;
    }
    default:
        return false;
    }
    return in.ok() && in.atEnd();
}

} // namespace

QByteArray journalHeader()
{
    QByteArray header(mark, sizeof mark);
    char version[4];
    qToLittleEndian(formatVersion, version);
    header.append(version, 4);
    return header;
}

void appendRecord(QByteArray &out, const Record &record)
{
    const qsizetype start = beginFrame(out, tagOf(record));
    std::visit(Payload(out), record);
    endFrame(out, start);
}

void appendInsert(QByteArray &out, qint64 position, QByteArrayView bytes)
{
    const qsizetype start = beginFrame(out, Tag::Insert);
    putVarint(out, quint64(position));
    out.append(bytes);
    endFrame(out, start);
}

bool MemorySource::read(qint64 at, qint64 n, QByteArrayView &bytes)
{
    if (at < 0 || n < 0 || at > m_bytes.size() || n > m_bytes.size() - at)
        return false;
    bytes = m_bytes.sliced(at, n);
    return true;
}

JournalReader::JournalReader(ByteSource &source)
    : m_source(source)
{
    QByteArrayView header;
    if (!m_source.read(0, headerSize, header))
        return;
    const bool marked = std::memcmp(header.data(), mark, sizeof mark) == 0;
    m_version = qFromLittleEndian<quint32>(header.data() + sizeof mark);
    if (marked && m_version == formatVersion) {
        m_status = JournalStatus::Complete;
        m_at = headerSize;
        return;
    }
    // A later version numbers itself in the low byte; a mark or version otherwise wrong is damage,
    // and the records still read when the origin after the header does.
    if (marked && m_version > formatVersion && m_version <= 0xFF) {
        m_status = JournalStatus::Newer;
        return;
    }
    Record origin;
    qint64 length = 0;
    if (readFrame(headerSize, origin, length) == Frame::Whole && std::holds_alternative<Origin>(origin)) {
        m_version = formatVersion;
        m_status = JournalStatus::Complete;
        m_at = headerSize;
    }
}

JournalReader::Frame JournalReader::readFrame(qint64 at, Record &record, qint64 &length)
{
    const qint64 left = m_source.size() - at;
    QByteArrayView head;
    if (left < frameHead + checkSize || !m_source.read(at, frameHead, head))
        return Frame::CutOff;
    const quint32 payloadSize = qFromLittleEndian<quint32>(head.data());
    if (qint64(payloadSize) > left - frameHead - checkSize)
        return Frame::CutOff;
    length = frameHead + qint64(payloadSize) + checkSize;
    QByteArrayView frame;
    try {
        if (!m_source.read(at, length, frame))
            return Frame::Damaged;
    } catch (const std::bad_alloc &) {
        return Frame::Damaged;
    }
    const QByteArrayView framed = frame.first(length - checkSize);
    const quint32 check = qFromLittleEndian<quint32>(frame.data() + length - checkSize);
    if (check != quint32(fastHash(framed))
        || !readRecord(Tag(quint8(framed[4])), framed.sliced(frameHead), record))
        return Frame::Damaged;
    return Frame::Whole;
}

bool JournalReader::next(Record &record)
{
    if (m_status != JournalStatus::Complete || m_at >= m_source.size())
        return false;
    qint64 length = 0;
    switch (readFrame(m_at, record, length)) {
    case Frame::Whole:
        m_at += length;
        return true;
    case Frame::CutOff:
        m_status = JournalStatus::CutOff;
        return false;
    case Frame::Damaged:
        m_status = JournalStatus::Damaged;
        return false;
    }
    return false;
}

qsizetype JournalReader::countAfterDamage()
{
    if (m_status == JournalStatus::CutOff)
        return 0;
    if (m_status != JournalStatus::Damaged)
        return -1;
    QByteArrayView head;
    if (!m_source.read(m_at, frameHead, head))
        return -1;
    qint64 at = m_at + frameHead + qint64(qFromLittleEndian<quint32>(head.data())) + checkSize;
    qsizetype count = 0;
    while (at < m_source.size()) {
        Record record;
        qint64 length = 0;
        if (readFrame(at, record, length) != Frame::Whole)
            return -1;
        if (isChange(record))
            ++count;
        at += length;
    }
    return at == m_source.size() ? count : -1;
}

bool isChange(const Record &record)
{
    return !std::holds_alternative<Origin>(record) && !std::holds_alternative<OriginHash>(record)
        && !std::holds_alternative<FormChange>(record) && !std::holds_alternative<Rebase>(record);
}

ParsedJournal parseJournal(QByteArrayView bytes)
{
    MemorySource source(bytes);
    JournalReader reader(source);
    ParsedJournal parsed;
    parsed.version = reader.version();
    Record record;
    while (reader.next(record)) {
        parsed.records.append(std::move(record));
        parsed.recordEnds.append(reader.validLength());
    }
    parsed.status = reader.status();
    parsed.validLength = reader.validLength();
    if (parsed.status == JournalStatus::Newer || parsed.status == JournalStatus::NotJournal) {
        parsed.validLength = 0;
        parsed.version = parsed.status == JournalStatus::Newer ? parsed.version : 0;
    }
    return parsed;
}

} // namespace orvane::journal
