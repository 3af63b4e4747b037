// Editing in the middle of one line of a million characters through the real edit control: the
// text and the caret right after each key, and every character still where a layout of the whole
// line from scratch puts it.

#include "host/qt/edit/scintilla_edit_control.h"

#include <Qsci/qsciscintilla.h>

#include <QApplication>
#include <QRandomGenerator>
#include <QTest>

using orvane::ScintillaEditControl;

namespace {

QString longLine(qsizetype length)
{
    const QString kanji = QStringLiteral("日本語文字列変換漢字仮名全角半角検索置換保存");
    QRandomGenerator random(3);
    QString text;
    text.reserve(length);
    while (text.size() < length) {
        const quint32 kind = random.bounded(100);
        if (kind < 50)
            text.append(QChar(char16_t(u'ぁ' + random.bounded(83))));
        else if (kind < 80)
            text.append(kanji[random.bounded(int(kanji.size()))]);
        else if (kind < 95)
            text.append(QChar(char16_t(u'ァ' + random.bounded(86))));
        else
            text.append(QChar(char16_t(u'a' + random.bounded(26))));
    }
    return text;
}

void key(QWidget *widget, Qt::Key key, const QString &text = QString(),
         Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(widget, &release);
    widget->repaint();
    QApplication::processEvents();
}

// The x of each of these UTF-16 positions in the view.
QList<long> xOf(ScintillaEditControl &control, const QList<qsizetype> &positions)
{
    QList<long> xs;
    for (const qsizetype position : positions)
        xs.append(control.widget()->SendScintilla(QsciScintillaBase::SCI_POINTXFROMPOSITION, 0L,
                                                  long(control.byteFromUtf16(position))));
    return xs;
}

// The same, the line laid out again from its start.
QList<long> xOfFreshLayout(ScintillaEditControl &control, const QList<qsizetype> &positions)
{
    QsciScintilla *widget = control.widget();
    const long level = widget->SendScintilla(QsciScintillaBase::SCI_GETLAYOUTCACHE);
    widget->SendScintilla(QsciScintillaBase::SCI_SETLAYOUTCACHE, QsciScintillaBase::SC_CACHE_NONE);
    widget->SendScintilla(QsciScintillaBase::SCI_SETLAYOUTCACHE, level);
    return xOf(control, positions);
}

} // namespace

class TestLongLineEditing : public QObject {
    Q_OBJECT

private slots:
    void typeDeleteAndUndoInTheMiddleOfAMillionCharacters();
};

void TestLongLineEditing::typeDeleteAndUndoInTheMiddleOfAMillionCharacters()
{
    ScintillaEditControl control;
    QsciScintilla *widget = control.widget();
    widget->resize(700, 200);
    widget->show();
    QVERIFY(QTest::qWaitForWindowExposed(widget));
    QString expected = longLine(1'000'000);
    control.loadText(expected);
    qsizetype caret = expected.size() / 2;
    control.setSelStart(caret);

    const QString original = expected;
    const qsizetype middle = caret;
    const QList<qsizetype> around = {-40, -1, 0, 1, 40};
    auto checkPositions = [&](const char *step) {
        QList<qsizetype> probes;
        for (const qsizetype offset : around)
            probes.append(caret + offset);
        probes.append(expected.size());
        QVERIFY2(xOf(control, probes) == xOfFreshLayout(control, probes), step);
    };

    // Type, delete and move, each key checked against the text it should leave.
    struct Step {
        Qt::Key key;
        QString text;
    };
    const QList<Step> steps = {
        {Qt::Key_unknown, QStringLiteral("あ")},
        {Qt::Key_A, QStringLiteral("a")},
        {Qt::Key_unknown, QStringLiteral("漢")},
        {Qt::Key_Backspace, QString()},
        {Qt::Key_Delete, QString()},
        {Qt::Key_Left, QString()},
        {Qt::Key_unknown, QStringLiteral("ｶ")},
    };
    QStringList history;
    for (const Step &step : steps) {
        key(widget, step.key, step.text);
        history.append(expected);
        if (step.key == Qt::Key_Backspace)
            expected.remove(--caret, 1);
        else if (step.key == Qt::Key_Delete)
            expected.remove(caret, 1);
        else if (step.key == Qt::Key_Left)
            --caret;
        else
            expected.insert(caret++, step.text);
        const QByteArray name = QKeySequence(step.key).toString().toUtf8() + step.text.toUtf8();
        QVERIFY2(control.text() == expected, name.constData());
        QCOMPARE(control.selStart(), caret);
        checkPositions(name.constData());
    }

    // Undo, as often as it takes, goes back through those texts to the line as loaded.
    for (int undo = 0; undo < 10 && control.text() != original; ++undo) {
        key(widget, Qt::Key_Z, QString(), Qt::ControlModifier);
        expected = control.text();
        QVERIFY(history.contains(expected));
        caret = control.selStart();
        checkPositions("undo");
    }
    QVERIFY(control.text() == original);
    QCOMPARE(control.selStart(), middle);

    // And the whole line where the library's own measurement puts it.
    const QList<qsizetype> probes = {caret - 200, caret, caret + 300};
    const QList<long> ours = xOf(control, probes);
    QsciScintillaBase::setStockTextMeasurement(true);
    const QList<long> library = xOf(control, probes);
    QsciScintillaBase::setStockTextMeasurement(false);
    QCOMPARE(ours, library);
}

QTEST_MAIN(TestLongLineEditing)
#include "tst_long_line_editing.moc"
