#pragma once
// Reading and writing the document's text files: code page 932 bytes, lines separated by CR LF.
// Every failure throws HostError with a Japanese description that names the file.

#include <QString>

namespace orvane {

struct LoadedText {
    QString text;            // the file's lines joined by CR LF, no line end after the last
    bool mayBeUtf8 = false;  // valid UTF-8 with multi-byte sequences: worth asking the user
};

class TextFiles {
public:
    virtual ~TextFiles() = default;
    // Reads and decodes the whole file; nothing is returned unless all of it is read.
    virtual LoadedText readText(const QString &path) = 0;
    // Writes the text and one CR LF after it, replacing the file only once everything is written.
    virtual void writeText(const QString &path, const QString &text) = 0;
};

} // namespace orvane
