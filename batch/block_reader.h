#pragma once
// Reads a source block by block into one reused buffer, keeping the tail of a block that the
// converter could not take yet (a cut-off character) in front of the next one.

#include "byte_stream.h"

#include <QByteArray>
#include <QByteArrayView>

namespace orvane::batch {

class BlockReader {
public:
    // Blocks are at least a few bytes, so that a byte-order mark is always whole in the first.
    BlockReader(ByteSource &source, qsizetype blockSize);

    // Reads the next block after what was kept: a full block, or less at the end.
    void next();
    QByteArrayView bytes() const { return QByteArrayView(m_buffer.constData(), m_size); }
    // The source has ended: bytes() is all that is left.
    bool atEnd() const { return m_atEnd; }
    // bytes() from offset on come back at the front of the next block.
    void keepFrom(qsizetype offset);

private:
    ByteSource &m_source;
    qsizetype m_blockSize;
    QByteArray m_buffer;
    qsizetype m_size = 0;
    qsizetype m_kept = 0;
    bool m_atEnd = false;
};

} // namespace orvane::batch
