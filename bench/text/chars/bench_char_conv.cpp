// Throughput of the six conversions in bytes of UTF-16 input a second, against a plain copy of the
// same buffer measured in the same run.

#include "bench_text.h"
#include "text/chars/convert.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

constexpr qsizetype kLength = 4 * 1024 * 1024; // units: 8 MB, more than the caches hold

const QString &sample(int which)
{
    static const QString japanese = orvane::bench::japaneseText(kLength);
    static const QString ascii = orvane::bench::asciiText(kLength);
    static const QString fullWidthOnly = orvane::bench::japaneseText(kLength, false);
    return which == 0 ? japanese : which == 1 ? ascii : fullWidthOnly;
}

void setLabel(benchmark::State &state)
{
    static const char *const labels[] = {"japanese", "ascii", "japanese without half-width"};
    state.SetLabel(labels[state.range(0)]);
    state.SetBytesProcessed(int64_t(state.iterations()) * kLength * 2);
}

void BM_Copy(benchmark::State &state)
{
    const QString &text = sample(int(state.range(0)));
    std::vector<char16_t> buffer(size_t(text.size()));
    for (auto _ : state) {
        std::memcpy(buffer.data(), text.utf16(), size_t(text.size()) * sizeof(char16_t));
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    }
    setLabel(state);
}

template <orvane::chars::ConversionKind kind> void BM_Convert(benchmark::State &state)
{
    const QString &text = sample(int(state.range(0)));
    const QString probe = orvane::chars::convert(kind, text);
    state.counters["changed"] = probe.constData() != text.constData();
    for (auto _ : state) {
        QString result = orvane::chars::convert(kind, text);
        benchmark::DoNotOptimize(result.constData());
    }
    setLabel(state);
}

} // namespace

BENCHMARK(BM_Copy)->Arg(0)->Arg(1)->Arg(2);
BENCHMARK(BM_Convert<orvane::chars::ConversionKind::Upper>)->Name("Upper")->Arg(0)->Arg(1)->Arg(2);
BENCHMARK(BM_Convert<orvane::chars::ConversionKind::Lower>)->Name("Lower")->Arg(0)->Arg(1)->Arg(2);
BENCHMARK(BM_Convert<orvane::chars::ConversionKind::Wide>)->Name("Wide")->Arg(0)->Arg(1)->Arg(2);
BENCHMARK(BM_Convert<orvane::chars::ConversionKind::Narrow>)->Name("Narrow")->Arg(0)->Arg(1)->Arg(2);
BENCHMARK(BM_Convert<orvane::chars::ConversionKind::Katakana>)->Name("Katakana")->Arg(0)->Arg(1)->Arg(2);
BENCHMARK(BM_Convert<orvane::chars::ConversionKind::Hiragana>)->Name("Hiragana")->Arg(0)->Arg(1)->Arg(2);

BENCHMARK_MAIN();
