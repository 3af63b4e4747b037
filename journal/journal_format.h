#pragma once
// The journal's bytes: a header (a mark and the format's version), then records, each framed as
// its payload's length (4 bytes), its type (1 byte), the payload, and a check (4 bytes) of all
// that precedes it in the frame. A cut-off or overwritten record fails its frame or its check, so
// every complete record before it can still be trusted.

#include "journal_record.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

namespace orvane::journal {

inline constexpr quint32 formatVersion = 1;
inline constexpr qsizetype headerSize = 12;

// The header of a journal written by this version.
QByteArray journalHeader();

// Appends one framed record.
void appendRecord(QByteArray &out, const Record &record);
// The same for an insert, without copying the inserted bytes into a record first.
void appendInsert(QByteArray &out, qint64 position, QByteArrayView bytes);

enum class JournalStatus {
    Complete, // every byte belonged to a complete record
    CutOff, // the bytes end inside a record (a write cut short)
    Damaged, // a record's frame or check is wrong
    Newer, // written by a newer version of the format: nothing read
    NotJournal, // no journal header
};

// Where a reader finds a journal's bytes: in memory, or read from its file a frame at a time.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual qint64 size() const = 0;
    // The n bytes at offset at, valid until the next call; false when they cannot be read.
    virtual bool read(qint64 at, qint64 n, QByteArrayView &bytes) = 0;
};

class MemorySource final : public ByteSource {
public:
    explicit MemorySource(QByteArrayView bytes)
        : m_bytes(bytes)
    {
    }
    qint64 size() const override { return m_bytes.size(); }
    bool read(qint64 at, qint64 n, QByteArrayView &bytes) override;

private:
    QByteArrayView m_bytes;
};

// Reads a journal one record at a time, so that a journal of any size costs the memory of its
// largest record (at most 4 GiB by its frame, never more than the bytes that remain) and no more.
// A header with a damaged byte is passed over when the origin record after it reads whole.
class JournalReader {
public:
    explicit JournalReader(ByteSource &source);
    // Complete while records may follow; otherwise why none can.
    JournalStatus status() const { return m_status; }
    quint32 version() const { return m_version; }
    // The next record; false at the end or at damage, which status then tells.
    bool next(Record &record);
    // The bytes up to the end of the last complete record (the header's size when there is none).
    qint64 validLength() const { return m_at; }
    // After damage: how many whole records follow the damaged one, passing over it by its frame's
    // length; -1 when they cannot be told (the length itself is wrong, or more damage follows).
    qsizetype countAfterDamage();

private:
    enum class Frame { Whole, CutOff, Damaged };
    Frame readFrame(qint64 at, Record &record, qint64 &length);

    ByteSource &m_source;
    JournalStatus m_status = JournalStatus::NotJournal;
    quint32 m_version = 0;
    qint64 m_at = 0;
};

struct ParsedJournal {
    using Status = JournalStatus;
    Status status = Status::NotJournal;
    quint32 version = 0;
    QList<Record> records;
    // The bytes up to the end of the last complete record (the header's size when there is none).
    qint64 validLength = 0;
    // Where each record ends, for cutting a journal after any of them.
    QList<qint64> recordEnds;

    // The length of the journal that holds the first count records.
    qint64 lengthOf(qsizetype count) const { return count > 0 ? recordEnds[count - 1] : headerSize; }
};

// Reads records up to the first that is cut off or damaged; never reads past the bytes given.
ParsedJournal parseJournal(QByteArrayView bytes);

// Whether a record is one of the user's changes to the text (what the recovery counts).
bool isChange(const Record &record);

} // namespace orvane::journal
