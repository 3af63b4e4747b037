// The edit control on a document of 50 million UTF-16 units (about 100 MB on disk in Shift-JIS),
// mostly Japanese, against QPlainTextEdit doing the same steps.

#include "bench/support/japanese_document.h"
#include "bench/support/run_in_application.h"
#include "host/qt/edit/scintilla_edit_control.h"
#include "text/chars/convert.h"

#include <Qsci/qsciscintilla.h>

#include <QApplication>
#include <QPlainTextEdit>
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

const QString &document()
{
    static const QString text = orvane::bench::japaneseLines(documentUnits);
    return text;
}

// The two controls in windows of the same size, shown, behind the same few steps: each
// benchmark below times one step on either.
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
    QWidget *widget() { return control.widget(); }
    void load(const QString &text) { control.loadText(text); }
    void clear() { control.loadText(QString()); }
    QString text() const { return control.text(); }
    void replaceAll(const QString &text) { control.setText(text); }
    void setCaret(qsizetype position) { control.setSelStart(position); }
    void undo() { control.undo(); }
    ScintillaEditControl control;
};

struct PlainTextFixture {
    PlainTextFixture()
    {
        edit.resize(441, 282);
        edit.show();
    }
    QWidget *widget() { return &edit; }
    void load(const QString &text) { edit.setPlainText(text); }
    void clear() { edit.clear(); }
    QString text() const { return edit.toPlainText(); }
    // The whole text replaced as one undo step.
    void replaceAll(const QString &text)
    {
        QTextCursor cursor(edit.document());
        cursor.select(QTextCursor::Document);
        cursor.insertText(text);
    }
    void setCaret(qsizetype position)
    {
        QTextCursor cursor = edit.textCursor();
        cursor.setPosition(int(position));
        edit.setTextCursor(cursor);
    }
    void undo() { edit.undo(); }
    QPlainTextEdit edit;
};

template <typename Fixture> void paint(Fixture &fixture)
{
    fixture.widget()->repaint();
    QApplication::processEvents();
}

// Each run: `timed` with the repaint it causes, then `reset` out of the timing.
template <typename Fixture, typename Timed, typename Reset>
void timeWithRepaint(benchmark::State &state, Fixture &fixture, Timed timed, Reset reset)
{
    for (auto _ : state) {
        timed();
        paint(fixture);
        state.PauseTiming();
        reset();
        state.ResumeTiming();
    }
}

template <typename Fixture> void timeLoad(benchmark::State &state, Fixture &fixture)
{
    timeWithRepaint(
        state, fixture, [&] { fixture.load(document()); }, [&] { fixture.clear(); });
}

// Read the whole text, convert it, write it back as one undo step, repaint.
template <typename Fixture> void timeConvertWholeText(benchmark::State &state, Fixture &fixture)
{
    fixture.load(document());
    paint(fixture);
    timeWithRepaint(
        state, fixture, [&] { fixture.replaceAll(toKatakana(fixture.text())); }, [&] { fixture.undo(); });
}

template <typename Fixture> void timeUndoWholeTextConversion(benchmark::State &state, Fixture &fixture)
{
    fixture.load(document());
    const QString converted = toKatakana(document());
    const auto convert = [&] {
        fixture.replaceAll(converted);
        paint(fixture);
    };
    convert();
    timeWithRepaint(
        state, fixture, [&] { fixture.undo(); }, convert);
}

// A key typed at `caret` in `text`, with the repaint it causes.
template <typename Fixture>
void timeTypeKey(benchmark::State &state, Fixture &fixture, const QString &text, qsizetype caret)
{
    fixture.load(text);
    fixture.setCaret(caret);
    paint(fixture);
    for (auto _ : state) {
        QTest::keyClick(fixture.widget(), Qt::Key_A);
        paint(fixture);
    }
}

// The whole-document steps, each timed on both controls: the edit control without and with its
// UTF-16 line index, QPlainTextEdit once.
struct WholeDocumentStep {
    const char *name;
    void (*scintilla)(benchmark::State &, ScintillaFixture &);
    void (*plainText)(benchmark::State &, PlainTextFixture &);
};

const WholeDocumentStep wholeDocumentSteps[] = {
    {"Load", timeLoad<ScintillaFixture>, timeLoad<PlainTextFixture>},
    {"ConvertWholeText", timeConvertWholeText<ScintillaFixture>, timeConvertWholeText<PlainTextFixture>},
    {"UndoWholeTextConversion", timeUndoWholeTextConversion<ScintillaFixture>,
     timeUndoWholeTextConversion<PlainTextFixture>},
};

const bool wholeDocumentStepsRegistered = [] {
    for (const WholeDocumentStep &step : wholeDocumentSteps) {
        benchmark::RegisterBenchmark((std::string("BM_Scintilla_") + step.name).c_str(),
                                     [&step](benchmark::State &state) {
                                         ScintillaFixture fixture(state.range(0));
                                         step.scintilla(state, fixture);
                                     })
            ->ArgName("lineIndex")
            ->DenseRange(0, 1)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(2);
        benchmark::RegisterBenchmark((std::string("BM_PlainTextEdit_") + step.name).c_str(),
                                     [&step](benchmark::State &state) {
                                         PlainTextFixture fixture;
                                         step.plainText(state, fixture);
                                     })
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1);
    }
    return true;
}();

// A key typed near the end of the document.
void BM_Scintilla_TypeKey(benchmark::State &state)
{
    ScintillaFixture fixture(state.range(0));
    timeTypeKey(state, fixture, document(), document().size() - 500);
}
BENCHMARK(BM_Scintilla_TypeKey)->ArgName("lineIndex")->DenseRange(0, 1)->Unit(benchmark::kMicrosecond);

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

// A key in the middle of one line of about 1 MB.
template <typename Fixture> void typeKeyOnLongLine(benchmark::State &state)
{
    Fixture fixture;
    const QString line = orvane::bench::japaneseLine(state.range(0));
    timeTypeKey(state, fixture, line, line.size() / 2);
}
BENCHMARK(typeKeyOnLongLine<ScintillaFixture>)
    ->Name("BM_Scintilla_TypeKeyOnLongLine")
    ->ArgName("units")
    ->Arg(100'000)
    ->Arg(350'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(typeKeyOnLongLine<PlainTextFixture>)
    ->Name("BM_PlainTextEdit_TypeKeyOnLongLine")
    ->ArgName("units")
    ->Arg(350'000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    return orvane::bench::runInApplication(argc, argv, [] {
        // The edit control's text measurement as the library had it, for a comparison run.
        if (qEnvironmentVariableIsSet("ORVANE_STOCK_TEXT_MEASUREMENT"))
            QsciScintillaBase::setStockTextMeasurement(true);
        document(); // generated once, outside every measurement
    });
}
