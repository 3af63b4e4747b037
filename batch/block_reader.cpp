#include "block_reader.h"

#include <algorithm>
#include <cstring>

namespace orvane::batch {

namespace {
constexpr qsizetype minimumBlock = 8;
constexpr qsizetype maxKept = 8; // a cut-off character and a CR before it
} // namespace

BlockReader::BlockReader(ByteSource &source, qsizetype blockSize)
    : m_source(source)
    , m_blockSize(std::max(blockSize, minimumBlock))
    , m_buffer(m_blockSize + maxKept, Qt::Uninitialized)
{
}

void BlockReader::next()
{
    m_size = m_kept;
    // Pipes hand out less than asked; fill the block so that blocks stay large.
    const qsizetype end = m_kept + m_blockSize;
    while (m_size < end && !m_atEnd) {
        const qsizetype count = m_source.read(m_buffer.data() + m_size, end - m_size);
        if (count == 0) {
            m_atEnd = true;
            break;
        }
        m_size += count;
    }
    m_kept = 0;
}

void BlockReader::keepFrom(qsizetype offset)
{
    m_kept = m_size - offset;
    Q_ASSERT(m_kept <= maxKept);
    if (m_kept > 0)
        std::memmove(m_buffer.data(), m_buffer.constData() + offset, size_t(m_kept));
}

} // namespace orvane::batch
