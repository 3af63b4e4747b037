#pragma once
// A document file's bytes as Open reads them: the encoding by the rule orvane-conv's auto follows
// too (text/codec/encoding_detection.h), the text with its line ends as the file has them, and the refusals
// in Open's words. Decided on the bytes alone (no file is touched), so that the fuzz tests run it.

#include "host/text_files.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace orvane {

// The encoding as detectEncoding decides it; UTF-8 that is valid Shift-JIS too says so
// (shiftJisReading, with the Shift-JIS text), for the user to choose. Line ends stay as they are but
// the one after the last line, which lineEnds notes; a file holding only its mark is an empty text.
// Bytes that are not valid in the chosen encoding throw HostError(InvalidFileFormat) with a
// Japanese description naming shownPath, the line and the column. chosen: the encoding the user
// chose instead, which the bytes must fit.
LoadedText decodeDocumentBytes(QByteArray bytes, const QString &shownPath,
                               std::optional<codec::TextEncoding> chosen = std::nullopt);

} // namespace orvane
