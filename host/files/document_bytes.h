#pragma once
// A document file's bytes as text: which encoding they are in and what they say, decided on the
// bytes alone (no file is touched), so that the editor's Open, the batch converter and the fuzz
// tests share one set of rules.

#include "host/text_files.h"

#include <QByteArray>
#include <QString>

namespace orvane {

// In this order: a byte-order mark decides (EF BB BF UTF-8, FF FE UTF-16 LE, FE FF UTF-16 BE);
// else valid UTF-8 with a multi-byte sequence is UTF-8, and when it is valid Shift-JIS too the
// result says so (alsoShiftJis); else Shift-JIS, which includes pure ASCII. Line ends stay as they
// are but the one after the last line, which lineEnds notes; a file holding only its mark is an
// empty text.
// Bytes that are not valid in the chosen encoding throw HostError(InvalidFileFormat) with a
// Japanese description naming shownPath, the line and the column.
LoadedText decodeDocumentBytes(QByteArray bytes, const QString &shownPath);

} // namespace orvane
