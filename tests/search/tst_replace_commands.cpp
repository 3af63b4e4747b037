// The replace commands over the real QScintilla edit control: すべて置換 in each compare mode over
// the whole text or the selection, undone in one step to the exact text; 置換 of the selected
// match moving on to the next.

#include "host/qt/edit/scintilla_edit_control.h"
#include "search/replace_commands.h"

#include "tests/support/fake_host.h"

#include <QTest>
#include <Qsci/qsciscintilla.h>

using namespace orvane;
using namespace orvane::test;

namespace {

// The real control inside the fake host's services.
struct ScintillaHost {
    FakeHost fake;
    ScintillaEditControl control;
    Host host {control,        fake.dialog,  fake.messages, fake.clipboard,
               fake.textFiles, fake.program, fake.document};

    explicit ScintillaHost(const QString &text)
    {
        control.loadText(text);
        control.setChangeHandler([this] { fake.document.markModified(); });
    }
};

} // namespace

class TestReplaceCommands : public QObject {
    Q_OBJECT

private slots:
    void replaceAllIsOneUndoStep_data();
    void replaceAllIsOneUndoStep();
    void replaceTakesTheSelectedMatchAndSelectsTheNext();
};

void TestReplaceCommands::replaceAllIsOneUndoStep_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qsizetype>("selStart"); // -1: the whole text
    QTest::addColumn<qsizetype>("selLength");
    QTest::addColumn<bool>("binary");
    QTest::addColumn<bool>("regex");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<qsizetype>("count");
    QTest::addColumn<qsizetype>("caret"); // after the last replacement

    const QString mixed = u"ｶﾞｲﾄﾞ\r\nガイド\r\nがいど"_qs;
    QTest::newRow("text, whole, ｶﾞ and ガ at start and end")
        << mixed << qsizetype(-1) << qsizetype(0) << false << false << u"ガイド"_qs << u"案内"_qs
        << u"案内\r\n案内\r\n案内"_qs << qsizetype(3) << qsizetype(10);
    QTest::newRow("binary, whole, exact only")
        << mixed << qsizetype(-1) << qsizetype(0) << true << false << u"ガイド"_qs << u"案内"_qs
        << u"ｶﾞｲﾄﾞ\r\n案内\r\nがいど"_qs << qsizetype(1) << qsizetype(9);
    QTest::newRow("text, selection of the middle line")
        << mixed << qsizetype(7) << qsizetype(5) << false << false << u"ガイド"_qs << u"案内"_qs
        << u"ｶﾞｲﾄﾞ\r\n案内\r\nがいど"_qs << qsizetype(1) << qsizetype(9);
    QTest::newRow("binary, selection, across a line end")
        << u"a\r\nb a\r\nb a\r\nb"_qs << qsizetype(4) << qsizetype(10) << true << false << u"a\r\nb"_qs
        << u"ab"_qs << u"a\r\nb ab ab"_qs << qsizetype(2) << qsizetype(10);
    QTest::newRow("text, surrogate pairs, empty replacement")
        << u"𠮷野家𠮷"_qs << qsizetype(-1) << qsizetype(0) << false << false << u"𠮷"_qs << QString()
        << u"野家"_qs << qsizetype(2) << qsizetype(2);
    QTest::newRow("binary, replacement holds the pattern")
        << u"ab ab"_qs << qsizetype(-1) << qsizetype(0) << true << false << u"ab"_qs << u"[ab]"_qs
        << u"[ab] [ab]"_qs << qsizetype(2) << qsizetype(9);
    QTest::newRow("regex text, whole, groups across line ends")
        << u"Key: 1\nkey: 2\r\nKEY: 3"_qs << qsizetype(-1) << qsizetype(0) << false << true
        << u"key: (\\d)\\n"_qs << u"$1,"_qs << u"1,2,KEY: 3"_qs << qsizetype(2) << qsizetype(4);
    QTest::newRow("regex binary, selection, ^ per line")
        << u"a\r\nb\r\nc"_qs << qsizetype(3) << qsizetype(4) << true << true << u"^"_qs << u"# "_qs
        << u"a\r\n# b\r\n# c"_qs << qsizetype(2) << qsizetype(10);
    QTest::newRow("nothing found changes nothing")
        << mixed << qsizetype(-1) << qsizetype(0) << false << false << u"xyz"_qs << u"-"_qs << mixed
        << qsizetype(0) << qsizetype(0);
}

void TestReplaceCommands::replaceAllIsOneUndoStep()
{
    QFETCH(QString, text);
    QFETCH(qsizetype, selStart);
    QFETCH(qsizetype, selLength);
    QFETCH(bool, binary);
    QFETCH(bool, regex);
    QFETCH(QString, pattern);
    QFETCH(QString, replacement);
    QFETCH(QString, expected);
    QFETCH(qsizetype, count);
    QFETCH(qsizetype, caret);

    ScintillaHost h(text);
    if (selStart >= 0) {
        h.control.setSelStart(selStart);
        h.control.setSelLength(selLength);
    }
    const ReplaceOutcome outcome
        = replaceAllMatches(h.host, {pattern, replacement, binary, regex, selStart >= 0});
    QVERIFY(outcome.error.isEmpty());
    QCOMPARE(outcome.replaced, count);
    QCOMPARE(h.control.text(), expected);
    QCOMPARE(h.fake.document.isModified(), expected != text);
    if (count == 0)
        return;
    QCOMPARE(h.control.selStart(), caret);
    QCOMPARE(h.control.selLength(), 0);
    h.control.undo();
    QCOMPARE(h.control.text(), text);
}

void TestReplaceCommands::replaceTakesTheSelectedMatchAndSelectsTheNext()
{
    ScintillaHost h(u"ｶﾞ ガ が"_qs);
    const ReplaceSettings settings {u"が"_qs, u"[が]"_qs, false, false, false};
    // Nothing selected: the first click only finds.
    ReplaceOutcome outcome = replaceMatch(h.host, settings);
    QCOMPARE(outcome.replaced, 0);
    QCOMPARE(h.control.selText(), u"ｶﾞ"_qs);
    for (const QString &next : {u"ガ"_qs, u"が"_qs}) {
        outcome = replaceMatch(h.host, settings);
        QCOMPARE(outcome.replaced, 1);
        QVERIFY(outcome.found);
        QCOMPARE(h.control.selText(), next);
    }
    outcome = replaceMatch(h.host, settings);
    QCOMPARE(outcome.replaced, 1);
    QVERIFY(!outcome.found);
    QCOMPARE(h.control.text(), u"[が] [が] [が]"_qs);
    QVERIFY(!findNextMatch(h.host, settings).found);
}

QTEST_MAIN(TestReplaceCommands)
#include "tst_replace_commands.moc"
