#pragma once
// Where journals live: $XDG_STATE_HOME/orvane (by default ~/.local/state/orvane), mode 0700,
// never beside the documents.

#include "journal_fault.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace orvane::journal {

QString journalFolder();
// Creates the folder (and its parents) mode 0700 when missing. An existing one is used only when
// it is a real folder of this user that no one else may write; one readable by others is made
// the owner's alone through its own descriptor, never through a link. The fault when it cannot be
// used.
std::optional<JournalFault> makeJournalFolder(const QString &folder);
// The same checks without creating or changing anything: whether the folder may be read for
// journals left behind (a missing folder holds none and is fine).
bool isSafeJournalFolder(const QString &folder);
// The journal files in the folder, oldest first.
QStringList journalFiles(const QString &folder);
// A new journal file's name in the folder, unique to this process.
QString newJournalPath(const QString &folder);

} // namespace orvane::journal
