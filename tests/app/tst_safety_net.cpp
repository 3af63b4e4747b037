// The real main window over real files: another program's change to the file is noticed before a
// save replaces it and when the window is active again, and a journal that cannot be written is
// told in the window without taking the keyboard from the text.

#include "app/form1.h"
#include "app/journal_warning.h"
#include "files/file_texts.h"
#include "host/files/disk_text_files.h"
#include "journal/journal.h"
#include "journal/journal_texts.h"
#include "tests/support/fake_host.h"
#include "tests/support/file_bytes.h"

#include <Qsci/qsciscintilla.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>

using namespace orvane;
using namespace orvane::test;

namespace {

enum class Change { Rewritten, Touched };
enum class When { Saving, Activated };

struct Window {
    ScriptedMessageBox messages;
    ScriptedFileDialog dialog;
    MemoryClipboard clipboard;
    DiskTextFiles files;
    RecordingProgram program;
    Form1 form {messages, dialog, clipboard, files, program};
};

} // namespace

class TestSafetyNet : public QObject {
    Q_OBJECT
private slots:
    void anotherProgramsChangeIsNoticed_data();
    void anotherProgramsChangeIsNoticed();
    void aJournalThatCannotBeWrittenIsToldInTheWindow();
};

void TestSafetyNet::anotherProgramsChangeIsNoticed_data()
{
    QTest::addColumn<int>("change");
    QTest::addColumn<int>("when");
    QTest::addColumn<bool>("edited");
    QTest::addColumn<int>("answer"); // 0: no question expected
    QTest::addColumn<QByteArray>("onDisk"); // the file afterwards
    QTest::addColumn<QString>("shown"); // the text afterwards
    const int yes = int(MsgBoxAnswer::Yes);
    const int no = int(MsgBoxAnswer::No);
    const int rewritten = int(Change::Rewritten);
    const int saving = int(When::Saving);
    const int activated = int(When::Activated);
    QTest::newRow("上書き保存 after another program's write, はい")
        << rewritten << saving << true << yes << QByteArray("edit:read") << u"edit:read"_qs;
    QTest::newRow("上書き保存 after another program's write, いいえ")
        << rewritten << saving << true << no << QByteArray("theirs") << u"edit:read"_qs;
    QTest::newRow("上書き保存 after a touch: same bytes, no question")
        << int(Change::Touched) << saving << true << 0 << QByteArray("edit:read") << u"edit:read"_qs;
    QTest::newRow("active again, no edits, はい reads it again")
        << rewritten << activated << false << yes << QByteArray("theirs") << u"theirs"_qs;
    QTest::newRow("active again, no edits, いいえ")
        << rewritten << activated << false << no << QByteArray("theirs") << u"read"_qs;
    QTest::newRow("active again with edits: told once, text kept")
        << rewritten << activated << true << int(MsgBoxAnswer::Ok) << QByteArray("theirs") << u"edit:read"_qs;
}

void TestSafetyNet::anotherProgramsChangeIsNoticed()
{
    QFETCH(int, change);
    QFETCH(int, when);
    QFETCH(bool, edited);
    QFETCH(int, answer);
    QFETCH(QByteArray, onDisk);
    QFETCH(QString, shown);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.txt"));
    writeFile(path, "read");
    Window window;
    window.form.show();
    window.form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window.form));
    window.form.openFile(path);
    QCOMPARE(window.form.host().Text1.text(), u"read"_qs);
    if (edited)
        window.form.host().Text1.setSelText(u"edit:"_qs);

    // Another program, a moment later (a time the file system can tell apart).
    const struct timespec later[2] = {{0, UTIME_OMIT}, {QDateTime::currentSecsSinceEpoch() + 5, 0}};
    if (Change(change) == Change::Rewritten)
        writeFile(path, "theirs");
    QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), later, 0) == 0);

    if (answer)
        window.messages.answer(MsgBoxAnswer(answer));
    if (When(when) == When::Saving) {
        window.form.findChild<QAction *>(QStringLiteral("SaveMenu"))->trigger();
    } else {
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        window.form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window.form));
        if (answer)
            QTRY_VERIFY(window.messages.allAnswersUsed());
        // Told once: a second return asks nothing more.
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        window.form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window.form));
        QTest::qWait(50);
    }
    QVERIFY(window.messages.allAnswersUsed());
    QCOMPARE(window.messages.shown().size(), answer ? 1 : 0);
    if (answer && When(when) == When::Saving)
        QCOMPARE(window.messages.shown().first().prompt, file_texts::overwriteChanged());
    QCOMPARE(readFile(path), onDisk);
    QCOMPARE(window.form.host().Text1.text(), shown);
}

void TestSafetyNet::aJournalThatCannotBeWrittenIsToldInTheWindow()
{
    QTemporaryDir dir;
    const QString elsewhere = dir.filePath(QStringLiteral("elsewhere"));
    const QString folder = dir.filePath(QStringLiteral("orvane"));
    QVERIFY(QDir().mkpath(elsewhere));
    QVERIFY(QFile::link(elsewhere, folder));
    // The journal outlives the window, as in the program.
    journal::Journal journal(folder);
    Window window;
    window.form.keepJournal(journal);
    window.form.show();
    window.form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window.form));
    window.form.text1Widget()->setFocus();
    // Told before the first edit, and the keys still go to the text.
    QVERIFY(window.form.journalWarning()->shownText().startsWith(u"復旧用の記録を書けません（"_qs));
    QTest::keyClicks(window.form.text1Widget(), QStringLiteral("abc"));
    QCOMPARE(window.form.host().Text1.text(), u"abc"_qs);
    QVERIFY(window.form.text1Widget()->hasFocus());

    // The link goes: the journal resumes by itself with the whole text, and the window says so.
    QVERIFY(QFile::remove(folder));
    QTRY_COMPARE_WITH_TIMEOUT(window.form.journalWarning()->shownText(), journal_texts::resumedNote(),
                              20'000);
    QVERIFY(!journal.filePath().isEmpty());
    QVERIFY(QDir(elsewhere).isEmpty());
    journal.discard();
}

QTEST_MAIN(TestSafetyNet)
#include "tst_safety_net.moc"
