#pragma once
// The modeless search dialog: a search box and the search options, owned by the main window. It
// searches the main window's edit control and owns nothing beyond its own controls.

#include "host/host.h"

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace orvane {

class Form2 final : public QDialog {
    Q_OBJECT

public:
    // Loads the dialog with its initial values, centred on the screen; it deletes itself when closed.
    Form2(Host &host, QWidget *owner);

    // Longer search strings are held aside: filling a QLineEdit takes seconds from a million
    // characters on, so the box shows only a preview of them.
    static constexpr qsizetype heldTextBound = 10000;
    static constexpr qsizetype previewLength = 200;

    // The string a search looks for: the held text while one is held, else the search box's text.
    // A selection that spans lines is kept exactly, CR LF included.
    QString searchText() const;
    void setSearchText(const QString &text);

    qsizetype searchPos() const { return SearchPos; }

    void Command1_Click();
    void Command2_Click();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void centreOnScreen();
    void fitFont();
    void editPreview(const QString &edited);
    void dropHeldText();

    Host &m_host;
    qsizetype SearchPos = 0;
    bool m_placed = false;
    QString m_heldText;
    bool m_holding = false;

    QLabel *Label1;
    QLineEdit *Text1;
    QGroupBox *Frame1;
    QRadioButton *Option1;
    QRadioButton *Option2;
    QCheckBox *Check1;
    QPushButton *Command1;
    QPushButton *Command2;
};

} // namespace orvane
