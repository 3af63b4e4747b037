#pragma once
// The window's word on the journal: a warning in the status bar while it cannot be written, which
// never takes the keyboard from the text, and a short note when writing works again. Owns the
// label and the timer that makes the journal try again; the journal is lent.

#include "journal/journal_fault.h"

#include <QObject>

class QLabel;
class QMainWindow;
class QTimer;

namespace orvane {

namespace journal {
class Journal;
}

class JournalWarning final : public QObject, public journal::JournalWatcher {
    Q_OBJECT
public:
    JournalWarning(journal::Journal &journal, QMainWindow *window);
    ~JournalWarning() override;

    void journalFailed(const journal::JournalFault &fault) override;
    void journalResumed() override;

    // What the bar shows now; empty when it is hidden.
    QString shownText() const;

private:
    journal::Journal &m_journal;
    QMainWindow *m_window;
    QLabel *m_label;
    QTimer *m_retry;
    QTimer *m_hideNote;
};

} // namespace orvane
