#include "journal_folder.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>

#include <atomic>
#include <sys/stat.h>

namespace orvane::journal {

QString journalFolder()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    // A relative value is invalid by the base-directory rules and ignored.
    if (state.isEmpty() || !QDir::isAbsolutePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/orvane");
}

bool makeJournalFolder(const QString &folder)
{
    if (!QDir().mkpath(folder))
        return false;
    return ::chmod(QFile::encodeName(folder).constData(), 0700) == 0;
}

QStringList journalFiles(const QString &folder)
{
    QStringList files;
    const QDir dir(folder);
    for (const QString &name :
         dir.entryList({QStringLiteral("*.journal")}, QDir::Files | QDir::Hidden | QDir::System, QDir::Name))
        files << dir.filePath(name);
    return files;
}

QString newJournalPath(const QString &folder)
{
    static std::atomic<int> counter {0};
    // The time first, so that names sort by age.
    return QStringLiteral("%1/%2-%3-%4.journal")
        .arg(folder, QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmss")))
        .arg(QCoreApplication::applicationPid())
        .arg(counter++);
}

} // namespace orvane::journal
