#include "document_journal.h"

#include <iterator>

namespace orvane {

DocumentJournal::DocumentJournal(journal::Journal &journal, std::function<qint64()> textBytes)
    : m_journal(journal)
    , m_textBytes(std::move(textBytes))
{
}

void DocumentJournal::currentFileSet(const FileIdentity &file, const FileContent &content)
{
    journal::FileBytes base;
    if (!content.utf8.isNull() || !content.utf16.isNull())
        base = {file.encoding, content.utf8, content.utf16, file.lineEnds.last, file.codes};
    m_journal.startDocument(formOf(file), m_textBytes(), std::move(base), content.written);
}

void DocumentJournal::retargeted(const FileIdentity &file) { m_journal.changeForm(formOf(file)); }

journal::DocumentForm DocumentJournal::formOf(const FileIdentity &file)
{
    journal::DocumentForm form;
    form.path = file.path;
    form.encoding = quint8(file.encoding);
    form.lineEnd = quint8(file.lineEnds.document);
    form.lastLineEnd = file.lineEnds.last ? quint8(1 + int(*file.lineEnds.last)) : 0;
    return form;
}

FileIdentity DocumentJournal::identityOf(const journal::DocumentForm &form)
{
    FileIdentity file;
    file.path = form.path;
    // A number this version does not know (a damaged record) leaves the default.
    if (form.encoding < std::size(allTextEncodings))
        file.encoding = TextEncoding(form.encoding);
    if (form.lineEnd < std::size(allLineEnds))
        file.lineEnds.document = LineEnd(form.lineEnd);
    if (form.lastLineEnd == 0)
        file.lineEnds.last.reset();
    else if (form.lastLineEnd <= std::size(allLineEnds))
        file.lineEnds.last = LineEnd(form.lastLineEnd - 1);
    return file;
}

} // namespace orvane
