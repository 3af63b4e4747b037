// すべて置換 on the 100 MB Japanese corpus (about 1.3 million 。) in each compare mode and with a
// regular expression of the same matches, beside a whole-text conversion (全角) in the same run,
// each through the real edit control until it has painted; and one 置換 (replace and find next)
// near the end of the text. peak_x_text is the resident memory a command added at its peak, over
// the text's size in UTF-8 (what the control holds).

#include "bench/files/bench_corpus.h"
#include "bench/support/run_in_application.h"

#include "convert/conversion_commands.h"
#include "host/files/disk_text_files.h"
#include "host/qt/edit/scintilla_edit_control.h"
#include "search/replace_commands.h"

#include <Qsci/qsciscintilla.h>

#include <benchmark/benchmark.h>

using namespace orvane;
using namespace orvane::bench;

namespace {

const QString &corpusText()
{
    static const QString text = DiskTextFiles().readText(corpusPath()).decoded();
    return text;
}

// The edit control in a window, and the host around it.
struct Window {
    ScintillaEditControl control;
    FixedDialog dialog {QString()};
    NoMessageBox messages;
    NoClipboard clipboard;
    DiskTextFiles files;
    QuietProgram program;
    Document document;
    Host host {control, dialog, messages, clipboard, files, program, document};

    Window()
    {
        control.widget()->resize(800, 600);
        control.widget()->show();
        control.loadText(corpusText());
        control.setChangeHandler([this] { document.markModified(); });
        QCoreApplication::processEvents();
    }
    void paint()
    {
        control.widget()->viewport()->repaint();
        QCoreApplication::processEvents();
    }
};

enum Command { WideConversion, TextReplace, BinaryReplace, RegexReplace, RegexTextReplace };

const char *commandName(int command)
{
    static const char *const names[] = {"全角 conversion", "すべて置換 text", "すべて置換 binary",
                                        "すべて置換 regex", "すべて置換 regex, text"};
    return names[command];
}

ReplaceSettings settingsFor(int command)
{
    ReplaceSettings settings {u"。"_qs, u"．"_qs, command == BinaryReplace || command == RegexReplace,
                              command >= RegexReplace, false};
    if (command >= RegexReplace)
        settings.pattern = u"(。)"_qs;
    return settings;
}

void BM_WholeTextUntilPainted(benchmark::State &state)
{
    const int command = int(state.range(0));
    double peak = 0;
    qsizetype replaced = 0;
    bool unchanged = false;
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<Window>();
        resetPeakRss();
        const qint64 start = currentRssBytes();
        state.ResumeTiming();

        if (command == WideConversion)
            WideChange_Click(window->host);
        else
            replaced = replaceAllMatches(window->host, settingsFor(command)).replaced;
        window->paint();

        state.PauseTiming();
        peak = std::max(peak, double(peakRssBytes() - start));
        unchanged = unchanged || !window->document.isModified();
        window.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    if (unchanged)
        state.SkipWithError("nothing changed");
    state.counters["matches"] = double(replaced);
    state.counters["peak_MB"] = peak / 1e6;
    state.counters["peak_x_text"] = peak / double(corpusText().toUtf8().size());
    state.SetLabel(commandName(command));
}

// 置換 with the second-to-last 。 selected: it is replaced and the last one selected.
void BM_ReplaceOneNearTheEnd(benchmark::State &state)
{
    const int command = int(state.range(0));
    Window window;
    const qsizetype last = corpusText().lastIndexOf(u'。');
    const qsizetype secondLast = corpusText().lastIndexOf(u'。', last - 1);
    bool failed = false;
    for (auto _ : state) {
        state.PauseTiming();
        window.control.setSelStart(secondLast);
        window.control.setSelLength(1);
        state.ResumeTiming();

        const ReplaceOutcome outcome = replaceMatch(window.host, settingsFor(command));
        window.paint();

        state.PauseTiming();
        failed = failed || outcome.replaced != 1 || !outcome.found || window.control.selStart() != last;
        window.control.undo();
        state.ResumeTiming();
    }
    if (failed)
        state.SkipWithError("not replaced and found");
    state.SetLabel(commandName(command));
}

BENCHMARK(BM_WholeTextUntilPainted)->Unit(benchmark::kMillisecond)->Iterations(3)->DenseRange(0, 4);
BENCHMARK(BM_ReplaceOneNearTheEnd)->Unit(benchmark::kMillisecond)->Iterations(20)->DenseRange(1, 4);

} // namespace

int main(int argc, char **argv)
{
    return runInApplication(
        argc, argv, [] { corpusText(); }, PeakReport::On); // read before any timing
}
