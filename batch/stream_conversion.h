#pragma once
// orvane-conv's conversion of one input: read, convert and write block by block, so that memory
// stays bounded whatever the input's size, and block boundaries change nothing in the output.

#include "byte_stream.h"

#include "text/chars/conversion_kind.h"
#include "text/codec/text_encoding.h"

#include <QList>
#include <QString>

#include <optional>

namespace orvane::batch {

// The process's exit status.
enum class ExitStatus {
    Success = 0,
    Unconvertible = 1, // bytes invalid in the source encoding, or a character the target cannot store
    UsageError = 2, // unknown option or kind, a missing or unreadable file, a folder
};

inline constexpr qsizetype defaultBlockSize = qsizetype(1) << 20;

struct StreamOptions {
    // Nothing: auto, the editor's Open rules without the question (DetectingSource).
    std::optional<TextEncoding> from = TextEncoding::ShiftJis;
    TextEncoding to = TextEncoding::ShiftJis;
    QList<ConversionKind> kinds; // applied in this order
    qsizetype blockSize = defaultBlockSize; // bytes read at a time; tests set small ones
    bool writeBom = true; // for the targets that have one; off for the second file of a run
};

struct StreamOutcome {
    ExitStatus exitStatus = ExitStatus::Success;
    QString error; // Japanese, without the file's name; empty on success
    qint64 bytesWritten = 0;
};

// Converts everything source gives into sink. On failure sink holds exactly the output of what
// came before the error (bytesWritten says how much). Error positions count
// from the start of the input (lines at CR LF, lone CR or lone LF; columns in characters).
StreamOutcome convertStream(const StreamOptions &options, ByteSource &source, ByteSink &sink);

} // namespace orvane::batch
