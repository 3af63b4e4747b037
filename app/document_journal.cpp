#include "document_journal.h"

namespace orvane {

DocumentJournal::DocumentJournal(journal::Journal &journal, std::function<qint64()> textBytes)
    : m_journal(journal)
    , m_textBytes(std::move(textBytes))
{
}

void DocumentJournal::currentFileSet(const FileIdentity &file, const FileContent &content)
{
    // The file as read, when the text is what was read: the journal need not look at it again.
    std::optional<journal::FileVersion> read;
    if (file.read)
        read = journal::FileVersion {file.read->size, file.read->modifiedNs};
    journal::FileBytes base;
    if (!content.utf8.isNull() || !content.utf16.isNull())
        base = {file.encoding, content.utf8, content.utf16, file.lineEnds.last, file.codes};
    m_journal.startDocument(formOf(file), m_textBytes(), read, std::move(base), content.written);
}

void DocumentJournal::retargeted(const FileIdentity &file) { m_journal.changeForm(formOf(file)); }

journal::DocumentForm DocumentJournal::formOf(const FileIdentity &file)
{
    return journal::DocumentForm {file.path, file.encoding, file.lineEnds};
}

FileIdentity DocumentJournal::identityOf(const journal::DocumentForm &form)
{
    FileIdentity file;
    file.path = form.path;
    file.encoding = form.encoding;
    file.lineEnds = form.lineEnds;
    return file;
}

} // namespace orvane
