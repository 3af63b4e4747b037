#pragma once
// The document of the main window: which file its text stands for and whether the text differs
// from that file.

#include "host/file_stamp.h"
#include "text/codec/cp932_file_codes.h"
#include "text/codec/line_ends.h"
#include "text/codec/text_encoding.h"

#include <QString>

#include <optional>

namespace orvane {

// What the document is on disk: the file it was read from or last written to, and how its text
// becomes that file's bytes. Whatever a save must reproduce of the file belongs here.
struct FileIdentity {
    QString path; // empty: the document has no file yet
    codec::TextEncoding encoding
        = codec::TextEncoding::ShiftJis; // Open sets it from the file, Save As from the file type
    // The file's first line end (what Enter inserts) and the one after its last line. Open sets
    // them from the file; a Save As that converts line ends sets both to the one chosen.
    codec::LineEnds lineEnds;
    // A Shift-JIS file's own codes of characters that have several.
    codec::cp932::FileCodes codes;
    // The file as Open read it, while the identity is that of the text read; none after a save.
    std::optional<FileStamp> read = std::nullopt;
};

// The text a file held as the document read or wrote it, shared with the buffers of that read or
// write rather than copied: UTF-8, or UTF-16 where that is what was read or written.
struct FileContent {
    QByteArray utf8;
    QString utf16;
    bool written = false; // a save wrote it (not a read)
};

// Told of each change of the identity once it is made: a journal of the document's edits starts
// afresh from a new identity, and notes a retargeted one.
class DocumentObserver {
public:
    virtual ~DocumentObserver() = default;
    virtual void currentFileSet(const FileIdentity &file, const FileContent &content) = 0;
    virtual void retargeted(const FileIdentity &file) = 0;
};

// Keeps the document's file identity and Modified together, as the commands change them.
// Owns both; the identity changes only as a whole, through the two setters below.
class Document {
public:
    // Whether the text differs from the file: set by the edit control's change notification,
    // cleared only with a new identity.
    bool isModified() const { return m_modified; }
    void markModified() { m_modified = true; }

    const FileIdentity &file() const { return m_file; }
    const QString &path() const { return m_file.path; }
    codec::TextEncoding encoding() const { return m_file.encoding; }

    // The text now is file's content: after New, after Open has loaded it, after a save wrote it.
    // content: the file's text as read or written, when there is one.
    void setCurrentFile(const FileIdentity &file, const FileContent &content = {})
    {
        m_file = file;
        m_onDisk.reset();
        m_toldOnDisk.reset();
        m_modified = false;
        if (m_observer)
            m_observer->currentFileSet(m_file, content);
    }
    // The text is to be kept as file but is not there yet: Save As's choice outlives a failed
    // write, so that the next Save tries the same file.
    void retarget(const FileIdentity &file)
    {
        m_file = file;
        if (m_observer)
            m_observer->retargeted(m_file);
    }

    // The file on disk as the document last read or wrote it; none for a new document or when it
    // could not be told.
    const std::optional<FileStamp> &onDisk() const { return m_onDisk; }
    void setOnDisk(std::optional<FileStamp> stamp)
    {
        m_onDisk = stamp;
        m_toldOnDisk.reset();
    }
    // A later version of the file the user was already told of.
    const std::optional<FileStamp> &toldOnDisk() const { return m_toldOnDisk; }
    void setToldOnDisk(std::optional<FileStamp> stamp) { m_toldOnDisk = stamp; }
    // The text is file's content with edits not yet saved, restored from a journal that already
    // holds them: the observer is not told, so that the journal goes on rather than starting afresh.
    void recover(const FileIdentity &file)
    {
        m_file = file;
        m_modified = true;
    }

    // Who is told of identity changes; null for no one.
    void setObserver(DocumentObserver *observer) { m_observer = observer; }

private:
    FileIdentity m_file;
    std::optional<FileStamp> m_onDisk;
    std::optional<FileStamp> m_toldOnDisk;
    bool m_modified = false;
    DocumentObserver *m_observer = nullptr;
};

} // namespace orvane
