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

struct ParsedJournal {
    enum class Status {
        Complete, // every byte belonged to a complete record
        CutOff, // the bytes end inside a record (a write cut short)
        Damaged, // a record's frame or check is wrong
        Newer, // written by a newer version of the format: nothing read
        NotJournal, // no journal header
    };
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

} // namespace orvane::journal
