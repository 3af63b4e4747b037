#pragma once
// Replay of a journal's records: from the origin's text to the text as it was at the last edit.
// A pure function of its input, so that recovery, the tests and the fuzz target share it.

#include "journal_record.h"

#include <QList>

#include <QList>

namespace orvane::journal {

struct Replayed {
    QByteArray text; // UTF-8, as the edit control held it
    DocumentForm form;
    // How many conversions the records made; the next one gets this number.
    qint32 conversions = 0;
    // How many records were applied, the origin included; all of them when complete.
    qsizetype applied = 0;
    // How many of those changed the text (inserts, deletions, conversions, undo and redo).
    qsizetype changes = 0;
    // The journal's length up to the last record applied (streaming replay only).
    qint64 validLength = 0;
    bool complete = false;
};

// Applies the records in order to base, the origin's text (empty for an untitled document). The
// first record must be the origin, and base must have its length. A record that does not fit the
// text (a position past its end, a conversion that does not give the recorded change, an undo of
// an unknown step) stops the replay there: the text is as the records before it left it.
// The text stays valid UTF-8 throughout: an insert of other bytes, or a change that splits a
// character, is damage like any other record that does not fit.
Replayed replay(const QList<Record> &records, QByteArray base);

class JournalReader;
// The same, reading the records one at a time: the memory is the text's and one record's.
Replayed replay(JournalReader &reader, QByteArray base);

} // namespace orvane::journal
