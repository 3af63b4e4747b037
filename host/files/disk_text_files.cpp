#include "host/files/disk_text_files.h"

#include "host/codepage/cp932.h"
#include "host/codepage/utf16.h"
#include "host/codepage/utf8.h"
#include "host/files/document_bytes.h"
#include "host/files/disk_file_texts.h"
#include "host/files/file_errors.h"
#include "host/files/file_writer.h"
#include "host/host_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <new>

#ifdef Q_OS_UNIX
#include "host/files/fd_closer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace orvane {

namespace {

namespace texts = disk_file_texts;

using file_errors::Access;
using file_errors::fail;
using file_errors::failWithErrno;
using file_errors::shown;

qint64 megabytesRoundedUp(qint64 bytes) { return (bytes + 999'999) / 1'000'000; }

[[noreturn]] void failTooLarge(const QString &path, qint64 size)
{
    fail(ErrorNumber::OutOfMemory,
         texts::tooLarge(shown(path), megabytesRoundedUp(size), DiskTextFiles::maxFileSize / 1'000'000));
}

#ifdef Q_OS_UNIX

void checkReadable(const struct stat &st, const QString &path)
{
    if (S_ISDIR(st.st_mode))
        fail(ErrorNumber::PathFileAccess, texts::isFolderRead(shown(path)));
    if (!S_ISREG(st.st_mode))
        fail(ErrorNumber::PathFileAccess, texts::notRegularRead(shown(path)));
    if (st.st_size > DiskTextFiles::maxFileSize)
        failTooLarge(path, st.st_size);
}

QByteArray readAllBytes(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat st {};
    // Checked before opening: opening a named pipe for reading would wait for a writer, and reading
    // a device such as /dev/zero never ends.
    if (::stat(native.constData(), &st) != 0)
        failWithErrno(errno, path, Access::Read);
    checkReadable(st, path);

    // O_NONBLOCK so that a pipe swapped in since the check cannot block the open either.
    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        failWithErrno(errno, path, Access::Read);
    FdCloser closer(fd);
    if (::fstat(fd, &st) != 0)
        failWithErrno(errno, path, Access::Read);
    checkReadable(st, path);

    // One byte of room past the size, so that the read that sees the end needs no reallocation.
    QByteArray bytes(qsizetype(st.st_size) + 1, Qt::Uninitialized);
    qsizetype done = 0;
    for (;;) {
        if (done == bytes.size()) {
            // The file grew since fstat: keep reading, within the limit.
            if (done >= DiskTextFiles::maxFileSize)
                failTooLarge(path, done + 1);
            bytes.resize(done + 64 * 1024);
        }
        const ssize_t n = ::read(fd, bytes.data() + done, size_t(bytes.size() - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            failWithErrno(errno, path, Access::Read);
        }
        if (n == 0)
            break;
        done += n;
    }
    bytes.truncate(done);
    return bytes;
}

#else

bool folderExists(const QString &path)
{
    return QFileInfo(QFileInfo(path).absolutePath()).isDir();
}

QByteArray readAllBytes(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        fail(folderExists(path) ? ErrorNumber::FileNotFound : ErrorNumber::PathNotFound,
             folderExists(path) ? texts::notFound(shown(path)) : texts::folderNotFound(shown(path)));
    if (info.isDir())
        fail(ErrorNumber::PathFileAccess, texts::isFolderRead(shown(path)));
    if (!info.isFile())
        fail(ErrorNumber::PathFileAccess, texts::notRegularRead(shown(path)));
    if (info.size() > DiskTextFiles::maxFileSize)
        failTooLarge(path, info.size());
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(ErrorNumber::PathFileAccess, texts::otherRead(shown(path), file.errorString()));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        fail(ErrorNumber::PathFileAccess, texts::otherRead(shown(path), file.errorString()));
    return bytes;
}

#endif

QString codePointName(char32_t codePoint)
{
    return QStringLiteral("U+%1").arg(uint(codePoint), 4, 16, QLatin1Char('0')).toUpper();
}

bool isShowable(char32_t codePoint)
{
    if (codePoint >= 0xD800 && codePoint <= 0xDFFF)
        return false;
    switch (QChar::category(codePoint)) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_NotAssigned:
    case QChar::Other_Surrogate:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
    case QChar::Mark_NonSpacing:
    case QChar::Mark_Enclosing:
        return false;
    default:
        return true;
    }
}

[[noreturn]] void failUnstorable(const QString &path, const cp932::EncodeError &error)
{
    const char32_t c = error.codePoint;
    QString description =
        isShowable(c) ? texts::unstorable(shown(path), QString::fromUcs4(&c, 1), codePointName(c),
                                          error.at.line, error.at.column)
                      : texts::unstorableInvisible(shown(path), codePointName(c), error.at.line, error.at.column);
    if (c == U'\u00A5')
        description += texts::yenHint();
    else if (c == U'\u203E')
        description += texts::overlineHint();
    // UTF-8 stores every character, though not a lone surrogate.
    if (c < 0xD800 || c > 0xDFFF)
        description += texts::utf8Hint();
    fail(ErrorNumber::InvalidFileFormat, description);
}

utf16::ByteOrder byteOrder(TextEncoding encoding)
{
    return encoding == TextEncoding::Utf16Le ? utf16::ByteOrder::LittleEndian : utf16::ByteOrder::BigEndian;
}

// The text in the encoding, without its mark and the final line end.
QByteArray encodeText(const QString &text, TextEncoding encoding, const QString &path)
{
    QByteArray bytes;
    codepage::EncodeError error;
    bool encoded = false;
    switch (encoding) {
    case TextEncoding::ShiftJis:
        if (!cp932::encode(text, bytes, &error))
            failUnstorable(path, error);
        return bytes;
    case TextEncoding::Utf8:
    case TextEncoding::Utf8Bom:
        encoded = utf8::encode(text, bytes, &error);
        break;
    case TextEncoding::Utf16Le:
    case TextEncoding::Utf16Be:
        encoded = utf16::encode(text, byteOrder(encoding), bytes, &error);
        break;
    }
    if (!encoded)
        fail(ErrorNumber::InvalidFileFormat,
             texts::unpairedSurrogate(shown(path), texts::encodingName(encoding), codePointName(error.codePoint),
                                      error.at.line, error.at.column));
    return bytes;
}

QByteArray encodedLineEnd(TextEncoding encoding)
{
    QByteArray lineEnd;
    if (encoding == TextEncoding::Utf16Le || encoding == TextEncoding::Utf16Be)
        utf16::encode(u"\r\n", byteOrder(encoding), lineEnd);
    else
        lineEnd = QByteArrayLiteral("\r\n");
    return lineEnd;
}

} // namespace

LoadedText DiskTextFiles::readText(const QString &path)
{
    try {
        return decodeDocumentBytes(readAllBytes(path), shown(path));
    } catch (const std::bad_alloc &) {
        fail(ErrorNumber::OutOfMemory, texts::outOfMemoryRead(shown(path)));
    }
}

void DiskTextFiles::writeText(const QString &path, const QString &text, TextEncoding encoding)
{
    try {
        const QByteArray bytes = encodeText(text, encoding, path);
        const QByteArrayView mark = byteOrderMark(encoding);
        const QByteArray lineEnd = encodedLineEnd(encoding);
        FileWriter writer(path);
        writer.reserve(mark.size() + bytes.size() + lineEnd.size());
        writer.write(mark);
        writer.write(bytes);
        writer.write(lineEnd);
        writer.commit();
    } catch (const std::bad_alloc &) {
        fail(ErrorNumber::OutOfMemory, texts::outOfMemoryWrite(shown(path)));
    }
}

} // namespace orvane
