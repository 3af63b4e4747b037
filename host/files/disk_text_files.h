#pragma once
// The document's text files on disk in any of their encodings, each line end kept.
// Owns nothing between calls; each call opens and closes its file.

#include "host/text_files.h"

namespace orvane {

class DiskTextFiles final : public TextFiles {
public:
    // Refuses folders, devices and pipes before opening them; decodes by decodeDocumentBytes.
    LoadedText readText(const QString &path,
                        std::optional<codec::TextEncoding> chosen = std::nullopt) override;
    std::optional<FileStamp> stampOf(const QString &path, bool withHash) override;
    // Shift-JIS and UTF-8 block by block (document_stream.h); refuses a file whose load would
    // need more memory than is available, before anything is loaded.
    LoadedText streamText(const QString &path, TextLoad &load, Progress &progress) override;

    // Writes through a symbolic link to its target. Replaces the file atomically with a temporary
    // file beside it, except where that would cut the file off from its other names or is not
    // possible (several hard links, a folder we may not write), where it writes in place.
    void writeText(const QString &path, const QString &text,
                   codec::TextEncoding encoding = codec::TextEncoding::ShiftJis,
                   const WriteOptions &options = {}) override;
    // The same a block at a time (BlockEncoder), a step reported after every block written.
    bool saveText(const QString &path, TextBlocks &text, codec::TextEncoding encoding,
                  const WriteOptions &options, Progress &progress) override;
};

} // namespace orvane
