#include "disk/backup_copy.h"

#include "disk/disk_texts.h"
#include "disk/file_errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <cstdlib>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvane::disk {

namespace {

namespace texts = disk_texts;

constexpr qint64 kBlock = 1 << 20;

bool writeAllAt(int fd, const char *p, qint64 left, off_t offset)
{
    while (left > 0) {
        const ssize_t n = ::pwrite(fd, p, size_t(left), offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        left -= n;
        offset += n;
    }
    return true;
}

// Copies [0, size) of from into to, block by block; errno tells why when it returns false.
bool copyBytes(int from, int to, qint64 size)
{
    const std::unique_ptr<char[]> buffer(new char[kBlock]);
    for (qint64 done = 0; done < size;) {
        const ssize_t n = ::pread(from, buffer.get(), size_t(std::min(kBlock, size - done)), off_t(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO; // the file shrank under us
            return false;
        }
        if (!writeAllAt(to, buffer.get(), n, off_t(done)))
            return false;
        done += n;
    }
    return true;
}

void syncFolder(const QString &folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

QString reasonFor(int error)
{
    switch (error) {
    case ENOSPC:
    case EFBIG:
    case EDQUOT:
        return texts::backupNoSpace();
    case EACCES:
    case EPERM:
    case EROFS:
        return texts::backupAccessDenied();
    default:
        return systemReason(error);
    }
}

[[noreturn]] void failBackup(const QString &path, int error)
{
    const DiskFailure failure
        = reasonFor(error) == texts::backupNoSpace() ? DiskFailure::DiskFull : DiskFailure::PathFileAccess;
    fail(failure, texts::backupFailed(shown(path), reasonFor(error)));
}

// A folder of the user's own for copies, created private to the user.
QString cacheFolder()
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (!base.isEmpty()) {
        const QString folder = base + QStringLiteral("/orvane/backups");
        if (QDir().mkpath(folder) && ::chmod(QFile::encodeName(folder).constData(), 0700) == 0
            && ::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0)
            return folder;
    }
    return QDir::tempPath();
}

} // namespace

BackupCopy::BackupCopy(int fd, qint64 size, const QString &target, bool besideTarget, const QString &path)
    : m_size(size)
{
    const QFileInfo info(target);
    const QString folder = besideTarget ? info.absolutePath() : cacheFolder();
    QByteArray name = QFile::encodeName(folder + u'/' + info.fileName() + QStringLiteral(".XXXXXX.bak"));
    m_fd = ::mkostemps(name.data(), 4, O_CLOEXEC);
    if (m_fd < 0)
        failBackup(path, errno);
    m_path = QFile::decodeName(name);
    // Readable by whoever may read the file, and theirs when root saves another user's file, so
    // that a copy left behind is theirs to recover.
    struct stat st { };
    if (::fstat(fd, &st) == 0) {
        [[maybe_unused]] const int modeSet = ::fchmod(m_fd, st.st_mode & 0666);
        if (::geteuid() == 0) {
            [[maybe_unused]] const int ownerSet = ::fchown(m_fd, st.st_uid, st.st_gid);
        }
    }
    if (!copyBytes(fd, m_fd, size) || ::fsync(m_fd) != 0) {
        const int error = errno;
        remove();
        failBackup(path, error);
    }
    // The copy's name must survive a crash as well as its bytes.
    syncFolder(folder);
}

BackupCopy::~BackupCopy()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool BackupCopy::restoreInto(int fd, qint64 touched) const noexcept
{
    try {
        // Bytes past `touched` were never overwritten.
        return copyBytes(m_fd, fd, std::min(touched, m_size)) && ::ftruncate(fd, off_t(m_size)) == 0
            && ::fsync(fd) == 0;
    } catch (...) { // the block buffer
        return false;
    }
}

void BackupCopy::remove() noexcept
{
    if (m_path.isEmpty())
        return;
    ::unlink(QFile::encodeName(m_path).constData());
    m_path.clear();
}

} // namespace orvane::disk
