#include "host/files/disk_text_files.h"

#include "disk/disk_texts.h"
#include "disk/file_errors.h"
#include "disk/file_writer.h"
#include "host/files/available_memory.h"
#include "host/files/document_bytes.h"
#include "host/files/document_stream.h"
#include "host/host_error.h"
#include "text/codec/codec_texts.h"
#include "text/codec/cp932.h"
#include "text/codec/text_codec.h"
#include "text/codec/text_positions.h"
#include "text/codec/utf8.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <cerrno>
#include <cstring>
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
        stamp->hash = qHashBits(bytes.constData(), size_t(bytes.size()));
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
    stamp.hash = qHashBits(bytes, size);
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

[[noreturn]] void failUnstorable(const QString &path, codec::TextEncoding encoding,
                                 const codec::EncodeError &error)
{
    // UTF-8 stores every character, though not a lone surrogate.
    const codec_texts::UnstorableHints hints {texts::yenHint(), texts::overlineHint(), texts::utf8Hint()};
    fail(DiskFailure::InvalidFileFormat,
         texts::otherWrite(shown(path),
                           codec_texts::unstorableIn(texts::encodingName(encoding), error, hints)));
}

// Unicode encodings store everything but a lone surrogate, which pasted text may hold.
void checkUnicodeStorable(QStringView text, codec::TextEncoding encoding, const QString &path)
{
    const auto *units = reinterpret_cast<const char16_t *>(text.utf16());
    const qsizetype bad = codec::firstUnpairedSurrogate(units, text.size());
    if (bad == text.size())
        return;
    const codec::Position at = codec::positionOfUnit(units, bad);
    fail(DiskFailure::InvalidFileFormat,
         texts::unpairedSurrogate(shown(path), texts::encodingName(encoding),
                                  codec_texts::codePointName(units[bad]), at.line, at.column));
}

qint64 encodedSize(QStringView text, codec::TextEncoding encoding)
{
    return encoding == codec::TextEncoding::Utf8 || encoding == codec::TextEncoding::Utf8Bom
        ? codec::utf8::encodedLength(text)
        : text.size() * 2;
}

// Encodes and writes the text block by block into one small buffer that stays in the cache,
// instead of a second copy of the whole text in fresh memory. Native-order UTF-16 needs no
// encoding at all.
void writeUnicode(FileWriter &writer, QStringView text, codec::TextEncoding encoding, Progress &progress)
{
    constexpr qsizetype kBlockUnits = 32 * 1024;
    const bool nativeUtf16
        = encoding == codec::TextEncoding::Utf16Le && QSysInfo::ByteOrder == QSysInfo::LittleEndian;
    QByteArray block;
    for (qsizetype i = 0; i < text.size();) {
        qsizetype length = std::min(kBlockUnits, text.size() - i);
        // Never split a surrogate pair between two blocks.
        if (i + length < text.size() && QChar::isHighSurrogate(text[i + length - 1].unicode()))
            --length;
        const QStringView part = text.sliced(i, length);
        if (nativeUtf16) {
            writer.write(QByteArrayView(reinterpret_cast<const char *>(part.utf16()), part.size() * 2));
        } else {
            codec::encode(encoding, part, block);
            writer.write(block);
        }
        i += length;
        if (i % (kBlockUnits * 8) < length)
            progress.step(i);
    }
}

// The line end after the last line in the encoding; empty when the file has none.
QByteArray encodedLineEnd(codec::TextEncoding encoding, std::optional<codec::LineEnd> lineEnd)
{
    QByteArray bytes;
    if (lineEnd)
        codec::encode(encoding, codec::lineEndText(*lineEnd), bytes);
    return bytes;
}

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
        DocumentSource source;
        source.size = st.st_size;
        source.read = [&](char *data, qsizetype capacity) { return readSome(fd, data, capacity, path); };
        source.rewind = [&] {
            if (::lseek(fd, 0, SEEK_SET) != 0)
                failWithErrno(errno, path, Access::Read);
        };
        LoadedText loaded = streamDocument(source, shown(path), load, progress,
                                           [&](qint64 need) { checkMemoryFor(shown(path), need); });
        loaded.stamp = stampOfStat(st);
        // The whole read hashes the bytes as it holds them; a streamed one holds none, so the hash
        // is taken from the file once more, if it is still the one streamed.
        if (const std::optional<FileStamp> hashed = stampOfFile(path, true);
            hashed && hashed->sameStat(*loaded.stamp))
            loaded.stamp = hashed;
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
    SilentProgress progress;
    saveText(path, text, encoding, options, progress);
}

void DiskTextFiles::saveText(const QString &path, const QString &text, codec::TextEncoding encoding,
                             const WriteOptions &options, Progress &progress)
{
    try {
        progress.setTotal(text.size());
        const QByteArrayView mark = codec::byteOrderMark(encoding);
        const QByteArray lineEnd = encodedLineEnd(encoding, options.lastLineEnd);
        if (codec::isJisBased(encoding)) {
            QByteArray bytes;
            codec::EncodeError error;
            if (!codec::encode(encoding, text, bytes, &error, options.codes))
                failUnstorable(path, encoding, error);
            FileWriter writer(path);
            writer.reserve(bytes.size() + lineEnd.size());
            // In slices, so that キャンセル is heard while a big file is written.
            constexpr qsizetype kSlice = qsizetype(1) << 20;
            for (qsizetype i = 0; i < bytes.size(); i += kSlice) {
                writer.write(QByteArrayView(bytes).sliced(i, std::min(kSlice, bytes.size() - i)));
                progress.step(text.size() * (i + kSlice) / std::max<qsizetype>(1, bytes.size()));
            }
            writer.write(lineEnd);
            writer.commit();
            return;
        }
        checkUnicodeStorable(text, encoding, path);
        FileWriter writer(path);
        writer.reserve(mark.size() + encodedSize(text, encoding) + lineEnd.size());
        writer.write(mark);
        writeUnicode(writer, text, encoding, progress);
        writer.write(lineEnd);
        writer.commit();
    } catch (const std::bad_alloc &) {
        throw HostError(ErrorNumber::OutOfMemory, texts::outOfMemoryWrite(shown(path)));
    } catch (const disk::DiskError &error) {
        throw HostError(errorNumber(error.failure), error.description);
    }
}

} // namespace orvane
