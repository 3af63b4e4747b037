#pragma once
// Where journals live: $XDG_STATE_HOME/orvane (by default ~/.local/state/orvane), mode 0700,
// never beside the documents.

#include <QString>
#include <QStringList>

namespace orvane::journal {

QString journalFolder();
// Creates the folder (and its parents) when missing and makes it the owner's alone.
bool makeJournalFolder(const QString &folder);
// The journal files in the folder, oldest first.
QStringList journalFiles(const QString &folder);
// A new journal file's name in the folder, unique to this process.
QString newJournalPath(const QString &folder);

} // namespace orvane::journal
