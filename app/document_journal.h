#pragma once
// Keeps the journal in step with the document: a new identity (New, Open, a save) starts it
// afresh, a retargeted one (a Save As that failed after its dialog) is noted in it. Owns nothing;
// the journal and the edit control are lent.

#include "host/document.h"
#include "journal/journal.h"

#include <functional>

namespace orvane {

class DocumentJournal final : public DocumentObserver {
public:
    // textBytes: the length of the edit control's text in bytes, the journal's base.
    DocumentJournal(journal::Journal &journal, std::function<qint64()> textBytes);

    void currentFileSet(const FileIdentity &file, const FileContent &content) override;
    void retargeted(const FileIdentity &file) override;

    static journal::DocumentForm formOf(const FileIdentity &file);
    static FileIdentity identityOf(const journal::DocumentForm &form);

private:
    journal::Journal &m_journal;
    std::function<qint64()> m_textBytes;
};

} // namespace orvane
