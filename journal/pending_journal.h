#pragma once
// A journal left by a window that is gone, taken (locked) by this one to be offered back: what it
// holds, and where the text it began from can still be read.

#include "journal_file.h"
#include "journal_format.h"

#include <QList>

#include <memory>

namespace orvane::journal {

struct PendingJournal {
    enum class Base {
        Untitled, // an untitled document: the text began empty
        Inline, // the journal holds the whole text (it resumed after a failure)
        Kept, // the copy of the origin's bytes kept beside the journal
        File, // the origin's file, unchanged since
        Changed, // the origin's file changed, and no copy was kept: the edits cannot be replayed
        Unreadable, // no origin could be read (a newer version's journal, or damaged at its start)
    };

    std::shared_ptr<JournalFile> file;
    JournalStatus status = JournalStatus::NotJournal;
    Origin origin; // with the hash recorded after it
    Base base = Base::Unreadable;
    QString basePath; // the file to read the origin's text from, for Kept and File
    // The changes the records before any damage make, and those readable after it (-1: unknown).
    qsizetype changes = 0;
    qsizetype changesAfterDamage = 0;
    // The file on disk is no longer the one the edits began from.
    bool fileChanged = false;
    // Set aside at an earlier start (*.kept): offered with a question of its own.
    bool wasSetAside = false;

    // Some records were cut off or overwritten; those before them are whole.
    bool isDamaged() const;
    // The records, read one at a time from the file.
    std::unique_ptr<ByteSource> source() const { return file->source(); }
    // The document's name as the question shows it: the file name, or empty when untitled.
    QString fileName() const;
};

// Takes the journals of the folder whose windows are gone, oldest first, then those set aside; an
// empty file (its window ended before writing anything) is removed. Each is read a record at a
// time: a journal of any size costs the memory of its largest record. A folder that is not safely
// the user's own is not read.
QList<PendingJournal> takePendingJournals(const QString &folder);

// Moves a journal that cannot be offered back out of the way, keeping its bytes and its lock;
// returns its new path, which the message gives.
QString setAside(PendingJournal &pending);
// Where setAside puts it.
QString setAsidePath(const PendingJournal &pending);

} // namespace orvane::journal
