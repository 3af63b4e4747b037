#pragma once
// orvane-conv's conversion of one input: read, convert and write block by block, so that memory
// stays bounded whatever the input's size, and block boundaries change nothing in the output.

#include "byte_stream.h"
#include "stream_outcome.h"

#include "text/chars/conversion_kind.h"
#include "text/codec/line_ends.h"
#include "text/codec/text_encoding.h"

#include <QList>
#include <QString>

#include <optional>

namespace orvane::batch {

inline constexpr qsizetype defaultBlockSize = qsizetype(1) << 20;
inline constexpr qsizetype defaultLookAhead = qsizetype(16) << 20;

struct StreamOptions {
    // Nothing: auto, the editor's Open rules without the question (DetectingSource).
    std::optional<codec::TextEncoding> from = codec::TextEncoding::ShiftJis;
    codec::TextEncoding to = codec::TextEncoding::ShiftJis;
    QList<chars::ConversionKind> kinds; // applied in this order
    std::optional<codec::LineEnd> lineEnd; // every line end written so; none: each kept as it is
    qsizetype blockSize = defaultBlockSize; // bytes read at a time; tests set small ones
    // Bytes auto reads ahead to decide; a test whose input is shorter sets less, as the buffer is
    // allocated whole.
    qsizetype lookAhead = defaultLookAhead;
    bool writeBom = true; // for the targets that have one; off for the second file of a run
};

// Converts everything source gives into sink. On failure sink holds exactly the output of what
// came before the error (bytesWritten says how much). Error positions count
// from the start of the input (lines at CR LF, lone CR or lone LF; columns in characters).
StreamOutcome convertStream(const StreamOptions &options, ByteSource &source, ByteSink &sink);

} // namespace orvane::batch
