#include "journal_format.h"

#include "fast_hash.h"

#include <QtEndian>

#include <cstddef>
#include <cstring>
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
};

Tag tagOf(const Record &record)
{
    static constexpr Tag tags[] = {Tag::Origin,   Tag::Insert,     Tag::Delete,    Tag::Conversion,
                                   Tag::StepUndo, Tag::OriginHash, Tag::FormChange};
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
    DocumentForm form()
    {
        DocumentForm form;
        form.path = QString::fromUtf8(bytes(varint()));
        // A number this version does not know leaves the default.
        form.encoding = enumOf(allTextEncodings, byte()).value_or(form.encoding);
        form.lineEnds.document = enumOf(allLineEnds, byte()).value_or(form.lineEnds.document);
        const quint8 last = byte();
        if (last == 0)
            form.lineEnds.last.reset();
        else if (const std::optional<LineEnd> lineEnd = enumOf(allLineEnds, last - 1u))
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
        const std::optional<ConversionKind> kind = enumOf(allConversionKinds, in.varint());
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

ParsedJournal parseJournal(QByteArrayView bytes)
{
    ParsedJournal parsed;
    if (bytes.size() < headerSize || std::memcmp(bytes.data(), mark, sizeof mark) != 0)
        return parsed;
    parsed.version = qFromLittleEndian<quint32>(bytes.data() + sizeof mark);
    if (parsed.version > formatVersion) {
        parsed.status = ParsedJournal::Status::Newer;
        return parsed;
    }
    if (parsed.version == 0)
        return parsed;

    qsizetype at = headerSize;
    parsed.validLength = at;
    parsed.status = ParsedJournal::Status::Complete;
    while (at < bytes.size()) {
        const qsizetype left = bytes.size() - at;
        if (left < frameHead + checkSize) {
            parsed.status = ParsedJournal::Status::CutOff;
            break;
        }
        const quint32 payloadSize = qFromLittleEndian<quint32>(bytes.data() + at);
        if (quint64(payloadSize) > quint64(left - frameHead - checkSize)) {
            parsed.status = ParsedJournal::Status::CutOff;
            break;
        }
        const qsizetype frameSize = frameHead + qsizetype(payloadSize);
        const QByteArrayView frame = bytes.sliced(at, frameSize);
        const quint32 check = qFromLittleEndian<quint32>(bytes.data() + at + frameSize);
        Record record;
        if (check != quint32(fastHash(frame))
            || !readRecord(Tag(quint8(frame[4])), frame.sliced(frameHead), record)) {
            parsed.status = ParsedJournal::Status::Damaged;
            break;
        }
        parsed.records.append(std::move(record));
        at += frameSize + checkSize;
        parsed.validLength = at;
        parsed.recordEnds.append(at);
    }
    return parsed;
}

} // namespace orvane::journal
