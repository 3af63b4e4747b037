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
        Kept, // the copy of the origin's bytes kept beside the journal
        File, // the origin's file, unchanged since
        Changed, // the origin's file changed, and no copy was kept: the edits cannot be replayed
        Unreadable, // no origin could be read (a newer version's journal, or damaged at its start)
    };

    std::shared_ptr<JournalFile> file;
    ParsedJournal parsed;
    Origin origin; // with the hash recorded after it
    Base base = Base::Unreadable;
    QString basePath; // the file to read the origin's text from, for Kept and File

    // Some records at the end were cut off or overwritten; those before them are whole.
    bool isDamaged() const;
    // The document's name as the question shows it: the file name, or empty when untitled.
    QString fileName() const;
};

// Takes the journals of the folder whose windows are gone, oldest first; an empty file (its window
// ended before writing anything) is removed.
QList<PendingJournal> takePendingJournals(const QString &folder);

// Moves a journal that cannot be offered back out of the way, keeping its bytes; returns its new
// path, which the message gives.
QString setAside(PendingJournal &pending);

} // namespace orvane::journal
