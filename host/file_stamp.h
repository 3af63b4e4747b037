#pragma once
// What a read saw of a file: the size and modification time that fstat gave on the descriptor
// it read from, taken before reading, so that a later look can tell whether the file changed.

#include <QtGlobal>

namespace orvane {

struct FileStamp {
    qint64 size = 0;
    qint64 modifiedNs = 0; // nanoseconds since the epoch

    friend bool operator==(const FileStamp &, const FileStamp &) = default;
};

} // namespace orvane
