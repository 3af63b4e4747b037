#include "document_journal.h"

namespace orvane {

DocumentJournal::DocumentJournal(journal::Journal &journal, std::function<qint64()> textBytes)
    : m_journal(journal)
    , m_textBytes(std::move(textBytes))
{
}

void DocumentJournal::currentFileSet(const FileIdentity &file)
{
    // The file as read, when the text is what was read: the journal need not look at it again.
    std::optional<journal::FileVersion> read;
    if (file.read)
        read = journal::FileVersion {file.read->size, file.read->modifiedNs};
    m_journal.startDocument(formOf(file), m_textBytes(), read);
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
