#include "pending_journal.h"

#include "file_identity.h"
#include "journal_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace orvane::journal {

namespace {

void findBase(PendingJournal &pending)
{
    const QList<Record> &records = pending.parsed.records;
    if (records.isEmpty() || !std::holds_alternative<Origin>(records.first()))
        return;
    pending.origin = std::get<Origin>(records.first());
    for (const Record &record : records) {
        if (const auto *hash = std::get_if<OriginHash>(&record)) {
            pending.origin.file.hash = hash->hash;
            pending.origin.file.hasHash = true;
        }
    }
    if (pending.origin.form.path.isEmpty()) {
        pending.base = PendingJournal::Base::Untitled;
        return;
    }
    const QString kept = pending.file->originalPath();
    if (isSameFile(kept, pending.origin.file)) {
        pending.base = PendingJournal::Base::Kept;
        pending.basePath = kept;
    } else if (isSameFile(pending.origin.form.path, pending.origin.file)) {
        pending.base = PendingJournal::Base::File;
        pending.basePath = pending.origin.form.path;
    } else {
        pending.base = PendingJournal::Base::Changed;
    }
}

} // namespace

bool PendingJournal::isDamaged() const
{
    return parsed.status == ParsedJournal::Status::CutOff || parsed.status == ParsedJournal::Status::Damaged;
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
    removeAbandonedCreations(folder);
    removeStrayOriginals(folder);
    QList<PendingJournal> pending;
    for (const QString &path : journalFiles(folder)) {
        std::shared_ptr<JournalFile> file = JournalFile::takeOrphan(path);
        if (!file)
            continue;
        const QByteArray bytes = file->readAll();
        if (bytes.isEmpty()) {
            file->remove();
            continue;
        }
        PendingJournal journal;
        journal.file = std::move(file);
        journal.parsed = parseJournal(bytes);
        findBase(journal);
        pending.append(std::move(journal));
    }
    return pending;
}

QString setAside(PendingJournal &pending)
{
    const QString from = pending.file->path();
    QString to = from;
    to.chop(QStringLiteral(".journal").size());
    to += QStringLiteral(".kept");
    if (!QFile::rename(from, to))
        return from;
    return to;
}

} // namespace orvane::journal
