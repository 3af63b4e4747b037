#include "application.h"

#include "app_texts.h"
#include "command_line_help.h"
#include "form1.h"
#include "journal_recovery.h"

#include "host/files/disk_text_files.h"
#include "host/qt/qt_clipboard.h"
#include "host/qt/qt_program.h"
#include "host/qt/ui/qt_common_dialog.h"
#include "host/qt/ui/qt_message_box.h"
#include "journal/journal.h"
#include "journal/journal_folder.h"
#include "journal/termination_signals.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QProcess>
#include <QTimer>
#include <QTranslator>
#include <QUrl>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace orvane {

namespace {

// The journal of the one window, for the end of the process when the X server goes away (Qt
// then calls exit): what was appended is in the kernel already, and this puts it on the disk.
journal::Journal *processJournal = nullptr;

void syncJournalAtExit()
{
    if (processJournal)
        processJournal->syncNow();
}

void printLine(const QString &line)
{
    const QByteArray bytes = line.toLocal8Bit();
    std::fprintf(stderr, "%s\n", bytes.constData());
}

} // namespace

bool displayReachable(const QByteArray &qpaPlatform, const QByteArray &display,
                      const QByteArray &waylandDisplay, int argc, const char *const *argv)
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS) && !defined(Q_OS_ANDROID) && !defined(Q_OS_IOS)
    if (!qpaPlatform.isEmpty() || !display.isEmpty() || !waylandDisplay.isEmpty())
        return true;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            return true;
    }
    return false;
#else
    Q_UNUSED(qpaPlatform);
    Q_UNUSED(display);
    Q_UNUSED(waylandDisplay);
    Q_UNUSED(argc);
    Q_UNUSED(argv);
    return true;
#endif
}

void useJapanese(QCoreApplication &application)
{
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    auto *translator = new QTranslator(&application);
    // Qt's folder first; beside the executable for a Windows deployment that brings its own.
    const QStringList folders {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                               QCoreApplication::applicationDirPath() + QStringLiteral("/translations")};
    for (const QString &folder : folders) {
        if (translator->load(QStringLiteral("qtbase_ja"), folder)) {
            QCoreApplication::installTranslator(translator);
            return;
        }
    }
    delete translator;
}

QStringList extraArguments(const QCoreApplication &application)
{
    QStringList arguments = application.arguments();
    if (!arguments.isEmpty())
        arguments.removeFirst();
    return arguments;
}

StartArguments startArguments(const QStringList &arguments)
{
    StartArguments result;
    if (arguments.isEmpty())
        return result;
    QString file = arguments.first();
    if (file.startsWith(QLatin1String("file:"))) {
        const QUrl url(file);
        if (url.isLocalFile())
            file = url.toLocalFile();
    }
    result.file = QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath());
    result.ignored = arguments.mid(1);
    return result;
}

int runApplication(int argc, char **argv)
{
    if (const std::optional<QString> text = commandLineHelp(argc, argv)) {
        std::fputs(text->toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (!displayReachable(qgetenv("QT_QPA_PLATFORM"), qgetenv("DISPLAY"), qgetenv("WAYLAND_DISPLAY"), argc,
                          argv)) {
        printLine(app_texts::noDisplay());
        return 1;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(appTitle());
    QApplication::setApplicationDisplayName(QString());
    QGuiApplication::setDesktopFileName(QStringLiteral("orvane"));
    useJapanese(application);
    const StartArguments start = startArguments(extraArguments(application));
    if (!start.ignored.isEmpty())
        printLine(app_texts::argumentsIgnored(start.ignored.join(QLatin1Char(' '))));

    QtMessageBox messageBox;
    QtCommonDialog commonDialog;
    QtClipboard clipboard;
    DiskTextFiles textFiles;
    QtProgram program;
    // Never destroyed: tearing down a large document only delays the end (see below).
    auto *form1 = new Form1(messageBox, commonDialog, clipboard, textFiles, program);
    messageBox.setParentWidget(form1);
    commonDialog.setParentWidget(form1);
    // Like the window, never destroyed: it is left as it is when the program does not end normally.
    const QString folder = journal::journalFolder();
    auto *journal = new journal::Journal(folder);
    form1->keepJournal(*journal);
    processJournal = journal;
    std::atexit(syncJournalAtExit);
    // A signal cannot be answered with a dialog: the journal is made complete, then the program ends.
    new journal::TerminationSignals([journal](int) { journal->syncNow(); }, form1);
    form1->show();
    // Once the window is up, so that its questions and error boxes stand over it: first the
    // journals of windows that are gone, then the file named on the command line.
    QTimer::singleShot(0, form1, [form1, journal, folder, file = start.file] {
        const QString program = QCoreApplication::applicationFilePath();
        const bool restored = offerJournals(form1->host(), *journal, folder,
                                            [program] { QProcess::startDetached(program, {}); });
        if (file.isEmpty())
            return;
        // The restored text stays here, unsaved; the file opens beside it.
        if (restored)
            QProcess::startDetached(program, {file});
        else
            form1->openFile(file);
    });

    const int code = QApplication::exec();
    // The application's own teardown still runs (it hands the clipboard to the desktop's
    // clipboard manager); the window and its document are left to the end of the process.
    form1->hide();
    return code;
}

} // namespace orvane
