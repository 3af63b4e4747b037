// Opening and saving a 100 MB Japanese file: reading and decoding alone as the floor, the disk
// text files, and the Open and Save commands around an edit control that only keeps the text.
// Runs with argument 0 use the code page 932 file, 1 the same text in UTF-8, 2 the code page 932
// file with LF line ends, 3 with mixed line ends.
// peak_x_file is the resident memory a run added at its peak, over the file's size.

#include "bench_corpus.h"

#include "bench/support/run_benchmarks.h"

#include "files/file_commands.h"
#include "host/files/disk_text_files.h"
#include "text/codec/cp932.h"

#include <QFile>

#include <benchmark/benchmark.h>

using namespace orvane;
using namespace orvane::bench;

namespace {

class SinkEditControl final : public EditControl {
public:
    QString text() const override { return m_text; }
    void setText(const QString &text) override { m_text = text; }
    void loadText(const QString &text) override { m_text = text; }
    void loadUtf8(const QByteArray &utf8, qsizetype) override { m_utf8 = utf8; }
    qsizetype selStart() const override { return 0; }
    qsizetype selLength() const override { return 0; }
    QString selText() const override { return {}; }
    void setSelText(const QString &) override { }
    void setSelStart(qsizetype) override { }
    void setSelLength(qsizetype) override { }
    void undo() override { }
    void setLineEnd(codec::LineEnd) override { }
    void setChangeHandler(std::function<void()>) override { }

private:
    QString m_text;
    QByteArray m_utf8;
};

struct PeakMemory {
    explicit PeakMemory(int which = 0)
        : fileSize(corpusSize(which))
    {
        resetPeakRss();
        start = currentRssBytes();
    }
    void report(benchmark::State &state, int which = 0) const
    {
        state.SetLabel(corpusName(which));
        const double added = double(peakRssBytes() - start);
        state.counters["peak_MB"] = added / 1e6;
        state.counters["peak_x_file"] = added / double(fileSize);
        state.SetBytesProcessed(state.iterations() * fileSize);
    }
    qint64 fileSize;
    qint64 start;
};

void BM_ReadAndDecodeOnly(benchmark::State &state)
{
    const PeakMemory memory;
    for (auto _ : state) {
        QFile file(corpusPath());
        if (!file.open(QIODevice::ReadOnly))
            state.SkipWithError("cannot open the corpus");
        const QByteArray bytes = file.readAll();
        QString text;
        codec::cp932::decode(bytes, text);
        benchmark::DoNotOptimize(text.constData());
    }
    memory.report(state);
}

void BM_DiskReadText(benchmark::State &state)
{
    const int which = int(state.range(0));
    const PeakMemory memory(which);
    DiskTextFiles files;
    for (auto _ : state) {
        const LoadedText loaded = files.readText(corpusPath(which));
        benchmark::DoNotOptimize(loaded.text.constData());
        benchmark::DoNotOptimize(loaded.utf8.constData());
    }
    memory.report(state, which);
}

void BM_OpenCommand(benchmark::State &state)
{
    const int which = int(state.range(0));
    const PeakMemory memory(which);
    DiskTextFiles files;
    for (auto _ : state) {
        SinkEditControl edit;
        FixedDialog dialog(corpusPath(which));
        NoMessageBox messages;
        NoClipboard clipboard;
        QuietProgram program;
        Document document;
        Host host {edit, dialog, messages, clipboard, files, program, document};
        OpenMenu_Click(host);
        benchmark::DoNotOptimize(edit.text().constData());
    }
    memory.report(state, which);
}

// The UTF-16 text as the edit control gives it, encoded and written.
void BM_DiskWriteText(benchmark::State &state)
{
    const int which = int(state.range(0));
    DiskTextFiles files;
    const LoadedText loaded = files.readText(corpusPath(which));
    const QString text = loaded.decoded();
    const QString target = scratchPath(QStringLiteral("written.txt"));
    const PeakMemory memory(which);
    for (auto _ : state)
        files.writeText(target, text, loaded.encoding, {loaded.lineEnds.last, &loaded.codes});
    memory.report(state, which);
    QFile::remove(target);
}

void BM_SaveCommand(benchmark::State &state)
{
    const int which = int(state.range(0));
    DiskTextFiles files;
    SinkEditControl edit;
    const LoadedText loaded = files.readText(corpusPath(which));
    edit.loadText(loaded.decoded());
    const QString target = scratchPath(QStringLiteral("saved.txt"));
    const PeakMemory memory(which);
    for (auto _ : state) {
        FixedDialog dialog(target);
        NoMessageBox messages;
        NoClipboard clipboard;
        QuietProgram program;
        Document document;
        document.setCurrentFile(FileIdentity {target, loaded.encoding, loaded.lineEnds, loaded.codes});
        document.markModified();
        Host host {edit, dialog, messages, clipboard, files, program, document};
        SaveMenu_Click(host);
        if (document.isModified())
            state.SkipWithError("not saved");
    }
    memory.report(state, which);
    QFile::remove(target);
}

BENCHMARK(BM_ReadAndDecodeOnly)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_DiskReadText)->Unit(benchmark::kMillisecond)->Iterations(5)->DenseRange(0, 3);
BENCHMARK(BM_OpenCommand)->Unit(benchmark::kMillisecond)->Iterations(5)->DenseRange(0, 3);
BENCHMARK(BM_DiskWriteText)->Unit(benchmark::kMillisecond)->Iterations(5)->DenseRange(0, 3);
BENCHMARK(BM_SaveCommand)->Unit(benchmark::kMillisecond)->Iterations(5)->DenseRange(0, 3);

} // namespace

int main(int argc, char **argv)
{
    corpusPath(3); // all written before any timing
    std::printf("corpus %lld bytes\n", static_cast<long long>(corpusSize()));
    return runBenchmarks(argc, argv, PeakReport::On);
}
