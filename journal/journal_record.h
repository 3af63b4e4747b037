#pragma once
// The records of a document's journal: where the document came from, then each change to its
// text. Positions and lengths are bytes of the edit control's UTF-8 text.

#include "text/chars/conversion_kind.h"
#include "text/chars/replacer.h"
#include "text/codec/line_ends.h"
#include "text/codec/text_encoding.h"

#include <QByteArray>
#include <QString>

#include <variant>

namespace orvane::journal {

// What a file was when the document was opened or saved, to tell later whether it still is.
struct FileVersion {
    qint64 size = -1; // -1: no file (an untitled document)
    qint64 modifiedNs = 0; // modification time, nanoseconds since the epoch
    quint64 hash = 0; // fastHash of the file's bytes, once known
    bool hasHash = false;

    friend bool operator==(const FileVersion &, const FileVersion &) = default;
};

// The document's name and form: its path (empty when untitled), encoding and line ends.
struct DocumentForm {
    QString path;
    codec::TextEncoding encoding = codec::TextEncoding::ShiftJis;
    codec::LineEnds lineEnds = {};

    friend bool operator==(const DocumentForm &, const DocumentForm &) = default;
};

// The first record: the document as its file gave it. baseLength is the text's length in bytes
// before any edit (0 for an untitled document), checked when the file is read again.
struct Origin {
    DocumentForm form;
    FileVersion file;
    qint64 baseLength = 0;

    friend bool operator==(const Origin &, const Origin &) = default;
};

struct Insert {
    qint64 position = 0;
    QByteArray bytes;
    friend bool operator==(const Insert &, const Insert &) = default;
};

struct Delete {
    qint64 position = 0;
    qint64 length = 0;
    friend bool operator==(const Delete &, const Delete &) = default;
};

// A conversion of the whole text or of [position, position + removed): the command, not its
// result. removed and inserted are the lengths of the part that changed (the edit control keeps
// a common start and end), so that replay can check it got the same text.
struct Conversion {
    chars::ConversionKind kind = chars::ConversionKind::Upper;
    bool wholeText = true;
    qint64 position = 0;
    qint64 removed = 0;
    qint64 inserted = 0;
    friend bool operator==(const Conversion &, const Conversion &) = default;
};

// A replace of every match in the whole text or in the selection [position, position + removed):
// the command, not its result. As for a conversion, removed and inserted are the lengths of the
// part that changed. It is numbered with the conversions.
struct Replacement {
    chars::ReplaceCommand command;
    bool wholeText = true;
    qint64 position = 0;
    qint64 removed = 0;
    qint64 inserted = 0;
    friend bool operator==(const Replacement &, const Replacement &) = default;
};

// Undo or redo of the step that the conversion (or replacement) numbered `conversion` (0 = the journal's
// first) made.
struct StepUndo {
    qint32 conversion = 0;
    bool redo = false;
    friend bool operator==(const StepUndo &, const StepUndo &) = default;
};

// The hash of the origin's file, computed after the journal began.
struct OriginHash {
    quint64 hash = 0;
    friend bool operator==(const OriginHash &, const OriginHash &) = default;
};

// The document's name or form changed without a change of its text (a Save As that failed after
// its dialog keeps the new name).
struct FormChange {
    DocumentForm form;
    friend bool operator==(const FormChange &, const FormChange &) = default;
};

// The whole text from here on: a journal that resumes after its writes failed begins with it, so
// that it never depends on what the failed one lost.
struct Rebase {
    QByteArray text;
    friend bool operator==(const Rebase &, const Rebase &) = default;
};

using Record
    = std::variant<Origin, Insert, Delete, Conversion, StepUndo, OriginHash, FormChange, Replacement, Rebase>;

} // namespace orvane::journal
