#include "pending_journal.h"

#include "file_identity.h"
#include "journal_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace orvane::journal {

namespace {

// Reads the journal once, a record at a time: its origin, hash and counts.
void scan(PendingJournal &pending)
{
    const std::unique_ptr<ByteSource> source = pending.file->source();
    JournalReader reader(*source);
    Record record;
    qsizetype index = 0;
    bool rebased = false;
    while (reader.next(record)) {
        if (index == 0) {
            if (!std::holds_alternative<Origin>(record))
                return;
            pending.origin = std::get<Origin>(record);
        } else if (const auto *hash = std::get_if<OriginHash>(&record)) {
            pending.origin.file.hash = hash->hash;
            pending.origin.file.hasHash = true;
        } else if (std::holds_alternative<Rebase>(record)) {
            rebased = true;
        }
        if (isChange(record))
            ++pending.changes;
        ++index;
    }
    pending.status = reader.status();
    pending.changesAfterDamage = reader.countAfterDamage();
    if (index == 0)
        return;
    const QString &path = pending.origin.form.path;
    pending.fileChanged
        = !path.isEmpty() && pending.origin.file.size >= 0 && !isSameFile(path, pending.origin.file);
    if (rebased) {
        pending.base = PendingJournal::Base::Inline;
    } else if (path.isEmpty()) {
        pending.base = PendingJournal::Base::Untitled;
    } else if (const QString kept = pending.file->originalPath(); isSameFile(kept, pending.origin.file)) {
        pending.base = PendingJournal::Base::Kept;
        pending.basePath = kept;
    } else if (!pending.fileChanged) {
        pending.base = PendingJournal::Base::File;
        pending.basePath = path;
    } else {
        pending.base = PendingJournal::Base::Changed;
    }
}

} // namespace

bool PendingJournal::isDamaged() const
{
    return status == JournalStatus::CutOff || status == JournalStatus::Damaged;
}

QString PendingJournal::fileName() const { return QFileInfo(origin.form.path).fileName(); }

namespace {

// A kept original whose journal is gone (its window ended between removing the one and the
// other): nothing will ever read it.
void removeStrayOriginals(const QString &folder)
{
    const QDir dir(folder);
    for (const QString &name : dir.entryList({QStringLiteral("*.original")}, QDir::Files | QDir::Hidden)) {
        const QString stem = dir.filePath(name.chopped(QStringLiteral(".original").size()));
        if (!QFile::exists(stem + QStringLiteral(".journal"))
            && !QFile::exists(stem + QStringLiteral(".kept")))
            QFile::remove(dir.filePath(name));
    }
}

// A journal whose window was killed while creating it: it never held a record.
void removeAbandonedCreations(const QString &folder)
{
    const QDir dir(folder);
    for (const QString &name : dir.entryList({QStringLiteral("*.creating")}, QDir::Files | QDir::Hidden)) {
        if (const std::shared_ptr<JournalFile> file = JournalFile::takeOrphan(dir.filePath(name)))
            file->remove();
    }
}

} // namespace

QList<PendingJournal> takePendingJournals(const QString &folder)
{
    QList<PendingJournal> pending;
    if (!isSafeJournalFolder(folder))
        return pending;
    removeAbandonedCreations(folder);
    removeStrayOriginals(folder);
    QStringList paths = journalFiles(folder);
    const QDir dir(folder);
    const QStringList setAside
        = dir.entryList({QStringLiteral("*.kept")}, QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString &name : setAside)
        paths << dir.filePath(name);
    for (const QString &path : paths) {
        std::shared_ptr<JournalFile> file = JournalFile::takeOrphan(path);
        if (!file)
            continue;
        if (file->source()->size() == 0) {
            file->remove();
            continue;
        }
        PendingJournal journal;
        journal.file = std::move(file);
        journal.wasSetAside = path.endsWith(QLatin1String(".kept"));
        scan(journal);
        pending.append(std::move(journal));
    }
    return pending;
}

QString setAsidePath(const PendingJournal &pending)
{
    QString to = pending.file->path();
    if (!to.endsWith(QLatin1String(".journal")))
        return to;
    to.chop(QStringLiteral(".journal").size());
    return to + QStringLiteral(".kept");
}

QString setAside(PendingJournal &pending)
{
    const QString to = setAsidePath(pending);
    if (to != pending.file->path())
        pending.file->rename(to);
    pending.wasSetAside = true;
    return pending.file->path();
}

} // namespace orvane::journal
