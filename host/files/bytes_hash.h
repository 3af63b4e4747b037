#pragma once
// The hash of a file's bytes as FileStamp keeps it, fed in pieces of any size, so that bytes read
// block by block, mapped or held whole hash alike. Owns the start of a chunk a piece left open.

#include <QByteArray>
#include <QByteArrayView>

namespace orvane {

class BytesHash {
public:
    // qHashBits of each megabyte in turn, seeded with the hash of those before.
    static constexpr qsizetype chunkSize = qsizetype(1) << 20;

    static size_t of(QByteArrayView bytes)
    {
        BytesHash hash;
        hash.add(bytes);
        return hash.value();
    }

    void add(QByteArrayView bytes);
    size_t value() const;
    // How many bytes were added.
    qint64 size() const { return m_size; }
    void reset() { *this = BytesHash(); }

private:
    size_t m_hash = 0;
    qint64 m_size = 0;
    QByteArray m_open;
};

} // namespace orvane
