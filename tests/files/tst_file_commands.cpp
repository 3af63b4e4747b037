// The file commands against scripted prompts and dialogs, reading and writing real files.

#include "test_files.h"

#include "disk/disk_texts.h"
#include "files/file_commands.h"
#include "host/files/disk_text_files.h"
#include "host/files/document_bytes.h"
#include "tests/support/fake_host.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace orvane;
using namespace orvane::test;
using namespace Qt::StringLiterals;
namespace texts = orvane::disk_texts;

Q_DECLARE_METATYPE(codec::TextEncoding)

namespace {

const QString savePrompt = QStringLiteral("現在のテキストを保存しますか");
const QString openFilter = QStringLiteral("テキストファイル (*.txt)|*.txt");
// Save As's file types, one per encoding: Shift-JIS, UTF-8, UTF-8 with BOM, UTF-16 LE, UTF-16 BE.
const QString saveFilter = QStringLiteral(
    "テキストファイル (*.txt)|*.txt|テキストファイル UTF-8 (*.txt)|*.txt|"
    "テキストファイル UTF-8 BOM 付き (*.txt)|*.txt|"
    "テキストファイル UTF-16 LE (*.txt)|*.txt|テキストファイル UTF-16 BE (*.txt)|*.txt|"
    "テキストファイル EUC-JP (*.txt)|*.txt|テキストファイル JIS (ISO-2022-JP) (*.txt)|*.txt");
// Save As's line-end choice, which Exit's and New's Yes show as well; Open shows none.
const QStringList lineEndChoices {QStringLiteral("変換しない"), QStringLiteral("CR+LF (Windows)"),
                                  QStringLiteral("LF (Unix)"), QStringLiteral("CR")};
constexpr int promptStyle = 51;
constexpr int errorStyle = 21;
constexpr int openFlags = 4100;
constexpr int saveFlags = 2054;

// Records whether the wait cursor was up while a file was read or written.
class WatchedFiles final : public TextFiles {
public:
    explicit WatchedFiles(const RecordingProgram &program)
        : m_program(program)
    {
    }
    LoadedText readText(const QString &path, std::optional<codec::TextEncoding> chosen) override
    {
        busyDuringCalls &= m_program.busyDepth() > 0;
        return m_disk.readText(path, chosen);
    }
    LoadedText streamText(const QString &path, TextLoad &load, Progress &progress) override
    {
        busyDuringCalls &= m_program.busyDepth() > 0;
        return m_disk.streamText(path, load, progress);
    }
    void writeText(const QString &path, const QString &text, codec::TextEncoding encoding,
                   const WriteOptions &options) override
    {
        busyDuringCalls &= m_program.busyDepth() > 0;
        m_disk.writeText(path, text, encoding, options);
    }
    bool saveText(const QString &path, TextBlocks &text, codec::TextEncoding encoding,
                  const WriteOptions &options, Progress &progress) override
    {
        busyDuringCalls &= m_program.busyDepth() > 0;
        return m_disk.saveText(path, text, encoding, options, progress);
    }
    bool busyDuringCalls = true;

private:
    const RecordingProgram &m_program;
    DiskTextFiles m_disk;
};

// The fakes wired like the main window, with real files.
struct Fixture {
    Fixture() { fake.dialog.CancelError = true; }

    // Puts the document into a state without recording an undo step.
    void setDocument(const QString &text, const QString &path, bool modified,
                     codec::TextEncoding encoding = codec::TextEncoding::ShiftJis)
    {
        fake.edit.loadText(text);
        fake.document.setCurrentFile(FileIdentity {path, encoding, {}, {}});
        if (modified)
            fake.document.markModified();
    }
    QString text() const { return fake.edit.text(); }
    QString path() const { return fake.document.path(); }
    bool modified() const { return fake.document.isModified(); }

    FakeHost fake;
    WatchedFiles files {fake.program};
    ScriptedMessageBox messages;
    Host host {fake.edit, fake.dialog, messages, fake.clipboard, files, fake.program, fake.document};
};

} // namespace

class TestFileCommands : public FolderTest {
    Q_OBJECT

private slots:
    void newOnUnmodifiedDocumentEmptiesWithoutQuestion();
    void newOnModifiedDocument_data();
    void newOnModifiedDocument();

    void openLoadsTheChosenFile();
    void openAnswers_data();
    void openAnswers();
    void openCancelledDialogLeavesEverything();
    void openFailureAndCancelPutsPathBack_data();
    void openFailureAndCancelPutsPathBack();
    void openRetryAfterTheFileAppears();
    void openAsksBeforeLoadingPossibleUtf8_data();
    void openAsksBeforeLoadingPossibleUtf8();
    void openCancelledAtAnyStepLeavesTheDocument();

    void saveWithPathWritesWithoutDialog();
    void saveWithoutPathIsSaveAs();
    void saveAsWritesTheChosenFile();
    void saveAsCancelledChangesNothing();
    void saveAsChoosesTheEncoding_data();
    void saveAsChoosesTheEncoding();
    void saveAsFailureKeepsTheNewName();
    void saveRetryAfterPermissionLifted();
    void saveRetryAfterDiskFullLifted();
    void unstorableCharacterRefusesSave();
    void saveCancelledAtAnyStepLeavesTheFile_data();
    void saveCancelledAtAnyStepLeavesTheFile();

    void exitAnswers_data();
    void exitAnswers();

private:
    QString file(const QString &name) const { return m_dir.filePath(name); }
};

void TestFileCommands::newOnUnmodifiedDocumentEmptiesWithoutQuestion()
{
    Fixture f;
    f.setDocument(QStringLiteral("text"), file(QStringLiteral("a.txt")), false);
    f.fake.edit.type(QStringLiteral("x"));
    f.fake.document.setCurrentFile(f.fake.document.file());

    NewMenu_Click(f.host);
    QCOMPARE(f.text(), QString());
    QCOMPARE(f.path(), QString());
    QCOMPARE(f.modified(), false);
    QCOMPARE(f.fake.edit.undoDepth(), 0);
    QVERIFY(f.messages.shown().isEmpty());
    QVERIFY(f.fake.dialog.shown().isEmpty());
}

void TestFileCommands::newOnModifiedDocument_data()
{
    QTest::addColumn<MsgBoxAnswer>("answer");
    QTest::addColumn<QString>("saveAsChoice"); // "" cancels the dialog; "-" no dialog expected
    QTest::addColumn<bool>("emptied");
    QTest::addColumn<QByteArray>("saved"); // what b.txt holds afterwards, or empty for no file

    QTest::newRow("Yes, saved") << MsgBoxAnswer::Yes << QStringLiteral("b.txt") << true
                                << QByteArray("text\r\n");
    QTest::newRow("Yes, dialog cancelled") << MsgBoxAnswer::Yes << QString() << false << QByteArray();
    QTest::newRow("No discards") << MsgBoxAnswer::No << QStringLiteral("-") << true << QByteArray();
    QTest::newRow("Cancel") << MsgBoxAnswer::Cancel << QStringLiteral("-") << false << QByteArray();
}

void TestFileCommands::newOnModifiedDocument()
{
    QFETCH(MsgBoxAnswer, answer);
    QFETCH(QString, saveAsChoice);
    QFETCH(bool, emptied);
    QFETCH(QByteArray, saved);

    Fixture f;
    const QString old = file(QStringLiteral("a.txt"));
    f.setDocument(QStringLiteral("text"), old, true);
    f.messages.answer(answer);
    if (saveAsChoice.isEmpty())
        f.fake.dialog.cancel();
    else if (saveAsChoice != u"-")
        f.fake.dialog.choose(file(saveAsChoice));

    NewMenu_Click(f.host);
    QCOMPARE(f.messages.shown().size(), 1);
    QCOMPARE(f.messages.shown()[0].prompt, savePrompt);
    QCOMPARE(f.messages.shown()[0].style, promptStyle);
    QCOMPARE(f.messages.shown()[0].title, QStringLiteral("Orvane"));
    QVERIFY(f.fake.dialog.allAnswersUsed());
    if (saveAsChoice != u"-") {
        QCOMPARE(f.fake.dialog.shown().size(), 1);
        QCOMPARE(f.fake.dialog.shown()[0].kind, ShownDialog::Save);
        QCOMPARE(f.fake.dialog.shown()[0].flags, saveFlags);
        QCOMPARE(f.fake.dialog.shown()[0].initialFileName, old);
        QCOMPARE(f.fake.dialog.shown()[0].choices, lineEndChoices);
        QCOMPARE(f.fake.dialog.shown()[0].choiceIndex, 0);
    } else {
        QVERIFY(f.fake.dialog.shown().isEmpty());
    }
    QCOMPARE(f.text(), emptied ? QString() : QStringLiteral("text"));
    QCOMPARE(f.path(), emptied ? QString() : old);
    QCOMPARE(f.modified(), !emptied);
    QCOMPARE(QFile::exists(file(QStringLiteral("b.txt"))), !saved.isEmpty());
    if (!saved.isEmpty())
        QCOMPARE(fileBytes(file(QStringLiteral("b.txt"))), saved);
}

void TestFileCommands::openLoadsTheChosenFile()
{
    Fixture f;
    const QString chosen = file(QStringLiteral("読む ファイル.txt"));
    writeFileBytes(chosen, QByteArray("A\r\n\x93\xFA\r\n"));
    f.setDocument(QStringLiteral("old"), file(QStringLiteral("old.txt")), false);
    f.fake.dialog.choose(chosen);

    OpenMenu_Click(f.host);
    QCOMPARE(f.fake.dialog.shown().size(), 1);
    QCOMPARE(f.fake.dialog.shown()[0].kind, ShownDialog::Open);
    QCOMPARE(f.fake.dialog.shown()[0].flags, openFlags);
    QCOMPARE(f.fake.dialog.shown()[0].initialFileName, file(QStringLiteral("old.txt")));
    // The encoding choice, 自動判定 first and preselected.
    QCOMPARE(f.fake.dialog.shown()[0].choices.value(0), QStringLiteral("自動判定"));
    QCOMPARE(f.fake.dialog.shown()[0].choices.size(), 7);
    QCOMPARE(f.fake.dialog.Filter, openFilter);
    QCOMPARE(f.fake.dialog.DefaultExt, QStringLiteral(".txt"));
    QCOMPARE(f.text(), u"A\r\n日"_qs);
    QCOMPARE(f.path(), chosen);
    QCOMPARE(f.modified(), false);
    QCOMPARE(f.fake.edit.undoDepth(), 0);
    QVERIFY(f.messages.shown().isEmpty());
    QVERIFY(f.files.busyDuringCalls);
    QCOMPARE(f.fake.program.busyDepth(), 0);
}

void TestFileCommands::openAnswers_data()
{
    QTest::addColumn<QString>("path"); // the document's path before: "" or a.txt
    QTest::addColumn<MsgBoxAnswer>("answer");
    QTest::addColumn<bool>("saveAsDialog"); // Save shows Save As, which is cancelled
    QTest::addColumn<bool>("opened");
    QTest::addColumn<QByteArray>("aAfter"); // a.txt afterwards

    QTest::newRow("Yes with path: saved, then opened")
        << QStringLiteral("a.txt") << MsgBoxAnswer::Yes << false << true << QByteArray("edited\r\n");
    QTest::newRow("Yes without path: Save As cancelled, Open stops")
        << QString() << MsgBoxAnswer::Yes << true << false << QByteArray("old\r\n");
    QTest::newRow("No: opened, nothing saved")
        << QStringLiteral("a.txt") << MsgBoxAnswer::No << false << true << QByteArray("old\r\n");
    QTest::newRow("Cancel: nothing happens")
        << QStringLiteral("a.txt") << MsgBoxAnswer::Cancel << false << false << QByteArray("old\r\n");
}

void TestFileCommands::openAnswers()
{
    QFETCH(QString, path);
    QFETCH(MsgBoxAnswer, answer);
    QFETCH(bool, saveAsDialog);
    QFETCH(bool, opened);
    QFETCH(QByteArray, aAfter);

    Fixture f;
    writeFileBytes(file(QStringLiteral("a.txt")), QByteArray("old\r\n"));
    writeFileBytes(file(QStringLiteral("b.txt")), QByteArray("B"));
    const QString before = path.isEmpty() ? QString() : file(path);
    f.setDocument(QStringLiteral("edited"), before, true);
    f.messages.answer(answer);
    if (saveAsDialog)
        f.fake.dialog.cancel();
    if (opened)
        f.fake.dialog.choose(file(QStringLiteral("b.txt")));

    OpenMenu_Click(f.host);
    QVERIFY(f.fake.dialog.allAnswersUsed());
    QCOMPARE(f.fake.dialog.shown().size(), int(saveAsDialog) + int(opened));
    QCOMPARE(f.text(), opened ? QStringLiteral("B") : QStringLiteral("edited"));
    QCOMPARE(f.path(), opened ? file(QStringLiteral("b.txt")) : before);
    QCOMPARE(f.modified(), !opened);
    QCOMPARE(fileBytes(file(QStringLiteral("a.txt"))), aAfter);
    QCOMPARE(f.messages.shown().size(), 1);
}

void TestFileCommands::openCancelledDialogLeavesEverything()
{
    Fixture f;
    f.setDocument(QStringLiteral("keep"), file(QStringLiteral("a.txt")), false);
    f.fake.dialog.cancel();

    OpenMenu_Click(f.host);
    QCOMPARE(f.text(), QStringLiteral("keep"));
    QCOMPARE(f.path(), file(QStringLiteral("a.txt")));
    QCOMPARE(f.modified(), false);
    QCOMPARE(f.fake.edit.changeCount(), 1); // the set-up load only
    QVERIFY(f.messages.shown().isEmpty());
}

void TestFileCommands::openFailureAndCancelPutsPathBack_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QByteArray>("content"); // written unless empty
    QTest::addColumn<QString>("descriptionPart");

    QTest::newRow("removed after the dialog")
        << QStringLiteral("gone.txt") << QByteArray() << QStringLiteral("が見つかりません。");
    QTest::newRow("invalid bytes") << QStringLiteral("bad.txt") << QByteArray("ok\r\n\x81\x20")
                                   << u"読めないバイトがあります（2 行目、1 文字目）。"_qs;
    QTest::newRow("folder") << QStringLiteral("folder") << QByteArray()
                            << QStringLiteral("はフォルダーです。");
    QTest::newRow("named pipe") << QStringLiteral("pipe.txt") << QByteArray()
                                << QStringLiteral("は通常のファイルではない");
    QTest::newRow("/dev/zero") << QStringLiteral("/dev/zero") << QByteArray()
                               << QStringLiteral("は通常のファイルではない");
}

void TestFileCommands::openFailureAndCancelPutsPathBack()
{
    QFETCH(QString, chosen);
    QFETCH(QByteArray, content);
    QFETCH(QString, descriptionPart);

    const QString chosenPath = chosen.startsWith(u'/') ? chosen : file(chosen);
    makeNamedEntry(chosenPath, content);

    Fixture f;
    f.setDocument(QStringLiteral("keep"), file(QStringLiteral("a.txt")), true);
    f.messages.answer(MsgBoxAnswer::No).answer(MsgBoxAnswer::Cancel);
    f.fake.dialog.choose(chosenPath);

    OpenMenu_Click(f.host);
    QCOMPARE(f.messages.shown().size(), 2);
    const ShownMessage &error = f.messages.shown()[1];
    QCOMPARE(error.style, errorStyle);
    QCOMPARE(error.title, QStringLiteral("エラー"));
    QVERIFY2(error.prompt.contains(QStringLiteral("「%1」").arg(chosenPath)), qPrintable(error.prompt));
    QVERIFY2(error.prompt.contains(descriptionPart), qPrintable(error.prompt));
    QCOMPARE(f.text(), QStringLiteral("keep"));
    QCOMPARE(f.path(), file(QStringLiteral("a.txt")));
    QCOMPARE(f.modified(), true);
    QCOMPARE(f.fake.program.busyDepth(), 0);
}

void TestFileCommands::openRetryAfterTheFileAppears()
{
    Fixture f;
    const QString late = file(QStringLiteral("late.txt"));
    f.messages.answer(MsgBoxAnswer::Retry, [&] { writeFileBytes(late, QByteArray("here\r\n")); });
    f.fake.dialog.choose(late);

    OpenMenu_Click(f.host);
    QCOMPARE(f.messages.shown().size(), 1);
    QCOMPARE(f.messages.shown()[0].prompt, texts::notFound(late));
    QCOMPARE(f.text(), QStringLiteral("here"));
    QCOMPARE(f.path(), late);
    QCOMPARE(f.modified(), false);
}

void TestFileCommands::openAsksBeforeLoadingPossibleUtf8_data()
{
    QTest::addColumn<MsgBoxAnswer>("answer");
    QTest::addColumn<QString>("text"); // null: not opened
    QTest::addColumn<QByteArray>("saved");
    QTest::newRow("Yes opens as UTF-8") << MsgBoxAnswer::Yes << u"ý"_qs << QByteArray("\xC3\xBD\r\n");
    QTest::newRow("No opens as Shift-JIS") << MsgBoxAnswer::No << u"ﾃｽ"_qs << QByteArray("\xC3\xBD\r\n");
    QTest::newRow("Cancel gives up") << MsgBoxAnswer::Cancel << QString() << QByteArray();
}

void TestFileCommands::openAsksBeforeLoadingPossibleUtf8()
{
    QFETCH(MsgBoxAnswer, answer);
    QFETCH(QString, text);
    QFETCH(QByteArray, saved);
    const bool opened = !text.isNull();

    Fixture f;
    const QString utf8 = file(QStringLiteral("u.txt"));
    writeFileBytes(utf8, QByteArray("\xC3\xBD\r\n"));
    f.setDocument(QStringLiteral("keep"), file(QStringLiteral("a.txt")), false);
    f.messages.answer(answer);
    f.fake.dialog.choose(utf8);

    OpenMenu_Click(f.host);
    QCOMPARE(f.messages.shown().size(), 1);
    QCOMPARE(f.messages.shown()[0].style, 3 + 48);
    QCOMPARE(f.messages.shown()[0].title, QStringLiteral("Orvane"));
    QCOMPARE(f.messages.shown()[0].prompt,
             QStringLiteral(
                 "ファイル「%1」は UTF-8 のテキストとしても Shift-JIS のテキストとしても読めます。"
                 "どちらとして開きますか？\r\n\r\nはい: UTF-8 として開く\r\nいいえ: Shift-JIS として開く\r\n"
                 "キャンセル: 開かない")
                 .arg(utf8));
    QCOMPARE(f.text(), opened ? text : QStringLiteral("keep"));
    QCOMPARE(f.path(), opened ? utf8 : file(QStringLiteral("a.txt")));
    QCOMPARE(f.modified(), false);
    // Saved back in the encoding it was opened in, the file keeps its bytes.
    if (opened) {
        SaveMenu_Click(f.host);
        QCOMPARE(fileBytes(utf8), saved);
    }
}

void TestFileCommands::openCancelledAtAnyStepLeavesTheDocument()
{
    // Several blocks, and a duplicate code (NEC ∵ 87 9A) that makes Open read the file again.
    QByteArray line("\x93\xFA\x96\x7B\x87\x9A abc\r\n");
    const QString big = file(QStringLiteral("big.txt"));
    writeFileBytes(big, line.repeated(5'000'000 / line.size()));
    Fixture f;
    f.setDocument(QStringLiteral("keep"), file(QStringLiteral("old.txt")), false);
    OpenDroppedFile(f.host, big);
    const int steps = f.fake.program.steps;
    QVERIFY2(steps >= 5, qPrintable(QString::number(steps)));
    QCOMPARE(f.text().size(), (5'000'000 / line.size()) * 9 - 2); // 日本∵ abc CR LF, the last taken off
    QCOMPARE(f.fake.document.file().codes.codeOf(u'∵'), 0x879A);

    for (int step = 1; step <= steps; ++step) {
        f.setDocument(QStringLiteral("keep"), file(QStringLiteral("old.txt")), true);
        f.fake.program.cancelAtStep = step;
        f.messages.answer(MsgBoxAnswer::No); // the save prompt: the text may go
        OpenDroppedFile(f.host, big);
        QCOMPARE(f.text(), QStringLiteral("keep"));
        QCOMPARE(f.path(), file(QStringLiteral("old.txt")));
        QCOMPARE(f.modified(), true);
        QCOMPARE(f.messages.shown().size(), step); // the prompt, no error
    }
}

void TestFileCommands::saveWithPathWritesWithoutDialog()
{
    Fixture f;
    const QString path = file(QStringLiteral("a.txt"));
    writeFileBytes(path, QByteArray("old\r\n"));
    f.setDocument(u"新\r\n"_qs, path, true);

    SaveMenu_Click(f.host);
    QVERIFY(f.fake.dialog.shown().isEmpty());
    QVERIFY(f.messages.shown().isEmpty());
    QCOMPARE(fileBytes(path), QByteArray("\x90\x56\r\n\r\n"));
    QCOMPARE(f.modified(), false);
    QVERIFY(f.files.busyDuringCalls);
    QCOMPARE(f.fake.program.busyDepth(), 0);
}

void TestFileCommands::saveWithoutPathIsSaveAs()
{
    Fixture f;
    f.setDocument(QString(), QString(), true);
    const QString chosen = file(QStringLiteral("new.txt"));
    f.fake.dialog.choose(chosen);

    SaveMenu_Click(f.host);
    QCOMPARE(f.fake.dialog.shown().size(), 1);
    QCOMPARE(f.fake.dialog.shown()[0].kind, ShownDialog::Save);
    QCOMPARE(f.fake.dialog.shown()[0].flags, saveFlags);
    QCOMPARE(f.fake.dialog.shown()[0].initialFileName, QString());
    QCOMPARE(fileBytes(chosen), QByteArray("\r\n"));
    QCOMPARE(f.path(), chosen);
    QCOMPARE(f.modified(), false);
}

void TestFileCommands::saveAsWritesTheChosenFile()
{
    Fixture f;
    const QString old = file(QStringLiteral("a.txt"));
    writeFileBytes(old, QByteArray("old\r\n"));
    const QString chosen = file(QStringLiteral("b.txt"));
    f.setDocument(QStringLiteral("text"), old, true);
    f.fake.dialog.choose(chosen);

    SaveAsMenu_Click(f.host);
    QCOMPARE(f.fake.dialog.shown()[0].initialFileName, old);
    QCOMPARE(f.fake.dialog.Filter, saveFilter);
    QCOMPARE(f.fake.dialog.DefaultExt, QStringLiteral(".txt"));
    QCOMPARE(fileBytes(chosen), QByteArray("text\r\n"));
    QCOMPARE(fileBytes(old), QByteArray("old\r\n"));
    QCOMPARE(f.path(), chosen);
    QCOMPARE(f.modified(), false);
}

void TestFileCommands::saveAsChoosesTheEncoding_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<codec::TextEncoding>("before");
    QTest::addColumn<int>("shownIndex"); // the file type preselected
    QTest::addColumn<int>("chosenIndex"); // 0: the preselected one is kept
    QTest::addColumn<QByteArray>("saved"); // of the text あ

    QTest::newRow("Save As: Shift-JIS to UTF-16 LE")
        << u"Save As"_s << codec::TextEncoding::ShiftJis << 1 << 4 << "\xFF\xFE\x42\x30\r\0\n\0"_ba;
    QTest::newRow("Save As: UTF-8 kept")
        << u"Save As"_s << codec::TextEncoding::Utf8 << 2 << 0 << "\xE3\x81\x82\r\n"_ba;
    QTest::newRow("Save As: UTF-16 BE to Shift-JIS")
        << u"Save As"_s << codec::TextEncoding::Utf16Be << 5 << 1 << "\x82\xA0\r\n"_ba;
    QTest::newRow("Exit's Yes: UTF-8 BOM kept")
        << u"Exit"_s << codec::TextEncoding::Utf8Bom << 3 << 0 << "\xEF\xBB\xBF\xE3\x81\x82\r\n"_ba;
    QTest::newRow("New's Yes: UTF-16 BE chosen")
        << u"New"_s << codec::TextEncoding::Utf16Le << 4 << 5 << "\xFE\xFF\x30\x42\0\r\0\n"_ba;
}

void TestFileCommands::saveAsChoosesTheEncoding()
{
    QFETCH(QString, command);
    QFETCH(codec::TextEncoding, before);
    QFETCH(int, shownIndex);
    QFETCH(int, chosenIndex);
    QFETCH(QByteArray, saved);

    Fixture f;
    f.setDocument(u"あ"_qs, file(u"a.txt"_s), true, before);
    const QString chosen = file(u"b.txt"_s);
    f.fake.dialog.choose(chosen, chosenIndex);
    if (command != u"Save As")
        f.messages.answer(MsgBoxAnswer::Yes);

    if (command == u"Save As")
        SaveAsMenu_Click(f.host);
    else if (command == u"Exit")
        ExitMenu_Click(f.host);
    else
        NewMenu_Click(f.host);
    QCOMPARE(f.fake.dialog.shown().size(), 1);
    QCOMPARE(f.fake.dialog.shown()[0].filter, saveFilter);
    QCOMPARE(f.fake.dialog.shown()[0].filterIndex, shownIndex);
    QCOMPARE(fileBytes(chosen), saved);
    if (command == u"Save As") {
        // Save goes on writing the chosen encoding.
        f.fake.edit.type(u"い"_qs);
        SaveMenu_Click(f.host);
        QCOMPARE(decodeDocumentBytes(fileBytes(chosen), chosen).decoded(), u"いあ"_qs);
        QCOMPARE(decodeDocumentBytes(fileBytes(chosen), chosen).encoding, f.fake.document.encoding());
    } else if (command == u"New") {
        QCOMPARE(f.fake.document.encoding(), codec::TextEncoding::ShiftJis);
    }
}

void TestFileCommands::saveAsCancelledChangesNothing()
{
    Fixture f;
    f.setDocument(QStringLiteral("text"), file(QStringLiteral("a.txt")), true);
    f.fake.dialog.cancel();

    SaveAsMenu_Click(f.host);
    QCOMPARE(f.path(), file(QStringLiteral("a.txt")));
    QCOMPARE(f.modified(), true);
    QVERIFY(f.messages.shown().isEmpty());
    QCOMPARE(folderEntries(m_dir.path()), QStringList());
}

void TestFileCommands::saveAsFailureKeepsTheNewName()
{
    Fixture f;
    const QString locked = file(QStringLiteral("locked.txt"));
    writeFileBytes(locked, QByteArray("old\r\n"));
    QVERIFY(QFile::setPermissions(locked, QFileDevice::ReadOwner));
    f.setDocument(QStringLiteral("text"), file(QStringLiteral("a.txt")), true);
    f.fake.dialog.choose(locked);
    f.messages.answer(MsgBoxAnswer::Cancel);

    SaveAsMenu_Click(f.host);
    QCOMPARE(f.messages.shown().size(), 1);
    QCOMPARE(f.messages.shown()[0].prompt, texts::readOnlyFile(locked));
    QCOMPARE(f.messages.shown()[0].style, errorStyle);
    QCOMPARE(f.path(), locked);
    QCOMPARE(f.modified(), true);
    QCOMPARE(fileBytes(locked), QByteArray("old\r\n"));
    QCOMPARE(folderEntries(m_dir.path()), QStringList {QStringLiteral("locked.txt")});
}

void TestFileCommands::saveRetryAfterPermissionLifted()
{
    Fixture f;
    const QString path = file(QStringLiteral("a.txt"));
    writeFileBytes(path, QByteArray("old\r\n"));
    QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner));
    f.setDocument(QStringLiteral("new"), path, true);
    f.messages.answer(MsgBoxAnswer::Retry,
                      [&] { QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner); });

    SaveMenu_Click(f.host);
    QCOMPARE(f.messages.shown().size(), 1);
    QCOMPARE(fileBytes(path), QByteArray("new\r\n"));
    QCOMPARE(f.modified(), false);
    QCOMPARE(folderEntries(m_dir.path()), QStringList {QStringLiteral("a.txt")});
}

void TestFileCommands::saveRetryAfterDiskFullLifted()
{
    const QString path = file(QStringLiteral("a.txt"));
    writeFileBytes(path, QByteArray("old\r\n"));
    const QString text(1 << 20, u'x');

    // In a child: the file size limit and the message box live in the child's process.
    const ChildResult child = runOnAFullDisk([&] {
        Fixture f;
        f.setDocument(text, path, true);
        bool oldFileIntactAtTheError = false;
        f.messages.answer(MsgBoxAnswer::Retry, [&] {
            oldFileIntactAtTheError = fileBytes(path) == "old\r\n" && folderEntries(m_dir.path()).size() == 1;
            liftFileSizeLimit();
        });
        SaveMenu_Click(f.host);
        QByteArray out;
        for (const ShownMessage &shown : f.messages.shown())
            out += shown.prompt.toUtf8() + '\n';
        out += oldFileIntactAtTheError ? "intact\n" : "damaged\n";
        out += f.modified() ? "modified" : "saved";
        return out;
    });
    QVERIFY(child.exitedNormally);
    QCOMPARE(QString::fromUtf8(child.output), texts::diskFull(path) + QStringLiteral("\nintact\nsaved"));
    QVERIFY(fileBytes(path) == text.toLatin1() + "\r\n");
    QCOMPARE(folderEntries(m_dir.path()), QStringList {QStringLiteral("a.txt")});
}

void TestFileCommands::unstorableCharacterRefusesSave()
{
    Fixture f;
    const QString path = file(QStringLiteral("a.txt"));
    writeFileBytes(path, QByteArray("old\r\n"));
    f.setDocument(u"ok\r\nemoji 😀"_qs, path, true);
    f.messages.answer(MsgBoxAnswer::Cancel);

    SaveMenu_Click(f.host);
    QCOMPARE(f.messages.shown().size(), 1);
    QVERIFY(f.messages.shown()[0].prompt.contains(
        u"「😀」(U+1F600) は Shift-JIS で保存できません（2 行目、7 文字目）。"_qs));
    QCOMPARE(fileBytes(path), QByteArray("old\r\n"));
    QCOMPARE(f.modified(), true);
}

void TestFileCommands::saveCancelledAtAnyStepLeavesTheFile_data()
{
    QTest::addColumn<codec::TextEncoding>("encoding");
    QTest::newRow("Shift-JIS") << codec::TextEncoding::ShiftJis;
    QTest::newRow("UTF-8") << codec::TextEncoding::Utf8;
    QTest::newRow("UTF-16 BE") << codec::TextEncoding::Utf16Be;
}

void TestFileCommands::saveCancelledAtAnyStepLeavesTheFile()
{
    QFETCH(codec::TextEncoding, encoding);
    const QString target = file(QStringLiteral("a.txt"));
    writeFileBytes(target, QByteArray("old bytes"));
    Fixture f;
    const QString text = u"日本語 abc\r\n"_qs.repeated(300'000);
    f.setDocument(text, target, true, encoding);
    SaveMenu_Click(f.host); // counts the steps
    const int steps = f.fake.program.steps;
    QVERIFY2(steps >= 3, qPrintable(QString::number(steps)));
    QCOMPARE(f.modified(), false);

    for (int step = 1; step <= steps; ++step) {
        writeFileBytes(target, QByteArray("old bytes"));
        f.fake.document.markModified();
        f.fake.program.cancelAtStep = step;
        SaveMenu_Click(f.host);
        QCOMPARE(fileBytes(target), QByteArray("old bytes"));
        QCOMPARE(folderEntries(m_dir.path()), QStringList {QStringLiteral("a.txt")});
        QCOMPARE(f.modified(), true);
        QVERIFY(f.messages.shown().isEmpty());
    }
}

void TestFileCommands::exitAnswers_data()
{
    QTest::addColumn<bool>("modified");
    QTest::addColumn<MsgBoxAnswer>("answer");
    QTest::addColumn<QString>("saveAsChoice"); // "" cancels; "-" no dialog expected
    QTest::addColumn<bool>("ended");

    QTest::newRow("unmodified ends without question")
        << false << MsgBoxAnswer::Ok << QStringLiteral("-") << true;
    QTest::newRow("Cancel keeps running") << true << MsgBoxAnswer::Cancel << QStringLiteral("-") << false;
    QTest::newRow("No ends") << true << MsgBoxAnswer::No << QStringLiteral("-") << true;
    QTest::newRow("Yes, dialog cancelled, keeps running") << true << MsgBoxAnswer::Yes << QString() << false;
    QTest::newRow("Yes, saved, ends") << true << MsgBoxAnswer::Yes << QStringLiteral("b.txt") << true;
}

void TestFileCommands::exitAnswers()
{
    QFETCH(bool, modified);
    QFETCH(MsgBoxAnswer, answer);
    QFETCH(QString, saveAsChoice);
    QFETCH(bool, ended);

    Fixture f;
    const QString path = file(QStringLiteral("a.txt"));
    f.setDocument(QStringLiteral("text"), path, modified);
    if (modified)
        f.messages.answer(answer);
    if (saveAsChoice.isEmpty())
        f.fake.dialog.cancel();
    else if (saveAsChoice != u"-")
        f.fake.dialog.choose(file(saveAsChoice));

    ExitMenu_Click(f.host);
    QCOMPARE(f.fake.program.hasEnded(), ended);
    QCOMPARE(f.messages.shown().size(), modified ? 1 : 0);
    QVERIFY(f.fake.dialog.allAnswersUsed());
    // Yes shows Save As even though the document has a path.
    if (saveAsChoice != u"-") {
        QCOMPARE(f.fake.dialog.shown().size(), 1);
        QCOMPARE(f.fake.dialog.shown()[0].kind, ShownDialog::Save);
        QCOMPARE(f.fake.dialog.shown()[0].initialFileName, path);
        QCOMPARE(f.fake.dialog.shown()[0].choices, lineEndChoices);
    }
    QCOMPARE(f.text(), QStringLiteral("text"));
    if (!saveAsChoice.isEmpty() && saveAsChoice != u"-")
        QCOMPARE(fileBytes(file(saveAsChoice)), QByteArray("text\r\n"));
    QCOMPARE(QFile::exists(path), false);
}

QTEST_GUILESS_MAIN(TestFileCommands)
#include "tst_file_commands.moc"
