// The real main window on offscreen: placement, Text1 filling the client area, Modified, the
// shortcut and access keys reaching their commands with the focus in Text1, About, and closing.

#include "form1_fixture.h"

#include "search/form2.h"

#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QScreen>

using namespace orvane;
using orvane::test::Form1Fixture;

namespace {

void setTextAndSelect(EditControl &text1, const QString &text, qsizetype start, qsizetype length)
{
    text1.loadText(text);
    text1.setSelStart(start);
    text1.setSelLength(length);
}

bool searchDialogOpen()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<Form2 *>(widget) && widget->isVisible())
            return true;
    }
    return false;
}

} // namespace

class TestForm1 : public QObject {
    Q_OBJECT

private slots:
    void loadPreparesTheDocumentAndTheFileDialog();
    void windowOpensCentredWithTheDesignSize();
    void text1CoversTheClientArea_data();
    void text1CoversTheClientArea();
    void typingOneCharacterSetsModified();
    void shortcutWithFocusInText1RunsItsCommand_data();
    void shortcutWithFocusInText1RunsItsCommand();
    void ctrlHWithTheCaretErasesNothing();
    void conversionIsUndoneByOneCtrlZ_data();
    void conversionIsUndoneByOneCtrlZ();
    void otherKeysRunNoMenuCommand_data();
    void otherKeysRunNoMenuCommand();
    void accessKeysChooseItems_data();
    void accessKeysChooseItems();
    void aboutShowsTwoLines();
    void closingThroughTheFrameRunsExit_data();
    void closingThroughTheFrameRunsExit();
};

void TestForm1::loadPreparesTheDocumentAndTheFileDialog()
{
    Form1Fixture f;
    QCOMPARE(f.form.document().isModified(), false);
    QCOMPARE(f.dialog.CancelError, true);
    QCOMPARE(f.dialog.Filter, QStringLiteral("テキストファイル (*.txt)|*.txt"));
    QCOMPARE(f.dialog.DefaultExt, QStringLiteral(".txt"));
    QCOMPARE(f.dialog.FileName, QString());
    QCOMPARE(f.form.windowTitle(), QStringLiteral("Orvane"));
    QVERIFY(!f.form.windowIcon().isNull());
    QVERIFY(f.form.windowIcon().availableSizes().contains(QSize(16, 16)));
    QCOMPARE(f.text1().text(), QString());
}

void TestForm1::windowOpensCentredWithTheDesignSize()
{
    Form1Fixture f;
    QVERIFY(f.showActive());
    QCOMPARE(f.form.centralWidget()->size(), QSize(441, 282));
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect frame = f.form.frameGeometry();
    QVERIFY2(qAbs(frame.center().x() - area.center().x()) <= 1
                 && qAbs(frame.center().y() - area.center().y()) <= 1,
             qPrintable(QStringLiteral("frame %1,%2 %3x%4 on %5x%6")
                            .arg(frame.x())
                            .arg(frame.y())
                            .arg(frame.width())
                            .arg(frame.height())
                            .arg(area.width())
                            .arg(area.height())));
}

void TestForm1::text1CoversTheClientArea_data()
{
    QTest::addColumn<QString>("action");
    QTest::newRow("as opened") << QStringLiteral("none");
    QTest::newRow("resized to 800x600") << QStringLiteral("resize");
    QTest::newRow("shrunk to 120x90") << QStringLiteral("shrink");
    QTest::newRow("minimised and restored") << QStringLiteral("minimise");
    QTest::newRow("maximised and restored") << QStringLiteral("maximise");
}

void TestForm1::text1CoversTheClientArea()
{
    QFETCH(QString, action);
    Form1Fixture f;
    QVERIFY(f.showActive());
    if (action == u"resize") {
        f.form.resize(800, 600);
    } else if (action == u"shrink") {
        f.form.resize(120, 90);
    } else if (action == u"minimise") {
        f.form.showMinimized();
        QTRY_VERIFY(f.form.isMinimized());
        f.form.showNormal();
    } else if (action == u"maximise") {
        f.form.showMaximized();
        QTRY_VERIFY(f.form.isMaximized());
        f.form.showNormal();
    }
    const int menuHeight = f.form.menuBar()->height();
    const QRect client(0, menuHeight, f.form.width(), f.form.height() - menuHeight);
    QTRY_COMPARE(f.form.text1Widget()->geometry(), client);
    QVERIFY(f.form.text1Widget()->isVisible());
}

void TestForm1::typingOneCharacterSetsModified()
{
    Form1Fixture f;
    QVERIFY(f.showActive());
    QCOMPARE(f.form.document().isModified(), false);
    QTest::keyClick(f.form.text1Widget(), 'a');
    QCOMPARE(f.text1().text(), QStringLiteral("a"));
    QCOMPARE(f.form.document().isModified(), true);
}

void TestForm1::shortcutWithFocusInText1RunsItsCommand_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("selStart");
    QTest::addColumn<int>("selLength");
    QTest::addColumn<QString>("clipboardBefore");
    QTest::addColumn<QString>("expectedText");
    QTest::addColumn<QString>("expectedClipboard");

    const QString none;
    QTest::newRow("Ctrl+L lower") << int(Qt::Key_L) << QStringLiteral("ABCD") << 1 << 2 << none
                                  << QStringLiteral("AbcD") << none;
    QTest::newRow("Ctrl+U upper") << int(Qt::Key_U) << QStringLiteral("abcd") << 1 << 2 << none
                                  << QStringLiteral("aBCd") << none;
    QTest::newRow("Ctrl+H hiragana") << int(Qt::Key_H) << QStringLiteral("カナカナ") << 0 << 2 << none
                                     << QStringLiteral("かなカナ") << none;
    QTest::newRow("Ctrl+K katakana") << int(Qt::Key_K) << QStringLiteral("かなかな") << 2 << 2 << none
                                     << QStringLiteral("かなカナ") << none;
    QTest::newRow("Ctrl+N narrow") << int(Qt::Key_N) << QStringLiteral("ＡＢガ") << 0 << 3 << none
                                   << QStringLiteral("ABｶﾞ") << none;
    QTest::newRow("Ctrl+W wide") << int(Qt::Key_W) << QStringLiteral("AB ｶﾞ") << 0 << 5 << none
                                 << QStringLiteral("ＡＢ　ガ") << none;
    QTest::newRow("Ctrl+C copy") << int(Qt::Key_C) << QStringLiteral("abc") << 1 << 1 << none
                                 << QStringLiteral("abc") << QStringLiteral("b");
    QTest::newRow("Ctrl+X cut") << int(Qt::Key_X) << QStringLiteral("abc") << 1 << 1 << none
                                << QStringLiteral("ac") << QStringLiteral("b");
    QTest::newRow("Ctrl+Z undo typing")
        << int(Qt::Key_Z) << QStringLiteral("abc") << 3 << 0 << QStringLiteral("*x") << QStringLiteral("abc")
        << QStringLiteral("*x");
    QTest::newRow("Ctrl+V paste") << int(Qt::Key_V) << QStringLiteral("abc") << 1 << 1 << QStringLiteral("貼")
                                  << QStringLiteral("a貼c") << QStringLiteral("貼");
}

void TestForm1::shortcutWithFocusInText1RunsItsCommand()
{
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(int, selStart);
    QFETCH(int, selLength);
    QFETCH(QString, clipboardBefore);
    QFETCH(QString, expectedText);
    QFETCH(QString, expectedClipboard);

    Form1Fixture f;
    QVERIFY(f.showActive());
    setTextAndSelect(f.text1(), text, selStart, selLength);
    // "*" and the characters after it: typed into Text1 first (leaving the clipboard empty).
    if (clipboardBefore.startsWith(QLatin1Char('*'))) {
        for (QChar c : clipboardBefore.mid(1))
            QTest::keyClick(f.form.text1Widget(), c.toLatin1());
        QCOMPARE(f.text1().text(), text + clipboardBefore.mid(1));
        expectedClipboard.clear();
    } else if (!clipboardBefore.isNull()) {
        f.clipboard.setText(clipboardBefore);
    }
    QTest::keyClick(f.form.text1Widget(), Qt::Key(key), Qt::ControlModifier);
    QCOMPARE(f.text1().text(), expectedText);
    QCOMPARE(f.clipboard.getText(), expectedClipboard);
}

void TestForm1::ctrlHWithTheCaretErasesNothing()
{
    Form1Fixture f;
    QVERIFY(f.showActive());
    setTextAndSelect(f.text1(), QStringLiteral("abc"), 2, 0);
    f.form.host().document.setCurrentFile(f.form.host().document.file());
    QTest::keyClick(f.form.text1Widget(), Qt::Key_H, Qt::ControlModifier);
    QCOMPARE(f.text1().text(), QStringLiteral("abc"));
    QCOMPARE(f.form.document().isModified(), false);
}

void TestForm1::conversionIsUndoneByOneCtrlZ_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("selStart");
    QTest::addColumn<int>("selLength");
    QTest::newRow("Ctrl+N narrow [ＡＢガ]") << int(Qt::Key_N) << QStringLiteral("ＡＢガ") << 0 << 3;
    QTest::newRow("Ctrl+W wide a[B ｶﾞ]c") << int(Qt::Key_W) << QStringLiteral("aB ｶﾞc") << 1 << 4;
    QTest::newRow("Ctrl+U upper ab[cd]") << int(Qt::Key_U) << QStringLiteral("abcd") << 2 << 2;
}

// The edit control groups a conversion's changes: the user's one Ctrl+Z takes all of it back.
void TestForm1::conversionIsUndoneByOneCtrlZ()
{
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(int, selStart);
    QFETCH(int, selLength);

    Form1Fixture f;
    QVERIFY(f.showActive());
    setTextAndSelect(f.text1(), text, selStart, selLength);
    QTest::keyClick(f.form.text1Widget(), Qt::Key(key), Qt::ControlModifier);
    QVERIFY(f.text1().text() != text);
    QTest::keyClick(f.form.text1Widget(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f.text1().text(), text);
}

void TestForm1::otherKeysRunNoMenuCommand_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    const int ctrl = Qt::ControlModifier;
    const int ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
    QTest::newRow("Ctrl+S") << int(Qt::Key_S) << ctrl;
    QTest::newRow("Ctrl+O") << int(Qt::Key_O) << ctrl;
    QTest::newRow("Ctrl+F") << int(Qt::Key_F) << ctrl;
    QTest::newRow("Ctrl+Q") << int(Qt::Key_Q) << ctrl;
    QTest::newRow("Ctrl+G") << int(Qt::Key_G) << ctrl;
    QTest::newRow("Ctrl+Shift+U") << int(Qt::Key_U) << ctrlShift;
    QTest::newRow("Ctrl+Shift+L") << int(Qt::Key_L) << ctrlShift;
    QTest::newRow("Ctrl+Shift+W") << int(Qt::Key_W) << ctrlShift;
    QTest::newRow("F3") << int(Qt::Key_F3) << int(Qt::NoModifier);
}

void TestForm1::otherKeysRunNoMenuCommand()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    Form1Fixture f;
    QVERIFY(f.showActive());
    // Every whole-text conversion would change this text; the caret selects nothing.
    setTextAndSelect(f.text1(), QStringLiteral("aBｶかＡ"), 5, 0);
    QTest::keyClick(f.form.text1Widget(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(f.text1().text(), QStringLiteral("aBｶかＡ"));
    QVERIFY(f.messages.shown().isEmpty());
    QVERIFY(f.dialog.shown().isEmpty());
    QVERIFY(!f.program.hasEnded());
    QVERIFY(!searchDialogOpen());
}

void TestForm1::accessKeysChooseItems_data()
{
    QTest::addColumn<QList<int>>("keys"); // the first with Alt
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("selStart");
    QTest::addColumn<int>("selLength");
    QTest::addColumn<QString>("expected");
    QTest::newRow("Alt+S L: whole text lower")
        << QList<int> {Qt::Key_S, Qt::Key_L} << QStringLiteral("ABC ＡＢ") << 1 << 0
        << QStringLiteral("abc ａｂ");
    QTest::newRow("Alt+S W: whole text wide")
        << QList<int> {Qt::Key_S, Qt::Key_W} << QStringLiteral("a ｶ") << 0 << 0 << QStringLiteral("ａ　カ");
    QTest::newRow("Alt+E R U: selection upper") << QList<int> {Qt::Key_E, Qt::Key_R, Qt::Key_U}
                                                << QStringLiteral("abc") << 0 << 2 << QStringLiteral("ABc");
}

void TestForm1::accessKeysChooseItems()
{
    QFETCH(QList<int>, keys);
    QFETCH(QString, text);
    QFETCH(int, selStart);
    QFETCH(int, selLength);
    QFETCH(QString, expected);
    Form1Fixture f;
    QVERIFY(f.showActive());
    setTextAndSelect(f.text1(), text, selStart, selLength);
    QTest::keyClick(f.form.text1Widget(), Qt::Key(keys.first()), Qt::AltModifier);
    for (qsizetype i = 1; i < keys.size(); ++i) {
        QTRY_VERIFY(QApplication::activePopupWidget());
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key(keys.at(i)));
    }
    QTRY_COMPARE(f.text1().text(), expected);
    QTRY_VERIFY(!QApplication::activePopupWidget());
}

void TestForm1::aboutShowsTwoLines()
{
    Form1Fixture f;
    f.messages.answer(MsgBoxAnswer::Ok);
    f.form.findChild<QAction *>(QStringLiteral("AboutMenu"))->trigger();
    QCOMPARE(f.messages.shown().size(), 1);
    const test::ShownMessage &about = f.messages.shown().first();
    QCOMPARE(about.prompt.split(QStringLiteral("\r\n")),
             (QStringList {QStringLiteral("Orvane version1.4"), QStringLiteral("Programed by Namiro")}));
    QCOMPARE(about.style, 64);
    QCOMPARE(about.title, QStringLiteral("バージョン情報"));
    QCOMPARE(f.form.document().isModified(), false);
}

void TestForm1::closingThroughTheFrameRunsExit_data()
{
    QTest::addColumn<bool>("modified");
    QTest::addColumn<QList<MsgBoxAnswer>>("answers");
    QTest::addColumn<bool>("closes");
    QTest::newRow("unmodified: no question") << false << QList<MsgBoxAnswer> {} << true;
    QTest::newRow("modified, いいえ") << true << QList<MsgBoxAnswer> {MsgBoxAnswer::No} << true;
    QTest::newRow("modified, キャンセル") << true << QList<MsgBoxAnswer> {MsgBoxAnswer::Cancel} << false;
}

void TestForm1::closingThroughTheFrameRunsExit()
{
    QFETCH(bool, modified);
    QFETCH(QList<MsgBoxAnswer>, answers);
    QFETCH(bool, closes);
    Form1Fixture f;
    QVERIFY(f.showActive());
    if (modified)
        QTest::keyClick(f.form.text1Widget(), 'x');
    for (MsgBoxAnswer answer : answers)
        f.messages.answer(answer);
    QCOMPARE(f.form.close(), closes);
    QCOMPARE(f.form.isVisible(), !closes);
    QCOMPARE(f.program.hasEnded(), closes);
    QVERIFY(f.messages.allAnswersUsed());
    if (modified)
        QCOMPARE(f.messages.shown().first().prompt, QStringLiteral("現在のテキストを保存しますか"));
    QCOMPARE(f.text1().text(), modified ? QStringLiteral("x") : QString());
}

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
