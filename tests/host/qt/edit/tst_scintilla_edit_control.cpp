#include "host/qt/edit/scintilla_edit_control.h"
#include "host/qt/edit/scintilla_text_widget.h"
#include "tests/support/line_end_texts.h"
#include "text/chars/instr.h"

#include <Qsci/qsciscintilla.h>

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QRandomGenerator>
#include <QTest>

using orvane::ScintillaEditControl;

Q_DECLARE_METATYPE(orvane::codec::LineEnd)

namespace {

const QString pair = QStringLiteral("😀"); // U+1F600: two UTF-16 units, four UTF-8 bytes

QString nul() { return QString(QChar(u'\0')); }

void typeText(QWidget *widget, const QString &text)
{
    // QTest::keyClicks cannot carry Japanese text: send the key events that an input would.
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &release);
}

// The viewport point in the middle of the character at a UTF-16 position.
QPoint pointAt(ScintillaEditControl *control, qsizetype position)
{
    QsciScintilla *widget = control->widget();
    const long byte = long(control->byteFromUtf16(position));
    return QPoint(int(widget->SendScintilla(QsciScintillaBase::SCI_POINTXFROMPOSITION, 0, byte)) + 2,
                  int(widget->SendScintilla(QsciScintillaBase::SCI_POINTYFROMPOSITION, 0, byte))
                      + int(widget->SendScintilla(QsciScintillaBase::SCI_TEXTHEIGHT, 0)) / 2);
}

void sendMouse(QWidget *viewport, QEvent::Type type, QPoint at, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers modifiers)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, viewport->mapToGlobal(at), button, buttons, modifiers);
    QApplication::sendEvent(viewport, &event);
}

bool shortcutOverrideAccepted(QWidget *widget, int key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier)
{
    QKeyEvent event(QEvent::ShortcutOverride, key, modifiers, QString());
    event.ignore();
    QApplication::sendEvent(widget, &event);
    return event.isAccepted();
}

} // namespace

class TestScintillaEditControl : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void selectionPositions_data();
    void selectionPositions();
    void lineEndsStayAsWritten_data();
    void lineEndsStayAsWritten();
    void enterAndPasteUseTheDocumentsLineEnd_data();
    void enterAndPasteUseTheDocumentsLineEnd();
    void changeNotifiesOncePerChange();
    void equalTextChangesNothing();
    void setTextIsUndoableBackToLoadedText();
    void loadTextLeavesNothingToUndo();
    void setSelTextLeavesCaretAfterInsertion();
    void nulSurvivesRoundTrip();
    void loadedUtf8KeepsALeadingFeff();
    void contextMenuHasTextBoxItems();
    void contextMenuItemsAct();
    void menuShortcutsChangeNothing_data();
    void menuShortcutsChangeNothing();
    void editShortcutsStayBoundToControl();
    void ctrlHDoesNotEraseCharacterBeforeCaret();
    void inputMethodSeesCurrentLineOnly();
    void accessibleTextUsesUtf16Units();
    void positionsStayExactThroughEditsOfALargeText();
    void findBinaryMatchesInStr_data();
    void findBinaryMatchesInStr();
    void findBinaryAcrossAnEditedMiddle();
    void everyGestureSelectsAStream_data();
    void everyGestureSelectsAStream();

private:
    ScintillaEditControl *m_control = nullptr;
    int m_changes = 0;
};

void TestScintillaEditControl::init()
{
    m_control = new ScintillaEditControl;
    m_changes = 0;
    m_control->setChangeHandler([this] { ++m_changes; });
    m_control->widget()->resize(441, 282);
    m_control->widget()->show();
    m_control->widget()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_control->widget()));
}

void TestScintillaEditControl::cleanup()
{
    delete m_control;
    m_control = nullptr;
}

void TestScintillaEditControl::selectionPositions_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qsizetype>("start");
    QTest::addColumn<qsizetype>("length");
    QTest::addColumn<qsizetype>("expectedStart");
    QTest::addColumn<QString>("expectedSelText");

    QTest::newRow("second line after CR LF")
        << u"ab\r\ncd"_qs << qsizetype(4) << qsizetype(2) << qsizetype(4) << u"cd"_qs;
    QTest::newRow("CR LF counts two")
        << u"ab\r\ncd"_qs << qsizetype(1) << qsizetype(3) << qsizetype(1) << u"b\r\n"_qs;
    QTest::newRow("Japanese") << u"日本語\r\nかな"_qs << qsizetype(5) << qsizetype(2) << qsizetype(5)
                              << u"かな"_qs;
    QTest::newRow("start inside a pair moves to its start")
        << (u"a"_qs + pair + u"b"_qs) << qsizetype(2) << qsizetype(3) << qsizetype(1) << (pair + u"b"_qs);
    QTest::newRow("end inside a pair does not split it")
        << (u"a"_qs + pair + u"b"_qs) << qsizetype(0) << qsizetype(2) << qsizetype(0) << u"a"_qs;
    QTest::newRow("after a pair") << (pair + pair + u"x"_qs) << qsizetype(4) << qsizetype(1) << qsizetype(4)
                                  << u"x"_qs;
    QTest::newRow("start past the end clamps")
        << u"日本"_qs << qsizetype(9) << qsizetype(1) << qsizetype(2) << QString();
    QTest::newRow("length past the end clamps")
        << u"日本語"_qs << qsizetype(1) << qsizetype(50) << qsizetype(1) << u"本語"_qs;
    QTest::newRow("negative start clamps")
        << u"abc"_qs << qsizetype(-3) << qsizetype(1) << qsizetype(0) << u"a"_qs;
}

void TestScintillaEditControl::selectionPositions()
{
    QFETCH(QString, text);
    QFETCH(qsizetype, start);
    QFETCH(qsizetype, length);
    QFETCH(qsizetype, expectedStart);
    QFETCH(QString, expectedSelText);

    m_control->loadText(text);
    m_control->setSelStart(start);
    QCOMPARE(m_control->selStart(), expectedStart);
    QCOMPARE(m_control->selLength(), 0);
    m_control->setSelLength(length);
    QCOMPARE(m_control->selStart(), expectedStart);
    QCOMPARE(m_control->selText(), expectedSelText);
    QCOMPARE(m_control->selLength(), expectedSelText.size());
}

void TestScintillaEditControl::lineEndsStayAsWritten_data() { orvane::test::addLineEndTextRows("input"); }

// Loaded, assigned and inserted text (a selection conversion) keeps its line ends, and a lone
// LF or CR counts one unit.
void TestScintillaEditControl::lineEndsStayAsWritten()
{
    QFETCH(QString, input);

    m_control->loadText(input);
    QCOMPARE(m_control->text(), input);
    QCOMPARE(m_control->textLength(), input.size());

    m_control->loadText(QString());
    m_control->setText(input);
    QCOMPARE(m_control->text(), input);

    m_control->loadText(u"[]"_qs);
    m_control->setSelStart(1);
    m_control->setSelText(input);
    QCOMPARE(m_control->text(), u"["_qs + input + u"]"_qs);
    QCOMPARE(m_control->selStart(), 1 + input.size());
    m_control->setSelStart(1);
    m_control->setSelLength(input.size());
    QCOMPARE(m_control->selText(), input);
}

void TestScintillaEditControl::enterAndPasteUseTheDocumentsLineEnd_data()
{
    QTest::addColumn<orvane::codec::LineEnd>("lineEnd");
    QTest::addColumn<QString>("text");

    QTest::newRow("CR LF") << orvane::codec::LineEnd::CrLf << u"a\r\nb"_qs;
    QTest::newRow("LF") << orvane::codec::LineEnd::Lf << u"a\nb"_qs;
    QTest::newRow("CR") << orvane::codec::LineEnd::Cr << u"a\rb"_qs;
}

void TestScintillaEditControl::enterAndPasteUseTheDocumentsLineEnd()
{
    QFETCH(orvane::codec::LineEnd, lineEnd);
    QFETCH(QString, text);
    const QString eol = orvane::codec::lineEndText(lineEnd).toString();

    m_control->loadText(text);
    m_control->setLineEnd(lineEnd);
    m_control->setSelStart(1);
    QTest::keyClick(m_control->widget(), Qt::Key_Return);
    QCOMPARE(m_control->text(), u"a"_qs + eol + text.mid(1));
    QCOMPARE(m_control->selStart(), 1 + eol.size());

    QApplication::clipboard()->setText(u"x\ny\rz\r\n"_qs);
    m_control->loadText(u"ab"_qs);
    m_changes = 0;
    m_control->setSelStart(1);
    QTest::keyClick(m_control->widget(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(m_control->text(), u"ax"_qs + eol + u"y"_qs + eol + u"z"_qs + eol + u"b"_qs);
    QCOMPARE(m_changes, 1);
}

void TestScintillaEditControl::changeNotifiesOncePerChange()
{
    m_control->loadText(u"abc"_qs);
    QCOMPARE(m_changes, 1);
    m_control->setText(u"abX"_qs);
    QCOMPARE(m_changes, 2);
    m_control->setSelStart(1);
    m_control->setSelLength(1);
    m_control->setSelText(u"かな"_qs); // a replacement: a delete and an insert
    QCOMPARE(m_changes, 3);
    QTest::keyClick(m_control->widget(), Qt::Key_Q);
    QCOMPARE(m_changes, 4);
    m_control->setSelStart(0);
    m_control->setSelLength(2);
    typeText(m_control->widget(), u"漢"_qs); // typing over a selection
    QCOMPARE(m_changes, 5);
    QCOMPARE(m_control->text(), u"漢なqX"_qs);
    QTest::keyClick(m_control->widget(), Qt::Key_Backspace);
    QCOMPARE(m_changes, 6);
    m_control->undo();
    QCOMPARE(m_changes, 7);
    QCOMPARE(m_control->text(), u"漢なqX"_qs);
    QTest::keyClick(m_control->widget(), Qt::Key_Y, Qt::ControlModifier); // the control's redo
    QCOMPARE(m_control->text(), u"なqX"_qs);
    QCOMPARE(m_changes, 8);
    QTest::keyClick(m_control->widget(), Qt::Key_Left);
    QCOMPARE(m_changes, 8);
}

void TestScintillaEditControl::equalTextChangesNothing()
{
    m_control->loadText(u"同じ\r\nテキスト"_qs);
    const int afterLoad = m_changes;
    m_control->setText(u"同じ\r\nテキスト"_qs);
    m_control->setSelStart(0);
    m_control->setSelLength(2);
    m_control->setSelText(u"同じ"_qs);
    QCOMPARE(m_changes, afterLoad);
    m_control->undo();
    QCOMPARE(m_changes, afterLoad);
    QCOMPARE(m_control->text(), u"同じ\r\nテキスト"_qs);
}

void TestScintillaEditControl::setTextIsUndoableBackToLoadedText()
{
    const QString loaded = u"あいうえお\r\nかきくけこ\r\n"_qs + pair;
    m_control->loadText(loaded);
    m_control->setText(u"アイウエオ\r\nかきくけこ\r\n"_qs + pair);
    QCOMPARE(m_control->selStart(), 0);
    m_control->setText(u"アイウエオ\r\nカキクケコ"_qs);
    m_control->undo();
    QCOMPARE(m_control->text(), u"アイウエオ\r\nかきくけこ\r\n"_qs + pair);
    m_control->undo();
    QCOMPARE(m_control->text(), loaded);
    m_control->undo();
    QCOMPARE(m_control->text(), loaded);
}

void TestScintillaEditControl::loadTextLeavesNothingToUndo()
{
    m_control->setText(u"typed before"_qs);
    m_control->loadText(u"loaded"_qs);
    const int afterLoad = m_changes;
    m_control->undo();
    QCOMPARE(m_control->text(), u"loaded"_qs);
    QCOMPARE(m_changes, afterLoad);
    QTest::keyClick(m_control->widget(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(m_control->text(), u"loaded"_qs);
}

void TestScintillaEditControl::setSelTextLeavesCaretAfterInsertion()
{
    m_control->loadText(u"abcdef"_qs);
    m_control->setSelStart(2);
    m_control->setSelLength(2);
    m_control->setSelText(pair + u"日"_qs);
    QCOMPARE(m_control->text(), u"ab"_qs + pair + u"日ef"_qs);
    QCOMPARE(m_control->selStart(), 5);
    QCOMPARE(m_control->selLength(), 0);
    m_control->undo();
    QCOMPARE(m_control->text(), u"abcdef"_qs);
}

void TestScintillaEditControl::nulSurvivesRoundTrip()
{
    const QString text = u"a"_qs + nul() + u"日"_qs + nul() + nul() + u"b"_qs;
    m_control->setText(text);
    QCOMPARE(m_control->text(), text);
    m_control->setSelStart(1);
    m_control->setSelLength(3);
    QCOMPARE(m_control->selText(), nul() + u"日"_qs + nul());
    m_control->setSelText(u"x"_qs + nul() + u"y"_qs);
    QCOMPARE(m_control->text(), u"ax"_qs + nul() + u"y"_qs + nul() + u"b"_qs);
    m_control->loadText(nul());
    QCOMPARE(m_control->text(), nul());
}

void TestScintillaEditControl::loadedUtf8KeepsALeadingFeff()
{
    m_control->loadUtf8("\xEF\xBB\xBF"
                        "a\xF0\x9F\x98\x80",
                        4);
    QCOMPARE(m_control->text(), u"\uFEFFa😀"_qs);
    QCOMPARE(m_control->textLength(), 4);
    m_control->setSelStart(0);
    m_control->setSelLength(1);
    QCOMPARE(m_control->selText(), u"\uFEFF"_qs);
}

void TestScintillaEditControl::contextMenuHasTextBoxItems()
{
    auto *widget = static_cast<orvane::ScintillaTextWidget *>(m_control->widget());
    m_control->loadText(u"abc"_qs);
    QApplication::clipboard()->clear();
    {
        std::unique_ptr<QMenu> menu(widget->createTextBoxMenu(nullptr));
        QStringList captions;
        QList<bool> enabled;
        for (QAction *action : menu->actions()) {
            captions << (action->isSeparator() ? u"-"_qs : action->text());
            if (!action->isSeparator())
                enabled << action->isEnabled();
        }
        QCOMPARE(captions,
                 QStringList({u"元に戻す(&U)"_qs, u"-"_qs, u"切り取り(&T)"_qs, u"コピー(&C)"_qs,
                              u"貼り付け(&P)"_qs, u"削除(&D)"_qs, u"-"_qs, u"すべて選択(&A)"_qs}));
        // Nothing to undo, no selection, an empty clipboard; but there is text to select.
        QCOMPARE(enabled, QList<bool>({false, false, false, false, false, true}));
    }
    m_control->setSelStart(0);
    m_control->setSelLength(3);
    m_control->setSelText(u"xyz"_qs);
    m_control->setSelStart(0);
    m_control->setSelLength(3);
    QApplication::clipboard()->setText(u"clip"_qs);
    std::unique_ptr<QMenu> menu(widget->createTextBoxMenu(nullptr));
    QList<bool> enabled;
    for (QAction *action : menu->actions()) {
        if (!action->isSeparator())
            enabled << action->isEnabled();
    }
    // All is selected already, so すべて選択 has nothing to do.
    QCOMPARE(enabled, QList<bool>({true, true, true, true, true, false}));
}

void TestScintillaEditControl::contextMenuItemsAct()
{
    auto *widget = static_cast<orvane::ScintillaTextWidget *>(m_control->widget());
    auto trigger = [widget](const QString &caption) {
        std::unique_ptr<QMenu> menu(widget->createTextBoxMenu(nullptr));
        for (QAction *action : menu->actions()) {
            if (action->text() == caption) {
                action->trigger();
                return;
            }
        }
        QFAIL("no such item");
    };
    m_control->loadText(u"かなカナ"_qs);
    m_control->setSelStart(1);
    m_control->setSelLength(2);
    trigger(u"コピー(&C)"_qs);
    QCOMPARE(QApplication::clipboard()->text(), u"なカ"_qs);
    trigger(u"削除(&D)"_qs);
    QCOMPARE(m_control->text(), u"かナ"_qs);
    QCOMPARE(m_changes, 2);
    trigger(u"元に戻す(&U)"_qs);
    QCOMPARE(m_control->text(), u"かなカナ"_qs);
    QCOMPARE(m_changes, 3);
    trigger(u"すべて選択(&A)"_qs);
    QCOMPARE(m_control->selLength(), 4);
    trigger(u"切り取り(&T)"_qs);
    QCOMPARE(m_control->text(), QString());
    QCOMPARE(QApplication::clipboard()->text(), u"かなカナ"_qs);
    QApplication::clipboard()->setText(u"a\nb"_qs);
    trigger(u"貼り付け(&P)"_qs);
    QCOMPARE(m_control->text(), u"a\r\nb"_qs);
    QCOMPARE(m_changes, 5);
}

void TestScintillaEditControl::menuShortcutsChangeNothing_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Ctrl+L") << int(Qt::Key_L);
    QTest::newRow("Ctrl+U") << int(Qt::Key_U);
    QTest::newRow("Ctrl+K") << int(Qt::Key_K);
    QTest::newRow("Ctrl+H") << int(Qt::Key_H);
    QTest::newRow("Ctrl+N") << int(Qt::Key_N);
    QTest::newRow("Ctrl+W") << int(Qt::Key_W);
    QTest::newRow("Ctrl+D") << int(Qt::Key_D);
    QTest::newRow("Ctrl+T") << int(Qt::Key_T);
    QTest::newRow("Ctrl+Shift+U") << (int(Qt::Key_U) | int(Qt::SHIFT));
    QTest::newRow("Ctrl+Shift+L") << (int(Qt::Key_L) | int(Qt::SHIFT));
    QTest::newRow("Ctrl+Shift+T") << (int(Qt::Key_T) | int(Qt::SHIFT));
    QTest::newRow("Ctrl+plus") << int(Qt::Key_Plus);
    QTest::newRow("Ctrl+minus") << int(Qt::Key_Minus);
}

void TestScintillaEditControl::menuShortcutsChangeNothing()
{
    QFETCH(int, key);
    const auto letter = Qt::Key(key & ~Qt::KeyboardModifierMask);
    const auto modifiers = Qt::KeyboardModifiers(key & Qt::KeyboardModifierMask) | Qt::ControlModifier;
    const QString text = u"Abc def\r\nGhi jkl\r\nmno"_qs;
    m_control->loadText(text);
    m_control->setSelStart(10);
    m_control->setSelLength(4);
    const int zoom = int(m_control->widget()->SendScintilla(QsciScintillaBase::SCI_GETZOOM));

    QVERIFY(!shortcutOverrideAccepted(m_control->widget(), letter, modifiers));
    QTest::keyClick(m_control->widget(), letter, modifiers);
    QCOMPARE(m_control->text(), text);
    QCOMPARE(m_control->selStart(), 10);
    QCOMPARE(m_control->selLength(), 4);
    QCOMPARE(int(m_control->widget()->SendScintilla(QsciScintillaBase::SCI_GETZOOM)), zoom);
    QCOMPARE(m_changes, 1);
}

void TestScintillaEditControl::editShortcutsStayBoundToControl()
{
    // The window's filter declines these for its menu; the control itself still claims them.
    for (int key : {Qt::Key_Z, Qt::Key_X, Qt::Key_C, Qt::Key_V, Qt::Key_A, Qt::Key_Y})
        QVERIFY2(shortcutOverrideAccepted(m_control->widget(), key),
                 qPrintable(QKeySequence(key).toString()));
}

void TestScintillaEditControl::ctrlHDoesNotEraseCharacterBeforeCaret()
{
    m_control->loadText(u"あいう"_qs);
    m_control->setSelStart(2);
    QTest::keyClick(m_control->widget(), Qt::Key_H, Qt::ControlModifier);
    QCOMPARE(m_control->text(), u"あいう"_qs);
    QCOMPARE(m_control->selStart(), 2);
    // As a real keyboard sends it: the key carries the backspace control character.
    QKeyEvent press(QEvent::KeyPress, Qt::Key_H, Qt::ControlModifier, u"\x08"_qs);
    QApplication::sendEvent(m_control->widget(), &press);
    QCOMPARE(m_control->text(), u"あいう"_qs);
}

void TestScintillaEditControl::inputMethodSeesCurrentLineOnly()
{
    m_control->loadText(u"一行目\r\n二行目です\r\n三行目"_qs);
    m_control->setSelStart(5 + 2);
    m_control->setSelLength(2);
    QWidget *widget = m_control->widget();
    QCOMPARE(widget->inputMethodQuery(Qt::ImSurroundingText).toString(), u"二行目です"_qs);
    QCOMPARE(widget->inputMethodQuery(Qt::ImCursorPosition).toInt(), 4);
    QCOMPARE(widget->inputMethodQuery(Qt::ImAnchorPosition).toInt(), 2);
    QCOMPARE(widget->inputMethodQuery(Qt::ImCurrentSelection).toString(), u"目で"_qs);
    QCOMPARE(widget->inputMethodQuery(Qt::ImTextBeforeCursor).toString(), u"二行目で"_qs);
    QCOMPARE(widget->inputMethodQuery(Qt::ImTextAfterCursor).toString(), u"す"_qs);
    QCOMPARE(widget->inputMethodQuery(Qt::ImAbsolutePosition).toInt(), 9);
}

void TestScintillaEditControl::accessibleTextUsesUtf16Units()
{
    const QString text = u"日本"_qs + pair + u"\r\nかな"_qs;
    m_control->loadText(text);
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(m_control->widget());
    QVERIFY(accessible);
    QAccessibleTextInterface *textInterface = accessible->textInterface();
    QVERIFY(textInterface);
    QCOMPARE(textInterface->characterCount(), text.size());
    QCOMPARE(textInterface->text(2, 7), pair + u"\r\nか"_qs);
    textInterface->setSelection(0, 6, 8);
    QCOMPARE(m_control->selText(), u"かな"_qs);
    int start = 0;
    int end = 0;
    QCOMPARE(textInterface->textAtOffset(7, QAccessible::LineBoundary, &start, &end), u"かな"_qs);
    QCOMPARE(start, 6);
    QCOMPARE(end, 8);
}

void TestScintillaEditControl::positionsStayExactThroughEditsOfALargeText()
{
    // Several megabytes, so that edits shift the index's known positions.
    const QString line = u"日本語のテキスト、ascii 混じり"_qs + pair + u"。\r\n"_qs;
    QString model;
    while (model.size() < 1'500'000)
        model += line;
    m_control->loadText(model);
    QRandomGenerator random(7);
    const QStringList inserts = {u"あ"_qs, pair, u"\r\n"_qs, u"xyz"_qs, QString(), u"漢字"_qs + pair};
    for (int round = 0; round < 60; ++round) {
        qsizetype start = random.bounded(int(model.size() + 1));
        if (start > 0 && start < model.size() && model[start].isLowSurrogate())
            --start;
        qsizetype end
            = std::min<qsizetype>(model.size(), start + random.bounded(round % 3 == 0 ? 200000 : 20));
        if (end < model.size() && model[end].isLowSurrogate())
            --end;
        if (end < model.size() && end > 0 && model[end] == u'\n' && model[end - 1] == u'\r')
            ++end;
        if (start > 0 && model[start] == u'\n' && model[start - 1] == u'\r')
            --start;
        const QString insert = inserts[random.bounded(int(inserts.size()))];

        m_control->setSelStart(start);
        m_control->setSelLength(end - start);
        QCOMPARE(m_control->selStart(), start);
        QCOMPARE(m_control->selText(), model.mid(start, end - start));
        m_control->setSelText(insert);
        model.replace(start, end - start, insert);
        QCOMPARE(m_control->selStart(), start + insert.size());
        QCOMPARE(m_control->utf16Length(), model.size());

        const qsizetype probe = random.bounded(int(model.size() + 1));
        const qsizetype byte = model.left(probe).toUtf8().size();
        if (probe == model.size() || !model[probe].isLowSurrogate()) {
            QCOMPARE(m_control->byteFromUtf16(probe), byte);
            QCOMPARE(m_control->utf16FromByte(byte), probe);
        }
        if (round % 10 == 9)
            m_control->undo(), model = m_control->text();
    }
    QCOMPARE(m_control->text(), model);
}

void TestScintillaEditControl::findBinaryMatchesInStr_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qsizetype>("from");
    QTest::addColumn<QString>("sought");
    QTest::addColumn<qsizetype>("expected");

    const QString japanese = QStringLiteral("日本語の文章、ｶﾀｶﾅと日本の行");
    QTest::newRow("日本 from 0") << japanese << qsizetype(0) << QStringLiteral("日本") << qsizetype(0);
    QTest::newRow("日本 from 1") << japanese << qsizetype(1) << QStringLiteral("日本") << qsizetype(12);
    QTest::newRow("ｶﾀ from 0") << japanese << qsizetype(0) << QStringLiteral("ｶﾀ") << qsizetype(7);
    QTest::newRow("match right at from")
        << japanese << qsizetype(12) << QStringLiteral("日本の行") << qsizetype(12);
    QTest::newRow("last character from end-1")
        << japanese << qsizetype(15) << QStringLiteral("行") << qsizetype(15);
    QTest::newRow("from at end") << japanese << japanese.size() << QStringLiteral("行") << qsizetype(-1);
    QTest::newRow("from past end") << japanese << japanese.size() + 5 << QStringLiteral("日")
                                   << qsizetype(-1);
    QTest::newRow("no match") << japanese << qsizetype(0) << QStringLiteral("英語") << qsizetype(-1);
    QTest::newRow("longer than the rest")
        << japanese << qsizetype(14) << QStringLiteral("の行です") << qsizetype(-1);
    QTest::newRow("after surrogate pairs")
        << pair + pair + QStringLiteral("a") + pair << qsizetype(0) << QStringLiteral("a") << qsizetype(4);
    QTest::newRow("pair from its middle")
        << pair + QStringLiteral("x") + pair << qsizetype(1) << pair << qsizetype(3);
    QTest::newRow("pair from its start")
        << QStringLiteral("x") + pair << qsizetype(1) << pair << qsizetype(1);
    QTest::newRow("across CR LF") << QStringLiteral("一\r\n二\r\n三") << qsizetype(1)
                                  << QStringLiteral("\r\n三") << qsizetype(4);
    QTest::newRow("LF alone is part of CR LF")
        << QStringLiteral("一\r\n二") << qsizetype(0) << QStringLiteral("\n") << qsizetype(2);
    QTest::newRow("aa in aaa from 0")
        << QStringLiteral("aaa") << qsizetype(0) << QStringLiteral("aa") << qsizetype(0);
    QTest::newRow("aa in aaa from 1")
        << QStringLiteral("aaa") << qsizetype(1) << QStringLiteral("aa") << qsizetype(1);
    QTest::newRow("aa in aaa from 2")
        << QStringLiteral("aaa") << qsizetype(2) << QStringLiteral("aa") << qsizetype(-1);
    QTest::newRow("NUL sought") << QStringLiteral("日") + nul() + QStringLiteral("本") << qsizetype(0)
                                << nul() << qsizetype(1);
    QTest::newRow("after a NUL") << QStringLiteral("a") + nul() + QStringLiteral("本b本") << qsizetype(0)
                                 << QStringLiteral("b本") << qsizetype(3);
    QTest::newRow("empty text") << QString() << qsizetype(0) << QStringLiteral("a") << qsizetype(-1);
}

void TestScintillaEditControl::findBinaryMatchesInStr()
{
    QFETCH(QString, text);
    QFETCH(qsizetype, from);
    QFETCH(QString, sought);
    QFETCH(qsizetype, expected);

    m_control->loadText(text);
    const qsizetype found = m_control->findBinary(from, sought);
    QCOMPARE(found, expected);
    const orvane::chars::Match match
        = orvane::chars::InStr(from + 1, text, sought, orvane::chars::CompareMode::Binary);
    QCOMPARE(found, match.position - 1);
}

void TestScintillaEditControl::findBinaryAcrossAnEditedMiddle()
{
    // An edit leaves Scintilla's gap in the middle of the buffer; the search must see across it.
    QString text;
    for (int i = 0; i < 500; ++i)
        text += QStringLiteral("行%1、").arg(i);
    m_control->loadText(text);
    m_control->setSelStart(text.size() / 2);
    m_control->setSelText(QStringLiteral("目印😀"));
    const QString edited = m_control->text();
    for (qsizetype from : {qsizetype(0), edited.size() / 2 - 1, edited.size() / 2 + 1}) {
        const orvane::chars::Match match = orvane::chars::InStr(from + 1, edited, QStringLiteral("印😀行"),
                                                                orvane::chars::CompareMode::Binary);
        QCOMPARE(m_control->findBinary(from, QStringLiteral("印😀行")), match.position - 1);
    }
    QCOMPARE(m_control->findBinary(0, QStringLiteral("印😀行")), text.size() / 2 + 1);

    // A lone surrogate has no UTF-8 form: it never matches half of a pair.
    QCOMPARE(m_control->findBinary(0, pair.left(1)), qsizetype(-1));
    QCOMPARE(m_control->findBinary(0, pair.right(1)), qsizetype(-1));
    QCOMPARE(m_control->textLength(), edited.size());
}

void TestScintillaEditControl::everyGestureSelectsAStream_data()
{
    // A drag from one position to another with the modifiers held, or keys from a caret; then
    // the selection it should make.
    QTest::addColumn<qsizetype>("from");
    QTest::addColumn<qsizetype>("to");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<qsizetype>("selStart");
    QTest::addColumn<qsizetype>("selLength");

    const QList<int> drag;
    const int ctrl = Qt::ControlModifier;
    const int alt = Qt::AltModifier;
    const int shift = Qt::ShiftModifier;
    QTest::newRow("drag") << qsizetype(1) << qsizetype(15) << 0 << drag << qsizetype(1) << qsizetype(14);
    QTest::newRow("Ctrl+drag") << qsizetype(1) << qsizetype(15) << ctrl << drag << qsizetype(1)
                               << qsizetype(14);
    QTest::newRow("Alt+drag") << qsizetype(1) << qsizetype(15) << alt << drag << qsizetype(1)
                              << qsizetype(14);
    QTest::newRow("Alt+Shift+drag from a caret at 0")
        << qsizetype(1) << qsizetype(15) << (alt | shift) << drag << qsizetype(0) << qsizetype(15);
    QTest::newRow("Ctrl+Alt+drag upwards")
        << qsizetype(15) << qsizetype(1) << (ctrl | alt) << drag << qsizetype(1) << qsizetype(14);
    QTest::newRow("Ctrl+click") << qsizetype(15) << qsizetype(15) << ctrl << drag << qsizetype(15)
                                << qsizetype(0);
    QTest::newRow("Alt+Shift+Down Down Right")
        << qsizetype(1) << qsizetype(1) << 0
        << QList<int> {alt | shift | Qt::Key_Down, alt | shift | Qt::Key_Down, alt | shift | Qt::Key_Right}
        << qsizetype(1) << qsizetype(0);
    QTest::newRow("Shift+Down Down Right Right") << qsizetype(1) << qsizetype(1) << 0
                                                 << QList<int> {shift | Qt::Key_Down, shift | Qt::Key_Down,
                                                                shift | Qt::Key_Right, shift | Qt::Key_Right}
                                                 << qsizetype(1) << qsizetype(14);
    QTest::newRow("Shift+End Shift+Home")
        << qsizetype(1) << qsizetype(1) << 0 << QList<int> {shift | Qt::Key_End, shift | Qt::Key_Home}
        << qsizetype(0) << qsizetype(1);
    QTest::newRow("Ctrl+Shift+End") << qsizetype(1) << qsizetype(1) << 0
                                    << QList<int> {ctrl | shift | Qt::Key_End} << qsizetype(1)
                                    << qsizetype(15);
    QTest::newRow("Ctrl+A") << qsizetype(1) << qsizetype(1) << 0 << QList<int> {ctrl | Qt::Key_A}
                            << qsizetype(0) << qsizetype(16);
}

void TestScintillaEditControl::everyGestureSelectsAStream()
{
    QFETCH(qsizetype, from);
    QFETCH(qsizetype, to);
    QFETCH(int, modifiers);
    QFETCH(QList<int>, keys);
    QFETCH(qsizetype, selStart);
    QFETCH(qsizetype, selLength);

    // Rows alike up to their last letter, so that a caret moved down keeps its column.
    const QString text = QStringLiteral("abcd\r\nabce\r\nabcf");
    m_control->loadText(text);
    QWidget *viewport = m_control->widget()->viewport();
    const auto held = Qt::KeyboardModifiers(modifiers);
    sendMouse(viewport, QEvent::MouseButtonPress, pointAt(m_control, from), Qt::LeftButton, held);
    if (from != to) {
        sendMouse(viewport, QEvent::MouseMove, pointAt(m_control, (from + to) / 2), Qt::LeftButton, held);
        sendMouse(viewport, QEvent::MouseMove, pointAt(m_control, to), Qt::LeftButton, held);
    }
    sendMouse(viewport, QEvent::MouseButtonRelease, pointAt(m_control, to), Qt::NoButton, held);
    for (const int key : keys)
        QTest::keyClick(m_control->widget(), Qt::Key(key & ~Qt::KeyboardModifierMask),
                        Qt::KeyboardModifiers(key & Qt::KeyboardModifierMask));

    QsciScintilla *widget = m_control->widget();
    QCOMPARE(widget->SendScintilla(QsciScintillaBase::SCI_GETSELECTIONS), 1L);
    QCOMPARE(widget->SendScintilla(QsciScintillaBase::SCI_SELECTIONISRECTANGLE), 0L);
    QCOMPARE(m_control->selStart(), selStart);
    QCOMPARE(m_control->selLength(), selLength);
    QCOMPARE(m_control->selText(), text.mid(selStart, selLength));

    // What is typed replaces exactly the highlighted text, once.
    typeText(widget, QStringLiteral("X"));
    QCOMPARE(m_control->text(), QString(text).replace(selStart, selLength, QStringLiteral("X")));
}

QTEST_MAIN(TestScintillaEditControl)
#include "tst_scintilla_edit_control.moc"
