#include "form1.h"

#include "app_texts.h"
#include "document_journal.h"
#include "file_drop_filter.h"
#include "journal_warning.h"
#include "menu_shortcut_filter.h"
#include "menu_table.h"

#include "files/file_commands.h"
#include "host/qt/edit/scintilla_edit_control.h"
#include "host/retry.h"
#include "journal/journal.h"
#include "search/replace_menu.h"
#include "search/search_menu.h"

#include <Qsci/qsciscintilla.h>

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QMenuBar>
#include <QScreen>
#include <QSessionManager>
#include <QTimer>

// Resources of a static library must be registered by hand, and from the global namespace.
static void initResources() { Q_INIT_RESOURCE(orvane); }

namespace orvane {

namespace {

// The design-time client area: 6615 x 4230 twips at 15 twips a pixel.
constexpr QSize clientSize(441, 282);

} // namespace

Form1::Form1(MessageBox &messageBox, CommonDialog &commonDialog, Clipboard &clipboard, TextFiles &textFiles,
             Program &program, QWidget *parent)
    : QMainWindow(parent)
    , m_text1(std::make_unique<ScintillaEditControl>(this))
    , m_commonDialog1(commonDialog)
    , m_program(program)
    , m_host {*m_text1, commonDialog, messageBox, clipboard, textFiles, m_program, m_document}
    , m_searchMenu(std::make_unique<SearchMenu>(m_host, this))
    , m_replaceMenu(std::make_unique<ReplaceMenu>(m_host, this))
    , m_menuTargets {m_host, *m_searchMenu, *m_replaceMenu}
{
    initResources();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(appTitle());
    QIcon icon;
    icon.addFile(QStringLiteral(":/orvane/orvane-16.png"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/orvane/orvane-32.png"), QSize(32, 32));
    setWindowIcon(icon);

    QsciScintilla *text1 = m_text1->widget();
    text1->setObjectName(QStringLiteral("Text1"));
    setCentralWidget(text1);
    m_text1->setChangeHandler([this] { m_document.markModified(); });

    m_shortcutFilter = new MenuShortcutFilter(this);
    buildMenus();
    text1->installEventFilter(m_shortcutFilter);
    text1->viewport()->installEventFilter(m_shortcutFilter);
    installEventFilter(m_shortcutFilter);

    // Files dropped anywhere on the window open; the edit control would insert their names.
    m_dropFilter = new FileDropFilter([this](const QString &path) { openDroppedFile(path); }, this);
    setAcceptDrops(true);
    installEventFilter(m_dropFilter);
    text1->viewport()->installEventFilter(m_dropFilter);

    // The window frame is not counted: the client area below the menu bar gets the design size.
    resize(clientSize.width(), clientSize.height() + menuBar()->heightForWidth(clientSize.width()));
    text1->setFocus();

    if (qGuiApp) {
        connect(qGuiApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager &manager) {
            // Whatever the user answers, or if the session ends before: the journal is on the disk.
            if (m_journal)
                m_journal->syncNow();
            if (m_document.isModified() && !m_program.hasEnded() && manager.allowsInteraction()) {
                askToEnd();
                manager.release();
                if (!m_program.hasEnded())
                    manager.cancel();
            }
        });
    }

    Form_Load();
}

Form1::~Form1() = default;

QsciScintilla *Form1::text1Widget() const { return m_text1->widget(); }

void Form1::keepJournal(journal::Journal &journal)
{
    m_journal = &journal;
    m_documentJournal = std::make_unique<DocumentJournal>(
        journal, [this] { return qint64(m_text1->byteFromUtf16(m_text1->utf16Length())); });
    m_document.setObserver(m_documentJournal.get());
    m_text1->setRecorder(&journal);
    journal.setTextSource([this] { return m_text1->utf8Text(); });
    m_journalWarning = new JournalWarning(journal, this);
    m_documentJournal->currentFileSet(m_document.file(), {});
    // Told at once, before any edit, when nothing could be kept.
    journal.checkFolder();
    // The program ends normally only once the text is saved or the user let it go.
    m_program.beforeEnd = [&journal] { journal.discard(); };
}

void Form1::Form_Load()
{
    m_commonDialog1.CancelError = true;
    m_commonDialog1.Filter = app_texts::textFileFilter();
    m_commonDialog1.DefaultExt = app_texts::textFileExt();
    centreOnScreen();
}

void Form1::centreOnScreen()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // Platforms that know the frame's size before the window is shown tell it once it exists.
    if (!windowHandle())
        create();
    const QRect area = screen->availableGeometry();
    m_centredFrameSize = frameGeometry().size();
    move(area.x() + (area.width() - m_centredFrameSize.width()) / 2,
         area.y() + (area.height() - m_centredFrameSize.height()) / 2);
}

void Form1::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    // Some window managers add the frame only when the window is mapped: centre again with it.
    QTimer::singleShot(0, this, [this] {
        if (frameGeometry().size() != m_centredFrameSize && !isMaximized() && !isFullScreen())
            centreOnScreen();
    });
}

void Form1::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !isActiveWindow() || m_checkingDisk)
        return;
    // After the activation is done, and never over another question.
    QTimer::singleShot(0, this, [this] {
        if (m_checkingDisk || m_asking || QApplication::activeModalWidget() || m_program.hasEnded())
            return;
        m_checkingDisk = true;
        run([this] { checkChangedOnDisk(m_host); });
        m_checkingDisk = false;
    });
}

void Form1::buildMenus()
{
    const auto table = menuTable();
    QMenu *parents[4] = {};
    for (std::size_t i = 0; i < table.size(); ++i) {
        const MenuRow &row = table[i];
        const QString name = QString::fromLatin1(row.name);
        const QString caption = QString::fromUtf16(row.caption);
        const bool hasChildren = i + 1 < table.size() && table[i + 1].level > row.level;
        if (row.level == 1 || hasChildren) {
            QMenu *menu
                = row.level == 1 ? menuBar()->addMenu(caption) : parents[row.level - 1]->addMenu(caption);
            menu->setObjectName(name);
            menu->menuAction()->setObjectName(name);
            parents[row.level] = menu;
            continue;
        }
        QMenu *menu = parents[row.level - 1];
        if (row.isSeparator()) {
            menu->addSeparator()->setObjectName(name);
            continue;
        }
        QAction *action = menu->addAction(caption);
        action->setObjectName(name);
        if (!row.shortcut().isEmpty()) {
            action->setShortcut(row.shortcut());
            m_shortcutFilter->addShortcut(row.shortcut());
        }
        Q_ASSERT(row.handler);
        connect(action, &QAction::triggered, this,
                [this, handler = row.handler] { run([this, handler] { handler(m_menuTargets); }); });
    }
}

void Form1::run(const std::function<void()> &command) { runCommand(m_host.messageBox, command); }

void Form1::openFile(const QString &path)
{
    run([this, &path] { openDocument(m_host, path); });
}

void Form1::openDroppedFile(const QString &path)
{
    run([this, &path] { OpenDroppedFile(m_host, path); });
}

void Form1::askToEnd()
{
    // A second close while the save prompt of the first is open waits for that one.
    if (m_asking || m_program.hasEnded())
        return;
    m_asking = true;
    run([this] { ExitMenu_Click(m_host); });
    m_asking = false;
}

void Form1::closeEvent(QCloseEvent *event)
{
    askToEnd();
    if (m_program.hasEnded())
        event->accept();
    else
        event->ignore();
}

} // namespace orvane
