#include "host/files/bytes_hash.h"

#include <QHash>

#include <algorithm>

namespace orvane {

void BytesHash::add(QByteArrayView bytes)
{
    m_size += bytes.size();
    if (!m_open.isEmpty()) {
        const qsizetype taken = std::min(chunkSize - m_open.size(), bytes.size());
        m_open.append(bytes.first(taken));
        bytes = bytes.sliced(taken);
        if (m_open.size() < chunkSize)
            return;
        m_hash = qHashBits(m_open.constData(), size_t(chunkSize), m_hash);
        m_open.resize(0);
    }
    for (; bytes.size() >= chunkSize; bytes = bytes.sliced(chunkSize))
        m_hash = qHashBits(bytes.data(), size_t(chunkSize), m_hash);
    m_open.append(bytes);
}

size_t BytesHash::value() const
{
    return m_open.isEmpty() ? m_hash : qHashBits(m_open.constData(), size_t(m_open.size()), m_hash);
}

} // namespace orvane
