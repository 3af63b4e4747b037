#pragma once
// Open's reading of a Shift-JIS or UTF-8 file block by block into an edit control's load, so that
// neither the file's bytes nor its UTF-8 are ever held whole beside the control's own copy.

#include "host/edit_control.h"
#include "host/progress.h"
#include "host/text_files.h"

#include <QString>

#include <functional>

namespace orvane {

// Where the blocks come from: read(data, capacity) gives 0 at the end; rewind() starts again
// from the file's first byte.
struct DocumentSource {
    qint64 size = 0;
    std::function<qsizetype(char *, qsizetype)> read;
    std::function<void()> rewind;
};

// The text as decodeDocumentBytes would give it, and the same errors. Files it cannot stream
// (UTF-16, bytes that turn out invalid, UTF-8 that may be Shift-JIS too) are read again whole and
// given back unstreamed. checkMemory(bytes) refuses a load that would need more than there is.
LoadedText streamDocument(DocumentSource &source, const QString &shownPath, TextLoad &load,
                          Progress &progress, const std::function<void(qint64)> &checkMemory);

} // namespace orvane
