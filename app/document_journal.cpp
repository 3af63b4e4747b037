#include "document_journal.h"

#include <iterator>

namespace orvane {

DocumentJournal::DocumentJournal(journal::Journal &journal, std::function<qint64()> textBytes)
    : m_journal(journal)
    , m_textBytes(std::move(textBytes))
{
}

void DocumentJournal::currentFileSet(const FileIdentity &file)
{
    m_journal.startDocument(formOf(file), m_textBytes());
}

void DocumentJournal::retargeted(const FileIdentity &file) { m_journal.changeForm(formOf(file)); }

journal::DocumentForm DocumentJournal::formOf(const FileIdentity &file)
{
    journal::DocumentForm form;
    form.path = file.path;
    form.encoding = quint8(file.encoding);
    return form;
}

FileIdentity DocumentJournal::identityOf(const journal::DocumentForm &form)
{
    FileIdentity file;
    file.path = form.path;
    // A number this version does not know (a damaged record) leaves the default.
    if (form.encoding < std::size(allTextEncodings))
        file.encoding = TextEncoding(form.encoding);
    return file;
}

} // namespace orvane
