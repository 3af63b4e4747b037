#include "host/files/disk_text_files.h"

#include "disk/disk_texts.h"
#include "disk/file_errors.h"
#include "disk/file_writer.h"
#include "host/files/available_memory.h"
#include "host/files/block_encoder.h"
#include "host/files/bytes_hash.h"
#include "host/files/document_bytes.h"
#include "host/files/document_stream.h"
#include "host/host_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <new>

#ifdef Q_OS_UNIX
#include "disk/fd_closer.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace orvane {

namespace {

namespace texts = disk_texts;

using disk::Access;
using disk::DiskFailure;
using disk::fail;
using disk::failWithErrno;
using disk::FdCloser;
using disk::FileWriter;
using disk::shown;

// The disk layer numbers its failures as the editor does.
constexpr ErrorNumber errorNumber(DiskFailure failure) { return ErrorNumber(int(failure)); }
static_assert(errorNumber(DiskFailure::OutOfMemory) == ErrorNumber::OutOfMemory
              && errorNumber(DiskFailure::FileNotFound) == ErrorNumber::FileNotFound
              && errorNumber(DiskFailure::DiskFull) == ErrorNumber::DiskFull
              && errorNumber(DiskFailure::PermissionDenied) == ErrorNumber::PermissionDenied
              && errorNumber(DiskFailure::PathFileAccess) == ErrorNumber::PathFileAccess
              && errorNumber(DiskFailure::PathNotFound) == ErrorNumber::PathNotFound
              && errorNumber(DiskFailure::InvalidFileFormat) == ErrorNumber::InvalidFileFormat);

#ifdef Q_OS_UNIX

void checkReadable(const struct stat &st, const QString &path)
{
    if (S_ISDIR(st.st_mode))
        fail(DiskFailure::PathFileAccess, texts::isFolderRead(shown(path)));
    if (!S_ISREG(st.st_mode))
        fail(DiskFailure::PathFileAccess, texts::notRegularRead(shown(path)));
}

FileStamp stampOfStat(const struct stat &st)
{
    return {st.st_size, qint64(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec, std::nullopt};
}

// Opens a regular file for reading; st is its status.
int openRegular(const QString &path, struct stat &st)
{
    const QByteArray native = QFile::encodeName(path);
    // Checked before opening: opening a named pipe for reading would wait for a writer, and reading
    // a device such as /dev/zero never ends.
    if (::stat(native.constData(), &st) != 0)
        failWithErrno(errno, path, Access::Read);
    checkReadable(st, path);

    // O_NONBLOCK so that a pipe swapped in since the check cannot block the open either.
    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        failWithErrno(errno, path, Access::Read);
    try {
        if (::fstat(fd, &st) != 0)
            failWithErrno(errno, path, Access::Read);
        checkReadable(st, path);
    } catch (...) {
        ::close(fd);
        throw;
    }
    return fd;
}

qsizetype readSome(int fd, char *data, qsizetype capacity, const QString &path)
{
    for (;;) {
        const ssize_t n = ::read(fd, data, size_t(capacity));
        if (n >= 0)
            return n;
        if (errno != EINTR)
            failWithErrno(errno, path, Access::Read);
    }
}

QByteArray readAllBytes(const QString &path, std::optional<FileStamp> &stamp)
{
    struct stat st { };
    const int fd = openRegular(path, st);
    FdCloser closer(fd);
    checkMemoryFor(shown(path), 3 * qint64(st.st_size));
    stamp = stampOfStat(st);

    // One byte of room past the size, so that the read that sees the end needs no reallocation.
    QByteArray bytes(qsizetype(st.st_size) + 1, Qt::Uninitialized);
    qsizetype done = 0;
    for (;;) {
        if (done == bytes.size())
            bytes.resize(done + 64 * 1024); // the file grew since fstat
        const qsizetype n = readSome(fd, bytes.data() + done, bytes.size() - done, path);
        if (n == 0)
            break;
        done += n;
    }
    bytes.truncate(done);
    // Grown or changed while read: the stamp says what was read only when it still holds.
    struct stat after { };
    if (::fstat(fd, &after) != 0 || !stampOfStat(after).sameStat(*stamp) || done != stamp->size)
        stamp.reset();
    else
        stamp->hash = BytesHash::of(bytes);
    return bytes;
}

std::optional<FileStamp> stampOfFile(const QString &path, bool withHash)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return std::nullopt;
    FdCloser closer(fd);
    struct stat st { };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    FileStamp stamp = stampOfStat(st);
    if (!withHash)
        return stamp;
    // Mapped rather than read: the hash costs no memory of its own.
    const size_t size = size_t(st.st_size);
    void *bytes = size ? ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0) : nullptr;
    if (bytes == MAP_FAILED)
        return std::nullopt;
    stamp.hash = BytesHash::of(QByteArrayView(static_cast<const char *>(bytes), qsizetype(size)));
    if (bytes)
        ::munmap(bytes, size);
    struct stat after { };
    if (::fstat(fd, &after) != 0 || !stampOfStat(after).sameStat(stamp))
        return std::nullopt;
    return stamp;
}

#else

bool folderExists(const QString &path) { return QFileInfo(QFileInfo(path).absolutePath()).isDir(); }

QByteArray readAllBytes(const QString &path, std::optional<FileStamp> &)
{
    const QFileInfo info(path);
    if (!info.exists())
        fail(folderExists(path) ? DiskFailure::FileNotFound : DiskFailure::PathNotFound,
             folderExists(path) ? texts::notFound(shown(path)) : texts::folderNotFound(shown(path)));
    if (info.isDir())
        fail(DiskFailure::PathFileAccess, texts::isFolderRead(shown(path)));
    if (!info.isFile())
        fail(DiskFailure::PathFileAccess, texts::notRegularRead(shown(path)));
    checkMemoryFor(shown(path), 3 * info.size());
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(DiskFailure::PathFileAccess, texts::otherRead(shown(path), file.errorString()));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        fail(DiskFailure::PathFileAccess, texts::otherRead(shown(path), file.errorString()));
    return bytes;
}

std::optional<FileStamp> stampOfFile(const QString &, bool) { return std::nullopt; }

#endif

} // namespace

LoadedText DiskTextFiles::readText(const QString &path, std::optional<codec::TextEncoding> chosen)
{
    try {
        std::optional<FileStamp> stamp;
        LoadedText loaded = decodeDocumentBytes(readAllBytes(path, stamp), shown(path), chosen);
        loaded.stamp = stamp;
        return loaded;
    } catch (const std::bad_alloc &) {
        throw HostError(ErrorNumber::OutOfMemory, texts::outOfMemoryRead(shown(path)));
    } catch (const disk::DiskError &error) {
        throw HostError(errorNumber(error.failure), error.description);
    }
}

std::optional<FileStamp> DiskTextFiles::stampOf(const QString &path, bool withHash)
{
    try {
        return stampOfFile(path, withHash);
    } catch (const std::bad_alloc &) {
        return std::nullopt;
    }
}

LoadedText DiskTextFiles::streamText(const QString &path, TextLoad &load, Progress &progress)
{
    try {
#ifdef Q_OS_UNIX
        struct stat st { };
        const int fd = openRegular(path, st);
        FdCloser closer(fd);
        // The bytes are hashed as they are read, for the stamp: a second reading of a big file
        // only to hash it would take a good part of the Open. A rewind starts the hash over.
        BytesHash hash;
        DocumentSource source;
        source.size = st.st_size;
        source.read = [&](char *data, qsizetype capacity) {
            const qsizetype n = readSome(fd, data, capacity, path);
            hash.add(QByteArrayView(data, n));
            return n;
        };
        source.rewind = [&] {
            if (::lseek(fd, 0, SEEK_SET) != 0)
                failWithErrno(errno, path, Access::Read);
            hash.reset();
        };
        LoadedText loaded = streamDocument(source, shown(path), load, progress,
                                           [&](qint64 need) { checkMemoryFor(shown(path), need); });
        loaded.stamp = stampOfStat(st);
        // The hash says what was read only when the file was read to its end and did not change.
        struct stat after { };
        if (hash.size() == st.st_size && ::fstat(fd, &after) == 0
            && stampOfStat(after).sameStat(*loaded.stamp))
            loaded.stamp->hash = hash.value();
        return loaded;
#else
        Q_UNUSED(load);
        Q_UNUSED(progress);
        return readText(path);
#endif
    } catch (const std::bad_alloc &) {
        throw HostError(ErrorNumber::OutOfMemory, texts::outOfMemoryRead(shown(path)));
    } catch (const disk::DiskError &error) {
        throw HostError(errorNumber(error.failure), error.description);
    }
}

void DiskTextFiles::writeText(const QString &path, const QString &text, codec::TextEncoding encoding,
                              const WriteOptions &options)
{
    StringBlocks blocks(text);
    SilentProgress progress;
    saveText(path, blocks, encoding, options, progress);
}

bool DiskTextFiles::saveText(const QString &path, TextBlocks &text, codec::TextEncoding encoding,
                             const WriteOptions &options, Progress &progress)
{
    try {
        BlockEncoder encoder(text, encoding, options, path);
        FileWriter writer(path);
        QByteArrayView bytes;
        // A write in place reserves the whole size first, so that a full disk refuses it before
        // any old byte is overwritten; a first pass finds the size, and any character the encoding
        // cannot store.
        const qint64 passes = writer.isInPlace() ? 2 : 1;
        progress.setTotal(passes * encoder.total());
        if (passes == 2) {
            qint64 size = 0;
            while (encoder.next(bytes)) {
                size += bytes.size();
                progress.step(encoder.done());
            }
            writer.reserve(size);
            encoder.rewind();
        }
        const qint64 before = (passes - 1) * encoder.total();
        while (encoder.next(bytes)) {
            writer.write(bytes);
            progress.step(before + encoder.done());
        }
        writer.commit();
        return encoder.rewroteLineEnds();
    } catch (const std::bad_alloc &) {
        throw HostError(ErrorNumber::OutOfMemory, texts::outOfMemoryWrite(shown(path)));
    } catch (const disk::DiskError &error) {
        throw HostError(errorNumber(error.failure), error.description);
    }
}

} // namespace orvane
