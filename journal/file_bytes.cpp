#include "file_bytes.h"

#include "text/codec/cp932.h"
#include "text/codec/text_codec.h"
#include "text/codec/utf8.h"

#include <cerrno>
#include <unistd.h>

namespace orvane::journal {

namespace {

constexpr qsizetype blockSize = 1024 * 1024;

bool writeAll(int fd, QByteArrayView bytes)
{
    while (!bytes.isEmpty()) {
        const ssize_t n = ::write(fd, bytes.data(), size_t(bytes.size()));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        bytes = bytes.sliced(n);
    }
    return true;
}

bool encodeBlock(codec::TextEncoding encoding, QStringView text, const codec::cp932::FileCodes &codes,
                 QByteArray &out)
{
    out.resize(0);
    if (encoding == codec::TextEncoding::ShiftJis)
        return codec::cp932::encode(text, out, nullptr, &codes);
    return codec::encode(encoding, text, out);
}

bool writeUtf16(int fd, const FileBytes &file)
{
    QByteArray block;
    const QStringView text = file.utf16;
    for (qsizetype i = 0; i < text.size();) {
        qsizetype length = std::min(blockSize, text.size() - i);
        if (i + length < text.size() && text[i + length - 1].isHighSurrogate())
            --length;
        if (!encodeBlock(file.encoding, text.sliced(i, length), file.codes, block) || !writeAll(fd, block))
            return false;
        i += length;
    }
    return true;
}

bool writeUtf8(int fd, const FileBytes &file)
{
    if (file.encoding == codec::TextEncoding::Utf8 || file.encoding == codec::TextEncoding::Utf8Bom)
        return writeAll(fd, file.utf8);
    QString decoded;
    QByteArray block;
    const QByteArrayView text = file.utf8;
    for (qsizetype i = 0; i < text.size();) {
        qsizetype length = std::min(blockSize, text.size() - i);
        // Cut before a character's first byte.
        while (i + length < text.size() && (quint8(text[i + length]) & 0xC0) == 0x80)
            --length;
        if (!codec::utf8::decode(text.sliced(i, length), decoded)
            || !encodeBlock(file.encoding, decoded, file.codes, block) || !writeAll(fd, block))
            return false;
        i += length;
    }
    return true;
}

} // namespace

bool writeFileBytes(int fd, const FileBytes &file)
{
    if (!writeAll(fd, codec::byteOrderMark(file.encoding)))
        return false;
    if (!(file.utf16.isNull() ? writeUtf8(fd, file) : writeUtf16(fd, file))) {
        if (errno == 0)
            errno = EILSEQ;
        return false;
    }
    if (!file.lastLineEnd)
        return true;
    QByteArray lineEnd;
    encodeBlock(file.encoding, codec::lineEndText(*file.lastLineEnd), file.codes, lineEnd);
    return writeAll(fd, lineEnd);
}

} // namespace orvane::journal
