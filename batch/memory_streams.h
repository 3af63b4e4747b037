#pragma once
// A byte source over bytes in memory, read in pieces of a chosen size, and a sink that keeps what
// it is given: for tests, benchmarks and the fuzzer.

#include "byte_stream.h"

#include <QByteArray>

#include <algorithm>
#include <cstring>

namespace orvane::batch {

class MemorySource final : public ByteSource {
public:
    // piece: the most one read() gives, as a pipe gives less than asked.
    explicit MemorySource(QByteArray bytes, qsizetype piece = 0)
        : m_bytes(std::move(bytes))
        , m_piece(piece)
    {
    }
    qsizetype read(char *data, qsizetype capacity) override
    {
        qsizetype count = std::min(capacity, m_bytes.size() - m_at);
        if (m_piece > 0)
            count = std::min(count, m_piece);
        std::memcpy(data, m_bytes.constData() + m_at, size_t(count));
        m_at += count;
        return count;
    }

private:
    QByteArray m_bytes;
    qsizetype m_piece;
    qsizetype m_at = 0;
};

class MemorySink final : public ByteSink {
public:
    void write(QByteArrayView bytes) override { m_bytes.append(bytes); }
    const QByteArray &bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

} // namespace orvane::batch
