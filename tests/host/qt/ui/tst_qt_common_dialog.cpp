// The file dialog adapter against the real (non-native) QFileDialog: flags, filter, default
// suffix, initial name, the chosen path and the cancel error.

#include "modal_script.h"

#include "host/host_error.h"
#include "host/qt/ui/qt_common_dialog.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace orvane;
using orvane::test::ModalScript;

namespace {

const QString textFilter = QStringLiteral("テキストファイル (*.txt)|*.txt");

void writeFile(const QString &path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("x\r\n");
}

// Presses 開く or 保存, as the user would.
void pressAccept(QFileDialog *dialog)
{
    auto *buttons = dialog->findChild<QDialogButtonBox *>();
    QVERIFY(buttons);
    QPushButton *button = buttons->button(
        dialog->acceptMode() == QFileDialog::AcceptSave ? QDialogButtonBox::Save : QDialogButtonBox::Open);
    QVERIFY(button);
    QVERIFY(button->isEnabled());
    button->click();
}

// Types a bare name (no folder, so no completer popup) and presses the accept button.
ModalScript::Step acceptName(const QString &name)
{
    return [name](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        QVERIFY(dialog);
        auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        QVERIFY(edit);
        // With the focus in the name box, as when typing: only then does the dialog drop a
        // selection that the new name no longer matches.
        dialog->activateWindow();
        edit->setFocus();
        QTRY_VERIFY(edit->hasFocus());
        edit->setText(name);
        pressAccept(dialog);
    };
}

ModalScript::Step reject()
{
    return [](QWidget *modal) {
        auto *dialog = qobject_cast<QDialog *>(modal);
        QVERIFY(dialog);
        dialog->reject();
    };
}

ModalScript::Step answerBox(QMessageBox::StandardButton button, QString *text = nullptr)
{
    return [button, text](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        QVERIFY(box);
        if (text)
            *text = box->text();
        QAbstractButton *target = box->button(button);
        QVERIFY(target);
        target->click();
    };
}

struct Seen {
    QString title;
    QFileDialog::AcceptMode acceptMode = QFileDialog::AcceptOpen;
    QFileDialog::FileMode fileMode = QFileDialog::AnyFile;
    bool confirmsOverwrite = false;
    QStringList nameFilters;
    QString defaultSuffix;
    QString directory;
    QString name;
    bool native = true;
};

ModalScript::Step record(Seen &seen)
{
    return [&seen](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        QVERIFY(dialog);
        seen.title = dialog->windowTitle();
        seen.acceptMode = dialog->acceptMode();
        seen.fileMode = dialog->fileMode();
        seen.confirmsOverwrite = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
        seen.nameFilters = dialog->nameFilters();
        seen.defaultSuffix = dialog->defaultSuffix();
        seen.directory = dialog->directory().absolutePath();
        auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        seen.name = edit ? edit->text() : QString();
        seen.native = !dialog->testOption(QFileDialog::DontUseNativeDialog);
        dialog->reject();
    };
}

} // namespace

class TestQtCommonDialog : public QObject {
    Q_OBJECT

private slots:
    void filterBecomesQtNameFilters_data();
    void filterBecomesQtNameFilters();
    void dialogIsSetUpFromTheProperties_data();
    void dialogIsSetUpFromTheProperties();
    void openReturnsTheChosenAbsolutePath();
    void openWithFileMustExistRefusesAMissingName();
    void saveAddsTheDefaultSuffix();
    void typedNameIsTakenAsItIsWhenItExists_data();
    void typedNameIsTakenAsItIsWhenItExists();
    void saveReportsTheFileTypeChosenByKeyboard();
    void saveAsksBeforeOverwritingOnlyWithTheFlag_data();
    void saveAsksBeforeOverwritingOnlyWithTheFlag();
    void saveDeclinedOverwriteKeepsTheDialogOpen();
    void pathMustExistRefusesAMissingFolder();
    void cancelThrowsOnlyWithCancelError_data();
    void cancelThrowsOnlyWithCancelError();
};

void TestQtCommonDialog::filterBecomesQtNameFilters_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("pattern already named")
        << textFilter << QStringList {QStringLiteral("テキストファイル (*.txt)")};
    QTest::newRow("pattern not named")
        << QStringLiteral("テキスト|*.txt") << QStringList {QStringLiteral("テキスト (*.txt)")};
    QTest::newRow("two patterns") << QStringLiteral("テキスト (*.txt;*.log)|*.txt;*.log")
                                  << QStringList {QStringLiteral("テキスト (*.txt;*.log) (*.txt *.log)")};
    QTest::newRow("two pairs") << QStringLiteral("テキスト|*.txt|すべて (*.*)|*.*")
                               << QStringList {QStringLiteral("テキスト (*.txt)"),
                                               QStringLiteral("すべて (*.*)")};
    QTest::newRow("empty") << QString() << QStringList {};
    QTest::newRow("description only") << QStringLiteral("テキスト") << QStringList {};
}

void TestQtCommonDialog::filterBecomesQtNameFilters()
{
    QFETCH(QString, filter);
    QFETCH(QStringList, expected);
    QCOMPARE(QtCommonDialog::nameFilters(filter), expected);
}

void TestQtCommonDialog::dialogIsSetUpFromTheProperties_data()
{
    QTest::addColumn<bool>("save");
    QTest::addColumn<int>("flags");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("fileMode");
    QTest::addColumn<bool>("confirmsOverwrite");

    QTest::newRow("open 0x1000") << false << 0x1000 << QStringLiteral("ファイルを開く")
                                 << int(QFileDialog::ExistingFile) << false;
    QTest::newRow("open 0") << false << 0 << QStringLiteral("ファイルを開く") << int(QFileDialog::AnyFile)
                            << false;
    QTest::newRow("save 0x802") << true << 0x802 << QStringLiteral("名前を付けて保存")
                                << int(QFileDialog::AnyFile) << true;
    QTest::newRow("save 0x800") << true << 0x800 << QStringLiteral("名前を付けて保存")
                                << int(QFileDialog::AnyFile) << false;
}

void TestQtCommonDialog::dialogIsSetUpFromTheProperties()
{
    QFETCH(bool, save);
    QFETCH(int, flags);
    QFETCH(QString, title);
    QFETCH(int, fileMode);
    QFETCH(bool, confirmsOverwrite);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    Seen seen;
    ModalScript script;
    script.then(record(seen));
    QtCommonDialog dialog;
    dialog.Filter = textFilter;
    dialog.DefaultExt = QStringLiteral(".txt");
    dialog.Flags = flags;
    dialog.FileName = QDir::toNativeSeparators(dir.filePath(QStringLiteral("メモ.txt")));
    save ? dialog.ShowSave() : dialog.ShowOpen();

    QVERIFY(!script.timedOut());
    QVERIFY(!seen.native);
    QCOMPARE(seen.title, title);
    QCOMPARE(seen.acceptMode, save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    QCOMPARE(int(seen.fileMode), fileMode);
    if (save)
        QCOMPARE(seen.confirmsOverwrite, confirmsOverwrite);
    QCOMPARE(seen.nameFilters, QStringList {QStringLiteral("テキストファイル (*.txt)")});
    QCOMPARE(seen.defaultSuffix, QStringLiteral("txt"));
    QCOMPARE(seen.directory, QDir(dir.path()).absolutePath());
    QCOMPARE(seen.name, QStringLiteral("メモ.txt"));
    // Cancelled without CancelError: the path stays as it was.
    QCOMPARE(dialog.FileName, QDir::toNativeSeparators(dir.filePath(QStringLiteral("メモ.txt"))));
}

void TestQtCommonDialog::openReturnsTheChosenAbsolutePath()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    writeFile(dir.filePath(QStringLiteral("a.txt")));
    writeFile(dir.filePath(QStringLiteral("日本語.txt")));
    ModalScript script;
    script.then(acceptName(QStringLiteral("日本語.txt")));
    QtCommonDialog dialog;
    dialog.Filter = textFilter;
    dialog.Flags = OFN_FILEMUSTEXIST;
    dialog.CancelError = true;
    dialog.FileName = dir.filePath(QStringLiteral("a.txt"));
    dialog.ShowOpen();
    QVERIFY(!script.timedOut());
    QCOMPARE(dialog.FileName, QDir::toNativeSeparators(dir.filePath(QStringLiteral("日本語.txt"))));
}

void TestQtCommonDialog::openWithFileMustExistRefusesAMissingName()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    bool openEnabled = true;
    ModalScript script;
    script.then([&](QWidget *modal) {
        auto *fileDialog = qobject_cast<QFileDialog *>(modal);
        QVERIFY(fileDialog);
        fileDialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))
            ->setText(QStringLiteral("ない.txt"));
        openEnabled
            = fileDialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Open)->isEnabled();
        fileDialog->reject();
    });
    QtCommonDialog dialog;
    dialog.Flags = OFN_FILEMUSTEXIST;
    dialog.CancelError = true;
    dialog.FileName = dir.filePath(QStringLiteral("前.txt"));
    QVERIFY_THROWS_EXCEPTION(HostError, dialog.ShowOpen());
    QVERIFY(!script.timedOut());
    QVERIFY(!openEnabled);
    QCOMPARE(dialog.FileName, dir.filePath(QStringLiteral("前.txt")));
}

void TestQtCommonDialog::saveAddsTheDefaultSuffix()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    ModalScript script;
    script.then(acceptName(QStringLiteral("メモ")));
    QtCommonDialog dialog;
    dialog.Filter = textFilter;
    dialog.DefaultExt = QStringLiteral(".txt");
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
    dialog.FileName = dir.filePath(QStringLiteral("x.txt"));
    dialog.ShowSave();
    QVERIFY(!script.timedOut());
    QCOMPARE(dialog.FileName, QDir::toNativeSeparators(dir.filePath(QStringLiteral("メモ.txt"))));
}

void TestQtCommonDialog::typedNameIsTakenAsItIsWhenItExists_data()
{
    QTest::addColumn<bool>("save");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("chosen");
    const QStringList both {QStringLiteral("README"), QStringLiteral("README.txt")};
    QTest::newRow("open README, only README") << false << QStringList {QStringLiteral("README")} << "README"
                                              << "README";
    QTest::newRow("open README, both") << false << both << "README"
                                       << "README";
    QTest::newRow("open メモ, only メモ.txt") << false << QStringList {QStringLiteral("メモ.txt")} << "メモ"
                                              << "メモ.txt";
    QTest::newRow("save README, only README") << true << QStringList {QStringLiteral("README")} << "README"
                                              << "README.txt";
}

void TestQtCommonDialog::typedNameIsTakenAsItIsWhenItExists()
{
    QFETCH(bool, save);
    QFETCH(QStringList, files);
    QFETCH(QString, typed);
    QFETCH(QString, chosen);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    for (const QString &file : files)
        writeFile(dir.filePath(file));
    ModalScript script;
    script.then(acceptName(typed));
    QtCommonDialog dialog;
    dialog.Filter = textFilter;
    dialog.DefaultExt = QStringLiteral(".txt");
    dialog.Flags = save ? OFN_PATHMUSTEXIST : OFN_FILEMUSTEXIST;
    dialog.CancelError = true;
    dialog.FileName = dir.filePath(QStringLiteral("前.txt"));
    if (save)
        dialog.ShowSave();
    else
        dialog.ShowOpen();
    QVERIFY(!script.timedOut());
    QCOMPARE(dialog.FileName, QDir::toNativeSeparators(dir.filePath(chosen)));
}

void TestQtCommonDialog::saveReportsTheFileTypeChosenByKeyboard()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString preselected;
    ModalScript script;
    script.then([&](QWidget *modal) {
        auto *fileDialog = qobject_cast<QFileDialog *>(modal);
        QVERIFY(fileDialog);
        preselected = fileDialog->selectedNameFilter();
        auto *types = fileDialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
        QVERIFY(types);
        fileDialog->activateWindow();
        types->setFocus();
        QTRY_VERIFY(types->hasFocus());
        QTest::keyClick(types, Qt::Key_Down);
        acceptName(QStringLiteral("型"))(modal);
    });
    QtCommonDialog dialog;
    dialog.Filter = QStringLiteral("甲 (*.txt)|*.txt|乙 (*.txt)|*.txt|丙 (*.txt)|*.txt");
    dialog.FilterIndex = 2;
    dialog.DefaultExt = QStringLiteral(".txt");
    dialog.FileName = dir.filePath(QStringLiteral("x.txt"));
    dialog.ShowSave();
    QVERIFY(!script.timedOut());
    QCOMPARE(preselected, QStringLiteral("乙 (*.txt)"));
    QCOMPARE(dialog.FilterIndex, 3);
    QCOMPARE(dialog.FileName, QDir::toNativeSeparators(dir.filePath(QStringLiteral("型.txt"))));
}

void TestQtCommonDialog::saveAsksBeforeOverwritingOnlyWithTheFlag_data()
{
    QTest::addColumn<int>("flags");
    QTest::addColumn<bool>("asks");
    QTest::newRow("0x802 asks") << 0x802 << true;
    QTest::newRow("0x800 does not") << 0x800 << false;
}

void TestQtCommonDialog::saveAsksBeforeOverwritingOnlyWithTheFlag()
{
    QFETCH(int, flags);
    QFETCH(bool, asks);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString existing = dir.filePath(QStringLiteral("既存.txt"));
    writeFile(existing);
    QString question;
    ModalScript script;
    script.then(acceptName(QStringLiteral("既存.txt")));
    if (asks)
        script.then(answerBox(QMessageBox::Yes, &question));
    QtCommonDialog dialog;
    dialog.Flags = flags;
    dialog.DefaultExt = QStringLiteral(".txt");
    dialog.FileName = dir.filePath(QStringLiteral("新.txt"));
    dialog.ShowSave();
    QVERIFY(!script.timedOut());
    QVERIFY(script.allStepsTaken());
    QCOMPARE(dialog.FileName, QDir::toNativeSeparators(existing));
    if (asks)
        QVERIFY(question.contains(QStringLiteral("既存.txt")));
}

void TestQtCommonDialog::saveDeclinedOverwriteKeepsTheDialogOpen()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    writeFile(dir.filePath(QStringLiteral("既存.txt")));
    ModalScript script;
    script.then(acceptName(QStringLiteral("既存.txt")))
        .then(answerBox(QMessageBox::No))
        .then(acceptName(QStringLiteral("別.txt")));
    QtCommonDialog dialog;
    dialog.Flags = OFN_OVERWRITEPROMPT;
    dialog.FileName = dir.filePath(QStringLiteral("新.txt"));
    dialog.ShowSave();
    QVERIFY(!script.timedOut());
    QVERIFY(script.allStepsTaken());
    QCOMPARE(dialog.FileName, QDir::toNativeSeparators(dir.filePath(QStringLiteral("別.txt"))));
}

void TestQtCommonDialog::pathMustExistRefusesAMissingFolder()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString missing = dir.filePath(QStringLiteral("無い/メモ.txt"));
    QString warning;
    ModalScript script;
    script
        .then([&](QWidget *modal) {
            auto *fileDialog = qobject_cast<QFileDialog *>(modal);
            QVERIFY(fileDialog);
            // Past the completer: a path typed whole opens a popup that swallows Return.
            fileDialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(missing);
            pressAccept(fileDialog);
        })
        .then([&](QWidget *modal) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            QVERIFY(box);
            warning = box->text();
            box->buttons().first()->click();
        })
        .then(reject());
    QtCommonDialog dialog;
    dialog.Flags = OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT;
    dialog.FileName = dir.filePath(QStringLiteral("元.txt"));
    dialog.ShowSave();
    QVERIFY(!script.timedOut());
    QVERIFY(script.allStepsTaken());
    QVERIFY2(warning.contains(QStringLiteral("無い")), qPrintable(warning));
    QCOMPARE(dialog.FileName, dir.filePath(QStringLiteral("元.txt")));
}

void TestQtCommonDialog::cancelThrowsOnlyWithCancelError_data()
{
    QTest::addColumn<bool>("save");
    QTest::addColumn<bool>("cancelError");
    QTest::newRow("open, CancelError") << false << true;
    QTest::newRow("open, no CancelError") << false << false;
    QTest::newRow("save, CancelError") << true << true;
    QTest::newRow("save, no CancelError") << true << false;
}

void TestQtCommonDialog::cancelThrowsOnlyWithCancelError()
{
    QFETCH(bool, save);
    QFETCH(bool, cancelError);
    ModalScript script;
    script.then(reject());
    QtCommonDialog dialog;
    dialog.CancelError = cancelError;
    dialog.FileName = QStringLiteral("前.txt");
    bool thrown = false;
    try {
        save ? dialog.ShowSave() : dialog.ShowOpen();
    } catch (const HostError &error) {
        thrown = true;
        QCOMPARE(error.number(), ErrorNumber::DialogCancelled);
    }
    QVERIFY(!script.timedOut());
    QCOMPARE(thrown, cancelError);
    QCOMPARE(dialog.FileName, QStringLiteral("前.txt"));
}

QTEST_MAIN(TestQtCommonDialog)
#include "tst_qt_common_dialog.moc"
