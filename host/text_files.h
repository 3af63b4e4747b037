#pragma once
// Reading and writing the document's text files in the document's encoding, each line end as the
// file has it. Every failure throws HostError with a Japanese description that names the file.

#include "host/edit_control.h"
#include "host/file_stamp.h"
#include "host/progress.h"
#include "host/text_blocks.h"
#include "text/codec/cp932_file_codes.h"
#include "text/codec/line_ends.h"
#include "text/codec/text_encoding.h"
#include "text/codec/utf8.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace orvane {

// A file's text as read, each line end as in the file but none after the last line, no byte-order
// mark.
struct LoadedText {
    codec::TextEncoding encoding = codec::TextEncoding::ShiftJis;
    codec::LineEnds
        lineEnds; // the file's first line end, and the one after its last line (taken off the text)
    codec::cp932::FileCodes codes; // a Shift-JIS file's codes of characters that have several
    QString text; // UTF-16 files
    QByteArray utf8; // Shift-JIS and UTF-8 files, decoded to UTF-8 for an edit control that holds UTF-8
    qsizetype utf8Units = 0; // utf8's length in UTF-16 code units
    std::optional<FileStamp> stamp
        = std::nullopt; // the file the bytes were read from; none where it is not known

    // The other reading of a UTF-8 file whose bytes are valid Shift-JIS too (ﾃｽ is C3 BD), kept
    // until choose() settles which one the text is; the fields above hold the UTF-8 reading.
    struct ShiftJisReading {
        QString text;
        codec::cp932::FileCodes codes;
    };
    std::optional<ShiftJisReading> shiftJisReading;

    bool alsoShiftJis() const { return shiftJisReading.has_value(); }
    // The UTF-8 went block by block into a TextLoad instead of utf8.
    bool streamed = false;

    bool isUtf8() const
    {
        return encoding == codec::TextEncoding::Utf8 || encoding == codec::TextEncoding::Utf8Bom;
    }
    bool isUtf16() const
    {
        return encoding == codec::TextEncoding::Utf16Le || encoding == codec::TextEncoding::Utf16Be;
    }
    // The text as read in its own encoding.
    QString decoded() const
    {
        QString utf16 = text;
        if (!isUtf16())
            codec::utf8::decode(utf8, utf16);
        return utf16;
    }
    // Settles a file valid as both UTF-8 and Shift-JIS as the reading in chosen; any other file
    // stays as it was read.
    void choose(codec::TextEncoding chosen)
    {
        if (!shiftJisReading)
            return;
        if (chosen == codec::TextEncoding::ShiftJis) {
            encoding = codec::TextEncoding::ShiftJis;
            utf8 = shiftJisReading->text.toUtf8();
            utf8Units = shiftJisReading->text.size();
            codes = std::move(shiftJisReading->codes);
        }
        shiftJisReading.reset();
    }
};

// What a save writes besides the text and its encoding.
struct WriteOptions {
    // The line end after the last line; none for a file that ended without one.
    std::optional<codec::LineEnd> lastLineEnd = codec::LineEnd::CrLf;
    // In Shift-JIS, the codes the file used for characters that have several.
    const codec::cp932::FileCodes *codes = nullptr;
    // Every line end written as this one; none keeps each as the text has it.
    std::optional<codec::LineEnd> lineEnds = std::nullopt;
};

class TextFiles {
public:
    virtual ~TextFiles() = default;
    // Reads and decodes the whole file; nothing is returned unless all of it is read. chosen: the
    // encoding the user chose, instead of the one the bytes suggest.
    virtual LoadedText readText(const QString &path, std::optional<codec::TextEncoding> chosen = std::nullopt)
        = 0;
    // The file as it is now (with the hash of its bytes when withHash); none when there is no
    // such file or it cannot be read.
    virtual std::optional<FileStamp> stampOf(const QString &path, bool withHash)
    {
        Q_UNUSED(path);
        Q_UNUSED(withHash);
        return std::nullopt;
    }
    // readText reporting progress, and handing a Shift-JIS or UTF-8 text to load block by block
    // (streamed) rather than as a whole in utf8. load holds nothing useful unless streamed is set.
    virtual LoadedText streamText(const QString &path, TextLoad &load, Progress &progress)
    {
        Q_UNUSED(load);
        Q_UNUSED(progress);
        return readText(path);
    }
    // Writes the text and the last line end in the encoding (with its byte-order mark, if it has
    // one), replacing the file only once everything is written.
    virtual void writeText(const QString &path, const QString &text,
                           codec::TextEncoding encoding = codec::TextEncoding::ShiftJis,
                           const WriteOptions &options = {})
        = 0;
    // writeText for a text read block by block (an edit control's own buffer, not copied whole),
    // reporting progress; キャンセル (the dialog's cancel thrown by progress) leaves the file as it
    // was. True when a line end was written otherwise than the text has it (options.lineEnds).
    virtual bool saveText(const QString &path, TextBlocks &text, codec::TextEncoding encoding,
                          const WriteOptions &options, Progress &progress);
};

} // namespace orvane
