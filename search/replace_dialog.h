#pragma once
// The modeless replace dialog: search and replacement strings, the compare options and the four
// buttons, with a status line for counts and errors. Searches the main window's edit control and
// owns nothing beyond its own controls.

#include "host/host.h"
#include "replace_commands.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace orvane {

class ReplaceDialog final : public QDialog {
    Q_OBJECT

public:
    ReplaceDialog(Host &host, QWidget *owner);

    // A selection longer than this, or holding a line end, is what to replace in, not what to find.
    static constexpr qsizetype selectionAsPatternBound = 200;

    // Fills the boxes as the dialog opens: the search box from the selection when it is a short
    // piece of one line, else from the last searched string; the replacement from the last one.
    void prepare(const QString &selection);

    ReplaceSettings settings() const;

    void findNextClicked();
    void replaceClicked();
    void replaceAllClicked();

private:
    void report(const ReplaceOutcome &outcome);
    void remember();

    Host &m_host;
    QLineEdit *m_pattern;
    QLineEdit *m_replacement;
    QRadioButton *m_textCompare;
    QRadioButton *m_binaryCompare;
    QCheckBox *m_regularExpression;
    QCheckBox *m_selectionOnly;
    QPushButton *m_findNext;
    QPushButton *m_replace;
    QPushButton *m_replaceAll;
    QPushButton *m_close;
    QLabel *m_status;
};

} // namespace orvane
