#include "host/files/disk_text_files.h"

#include "host/codepage/cp932.h"
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

enum class Utf8Kind { Invalid, AsciiOnly, MultiByte };

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
Utf8Kind classifyUtf8(QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const uchar *>(bytes.data());
    const auto *end = p + bytes.size();
    bool multiByte = false;
    while (p < end) {
        if (end - p >= 8) {
            quint64 word;
            std::memcpy(&word, p, 8);
            if ((word & 0x8080808080808080ull) == 0) {
                p += 8;
                continue;
            }
        }
        const unsigned b = *p;
        if (b < 0x80) {
            ++p;
            continue;
        }
        int length;
        unsigned low = 0x80, high = 0xBF;
        if (b >= 0xC2 && b <= 0xDF) {
            length = 2;
        } else if (b >= 0xE0 && b <= 0xEF) {
            length = 3;
            if (b == 0xE0)
                low = 0xA0;
            else if (b == 0xED)
                high = 0x9F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            length = 4;
            if (b == 0xF0)
                low = 0x90;
            else if (b == 0xF4)
                high = 0x8F;
        } else {
            return Utf8Kind::Invalid;
        }
        if (end - p < length || p[1] < low || p[1] > high)
            return Utf8Kind::Invalid;
        for (int k = 2; k < length; ++k) {
            if (p[k] < 0x80 || p[k] > 0xBF)
                return Utf8Kind::Invalid;
        }
        p += length;
        multiByte = true;
    }
    return multiByte ? Utf8Kind::MultiByte : Utf8Kind::AsciiOnly;
}

// CR and LF never occur as the second byte of a double-byte character, so line ends can be found
// in the bytes before decoding.
bool hasLoneLineEnd(QByteArrayView bytes)
{
    const char *begin = bytes.data();
    const char *end = begin + bytes.size();
    for (const char *q = begin; (q = static_cast<const char *>(std::memchr(q, '\n', size_t(end - q)))); ++q) {
        if (q == begin || q[-1] != '\r')
            return true;
    }
    for (const char *q = begin; (q = static_cast<const char *>(std::memchr(q, '\r', size_t(end - q)))); ++q) {
        if (q + 1 == end || q[1] != '\n')
            return true;
    }
    return false;
}

QByteArray withCrLf(QByteArrayView bytes)
{
    // At most one byte more per byte; the untouched rest of the allocation is never paged in.
    QByteArray out(bytes.size() * 2, Qt::Uninitialized);
    char *o = out.data();
    const char *p = bytes.data();
    const char *end = p + bytes.size();
    while (p < end) {
        const char c = *p++;
        if (c == '\r' || c == '\n') {
            *o++ = '\r';
            *o++ = '\n';
            if (c == '\r' && p < end && *p == '\n')
                ++p;
        } else {
            *o++ = c;
        }
    }
    out.truncate(o - out.constData());
    return out;
}

// The line end after the last line is not part of the text.
QByteArrayView withoutFinalLineEnd(QByteArrayView bytes)
{
    if (bytes.endsWith("\r\n"))
        return bytes.chopped(2);
    if (bytes.endsWith('\r') || bytes.endsWith('\n'))
        return bytes.chopped(1);
    return bytes;
}

LoadedText decodeFile(QByteArray bytes, const QString &path)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        fail(ErrorNumber::InvalidFileFormat, texts::utf8Bom(shown(path)));
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))
        fail(ErrorNumber::InvalidFileFormat, texts::utf16Bom(shown(path)));

    // Stops at the first invalid sequence, which comes early in nearly every Shift-JIS file.
    const Utf8Kind utf8 = classifyUtf8(bytes);

    QByteArrayView body = withoutFinalLineEnd(bytes);
    if (hasLoneLineEnd(body)) {
        QByteArray normalised = withCrLf(body);
        bytes = std::move(normalised);
        body = bytes;
    }

    LoadedText loaded;
    cp932::DecodeError error;
    if (!cp932::decode(body, loaded.text, &error)) {
        if (utf8 == Utf8Kind::MultiByte)
            fail(ErrorNumber::InvalidFileFormat, texts::looksLikeUtf8(shown(path)));
        // Line and column are the same before and after the line ends were made CR LF.
        fail(ErrorNumber::InvalidFileFormat, texts::invalidBytes(shown(path), error.at.line, error.at.column));
    }
    loaded.mayBeUtf8 = utf8 == Utf8Kind::MultiByte;
    return loaded;
}

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
    fail(ErrorNumber::InvalidFileFormat, description);
}

} // namespace

LoadedText DiskTextFiles::readText(const QString &path)
{
    try {
        return decodeFile(readAllBytes(path), path);
    } catch (const std::bad_alloc &) {
        fail(ErrorNumber::OutOfMemory, texts::outOfMemoryRead(shown(path)));
    }
}

void DiskTextFiles::writeText(const QString &path, const QString &text)
{
    try {
        QByteArray bytes;
        cp932::EncodeError error;
        if (!cp932::encode(text, bytes, &error))
            failUnstorable(path, error);
        FileWriter writer(path);
        writer.reserve(bytes.size() + 2);
        writer.write(bytes);
        writer.write("\r\n");
        writer.commit();
    } catch (const std::bad_alloc &) {
        fail(ErrorNumber::OutOfMemory, texts::outOfMemoryWrite(shown(path)));
    }
}

} // namespace orvane
