#pragma once
// How the conversion of one input ended: the exit status it gives the process, its error and how
// many bytes it wrote. Owns its error text.

#include <QString>

namespace orvane::batch {

// The process's exit status.
enum class ExitStatus {
    Success = 0,
    Unconvertible = 1, // bytes invalid in the source encoding, or a character the target cannot store
    UsageError = 2, // unknown option or kind, a missing or unreadable file, a folder
};

struct StreamOutcome {
    ExitStatus exitStatus = ExitStatus::Success;
    QString error; // Japanese, without the file's name; empty on success
    qint64 bytesWritten = 0;
};

} // namespace orvane::batch
