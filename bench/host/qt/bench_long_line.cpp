// The edit control on one long line of Japanese text, on a real X server (Xvfb or a desktop):
// keys typed at its end, caret moves, the Open of a 20 MB one-line file until a key is answered,
// a whole-text conversion and a save; beside them the same steps on short lines, in the same run.
// Keys are QKeyEvents sent to the widget: only they go through the caret-visible path that lays
// the line out. Without a display the program says so and exits 0.
// Argument "stock" 1 runs a step with the edit control's text measurement as the library had it.

#include "bench/files/bench_corpus.h"
#include "bench/support/japanese_document.h"
#include "bench/support/run_in_application.h"
#include "convert/conversion_commands.h"
#include "files/file_commands.h"
#include "host/files/disk_text_files.h"
#include "host/qt/edit/scintilla_edit_control.h"

#include <Qsci/qsciscintilla.h>

#include <QApplication>
#include <QFile>
#include <QKeyEvent>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

using namespace orvane;
using namespace orvane::bench;

namespace {

// One line of `chars` characters, or lines of 40 to 80 characters with CR LF when `shortLines` is
// set.
QString japanese(qsizetype chars, bool shortLines = false)
{
    return shortLines ? japaneseLines(chars) : japaneseLine(chars);
}

void setStock(const benchmark::State &state, int argument)
{
    QsciScintillaBase::setStockTextMeasurement(state.range(argument) != 0);
}

void paint(ScintillaEditControl &control)
{
    control.widget()->viewport()->repaint();
    QApplication::processEvents();
}

void key(QWidget *widget, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
         const QString &text = QString())
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(widget, &release);
}

void typeJapanese(ScintillaEditControl &control)
{
    key(control.widget(), Qt::Key_unknown, Qt::NoModifier, QStringLiteral("あ"));
    paint(control);
}

struct Window {
    Window()
    {
        control.widget()->resize(800, 600);
        control.widget()->show();
        control.widget()->activateWindow();
        control.widget()->setFocus();
        QApplication::processEvents();
    }
    ScintillaEditControl control;
};

// Japanese keys typed at `caret` in `text`, each with the repaint it causes; argument `stock` says
// which text measurement.
void typeKeysAt(benchmark::State &state, int stock, const QString &text, qsizetype caret)
{
    setStock(state, stock);
    Window window;
    window.control.loadText(text);
    window.control.setSelStart(caret);
    paint(window.control);
    for (auto _ : state)
        typeJapanese(window.control);
    QsciScintillaBase::setStockTextMeasurement(false);
}

// A key typed at the end of one line of `chars` characters.
void BM_LongLine_KeyAtEnd(benchmark::State &state)
{
    const QString text = japanese(state.range(0));
    typeKeysAt(state, 1, text, text.size());
}
BENCHMARK(BM_LongLine_KeyAtEnd)
    ->ArgNames({"chars", "stock"})
    ->ArgsProduct({{100'000, 1'000'000, 10'000'000}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

// A key typed in the middle of the line: the rest of the line moves.
void BM_LongLine_KeyInMiddle(benchmark::State &state)
{
    const QString text = japanese(state.range(0));
    typeKeysAt(state, 1, text, text.size() / 2);
}
BENCHMARK(BM_LongLine_KeyInMiddle)
    ->ArgNames({"chars", "stock"})
    ->Args({1'000'000, 0})
    ->Args({1'000'000, 1})
    ->Args({10'000'000, 0})
    ->Unit(benchmark::kMillisecond);

// The same on 50 million characters of short lines (about 100 MB in Shift-JIS), near the end.
void BM_ShortLines_KeyNearEnd(benchmark::State &state)
{
    static const QString text = japanese(50'000'000, true);
    typeKeysAt(state, 0, text, text.size() - 500);
}
BENCHMARK(BM_ShortLines_KeyNearEnd)->ArgName("stock")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Caret moves on one long line: End and Ctrl+End from its start, Home from its end, Shift+End
// from its middle; each with its repaint.
enum Move { End, CtrlEnd, Home, ShiftEnd };
const struct {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
} moveKeys[] = {{Qt::Key_End, Qt::NoModifier},
                {Qt::Key_End, Qt::ControlModifier},
                {Qt::Key_Home, Qt::NoModifier},
                {Qt::Key_End, Qt::ShiftModifier}};

void BM_LongLine_Move(benchmark::State &state)
{
    setStock(state, 2);
    Window window;
    const QString text = japanese(state.range(0));
    window.control.loadText(text);
    const auto move = Move(state.range(1));
    const qsizetype from = move == Home ? text.size() : move == ShiftEnd ? text.size() / 2 : 0;
    for (auto _ : state) {
        state.PauseTiming();
        window.control.setSelStart(from);
        paint(window.control);
        state.ResumeTiming();
        key(window.control.widget(), moveKeys[move].key, moveKeys[move].modifiers);
        paint(window.control);
    }
    QsciScintillaBase::setStockTextMeasurement(false);
}
BENCHMARK(BM_LongLine_Move)
    ->ArgNames({"chars", "move", "stock"})
    ->ArgsProduct({{1'000'000, 10'000'000}, {End, CtrlEnd, Home, ShiftEnd}, {0}})
    ->Args({1'000'000, End, 1})
    ->Args({1'000'000, Home, 1})
    ->Unit(benchmark::kMillisecond);

constexpr qsizetype fileChars = 10'000'000;

// Files of 10 million characters in Shift-JIS (20 MB): one line, or lines of 40 to 80.
const QString &sjisFile(bool shortLines)
{
    static QString paths[2];
    QString &path = paths[shortLines];
    if (path.isEmpty()) {
        path = scratchPath(shortLines ? QStringLiteral("short_lines_20mb.txt")
                                      : QStringLiteral("one_line_20mb.txt"));
        DiskTextFiles().writeText(path, japanese(fileChars, shortLines), codec::TextEncoding::ShiftJis);
    }
    return path;
}

// The opened-file benchmarks' arguments: one line in both measurements, short lines in ours.
void shortLinesAndStock(benchmark::internal::Benchmark *benchmark)
{
    benchmark->ArgNames({"shortLines", "stock"})->Args({0, 0})->Args({0, 1})->Args({1, 0});
}

struct OpenedFile {
    explicit OpenedFile(bool shortLines)
        : dialog(sjisFile(shortLines))
    {
    }
    Window window;
    FixedDialog dialog;
    NoMessageBox messages;
    NoClipboard clipboard;
    DiskTextFiles files;
    QuietProgram program;
    Document document;
    Host host {window.control, dialog, messages, clipboard, files, program, document};
};

// Open until the window has painted the file and answered a typed key.
void BM_OpenUntilKeyAnswered(benchmark::State &state)
{
    setStock(state, 1);
    const bool shortLines = state.range(0) != 0;
    sjisFile(shortLines);
    double peak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto file = std::make_unique<OpenedFile>(shortLines);
        resetPeakRss();
        const qint64 start = currentRssBytes();
        state.ResumeTiming();
        OpenMenu_Click(file->host);
        paint(file->window.control);
        file->window.control.setSelStart(fileChars);
        typeJapanese(file->window.control);
        state.PauseTiming();
        peak = std::max(peak, double(peakRssBytes() - start));
        file.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["peak_MB"] = peak / 1e6;
    QsciScintillaBase::setStockTextMeasurement(false);
}
BENCHMARK(BM_OpenUntilKeyAnswered)->Apply(shortLinesAndStock)->Unit(benchmark::kMillisecond)->Iterations(2);

// The katakana conversion of the whole text of the opened file, until repainted.
void BM_ConvertWholeText(benchmark::State &state)
{
    setStock(state, 1);
    OpenedFile file(state.range(0) != 0);
    OpenMenu_Click(file.host);
    paint(file.window.control);
    for (auto _ : state) {
        KatakanaChange_Click(file.host);
        paint(file.window.control);
        state.PauseTiming();
        file.window.control.undo();
        paint(file.window.control);
        state.ResumeTiming();
    }
    QsciScintillaBase::setStockTextMeasurement(false);
}
BENCHMARK(BM_ConvertWholeText)->Apply(shortLinesAndStock)->Unit(benchmark::kMillisecond)->Iterations(2);

// Save of the opened file after a key typed at the end of its text.
void BM_Save(benchmark::State &state)
{
    OpenedFile file(state.range(0) != 0);
    OpenMenu_Click(file.host);
    file.window.control.setSelStart(fileChars);
    typeJapanese(file.window.control);
    for (auto _ : state) {
        file.document.markModified();
        SaveMenu_Click(file.host);
    }
}
BENCHMARK(BM_Save)->ArgName("shortLines")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::printf("bench_long_line: no X display, nothing measured (run it under xvfb-run)\n");
        return 0;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    return runInApplication(argc, argv);
}
