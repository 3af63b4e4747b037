// What the journal adds to the edit control on a document of 50 million UTF-16 units (about
// 100 MB on disk in Shift-JIS): a key typed near the end and a whole-text conversion, each without
// (journal 0) and with (journal 1) a journal in the same run; the hash of a 100 MB file, which the
// journal's thread computes after Open, off the UI thread.

#include "bench/support/japanese_document.h"
#include "bench/support/peak_memory.h"
#include "bench/support/run_in_application.h"
#include "host/files/disk_text_files.h"
#include "host/qt/edit/scintilla_edit_control.h"
#include "journal/fast_hash.h"
#include "journal/file_identity.h"
#include "journal/journal.h"
#include "journal/journal_format.h"
#include "journal/journal_replay.h"
#include "journal/pending_journal.h"
#include "text/chars/conversion_kind.h"
#include "text/chars/convert.h"

#include <Qsci/qsciscintilla.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

namespace {

using namespace orvane;

constexpr qsizetype documentUnits = 50'000'000;

// The edit-control benchmark's document.
const QString &document()
{
    static const QString text = bench::japaneseLines(documentUnits);
    return text;
}

void paint(QWidget *widget)
{
    widget->repaint();
    QApplication::processEvents();
}

// The control with the document loaded; with a journal when asked, begun as Open begins it.
struct Fixture {
    explicit Fixture(bool withJournal)
    {
        control.widget()->resize(441, 282);
        control.widget()->show();
        control.loadText(document());
        if (withJournal) {
            journal = std::make_unique<journal::Journal>(folder.path());
            control.setRecorder(journal.get());
            journal->startDocument({}, control.byteFromUtf16(control.utf16Length()));
        }
        paint(control.widget());
    }
    QTemporaryDir folder;
    ScintillaEditControl control;
    std::unique_ptr<journal::Journal> journal;
};

void BM_TypeKeyNearEnd(benchmark::State &state)
{
    Fixture fixture(state.range(0));
    fixture.control.setSelStart(document().size() - 500);
    QTest::keyClick(fixture.control.widget(), Qt::Key_A); // the journal file is made here
    paint(fixture.control.widget());
    for (auto _ : state) {
        QTest::keyClick(fixture.control.widget(), Qt::Key_A);
        paint(fixture.control.widget());
    }
}
BENCHMARK(BM_TypeKeyNearEnd)->ArgName("journal")->DenseRange(0, 1)->Unit(benchmark::kMicrosecond);

void BM_ConvertWholeText(benchmark::State &state)
{
    Fixture fixture(state.range(0));
    for (auto _ : state) {
        const QString converted = chars::convert(chars::ConversionKind::Katakana, fixture.control.text());
        fixture.control.setConvertedText(converted, chars::ConversionKind::Katakana);
        paint(fixture.control.widget());
        state.PauseTiming();
        fixture.control.undo();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ConvertWholeText)
    ->ArgName("journal")
    ->DenseRange(0, 1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// The journal's own part of a key: one record appended with one write, the sync thread told.
void BM_JournalRecordsOneKey(benchmark::State &state)
{
    QTemporaryDir folder;
    journal::Journal journal(folder.path());
    journal.startDocument({}, 0);
    qint64 position = 0;
    for (auto _ : state)
        journal.inserting(position++, "a");
}
BENCHMARK(BM_JournalRecordsOneKey)->Unit(benchmark::kMicrosecond);

void BM_HashOf100MB(benchmark::State &state)
{
    const QByteArray bytes(100 * 1000 * 1000, 'x');
    for (auto _ : state)
        benchmark::DoNotOptimize(journal::fastHash(bytes));
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_HashOf100MB)->Unit(benchmark::kMillisecond);

double peakMegabytes() { return double(bench::peakRssBytes()) / (1024 * 1024); }

// The base kept from the bytes Open read, as the journal's thread writes it at the first edit:
// size in MB; 0 UTF-8 (written as it is), 1 Shift-JIS (encoded again a block at a time).
void BM_KeepBaseFromMemory(benchmark::State &state)
{
    const qsizetype size = qsizetype(state.range(0)) * 1000 * 1000;
    QByteArray utf8(size, 'a');
    qsizetype characters = 0;
    for (qsizetype i = 0; i + 3 <= size; i += 30, ++characters)
        std::memcpy(utf8.data() + i, "\xe3\x81\x82", 3); // あ
    journal::FileBytes base;
    base.encoding = state.range(1) ? codec::TextEncoding::ShiftJis : codec::TextEncoding::Utf8;
    base.utf8 = utf8;
    QTemporaryDir folder;
    const QString kept = folder.filePath(QStringLiteral("kept"));
    journal::FileVersion expected;
    bench::resetPeakRss();
    const double before = peakMegabytes();
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(kept);
        state.ResumeTiming();
        expected.size = base.encoding == codec::TextEncoding::Utf8 ? size : size - characters;
        if (!journal::keepBytes(base, kept, expected))
            state.SkipWithError("not kept");
    }
    state.counters["extra_peak_MB"] = peakMegabytes() - before;
}
BENCHMARK(BM_KeepBaseFromMemory)
    ->ArgNames({"MB", "sjis"})
    ->Args({100, 0})
    ->Args({100, 1})
    ->Args({1000, 0})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

// The check before 上書き保存: the file's size and time, and its hash when only the time changed.
void BM_SaveTimeCheck(benchmark::State &state)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("doc.txt"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(QByteArray(100 * 1000 * 1000, 'x'));
    file.close();
    DiskTextFiles files;
    for (auto _ : state)
        benchmark::DoNotOptimize(files.stampOf(path, state.range(0)));
}
BENCHMARK(BM_SaveTimeCheck)->ArgName("hash")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// What Open adds for the check: the hash of the 100 MB it read.
void BM_ReadHashOf100MB(benchmark::State &state)
{
    const QByteArray bytes(100 * 1000 * 1000, 'x');
    for (auto _ : state)
        benchmark::DoNotOptimize(qHashBits(bytes.constData(), size_t(bytes.size())));
}
BENCHMARK(BM_ReadHashOf100MB)->Unit(benchmark::kMillisecond);

// Start-up with a folder holding a journal of 1 GB (1000 records of 1 MB pastes): taken and read
// a record at a time; then its replay, which holds the text it gives back.
void BM_StartWithJournalOf1GB(benchmark::State &state)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("20260101-000000-1-0.journal"));
    {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        QByteArray bytes = journal::journalHeader();
        journal::appendRecord(bytes, journal::Origin {});
        file.write(bytes);
        const QByteArray paste(1000 * 1000, 'p');
        for (int i = 0; i < 1000; ++i) {
            bytes.resize(0);
            journal::appendInsert(bytes, 0, paste);
            file.write(bytes);
        }
    }
    bench::resetPeakRss();
    const double before = peakMegabytes();
    double scanPeak = 0;
    for (auto _ : state) {
        QList<journal::PendingJournal> pending = journal::takePendingJournals(folder.path());
        scanPeak = peakMegabytes() - before;
        if (state.range(0)) {
            const std::unique_ptr<journal::ByteSource> source = pending.first().source();
            journal::JournalReader reader(*source);
            benchmark::DoNotOptimize(journal::replay(reader, {}).text.size());
        }
    }
    state.counters["start_peak_MB"] = scanPeak;
    state.counters["peak_MB"] = peakMegabytes() - before;
}
BENCHMARK(BM_StartWithJournalOf1GB)
    ->ArgName("replay")
    ->DenseRange(0, 1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

} // namespace

int main(int argc, char **argv)
{
    return bench::runInApplication(argc, argv, [] { document(); });
}
