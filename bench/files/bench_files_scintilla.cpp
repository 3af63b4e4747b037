// The whole Open of a 100 MB Japanese file into the real edit control, until its first paint on the
// offscreen platform: argument 0 the code page 932 file, 1 the same text in UTF-8.
// peak_x_file is the resident memory a run added at its peak, over the file's size.

#include "bench_corpus.h"

#include "files/file_commands.h"
#include "host/files/disk_text_files.h"
#include "host/qt/edit/scintilla_edit_control.h"

#include <QApplication>
#include <Qsci/qsciscintilla.h>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

using namespace orvane;
using namespace orvane::bench;

namespace {

void BM_OpenIntoScintillaUntilPainted(benchmark::State &state)
{
    const int which = int(state.range(0));
    DiskTextFiles files;
    double peak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto control = std::make_unique<ScintillaEditControl>();
        control->widget()->resize(800, 600);
        control->widget()->show();
        QCoreApplication::processEvents();
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
        control->widget()->viewport()->repaint();
        QCoreApplication::processEvents();

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
}

// The edit control's share of the Open: the decoded text loaded and painted.
void BM_LoadTextIntoScintillaUntilPainted(benchmark::State &state)
{
    const QString text = DiskTextFiles().readText(corpusPath()).text;
    for (auto _ : state) {
        state.PauseTiming();
        auto control = std::make_unique<ScintillaEditControl>();
        control->widget()->resize(800, 600);
        control->widget()->show();
        QCoreApplication::processEvents();
        state.ResumeTiming();

        control->loadText(text);
        control->widget()->viewport()->repaint();
        QCoreApplication::processEvents();

        state.PauseTiming();
        control.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}

BENCHMARK(BM_OpenIntoScintillaUntilPainted)->Unit(benchmark::kMillisecond)->Iterations(3)->Arg(0)->Arg(1);
BENCHMARK(BM_LoadTextIntoScintillaUntilPainted)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The edit control's text measurement as the library had it, for a comparison run.
    if (qEnvironmentVariableIsSet("ORVANE_STOCK_TEXT_MEASUREMENT"))
        QsciScintillaBase::setStockTextMeasurement(true);
    utf8CorpusPath();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak RSS of the whole run %.1f MB\n", double(usage.ru_maxrss) / 1024.0);
    return 0;
}
