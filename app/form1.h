#pragma once
// The main window: the text in Text1, the document's file and Modified, and the menu bar that
// routes each item to its command. It owns Text1, the document and the search and replace
// commands; the other host services are lent to it.

#include "menu_table.h"

#include "host/host.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class QsciScintilla;

namespace orvane {

class ScintillaEditControl;
class ReplaceMenu;
class SearchMenu;
class MenuShortcutFilter;
class FileDropFilter;
class DocumentJournal;
class JournalWarning;
namespace journal {
class Journal;
}

class Form1 : public QMainWindow {
    Q_OBJECT
public:
    Form1(MessageBox &messageBox, CommonDialog &commonDialog, Clipboard &clipboard, TextFiles &textFiles,
          Program &program, QWidget *parent = nullptr);
    ~Form1() override;

    // Text1's widget, the whole client area.
    QsciScintilla *text1Widget() const;
    Host &host() { return m_host; }
    const Document &document() const { return m_document; }
    // True once a command has ended the program.
    bool hasEnded() const { return m_program.hasEnded(); }

    // Journals every edit of the document in journal from now on; a normal end removes it.
    void keepJournal(journal::Journal &journal);
    journal::Journal *journal() const { return m_journal; }
    // The warning that the journal cannot be written; null before keepJournal.
    JournalWarning *journalWarning() const { return m_journalWarning; }

    // Opens path through Open's read path, without its dialog or the save prompt.
    void openFile(const QString &path);
    // A file dropped on the window: the save prompt first when Modified.
    void openDroppedFile(const QString &path);

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    // Notes end() so that the window knows whether a close may go ahead, whatever program it is lent.
    class EndWatch final : public Program {
    public:
        explicit EndWatch(Program &program)
            : m_program(program)
        {
        }
        void end() override
        {
            m_ended = true;
            if (beforeEnd)
                beforeEnd();
            m_program.end();
        }
        void setBusy(bool busy) override { m_program.setBusy(busy); }
        bool hasEnded() const { return m_ended; }
        std::function<void()> beforeEnd;

    private:
        Program &m_program;
        bool m_ended = false;
    };

    void Form_Load();
    void centreOnScreen();
    void buildMenus();
    // Runs a command; what it leaves uncaught is reported in an error box.
    void run(const std::function<void()> &command);
    void askToEnd();

    std::unique_ptr<ScintillaEditControl> m_text1;
    CommonDialog &m_commonDialog1;
    Document m_document;
    EndWatch m_program;
    Host m_host;
    std::unique_ptr<SearchMenu> m_searchMenu;
    std::unique_ptr<ReplaceMenu> m_replaceMenu;
    MenuTargets m_menuTargets;
    MenuShortcutFilter *m_shortcutFilter = nullptr;
    FileDropFilter *m_dropFilter = nullptr;
    journal::Journal *m_journal = nullptr;
    std::unique_ptr<DocumentJournal> m_documentJournal;
    JournalWarning *m_journalWarning = nullptr;
    QSize m_centredFrameSize;
    bool m_shown = false;
    bool m_asking = false;
    bool m_checkingDisk = false;
};

} // namespace orvane
