#include "journal_folder.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvane::journal {

QString journalFolder()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    // A relative value is invalid by the base-directory rules and ignored.
    if (state.isEmpty() || !QDir::isAbsolutePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/orvane");
}

JournalFault JournalFault::ofError(int error, const QString &folder)
{
    Reason reason = Reason::Other;
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        reason = Reason::NoSpace;
        break;
    case EROFS:
        reason = Reason::ReadOnly;
        break;
    case EACCES:
    case EPERM:
        reason = Reason::NoPermission;
        break;
    case ENOENT:
    case ENOTDIR:
        reason = Reason::CannotMake;
        break;
    default:
        break;
    }
    return {reason, error, folder};
}

namespace {

// Makes each missing folder of the path, mode 0700; the error number of the first that fails.
int makeFolders(const QByteArray &path)
{
    for (qsizetype slash = path.indexOf('/', 1);; slash = path.indexOf('/', slash + 1)) {
        const QByteArray part = slash < 0 ? path : path.first(slash);
        if (::mkdir(part.constData(), 0700) != 0 && errno != EEXIST)
            return errno;
        if (slash < 0)
            return 0;
    }
}

// Opens the folder itself, never a link's target, and checks whose it is.
std::optional<JournalFault> checkFolder(const QString &folder, int &fd)
{
    const QByteArray native = QFile::encodeName(folder);
    fd = ::open(native.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        struct stat st { };
        if (::lstat(native.constData(), &st) == 0 && S_ISLNK(st.st_mode))
            return JournalFault {JournalFault::Reason::Link, 0, folder};
        if (error == ENOTDIR)
            return JournalFault {JournalFault::Reason::NotFolder, 0, folder};
        return JournalFault::ofError(error, folder);
    }
    struct stat st { };
    if (::fstat(fd, &st) != 0)
        return JournalFault::ofError(errno, folder);
    if (st.st_uid != ::geteuid())
        return JournalFault {JournalFault::Reason::ForeignOwner, 0, folder};
    if (st.st_mode & (S_IWGRP | S_IWOTH))
        return JournalFault {JournalFault::Reason::OpenToOthers, 0, folder};
    return std::nullopt;
}

} // namespace

std::optional<JournalFault> makeJournalFolder(const QString &folder)
{
    if (const int error = makeFolders(QFile::encodeName(folder)))
        return JournalFault::ofError(error, folder);
    int fd = -1;
    std::optional<JournalFault> fault = checkFolder(folder, fd);
    struct stat st { };
    if (!fault && ::fstat(fd, &st) == 0 && (st.st_mode & 077) && ::fchmod(fd, 0700) != 0)
        fault = JournalFault::ofError(errno, folder);
    if (fd >= 0)
        ::close(fd);
    return fault;
}

bool isSafeJournalFolder(const QString &folder)
{
    int fd = -1;
    const std::optional<JournalFault> fault = checkFolder(folder, fd);
    if (fd >= 0)
        ::close(fd);
    return !fault
        || (fault->reason != JournalFault::Reason::Link && fault->reason != JournalFault::Reason::ForeignOwner
            && fault->reason != JournalFault::Reason::OpenToOthers
            && fault->reason != JournalFault::Reason::NotFolder);
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
