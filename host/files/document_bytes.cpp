// Open's decision on a file's encoding, and the line-end rules that apply to every encoding.

#include "host/files/document_bytes.h"

#include "host/files/disk_file_texts.h"
#include "host/files/file_errors.h"
#include "text/codec/cp932.h"
#include "text/codec/encoding_detection.h"
#include "text/codec/utf16.h"
#include "text/codec/utf8.h"

#include <cstring>

namespace orvane {

namespace {

namespace texts = disk_file_texts;

// CR and LF are never part of a longer sequence in Shift-JIS or UTF-8, so line ends can be found
// in the bytes before decoding.
bool hasLoneLineEnd(QByteArrayView bytes)
{
    if (bytes.isEmpty()) // memchr must not see the null pointer of an empty array
        return false;
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

bool hasLoneLineEnd(QStringView text)
{
    for (qsizetype i = 0; (i = text.indexOf(u'\n', i)) >= 0; ++i) {
        if (i == 0 || text[i - 1] != u'\r')
            return true;
    }
    for (qsizetype i = 0; (i = text.indexOf(u'\r', i)) >= 0; ++i) {
        if (i + 1 == text.size() || text[i + 1] != u'\n')
            return true;
    }
    return false;
}

template <typename String, typename Unit> String withCrLf(const Unit *p, qsizetype size)
{
    // At most one unit more per unit; the untouched rest of the allocation is never paged in.
    String out(size * 2, Qt::Uninitialized);
    auto *o = reinterpret_cast<Unit *>(out.data());
    auto *const outBegin = o;
    const Unit *end = p + size;
    while (p < end) {
        const Unit c = *p++;
        if (c == '\r' || c == '\n') {
            *o++ = '\r';
            *o++ = '\n';
            if (c == '\r' && p < end && *p == '\n')
                ++p;
        } else {
            *o++ = c;
        }
    }
    out.truncate(o - outBegin);
    return out;
}

// The line end after the last line is not part of the text.
void normaliseLineEnds(QByteArray &bytes)
{
    if (bytes.endsWith("\r\n"))
        bytes.chop(2);
    else if (bytes.endsWith('\r') || bytes.endsWith('\n'))
        bytes.chop(1);
    if (hasLoneLineEnd(bytes))
        bytes = withCrLf<QByteArray>(bytes.constData(), bytes.size());
}

void normaliseLineEnds(QString &text)
{
    if (text.endsWith(u"\r\n"))
        text.chop(2);
    else if (text.endsWith(u'\r') || text.endsWith(u'\n'))
        text.chop(1);
    if (hasLoneLineEnd(text))
        text = withCrLf<QString>(reinterpret_cast<const char16_t *>(text.constData()), text.size());
}

[[noreturn]] void failInvalid(const QString &path, TextEncoding encoding, const codepage::DecodeError &error)
{
    QString description
        = texts::invalidInEncoding(path, texts::encodingName(encoding), error.at.line, error.at.column);
    if (error.truncated)
        description += texts::cutAtTheEnd();
    file_errors::fail(ErrorNumber::InvalidFileFormat, description);
}

// Bytes known to be valid UTF-8, without their mark.
LoadedText utf8Document(QByteArray bytes, TextEncoding encoding)
{
    LoadedText loaded;
    loaded.encoding = encoding;
    normaliseLineEnds(bytes);
    loaded.utf8Units = utf8::utf16Length(bytes);
    loaded.utf8 = std::move(bytes);
    return loaded;
}

LoadedText utf16Document(QByteArrayView bytes, TextEncoding encoding, const QString &path)
{
    const auto order
        = encoding == TextEncoding::Utf16Le ? utf16::ByteOrder::LittleEndian : utf16::ByteOrder::BigEndian;
    LoadedText loaded;
    loaded.encoding = encoding;
    utf16::DecodeError error;
    if (!utf16::decode(bytes, order, loaded.text, &error))
        failInvalid(path, encoding, error);
    normaliseLineEnds(loaded.text);
    return loaded;
}

// Bytes that are not valid UTF-8 (unless they are ASCII): the message says so when it refuses them.
LoadedText shiftJisDocument(QByteArray bytes, const QString &path)
{
    normaliseLineEnds(bytes);
    LoadedText loaded;
    cp932::DecodeError error;
    // Line and column are the same before and after the line ends were made CR LF.
    if (!cp932::decode(bytes, loaded.text, &error))
        file_errors::fail(ErrorNumber::InvalidFileFormat,
                          texts::invalidBytes(path, error.at.line, error.at.column) + texts::notUtf8Either());
    return loaded;
}

} // namespace

LoadedText decodeDocumentBytes(QByteArray bytes, const QString &shownPath)
{
    const codepage::DetectedEncoding detected = codepage::detectEncoding(bytes);
    const QByteArrayView mark = byteOrderMark(detected.encoding);
    switch (detected.encoding) {
    case TextEncoding::Utf8Bom: {
        bytes.remove(0, mark.size());
        utf8::DecodeError error;
        if (!utf8::validate(bytes, &error))
            failInvalid(shownPath, TextEncoding::Utf8Bom, error);
        return utf8Document(std::move(bytes), TextEncoding::Utf8Bom);
    }
    case TextEncoding::Utf16Le:
    case TextEncoding::Utf16Be:
        return utf16Document(QByteArrayView(bytes).sliced(mark.size()), detected.encoding, shownPath);
    case TextEncoding::ShiftJis:
        return shiftJisDocument(std::move(bytes), shownPath);
    case TextEncoding::Utf8:
        break;
    }
    LoadedText loaded = utf8Document(std::move(bytes), TextEncoding::Utf8);
    // Valid as both: the user is asked, with the Shift-JIS text at hand.
    loaded.alsoShiftJis = detected.validAsBoth && cp932::decode(loaded.utf8, loaded.text);
    if (!loaded.alsoShiftJis)
        loaded.text = QString();
    return loaded;
}

} // namespace orvane
