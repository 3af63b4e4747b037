#include "host/text_blocks.h"

#include "text/codec/block_cut.h"
#include "text/codec/utf8.h"

#include <algorithm>

namespace orvane {

QStringView StringBlocks::next()
{
    const qsizetype rest = m_text.size() - m_done;
    qsizetype size = std::min(textBlockSize, rest);
    if (size < rest) {
        const QChar *units = m_text.constData() + m_done;
        if (size > 1 && units[size - 1].isHighSurrogate())
            --size;
        if (size > 1 && units[size - 1] == u'\r')
            --size;
    }
    const QStringView block = QStringView(m_text).sliced(m_done, size);
    m_done += size;
    return block;
}

Utf8Blocks::Utf8Blocks(QByteArrayView before, QByteArrayView after)
    : m_before(before)
    , m_after(after)
{
}

QByteArrayView Utf8Blocks::nextUtf8()
{
    // A cut at whole characters gives back at most a character and a CR; fewer bytes than this
    // before the gap go into a block with the bytes after it.
    constexpr qsizetype kJoinBelow = 16;
    const qsizetype size = m_before.size() + m_after.size();
    const qsizetype wanted = std::min(textBlockSize, size - m_done);
    if (wanted == 0)
        return {};
    const qsizetype beforeGap = m_before.size() - m_done;
    QByteArrayView block;
    if (beforeGap >= wanted) {
        block = m_before.sliced(m_done, wanted);
    } else if (beforeGap <= 0) {
        block = m_after.sliced(-beforeGap, wanted);
    } else if (beforeGap >= kJoinBelow) {
        block = m_before.sliced(m_done);
    } else {
        m_joined.clear();
        m_joined.append(m_before.sliced(m_done));
        m_joined.append(m_after.first(wanted - beforeGap));
        block = m_joined;
    }
    qsizetype cut = block.size();
    if (m_done + block.size() < size)
        cut = std::max<qsizetype>(1, codec::wholeCharacters(codec::TextEncoding::Utf8, block));
    m_done += cut;
    return block.first(cut);
}

QStringView Utf8Blocks::next()
{
    const QByteArrayView bytes = nextUtf8();
    // Bytes that are not UTF-8 cannot come from the control's own edits; should any be there, they
    // are kept as replacement characters rather than cut off.
    if (!codec::utf8::decode(bytes, m_utf16))
        m_utf16 = QString::fromUtf8(bytes);
    return m_utf16;
}

} // namespace orvane
