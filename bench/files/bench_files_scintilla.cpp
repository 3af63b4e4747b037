// The whole Open of a 100 MB Japanese file into the real edit control, until its first paint on the
// offscreen platform: argument 0 the code page 932 file, 1 the same text in UTF-8, 2 the code page
// 932 file with LF line ends, 3 with mixed line ends.
// peak_x_file is the resident memory a run added at its peak, over the file's size.

#include "bench_corpus.h"

#include "bench/support/run_in_application.h"

#include "files/file_commands.h"
#include "host/files/disk_text_files.h"
#include "host/qt/edit/scintilla_edit_control.h"

#include <Qsci/qsciscintilla.h>

#include <benchmark/benchmark.h>

using namespace orvane;
using namespace orvane::bench;

namespace {

// The edit control in a window of its own, shown.
std::unique_ptr<ScintillaEditControl> shownControl()
{
    auto control = std::make_unique<ScintillaEditControl>();
    control->widget()->resize(800, 600);
    control->widget()->show();
    QCoreApplication::processEvents();
    return control;
}

void paintNow(ScintillaEditControl &control)
{
    control.widget()->viewport()->repaint();
    QCoreApplication::processEvents();
}

void BM_OpenIntoScintillaUntilPainted(benchmark::State &state)
{
    const int which = int(state.range(0));
    DiskTextFiles files;
    double peak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto control = shownControl();
        FixedDialog dialog(corpusPath(which));
        NoMessageBox messages;
        NoClipboard clipboard;
        QuietProgram program;
        Document document;
        Host host {*control, dialog, messages, clipboard, files, program, document};
        resetPeakRss();
        const qint64 start = currentRssBytes();
        state.ResumeTiming();

        OpenMenu_Click(host);
        paintNow(*control);

        state.PauseTiming();
        peak = std::max(peak, double(peakRssBytes() - start));
        if (control->utf16Length() == 0)
            state.SkipWithError("nothing loaded");
        control.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["peak_MB"] = peak / 1e6;
    state.counters["peak_x_file"] = peak / double(corpusSize(which));
    state.SetLabel(corpusName(which));
}

// The edit control's share of the Open: the decoded text loaded and painted.
void BM_LoadTextIntoScintillaUntilPainted(benchmark::State &state)
{
    const QString text = DiskTextFiles().readText(corpusPath()).decoded();
    for (auto _ : state) {
        state.PauseTiming();
        auto control = shownControl();
        state.ResumeTiming();

        control->loadText(text);
        paintNow(*control);

        state.PauseTiming();
        control.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}

BENCHMARK(BM_OpenIntoScintillaUntilPainted)->Unit(benchmark::kMillisecond)->Iterations(3)->DenseRange(0, 3);
BENCHMARK(BM_LoadTextIntoScintillaUntilPainted)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    const auto prepare = [] {
        // The edit control's text measurement as the library had it, for a comparison run.
        if (qEnvironmentVariableIsSet("ORVANE_STOCK_TEXT_MEASUREMENT"))
            QsciScintillaBase::setStockTextMeasurement(true);
        corpusPath(3); // all written before any timing
    };
    return runInApplication(argc, argv, prepare, PeakReport::On);
}
