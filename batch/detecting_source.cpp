#include "detecting_source.h"

#include "text/codec/encoding_detection.h"

#include <algorithm>
#include <cstring>

namespace orvane::batch {

codec::TextEncoding DetectingSource::detect()
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
    const codec::DetectedEncoding detected = codec::detectEncoding(m_ahead, complete);
    return detected.validAsBoth ? codec::TextEncoding::ShiftJis : detected.encoding;
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
