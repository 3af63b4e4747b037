// Cut, Copy and Paste against the in-memory edit control and clipboard; Undo is tested on the real
// control (tst_edit_undo).

#include "edit/edit_commands.h"

#include "tests/support/fake_host.h"

#include <QTest>

using namespace orvane;
using orvane::test::FakeHost;

class TestEditCommands : public QObject {
    Q_OBJECT

private slots:
    void cutAndCopyWithoutSelectionLeaveEverythingAsItWas_data();
    void cutAndCopyWithoutSelectionLeaveEverythingAsItWas();
    void copyPutsTheSelectionOnTheClipboardAndChangesNothingElse_data();
    void copyPutsTheSelectionOnTheClipboardAndChangesNothingElse();
    void cutMovesTheSelectionToTheClipboard();
    void pasteReplacesTheSelection_data();
    void pasteReplacesTheSelection();
    void pasteLeavesTheClipboardAsItWas();
};

void TestEditCommands::cutAndCopyWithoutSelectionLeaveEverythingAsItWas_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qsizetype>("caret");
    QTest::addColumn<bool>("cut");

    QTest::newRow("cut, caret at start") << QStringLiteral("abc") << qsizetype(0) << true;
    QTest::newRow("cut, caret inside") << QStringLiteral("日本語") << qsizetype(1) << true;
    QTest::newRow("cut, caret at end") << QStringLiteral("abc") << qsizetype(3) << true;
    QTest::newRow("cut, empty text") << QString() << qsizetype(0) << true;
    QTest::newRow("copy, caret inside") << QStringLiteral("日本語") << qsizetype(2) << false;
    QTest::newRow("copy, empty text") << QString() << qsizetype(0) << false;
}

void TestEditCommands::cutAndCopyWithoutSelectionLeaveEverythingAsItWas()
{
    QFETCH(QString, text);
    QFETCH(qsizetype, caret);
    QFETCH(bool, cut);

    FakeHost fake;
    fake.edit.loadText(text);
    fake.clipboard.setText(QStringLiteral("以前のクリップボード"));
    fake.document.setCurrentFile(fake.document.file());
    fake.edit.select(caret, 0);

    cut ? CutMenu_Click(fake.host) : CopyMenu_Click(fake.host);

    QCOMPARE(fake.clipboard.getText(), QStringLiteral("以前のクリップボード"));
    QCOMPARE(fake.clipboard.writes(), 1);
    QCOMPARE(fake.edit.text(), text);
    QCOMPARE(fake.edit.selStart(), caret);
    QCOMPARE(fake.document.isModified(), false);
}

void TestEditCommands::copyPutsTheSelectionOnTheClipboardAndChangesNothingElse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qsizetype>("start");
    QTest::addColumn<qsizetype>("length");
    QTest::addColumn<QString>("copied");

    QTest::newRow("ascii word") << QStringLiteral("one two") << qsizetype(4) << qsizetype(3)
                                << QStringLiteral("two");
    QTest::newRow("japanese") << QStringLiteral("日本語の文") << qsizetype(0) << qsizetype(3)
                              << QStringLiteral("日本語");
    QTest::newRow("across CR LF") << QStringLiteral("ab\r\ncd") << qsizetype(1) << qsizetype(4)
                                  << QStringLiteral("b\r\nc");
    QTest::newRow("surrogate pair") << QStringLiteral("x😀y") << qsizetype(1) << qsizetype(2)
                                    << QStringLiteral("😀");
    QTest::newRow("whole text") << QStringLiteral("全部") << qsizetype(0) << qsizetype(2)
                                << QStringLiteral("全部");
}

void TestEditCommands::copyPutsTheSelectionOnTheClipboardAndChangesNothingElse()
{
    QFETCH(QString, text);
    QFETCH(qsizetype, start);
    QFETCH(qsizetype, length);
    QFETCH(QString, copied);

    FakeHost fake;
    showSaved(fake, text, start, length);

    CopyMenu_Click(fake.host);

    QCOMPARE(fake.clipboard.getText(), copied);
    QCOMPARE(fake.edit.text(), text);
    QCOMPARE(fake.edit.selStart(), start);
    QCOMPARE(fake.edit.selLength(), length);
    QCOMPARE(fake.document.isModified(), false);
    QCOMPARE(fake.edit.changeCount(), 1); // the load only
}

void TestEditCommands::cutMovesTheSelectionToTheClipboard()
{
    FakeHost fake;
    showSaved(fake, QStringLiteral("前\r\n中\r\n後"), 1, 5);

    CutMenu_Click(fake.host);

    QCOMPARE(fake.clipboard.getText(), QStringLiteral("\r\n中\r\n"));
    QCOMPARE(fake.edit.text(), QStringLiteral("前後"));
    QCOMPARE(fake.edit.selStart(), 1);
    QCOMPARE(fake.edit.selLength(), 0);
    QCOMPARE(fake.document.isModified(), true);
}

void TestEditCommands::pasteReplacesTheSelection_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qsizetype>("start");
    QTest::addColumn<qsizetype>("length");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<qsizetype>("caretAfter");

    QTest::newRow("at caret") << QStringLiteral("ac") << qsizetype(1) << qsizetype(0) << QStringLiteral("b")
                              << QStringLiteral("abc") << qsizetype(2);
    QTest::newRow("over selection") << QStringLiteral("a--d") << qsizetype(1) << qsizetype(2)
                                    << QStringLiteral("日本") << QStringLiteral("a日本d") << qsizetype(3);
    QTest::newRow("into empty text") << QString() << qsizetype(0) << qsizetype(0) << QStringLiteral("かな")
                                     << QStringLiteral("かな") << qsizetype(2);
}

void TestEditCommands::pasteReplacesTheSelection()
{
    QFETCH(QString, text);
    QFETCH(qsizetype, start);
    QFETCH(qsizetype, length);
    QFETCH(QString, clipboard);
    QFETCH(QString, expected);
    QFETCH(qsizetype, caretAfter);

    FakeHost fake;
    showSaved(fake, text, start, length);
    fake.clipboard.setText(clipboard);

    PasteMenu_Click(fake.host);

    QCOMPARE(fake.edit.text(), expected);
    QCOMPARE(fake.edit.selStart(), caretAfter);
    QCOMPARE(fake.edit.selLength(), 0);
    QCOMPARE(fake.document.isModified(), true);
    QCOMPARE(fake.clipboard.getText(), clipboard);
}

void TestEditCommands::pasteLeavesTheClipboardAsItWas()
{
    FakeHost fake;
    fake.edit.loadText(QStringLiteral("abc"));
    fake.clipboard.setText(QStringLiteral("x"));
    fake.edit.select(0, 3);

    PasteMenu_Click(fake.host);

    QCOMPARE(fake.clipboard.writes(), 1);
    QCOMPARE(fake.edit.text(), QStringLiteral("x"));
}

QTEST_GUILESS_MAIN(TestEditCommands)
#include "tst_edit_commands.moc"
