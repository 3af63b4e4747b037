// Selection changes on a document of 50 million UTF-16 units (about 100 MB of UTF-8), all of it
// selected or one character of it: Shift+Left, Shift+Right, Shift+click and Ctrl+A through the
// real event handling. Run it on X11 (e.g. under xvfb-run) to include the primary selection.

#include "host/qt/edit/scintilla_edit_control.h"

#include <Qsci/qsciscintilla.h>

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMouseEvent>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

using orvane::ScintillaEditControl;

QString makeDocument()
{
    const QString line = QStringLiteral(
        "日本語の文字列を変換するテキストエディタで、全角と半角、カタカナとひらがなを扱う。abc\r\n");
    QString text;
    text.reserve(50'000'000 + line.size());
    while (text.size() < 50'000'000)
        text.append(line);
    return text;
}

struct Fixture {
    Fixture()
    {
        control.widget()->resize(441, 282);
        control.widget()->show();
        control.loadText(makeDocument());
        QApplication::processEvents();
    }
    ScintillaEditControl control;
};

// Never destroyed: the application is gone by the time statics are.
Fixture &fixture()
{
    static Fixture *instance = new Fixture;
    return *instance;
}

// A key press and the repaint it causes.
void press(QWidget *widget, int key, Qt::KeyboardModifiers modifiers)
{
    QKeyEvent event(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(widget, &event);
    QApplication::processEvents();
}

// Selects all or one character, then measures one Shift+Left and one Shift+Right in turn.
void BM_ShiftArrow(benchmark::State &state)
{
    ScintillaEditControl &control = fixture().control;
    const bool all = state.range(0) != 0;
    control.setSelStart(all ? 0 : 1);
    control.setSelLength(all ? control.textLength() : 1);
    bool left = true;
    for (auto _ : state) {
        press(control.widget(), left ? Qt::Key_Left : Qt::Key_Right, Qt::ShiftModifier);
        left = !left;
    }
    state.counters["selected"] = double(control.selLength());
}
BENCHMARK(BM_ShiftArrow)->ArgName("all")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(20);

// Shift+click in the middle of the view, all of the text selected from its end.
void BM_ShiftClick(benchmark::State &state)
{
    ScintillaEditControl &control = fixture().control;
    QWidget *viewport = control.widget()->viewport();
    control.setSelStart(control.textLength());
    control.widget()->SendScintilla(QsciScintillaBase::SCI_SETSELECTIONNANCHOR, 0L, 0L);
    const QPointF at(viewport->width() / 2, viewport->height() / 2);
    for (auto _ : state) {
        QMouseEvent press(QEvent::MouseButtonPress, at, viewport->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::ShiftModifier);
        QApplication::sendEvent(viewport, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, viewport->mapToGlobal(at), Qt::LeftButton,
                            Qt::NoButton, Qt::ShiftModifier);
        QApplication::sendEvent(viewport, &release);
        QApplication::processEvents();
    }
    state.counters["selected"] = double(control.selLength());
}
BENCHMARK(BM_ShiftClick)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_SelectAll(benchmark::State &state)
{
    ScintillaEditControl &control = fixture().control;
    for (auto _ : state) {
        state.PauseTiming();
        control.setSelStart(0);
        state.ResumeTiming();
        press(control.widget(), Qt::Key_A, Qt::ControlModifier);
    }
    state.counters["selected"] = double(control.selLength());
}
BENCHMARK(BM_SelectAll)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    if (!QApplication::clipboard()->supportsSelection())
        std::fprintf(stderr, "No primary selection on this platform: its cost is not measured.\n");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
