#include "encoding_detection.h"

#include "text/codec/block_cut.h"
#include "text/codec/cp932.h"
#include "text/codec/utf8.h"

#include <algorithm>
#include <cstring>

namespace orvane::batch {

namespace {

// Piece by piece, so that a long start does not need its whole UTF-16 text at once.
bool isShiftJis(QByteArrayView bytes)
{
    constexpr qsizetype kPiece = qsizetype(1) << 20;
    QString text;
    while (!bytes.isEmpty()) {
        const qsizetype piece = bytes.size() <= kPiece
            ? bytes.size()
            : codepage::wholeCharacters(TextEncoding::ShiftJis, bytes.first(kPiece));
        if (!cp932::decode(bytes.first(piece), text))
            return false;
        bytes = bytes.sliced(piece);
    }
    return true;
}

} // namespace

TextEncoding detectEncoding(QByteArrayView bytes, bool complete)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return TextEncoding::Utf8;
    if (bytes.startsWith("\xFF\xFE"))
        return TextEncoding::Utf16Le;
    if (bytes.startsWith("\xFE\xFF"))
        return TextEncoding::Utf16Be;
    const bool multiByte = std::any_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) >= 0x80; });
    if (!multiByte)
        return TextEncoding::ShiftJis;
    const QByteArrayView shiftJis
        = complete ? bytes : bytes.first(codepage::wholeCharacters(TextEncoding::ShiftJis, bytes));
    if (isShiftJis(shiftJis))
        return TextEncoding::ShiftJis;
    const QByteArrayView utf8
        = complete ? bytes : bytes.first(codepage::wholeCharacters(TextEncoding::Utf8, bytes));
    return utf8::validate(utf8) ? TextEncoding::Utf8 : TextEncoding::ShiftJis;
}

TextEncoding DetectingSource::detect()
{
    m_ahead.resize(m_lookAhead);
    qsizetype size = 0;
    bool complete = false;
    while (size < m_lookAhead) {
        const qsizetype count = m_source.read(m_ahead.data() + size, m_lookAhead - size);
        if (count == 0) {
            complete = true;
            break;
        }
        size += count;
    }
    m_ahead.truncate(size);
    return detectEncoding(m_ahead, complete);
}

qsizetype DetectingSource::read(char *data, qsizetype capacity)
{
    if (m_given < m_ahead.size()) {
        const qsizetype count = std::min(capacity, m_ahead.size() - m_given);
        std::memcpy(data, m_ahead.constData() + m_given, size_t(count));
        m_given += count;
        if (m_given == m_ahead.size())
            m_ahead = QByteArray(); // give the memory back
        return count;
    }
    return m_source.read(data, capacity);
}

} // namespace orvane::batch
