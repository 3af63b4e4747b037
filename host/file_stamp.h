#pragma once
// What a read saw of a file: the size and modification time that fstat gave on the descriptor
// it read from, taken before reading, so that a later look can tell whether the file changed.

#include <QtGlobal>

#include <optional>

namespace orvane {

struct FileStamp {
    qint64 size = 0;
    qint64 modifiedNs = 0; // nanoseconds since the epoch
    std::optional<size_t> hash = std::nullopt; // BytesHash of the bytes, where they were hashed

    // The same file as far as size and time tell.
    bool sameStat(const FileStamp &other) const
    {
        return size == other.size && modifiedNs == other.modifiedNs;
    }
    friend bool operator==(const FileStamp &, const FileStamp &) = default;
};

} // namespace orvane
