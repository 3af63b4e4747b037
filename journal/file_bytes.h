#pragma once
// The bytes of a document's file as the editor holds them after reading or writing it: the text,
// shared with the copy it came from rather than copied, and what surrounds it in the file. Written
// out again they are the file's bytes, as a save without an edit writes them.

#include "text/codec/cp932_file_codes.h"
#include "text/codec/line_ends.h"
#include "text/codec/text_encoding.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace orvane::journal {

struct FileBytes {
    codec::TextEncoding encoding = codec::TextEncoding::ShiftJis;
    QByteArray utf8; // the text in UTF-8, when utf16 is null
    QString utf16; // the text in UTF-16 (a UTF-16 file, a saved text)
    std::optional<codec::LineEnd> lastLineEnd;
    codec::cp932::FileCodes codes;

    bool isEmpty() const { return utf8.isNull() && utf16.isNull(); }
};

// Writes the file's bytes to fd, encoding a block at a time so that no second copy of the whole
// text is made. False, with errno set, when a write fails or the text cannot be encoded.
bool writeFileBytes(int fd, const FileBytes &bytes);

} // namespace orvane::journal
