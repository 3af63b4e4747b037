#pragma once
// What a file on disk was when the document last read or wrote it, to notice another program's
// change: its size and modification time, and the hash of its bytes where it was computed.

#include <QtGlobal>

#include <optional>

namespace orvane {

struct DiskStamp {
    qint64 size = 0;
    qint64 modifiedNs = 0; // nanoseconds since the epoch
    std::optional<size_t> hash; // qHashBits of the bytes

    // The same file as far as size and time tell.
    bool sameStat(const DiskStamp &other) const
    {
        return size == other.size && modifiedNs == other.modifiedNs;
    }
};

} // namespace orvane
