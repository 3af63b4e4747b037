#include "journal_file.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvane::journal {

namespace {

QByteArray nativePath(const QString &path) { return QFile::encodeName(path); }

bool renameNoReplace(const QByteArray &from, const QByteArray &to)
{
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return true;
    // File systems without the flag: a second name that cannot replace one, then drop the first.
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    return ::link(from.constData(), to.constData()) == 0 && ::unlink(from.constData()) == 0;
}

} // namespace

JournalFile::JournalFile(int fd, QString path, qint64 size)
    : m_fd(fd)
    , m_path(std::move(path))
    , m_size(size)
{
}

JournalFile::~JournalFile() { ::close(m_fd); }

std::shared_ptr<JournalFile> JournalFile::create(const QString &path, QByteArrayView opening, int *error)
{
    int ignored = 0;
    int &failure = error ? *error : ignored;
    // Written under a name no reader looks at, then renamed: the lock and the descriptor stay
    // with the file across the rename.
    const QByteArray creating = nativePath(creatingPath(path));
    const QByteArray target = nativePath(path);
    // Close-on-exec: a program started from here must not inherit, and so hold, the lock.
    const int fd
        = ::open(creating.constData(), O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        failure = errno;
        return nullptr;
    }
    std::shared_ptr<JournalFile> file(new JournalFile(fd, path, 0));
    const bool created
        = ::flock(fd, LOCK_EX | LOCK_NB) == 0 && file->writeAll(opening) && renameNoReplace(creating, target);
    if (!created) {
        failure = file->m_error.load() ? file->m_error.load() : errno;
        ::unlink(creating.constData());
        return nullptr;
    }
    return file;
}

QString JournalFile::creatingPath(const QString &path) { return path + QStringLiteral(".creating"); }

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
    return writeAll(bytes);
}

bool JournalFile::writeAll(QByteArrayView bytes)
{
    const char *p = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(m_fd, p, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            // A write of nothing: the disk is full.
            m_error = n < 0 ? errno : ENOSPC;
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

bool JournalFile::sync()
{
    if (::fdatasync(m_fd) == 0)
        return true;
    m_error = errno;
    return false;
}

namespace {

class FileSourceImpl final : public ByteSource {
public:
    FileSourceImpl(int fd, qint64 size)
        : m_fd(fd)
        , m_size(size)
    {
    }
    qint64 size() const override { return m_size; }
    bool read(qint64 at, qint64 n, QByteArrayView &bytes) override
    {
        if (at < 0 || n < 0 || at > m_size || n > m_size - at)
            return false;
        // The buffer keeps the room of the largest record read so far.
        if (m_buffer.size() < n)
            m_buffer.resize(qsizetype(n));
        qint64 done = 0;
        while (done < n) {
            const ssize_t r = ::pread(m_fd, m_buffer.data() + done, size_t(n - done), off_t(at + done));
            if (r < 0 && errno == EINTR)
                continue;
            if (r <= 0)
                return false;
            done += r;
        }
        bytes = QByteArrayView(m_buffer.constData(), qsizetype(n));
        return true;
    }

private:
    int m_fd;
    qint64 m_size;
    QByteArray m_buffer;
};

} // namespace

std::unique_ptr<ByteSource> JournalFile::source()
{
    struct stat st { };
    const qint64 size = ::fstat(m_fd, &st) == 0 ? qint64(st.st_size) : 0;
    return std::make_unique<FileSourceImpl>(m_fd, size);
}

bool JournalFile::rename(const QString &path)
{
    const std::lock_guard lock(m_writeMutex);
    if (!renameNoReplace(nativePath(m_path), nativePath(path)))
        return false;
    m_path = path;
    return true;
}

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
    for (const QLatin1String suffix : {QLatin1String(".journal"), QLatin1String(".kept")}) {
        if (path.endsWith(suffix))
            path.chop(suffix.size());
    }
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
