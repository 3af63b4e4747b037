#include "disk/file_writer.h"

#include "disk/disk_texts.h"
#include "disk/file_errors.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <optional>

#ifdef Q_OS_UNIX
#include "disk/backup_copy.h"
#include "disk/fd_closer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace orvane::disk {

namespace texts = disk_texts;

class FileWriter::Sink {
public:
    virtual ~Sink() = default;
    virtual void reserve(qint64 totalBytes) = 0;
    virtual void write(QByteArrayView bytes) = 0;
    virtual void commit() = 0;
    virtual bool isInPlace() const = 0;
};

namespace {

// Replaces the file through a temporary file beside it, so a failure at any point leaves the
// previous file as it was; QSaveFile removes the temporary file unless the commit succeeds.
class ReplacingSink final : public FileWriter::Sink {
public:
    ReplacingSink(const QString &target, const QString &path, bool exists, [[maybe_unused]] uint ownerId,
                  [[maybe_unused]] uint groupId)
        : m_file(target)
        , m_path(path)
    {
        m_file.setDirectWriteFallback(false);
        errno = 0;
        if (!m_file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            failWithLastError();
#ifdef Q_OS_UNIX
        // QSaveFile keeps the permissions; keep the owner too where we may (saving as root).
        if (exists && ::geteuid() == 0) {
            [[maybe_unused]] const int ignored = ::fchown(m_file.handle(), ownerId, groupId);
        }
#else
        Q_UNUSED(exists);
#endif
    }

    void reserve(qint64) override { }

    void write(QByteArrayView bytes) override
    {
        errno = 0;
        if (m_file.write(bytes.data(), bytes.size()) != bytes.size()) {
            const int error = errno;
            m_file.cancelWriting();
            errno = error;
            failWithLastError();
        }
    }

    void commit() override
    {
        errno = 0;
        if (!m_file.commit())
            failWithLastError();
    }

    bool isInPlace() const override { return false; }

private:
    [[noreturn]] void failWithLastError()
    {
        const int error = errno;
        if (error != 0)
            failWithErrno(error, m_path, Access::Write);
        fail(DiskFailure::PathFileAccess, texts::otherWrite(shown(m_path), m_file.errorString()));
    }

    QSaveFile m_file;
    QString m_path;
};

#ifdef Q_OS_UNIX

void writeAll(int fd, QByteArrayView part, off_t offset, const QString &path)
{
    const char *p = part.data();
    qsizetype left = part.size();
    while (left > 0) {
        const ssize_t n = ::pwrite(fd, p, size_t(left), offset);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            failWithErrno(errno, path, Access::Write);
        }
        p += n;
        left -= n;
        offset += n;
    }
}

// Overwrites the file itself. Used where a rename would break what the user expects: with several
// hard links every other name would keep the old text, and in a folder we may not write no
// temporary file can be created. The old bytes are copied aside and flushed before the first byte
// is overwritten; a failure puts them back, a success removes the copy, and a program that dies
// half-way leaves it.
class InPlaceSink final : public FileWriter::Sink {
public:
    InPlaceSink(const QString &target, const QString &path, bool folderWritable)
        : m_fd(::open(QFile::encodeName(target).constData(), O_RDWR | O_CLOEXEC))
        , m_path(path)
    {
        struct stat st { };
        // The size of the file as opened, not as first seen, so that the copy holds all of it.
        if (m_fd.get() < 0 || ::fstat(m_fd.get(), &st) != 0)
            failWithErrno(errno, path, Access::Write);
        m_oldSize = st.st_size;
        if (m_oldSize > 0)
            m_backup.emplace(m_fd.get(), qint64(m_oldSize), target, folderWritable, path);
    }

    ~InPlaceSink() override
    {
        if (!m_done)
            undo();
    }

    void reserve(qint64 totalBytes) override
    {
#ifdef Q_OS_LINUX
        if (m_touched == 0 && totalBytes > 0 && ::fallocate(m_fd.get(), 0, 0, off_t(totalBytes)) != 0) {
            const int error = errno;
            if (error == ENOSPC || error == EFBIG || error == EDQUOT)
                failUndoing(error);
            // Not supported by this file system: write without a reservation.
        }
#else
        Q_UNUSED(totalBytes);
#endif
    }

    void write(QByteArrayView bytes) override
    {
        failAgainIfDone();
        m_touched = std::max(m_touched, m_written + off_t(bytes.size()));
        try {
            writeAll(m_fd.get(), bytes, m_written, m_path);
        } catch (DiskError &error) {
            throw undoneError(std::move(error));
        }
        m_written += off_t(bytes.size());
    }

    void commit() override
    {
        failAgainIfDone();
        if (::ftruncate(m_fd.get(), m_written) != 0 || ::fsync(m_fd.get()) != 0)
            failUndoing(errno);
        m_done = true;
        const int closed = m_fd.release();
        // The new bytes are on the disk; a late close error cannot be undone from the copy any more.
        if (m_backup)
            m_backup->remove();
        if (closed != 0)
            failWithErrno(errno, m_path, Access::Write);
    }

    bool isInPlace() const override { return true; }

private:
    // Puts the old content back; false leaves the copy on disk as the only intact old content.
    bool undo() noexcept
    {
        m_done = true;
        const bool restored = m_backup ? m_backup->restoreInto(m_fd.get(), m_touched)
                                       : ::ftruncate(m_fd.get(), m_oldSize) == 0;
        if (restored && m_backup)
            m_backup->remove();
        return restored;
    }

    DiskError undoneError(DiskError error)
    {
        if (!undo() && m_backup)
            error = DiskError(error.failure, error.description + texts::backupKept(shown(m_backup->path())));
        m_failure = error;
        return error;
    }

    // Once the old content is back (or the new one committed), nothing more may be written.
    void failAgainIfDone()
    {
        if (m_failure)
            throw *m_failure;
        if (m_done)
            fail(DiskFailure::PathFileAccess, texts::otherWrite(shown(m_path), systemReason(EBADF)));
    }

    [[noreturn]] void failUndoing(int error)
    {
        try {
            failWithErrno(error, m_path, Access::Write);
        } catch (DiskError &failure) {
            throw undoneError(std::move(failure));
        }
    }

    FdCloser m_fd;
    QString m_path;
    off_t m_oldSize = 0;
    std::optional<BackupCopy> m_backup;
    std::optional<DiskError> m_failure;
    off_t m_written = 0;
    off_t m_touched = 0;
    bool m_done = false;
};

std::unique_ptr<FileWriter::Sink> openSink(const QString &path)
{
    QString target = path;
    const QFileInfo info(path);
    if (info.isSymLink()) {
        target = info.canonicalFilePath();
        if (target.isEmpty()) // a dangling link: create the file it points to
            target = info.symLinkTarget();
    }
    const QByteArray native = QFile::encodeName(target);
    struct stat st { };
    if (::stat(native.constData(), &st) != 0) {
        if (errno != ENOENT)
            failWithErrno(errno, path, Access::Write);
        return std::make_unique<ReplacingSink>(target, path, false, 0, 0);
    }
    if (S_ISDIR(st.st_mode))
        fail(DiskFailure::PathFileAccess, texts::isFolderWrite(shown(path)));
    if (!S_ISREG(st.st_mode))
        fail(DiskFailure::PathFileAccess, texts::notRegularWrite(shown(path)));
    // Judged by the permission bits, not only by access(): root may write anything, yet a file the
    // user marked read-only must not be replaced.
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        fail(DiskFailure::PermissionDenied, texts::readOnlyFile(shown(path)));
    if (::access(native.constData(), W_OK) != 0)
        failWithErrno(errno, path, Access::Write);

    const QByteArray folder = QFile::encodeName(QFileInfo(target).absolutePath());
    const bool folderWritable = ::access(folder.constData(), W_OK | X_OK) == 0;
    if (st.st_nlink > 1 || !folderWritable)
        return std::make_unique<InPlaceSink>(target, path, folderWritable);
    return std::make_unique<ReplacingSink>(target, path, true, st.st_uid, st.st_gid);
}

#else

std::unique_ptr<FileWriter::Sink> openSink(const QString &path)
{
    const QFileInfo info(path);
    const QString target
        = info.isSymLink() && !info.canonicalFilePath().isEmpty() ? info.canonicalFilePath() : path;
    const QFileInfo targetInfo(target);
    if (targetInfo.isDir())
        fail(DiskFailure::PathFileAccess, texts::isFolderWrite(shown(path)));
    if (targetInfo.exists() && !targetInfo.isWritable())
        fail(DiskFailure::PermissionDenied, texts::readOnlyFile(shown(path)));
    return std::make_unique<ReplacingSink>(target, path, targetInfo.exists(), 0, 0);
}

#endif

} // namespace

FileWriter::FileWriter(const QString &path)
    : m_sink(openSink(path))
{
}

FileWriter::~FileWriter() = default;

void FileWriter::reserve(qint64 totalBytes) { m_sink->reserve(totalBytes); }

void FileWriter::write(QByteArrayView bytes) { m_sink->write(bytes); }

void FileWriter::commit() { m_sink->commit(); }

bool FileWriter::isInPlace() const { return m_sink->isInPlace(); }

} // namespace orvane::disk
