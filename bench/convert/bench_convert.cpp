// Throughput of the conversions on a large document, and of a command that has nothing to change.

#include "bench/text/chars/bench_text.h"
#include "convert/conversion_commands.h"
#include "text/chars/convert.h"

#include "tests/support/fake_host.h"

#include <benchmark/benchmark.h>

using namespace orvane;

namespace {

void BM_Convert(benchmark::State &state)
{
    const auto kind = chars::ConversionKind(state.range(0));
    const QString text = bench::repeatedSampleLine(10'000'000);
    for (auto _ : state) {
        QString result = chars::convert(kind, text);
        benchmark::DoNotOptimize(result);
    }
    state.SetBytesProcessed(state.iterations() * text.size() * qsizetype(sizeof(char16_t)));
}
BENCHMARK(BM_Convert)
    ->ArgName("kind")
    ->Arg(int(chars::ConversionKind::Upper))
    ->Arg(int(chars::ConversionKind::Lower))
    ->Arg(int(chars::ConversionKind::Wide))
    ->Arg(int(chars::ConversionKind::Narrow))
    ->Arg(int(chars::ConversionKind::Katakana))
    ->Arg(int(chars::ConversionKind::Hiragana))
    ->Unit(benchmark::kMillisecond);

// A 50-million-unit text that is already wide: the command must find that out and stop.
void BM_WideChangeWithNothingToChange(benchmark::State &state)
{
    test::FakeHost fake;
    fake.edit.loadText(chars::convert(chars::ConversionKind::Wide, bench::repeatedSampleLine(50'000'000)));
    fake.document.setCurrentFile(fake.document.file());
    for (auto _ : state)
        WideChange_Click(fake.host);
    if (fake.document.isModified())
        state.SkipWithError("the text was not already wide");
    state.SetBytesProcessed(state.iterations() * fake.edit.text().size() * qsizetype(sizeof(char16_t)));
}
BENCHMARK(BM_WideChangeWithNothingToChange)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
