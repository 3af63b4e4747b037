// The edit control's own changes reach the journal: typed keys, Enter, Backspace, paste, undo and
// redo by key and by command, conversions and replacements of the whole text and of the selection
// and their undo.
// The journal replays to exactly the control's text.

#include "host/qt/edit/scintilla_edit_control.h"
#include "journal/journal.h"
#include "journal/journal_format.h"
#include "journal/journal_replay.h"
#include "text/chars/convert.h"
#include "text/chars/replacer.h"

#include <Qsci/qsciscintilla.h>

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QtTest>

using namespace orvane;
using namespace orvane::journal;

namespace {

// One action on the control: typed text, a key with modifiers, a selection, or a command.
struct Action {
    enum Kind { Type, Key, Select, Convert, ConvertSelection, Undo, Paste, Replace, ReplaceSelection } kind;
    QString text = {};
    int a = 0;
    int b = 0;
};

// One key event a character, as a keyboard sends them.
void type(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

} // namespace

Q_DECLARE_METATYPE(QList<Action>)

class TestJournalControl : public QObject {
    Q_OBJECT
private slots:
    void journalReplaysToTheControlsText_data();
    void journalReplaysToTheControlsText();
};

void TestJournalControl::journalReplaysToTheControlsText_data()
{
    QTest::addColumn<QString>("loaded");
    QTest::addColumn<QList<Action>>("actions");
    using A = Action;
    const int wide = int(chars::ConversionKind::Wide);
    const int upper = int(chars::ConversionKind::Upper);
    const int katakana = int(chars::ConversionKind::Katakana);
    const int ctrl = int(Qt::ControlModifier);

    QTest::newRow("typing, Enter, Backspace")
        << QString() << QList<A> {{A::Type, u"日本語"_qs},    {A::Key, {}, Qt::Key_Return},
                                  {A::Type, u"abc"_qs},       {A::Key, {}, Qt::Key_Backspace},
                                  {A::Key, {}, Qt::Key_Left}, {A::Key, {}, Qt::Key_Delete}};
    QTest::newRow("typing into a loaded text") << u"一行目\r\n二行目"_qs
                                               << QList<A> {{A::Key, {}, Qt::Key_End, ctrl},
                                                            {A::Type, u"！"_qs},
                                                            {A::Select, {}, 2, 5},
                                                            {A::Type, u"x"_qs}};
    QTest::newRow("paste and its undo by key") << u"abc"_qs
                                               << QList<A> {{A::Paste, u"貼り付け\r\n"_qs},
                                                            {A::Key, {}, Qt::Key_V, ctrl},
                                                            {A::Key, {}, Qt::Key_Z, ctrl},
                                                            {A::Key, {}, Qt::Key_Y, ctrl}};
    QTest::newRow("whole-text conversion, undone and redone by key")
        << u"abc ｶﾞｷﾞ\r\nかな"_qs
        << QList<A> {{A::Convert, {}, wide},
                     {A::Key, {}, Qt::Key_Z, ctrl},
                     {A::Key, {}, Qt::Key_Y, ctrl},
                     {A::Convert, {}, upper},
                     {A::Undo}};
    QTest::newRow("selection conversion, typing, undo of both")
        << u"ひらがなabc"_qs << QList<A> {{A::Select, {}, 0, 4},
                                          {A::ConvertSelection, {}, katakana},
                                          {A::Type, u"z"_qs},
                                          {A::Undo},
                                          {A::Undo},
                                          {A::Key, {}, Qt::Key_Y, ctrl}};
    QTest::newRow("replace all in each mode, undone and redone")
        << u"ｶﾞｲﾄﾞ ガイド\r\nkey 1\nKEY 2"_qs
        << QList<A> {{A::Replace, u"がいど\t案内"_qs, 1},
                     {A::Key, {}, Qt::Key_Z, ctrl},
                     {A::Key, {}, Qt::Key_Y, ctrl},
                     {A::Replace, u"key (\\d)\\n\t$1\\n"_qs, 1, 1},
                     {A::Select, {}, 0, 4},
                     {A::ReplaceSelection, u"案\t"_qs},
                     {A::Type, u"z"_qs},
                     {A::Undo},
                     {A::Undo}};
    QTest::newRow("typing after a conversion, all undone")
        << QString() << QList<A> {{A::Type, u"a"_qs}, {A::Type, u"b"_qs}, {A::Convert, {}, upper},
                                  {A::Type, u"c"_qs}, {A::Undo},          {A::Undo},
                                  {A::Undo}};
}

void TestJournalControl::journalReplaysToTheControlsText()
{
    QFETCH(QString, loaded);
    QFETCH(QList<Action>, actions);
    QTemporaryDir dir;
    ScintillaEditControl control;
    QsciScintilla *widget = control.widget();
    widget->show();
    widget->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(widget));

    Journal journal(dir.path());
    control.setRecorder(&journal);
    control.loadText(loaded);
    const QByteArray base = control.text().toUtf8();
    journal.startDocument({}, base.size());

    for (const Action &action : actions) {
        switch (action.kind) {
        case Action::Type:
            type(widget, action.text);
            break;
        case Action::Key:
            QTest::keyClick(widget, Qt::Key(action.a), Qt::KeyboardModifiers(action.b));
            break;
        case Action::Select:
            control.setSelStart(action.a);
            control.setSelLength(action.b);
            break;
        case Action::Convert:
            control.setConvertedText(chars::convert(chars::ConversionKind(action.a), control.text()),
                                     chars::ConversionKind(action.a));
            break;
        case Action::ConvertSelection:
            control.setConvertedSelText(chars::convert(chars::ConversionKind(action.a), control.selText()),
                                        chars::ConversionKind(action.a));
            break;
        case Action::Undo:
            control.undo();
            break;
        case Action::Replace:
        case Action::ReplaceSelection: {
            // a: compare text-blind; b: a regular expression. The pattern and replacement are
            // the text's two halves around a tab.
            const chars::ReplaceCommand command {
                action.text.section(u'\t', 0, 0), action.text.section(u'\t', 1),
                action.a ? chars::CompareMode::Text : chars::CompareMode::Binary, action.b != 0, u"\n"_qs};
            const bool whole = action.kind == Action::Replace;
            const chars::ReplaceResult result
                = chars::Replacer(command).replaceAll(whole ? control.text() : control.selText());
            if (whole)
                control.setReplacedText(result.text, command);
            else
                control.setReplacedSelText(result.text, command);
            break;
        }
        case Action::Paste:
            QApplication::clipboard()->setText(action.text);
            break;
        }
    }
    journal.drain();

    QFile file(journal.filePath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const ParsedJournal parsed = parseJournal(file.readAll());
    QCOMPARE(parsed.status, ParsedJournal::Status::Complete);
    const Replayed replayed = replay(parsed.records, base);
    QVERIFY(replayed.complete);
    QCOMPARE(QString::fromUtf8(replayed.text), control.text());
}

QTEST_MAIN(TestJournalControl)
#include "tst_journal_control.moc"
