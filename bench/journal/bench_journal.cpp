// What the journal adds to the edit control on a document of 50 million UTF-16 units (about
// 100 MB on disk in Shift-JIS): a key typed near the end and a whole-text conversion, each without
// (journal 0) and with (journal 1) a journal in the same run; the hash of a 100 MB file, which the
// journal's thread computes after Open, off the UI thread.

#include "host/qt/edit/scintilla_edit_control.h"
#include "journal/fast_hash.h"
#include "journal/journal.h"
#include "text/chars/convert.h"

#include <Qsci/qsciscintilla.h>

#include <QApplication>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

namespace {

using namespace orvane;

constexpr qsizetype documentUnits = 50'000'000;

// Lines of 40 to 80 characters: hiragana, kanji, katakana and a little ASCII.
const QString &document()
{
    static const QString text = [] {
        const QString kanji = QStringLiteral("日本語文字列変換漢字仮名全角半角検索置換保存開始終了編集表示");
        QRandomGenerator random(42);
        QString text;
        text.reserve(documentUnits + 100);
        while (text.size() < documentUnits) {
            const int length = 40 + int(random.bounded(41));
            for (int i = 0; i < length; ++i) {
                const quint32 kind = random.bounded(100);
                if (kind < 45)
                    text.append(QChar(char16_t(u'ぁ' + random.bounded(83))));
                else if (kind < 75)
                    text.append(kanji[random.bounded(int(kanji.size()))]);
                else if (kind < 90)
                    text.append(QChar(char16_t(u'ァ' + random.bounded(86))));
                else
                    text.append(QChar(char16_t(u'a' + random.bounded(26))));
            }
            text.append(u"\r\n");
        }
        return text;
    }();
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
BENCHMARK(BM_TypeKeyNearEnd)->ArgName("journal")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_ConvertWholeText(benchmark::State &state)
{
    Fixture fixture(state.range(0));
    for (auto _ : state) {
        const QString converted = convert(ConversionKind::Katakana, fixture.control.text());
        fixture.control.setConvertedText(converted, ConversionKind::Katakana);
        paint(fixture.control.widget());
        state.PauseTiming();
        fixture.control.undo();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ConvertWholeText)
    ->ArgName("journal")
    ->Arg(0)
    ->Arg(1)
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

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    document();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
