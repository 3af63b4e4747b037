// One click on Search in a 50 million character document whose only match lies near the end,
// through the in-memory edit control and through the QScintilla one (which searches its UTF-8
// bytes in place for a binary comparison and reads the text back for a text comparison).

#include "search/forward_search.h"

#include "bench/support/run_in_application.h"

#include "text/chars/instr.h"

#include "tests/support/fake_host.h"

#ifdef ORVANE_BENCH_SCINTILLA
#include "host/qt/edit/scintilla_edit_control.h"
#endif

#include <benchmark/benchmark.h>

#include <memory>

using namespace orvane;
using namespace orvane::test;

namespace {

constexpr qsizetype documentLength = 50'000'000;

// Japanese prose with ASCII and half-width katakana, CR LF line ends; the sought string goes near
// the end. "common prefix" makes the search's first character occur on every line.
QString document(const QString &sought)
{
    const QString line = QStringLiteral("日本語の文章とASCII text 12345、ｶﾀｶﾅとひらがなの行です。\r\n");
    QString text;
    text.reserve(documentLength);
    while (text.size() + line.size() < documentLength - 1000)
        text += line;
    text += sought;
    while (text.size() + line.size() <= documentLength)
        text += line;
    text += QString(documentLength - text.size(), QLatin1Char('x'));
    return text;
}

struct Case {
    const char16_t *sought;
    bool option1;
};

const Case cases[] = {
    {u"探している語句", true}, // binary, rare first character
    {u"探している語句", false}, // text comparison
    {u"日本語の探し物", true}, // binary, first characters on every line
    {u"日本語の探し物", false}, // text comparison, first characters on every line
};

void setLabel(benchmark::State &state, const Case &c)
{
    state.SetLabel(QString::fromUtf16(c.sought).toStdString() + (c.option1 ? " binary" : " text"));
}

void searchInMemory(benchmark::State &state)
{
    const Case &c = cases[state.range(0)];
    const QString sought = QString::fromUtf16(c.sought);
    FakeHost fake;
    fake.edit.loadText(document(sought));
    const SearchSettings settings {sought, false, c.option1};
    for (auto _ : state) {
        fake.edit.select(0, 0);
        benchmark::DoNotOptimize(forwardSearch(fake.host, settings));
    }
    if (fake.edit.selLength() == 0)
        state.SkipWithError("the string was not found");
    setLabel(state, c);
}
BENCHMARK(searchInMemory)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

#ifdef ORVANE_BENCH_SCINTILLA
void searchInScintilla(benchmark::State &state)
{
    const Case &c = cases[state.range(0)];
    const QString sought = QString::fromUtf16(c.sought);
    FakeHost fake;
    ScintillaEditControl control;
    control.loadText(document(sought));
    Host host {control,        fake.dialog,  fake.messages, fake.clipboard,
               fake.textFiles, fake.program, fake.document};
    const SearchSettings settings {sought, false, c.option1};
    for (auto _ : state) {
        control.setSelStart(0);
        benchmark::DoNotOptimize(forwardSearch(host, settings));
    }
    if (control.selLength() == 0)
        state.SkipWithError("the string was not found");
    setLabel(state, c);
}
BENCHMARK(searchInScintilla)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

// The binary search as it was before the control searched its own bytes: the text read back
// into UTF-16, then InStr. Kept for comparison with searchInScintilla's binary rows.
void readBackAndInStrInScintilla(benchmark::State &state)
{
    const Case &c = cases[state.range(0)];
    const QString sought = QString::fromUtf16(c.sought);
    ScintillaEditControl control;
    control.loadText(document(sought));
    for (auto _ : state)
        benchmark::DoNotOptimize(chars::InStr(1, control.text(), sought, chars::CompareMode::Binary));
    setLabel(state, c);
}
BENCHMARK(readBackAndInStrInScintilla)->Arg(0)->Arg(2)->Unit(benchmark::kMillisecond);
#endif

} // namespace

int main(int argc, char **argv) { return orvane::bench::runInApplication(argc, argv); }
