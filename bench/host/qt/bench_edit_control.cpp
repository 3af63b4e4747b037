// The edit control on a document of 50 million UTF-16 units (about 100 MB on disk in Shift-JIS),
// mostly Japanese, against QPlainTextEdit doing the same steps.

#include "host/qt/edit/scintilla_edit_control.h"
#include "text/chars/convert.h"

#include <Qsci/qsciscintilla.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QTest>
#include <QTextCursor>

#include <benchmark/benchmark.h>

namespace {

using orvane::ScintillaEditControl;
// The conversion step of the measured command: the katakana conversion the menu runs.
QString toKatakana(const QString &text)
{
    return orvane::chars::convert(orvane::chars::ConversionKind::Katakana, text);
}

constexpr qsizetype documentUnits = 50'000'000;

// Lines of 40 to 80 characters: hiragana, kanji, katakana, punctuation and a little ASCII.
QString makeDocument(qsizetype units, qsizetype lineLength = 0)
{
    const QString kanji = QStringLiteral("日本語文字列変換漢字仮名全角半角検索置換保存開始終了編集表示");
    QRandomGenerator random(42);
    QString text;
    text.reserve(units + 100);
    while (text.size() < units) {
        const int length = lineLength ? int(lineLength) : 40 + int(random.bounded(41));
        for (int i = 0; i < length; ++i) {
            const quint32 kind = random.bounded(100);
            if (kind < 45)
                text.append(QChar(char16_t(u'ぁ' + random.bounded(83))));
            else if (kind < 75)
                text.append(kanji[random.bounded(int(kanji.size()))]);
            else if (kind < 90)
                text.append(QChar(char16_t(u'ァ' + random.bounded(86))));
            else if (kind < 95)
                text.append(kind % 2 ? u'、' : u'。');
            else
                text.append(QChar(char16_t(u'a' + random.bounded(26))));
        }
        text.append(u"\r\n");
    }
    return text;
}

const QString &document()
{
    static const QString text = makeDocument(documentUnits);
    return text;
}

struct ScintillaFixture {
    ScintillaFixture(bool lineIndex = false)
    {
        control.widget()->resize(441, 282);
        control.widget()->show();
        if (lineIndex)
            control.widget()->SendScintilla(QsciScintillaBase::SCI_ALLOCATELINECHARACTERINDEX,
                                            QsciScintillaBase::SC_LINECHARACTERINDEX_UTF16);
        QApplication::processEvents();
    }
    ScintillaEditControl control;
};

void paint(QWidget *widget)
{
    widget->repaint();
    QApplication::processEvents();
}

void BM_Scintilla_Load(benchmark::State &state)
{
    ScintillaFixture fixture(state.range(0));
    for (auto _ : state) {
        fixture.control.loadText(document());
        paint(fixture.control.widget());
        state.PauseTiming();
        fixture.control.loadText(QString());
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Scintilla_Load)
    ->ArgName("lineIndex")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

void BM_PlainTextEdit_Load(benchmark::State &state)
{
    QPlainTextEdit edit;
    edit.resize(441, 282);
    edit.show();
    for (auto _ : state) {
        edit.setPlainText(document());
        paint(&edit);
        state.PauseTiming();
        edit.clear();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_PlainTextEdit_Load)->Unit(benchmark::kMillisecond)->Iterations(1);

// Read the whole text, convert it, write it back as one undo step, repaint.
void BM_Scintilla_ConvertWholeText(benchmark::State &state)
{
    ScintillaFixture fixture(state.range(0));
    fixture.control.loadText(document());
    paint(fixture.control.widget());
    for (auto _ : state) {
        const QString converted = toKatakana(fixture.control.text());
        fixture.control.setText(converted);
        paint(fixture.control.widget());
        state.PauseTiming();
        fixture.control.undo();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Scintilla_ConvertWholeText)
    ->ArgName("lineIndex")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

void BM_PlainTextEdit_ConvertWholeText(benchmark::State &state)
{
    QPlainTextEdit edit;
    edit.resize(441, 282);
    edit.show();
    edit.setPlainText(document());
    paint(&edit);
    for (auto _ : state) {
        const QString converted = toKatakana(edit.toPlainText());
        QTextCursor cursor(edit.document());
        cursor.select(QTextCursor::Document);
        cursor.insertText(converted);
        paint(&edit);
        state.PauseTiming();
        edit.undo();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_PlainTextEdit_ConvertWholeText)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_Scintilla_UndoWholeTextConversion(benchmark::State &state)
{
    ScintillaFixture fixture(state.range(0));
    fixture.control.loadText(document());
    const QString converted = toKatakana(document());
    for (auto _ : state) {
        state.PauseTiming();
        fixture.control.setText(converted);
        paint(fixture.control.widget());
        state.ResumeTiming();
        fixture.control.undo();
        paint(fixture.control.widget());
    }
}
BENCHMARK(BM_Scintilla_UndoWholeTextConversion)
    ->ArgName("lineIndex")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

void BM_PlainTextEdit_UndoWholeTextConversion(benchmark::State &state)
{
    QPlainTextEdit edit;
    edit.resize(441, 282);
    edit.show();
    edit.setPlainText(document());
    const QString converted = toKatakana(document());
    for (auto _ : state) {
        state.PauseTiming();
        QTextCursor cursor(edit.document());
        cursor.select(QTextCursor::Document);
        cursor.insertText(converted);
        paint(&edit);
        state.ResumeTiming();
        edit.undo();
        paint(&edit);
    }
}
BENCHMARK(BM_PlainTextEdit_UndoWholeTextConversion)->Unit(benchmark::kMillisecond)->Iterations(1);

// A key typed near the end of the document, with the repaint it causes.
void BM_Scintilla_TypeKey(benchmark::State &state)
{
    ScintillaFixture fixture(state.range(0));
    fixture.control.loadText(document());
    fixture.control.setSelStart(document().size() - 500);
    paint(fixture.control.widget());
    for (auto _ : state) {
        QTest::keyClick(fixture.control.widget(), Qt::Key_A);
        paint(fixture.control.widget());
    }
}
BENCHMARK(BM_Scintilla_TypeKey)->ArgName("lineIndex")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// A key typed near the start, then the caret position asked for near the end: the lookup must
// not count the document again.
void BM_Scintilla_EditThenLookUpNearEnd(benchmark::State &state)
{
    ScintillaFixture fixture;
    fixture.control.loadText(document());
    const qsizetype target = document().size() - 1000;
    fixture.control.setSelStart(target);
    for (auto _ : state) {
        state.PauseTiming();
        fixture.control.setSelStart(10);
        QTest::keyClick(fixture.control.widget(), Qt::Key_A);
        state.ResumeTiming();
        fixture.control.setSelStart(target);
        benchmark::DoNotOptimize(fixture.control.selStart());
    }
}
BENCHMARK(BM_Scintilla_EditThenLookUpNearEnd)->Unit(benchmark::kMicrosecond);

// The first lookup in the middle right after a load (nothing known yet but the ends).
void BM_Scintilla_FirstLookUpAfterLoad(benchmark::State &state)
{
    ScintillaFixture fixture;
    const qsizetype target = document().size() / 2;
    for (auto _ : state) {
        state.PauseTiming();
        fixture.control.loadText(QString());
        fixture.control.loadText(document());
        state.ResumeTiming();
        fixture.control.setSelStart(target);
        benchmark::DoNotOptimize(fixture.control.selStart());
    }
}
BENCHMARK(BM_Scintilla_FirstLookUpAfterLoad)->Unit(benchmark::kMillisecond)->Iterations(3);

// Scintilla's UTF-16 line index answers the same lookup with three messages.
void BM_ScintillaLineIndex_LookUpNearEnd(benchmark::State &state)
{
    ScintillaFixture fixture(true);
    fixture.control.loadText(document());
    QsciScintilla *sci = fixture.control.widget();
    const long target = long(document().size() - 1000);
    for (auto _ : state) {
        const long line = sci->SendScintilla(QsciScintillaBase::SCI_LINEFROMINDEXPOSITION, target,
                                             long(QsciScintillaBase::SC_LINECHARACTERINDEX_UTF16));
        const long start = sci->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, line);
        const long unit = sci->SendScintilla(QsciScintillaBase::SCI_INDEXPOSITIONFROMLINE, line,
                                             long(QsciScintillaBase::SC_LINECHARACTERINDEX_UTF16));
        benchmark::DoNotOptimize(
            sci->SendScintilla(QsciScintillaBase::SCI_POSITIONRELATIVECODEUNITS, start, target - unit));
    }
}
BENCHMARK(BM_ScintillaLineIndex_LookUpNearEnd)->Unit(benchmark::kMicrosecond);

// A key in the middle of one line of about 1 MB, with its repaint.
void BM_Scintilla_TypeKeyOnLongLine(benchmark::State &state)
{
    ScintillaFixture fixture;
    const QString line = makeDocument(qsizetype(state.range(0)), state.range(0));
    fixture.control.loadText(line);
    fixture.control.setSelStart(line.size() / 2);
    paint(fixture.control.widget());
    for (auto _ : state) {
        QTest::keyClick(fixture.control.widget(), Qt::Key_A);
        paint(fixture.control.widget());
    }
}
BENCHMARK(BM_Scintilla_TypeKeyOnLongLine)
    ->ArgName("units")
    ->Arg(100'000)
    ->Arg(350'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond);

void BM_PlainTextEdit_TypeKeyOnLongLine(benchmark::State &state)
{
    QPlainTextEdit edit;
    edit.resize(441, 282);
    edit.show();
    const QString line = makeDocument(qsizetype(state.range(0)), state.range(0));
    edit.setPlainText(line);
    QTextCursor cursor = edit.textCursor();
    cursor.setPosition(int(line.size() / 2));
    edit.setTextCursor(cursor);
    paint(&edit);
    for (auto _ : state) {
        QTest::keyClick(&edit, Qt::Key_A);
        paint(&edit);
    }
}
BENCHMARK(BM_PlainTextEdit_TypeKeyOnLongLine)
    ->ArgName("units")
    ->Arg(350'000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The edit control's text measurement as the library had it, for a comparison run.
    if (qEnvironmentVariableIsSet("ORVANE_STOCK_TEXT_MEASUREMENT"))
        QsciScintillaBase::setStockTextMeasurement(true);
    document(); // generated once, outside every measurement
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
