#include "journal_file.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvane::journal {

namespace {

QByteArray nativePath(const QString &path) { return QFile::encodeName(path); }

} // namespace

JournalFile::JournalFile(int fd, QString path, qint64 size)
    : m_fd(fd)
    , m_path(std::move(path))
    , m_size(size)
{
}

JournalFile::~JournalFile() { ::close(m_fd); }

std::shared_ptr<JournalFile> JournalFile::create(const QString &path)
{
    // Close-on-exec: a program started from here must not inherit, and so hold, the lock.
    const int fd
        = ::open(nativePath(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0)
        return nullptr;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::unlink(nativePath(path).constData());
        ::close(fd);
        return nullptr;
    }
    return std::shared_ptr<JournalFile>(new JournalFile(fd, path, 0));
}

std::shared_ptr<JournalFile> JournalFile::takeOrphan(const QString &path)
{
    const int fd = ::open(nativePath(path).constData(), O_RDWR | O_APPEND | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return nullptr;
    struct stat st { };
    // Locked: its window is alive. Unlinked since we opened it: its window removed it.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::fstat(fd, &st) != 0 || st.st_nlink == 0
        || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    return std::shared_ptr<JournalFile>(new JournalFile(fd, path, st.st_size));
}

bool JournalFile::append(QByteArrayView bytes)
{
    const std::lock_guard lock(m_writeMutex);
    const char *p = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(m_fd, p, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            // Leave no partial record for later ones to follow.
            if (::ftruncate(m_fd, m_size) != 0)
                return false;
            return false;
        }
        p += n;
        left -= n;
    }
    m_size += bytes.size();
    return true;
}

bool JournalFile::sync() { return ::fdatasync(m_fd) == 0; }

QByteArray JournalFile::readAll()
{
    struct stat st { };
    if (::fstat(m_fd, &st) != 0)
        return {};
    QByteArray bytes;
    bytes.resize(qsizetype(st.st_size));
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pread(m_fd, bytes.data() + done, size_t(bytes.size() - done), off_t(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += n;
    }
    bytes.truncate(done);
    return bytes;
}

bool JournalFile::truncate(qint64 length)
{
    const std::lock_guard lock(m_writeMutex);
    if (::ftruncate(m_fd, off_t(length)) != 0)
        return false;
    m_size = length;
    return true;
}

QString JournalFile::originalPath() const
{
    QString path = m_path;
    if (path.endsWith(QLatin1String(".journal")))
        path.chop(8);
    return path + QStringLiteral(".original");
}

void JournalFile::remove()
{
    {
        const std::lock_guard lock(m_writeMutex);
        m_removed = true;
    }
    ::unlink(nativePath(m_path).constData());
    ::unlink(nativePath(originalPath()).constData());
}

bool JournalFile::isRemoved() const
{
    const std::lock_guard lock(m_writeMutex);
    return m_removed;
}

} // namespace orvane::journal
