#pragma once
// Whether a file is still the one a journal began from: its size, modification time and hash,
// and a copy of its bytes kept beside the journal while the journal lives.

#include "journal_record.h"

#include <QString>

#include <optional>

namespace orvane::journal {

// The file's size and modification time (no hash); size -1 when there is no such file.
FileVersion identifyFile(const QString &path);

// The hash of the file's bytes, provided its size and modification time are expected's before and
// after reading them (so the bytes hashed are the ones expected describes).
std::optional<quint64> hashFile(const QString &path, const FileVersion &expected);

// Whether path holds the bytes expected describes: same size and time, and same hash when known.
bool isSameFile(const QString &path, const FileVersion &expected);

// Keeps the bytes of source under target (mode 0600): a clone where the file system shares blocks,
// else a copy of files up to copyLimit bytes. Not a hard link: a second name would change how the
// file is saved, here and by other programs. True when target holds what expected describes.
bool keepOriginal(const QString &source, const QString &target, const FileVersion &expected,
                  qint64 copyLimit);

} // namespace orvane::journal
