// InStr on 50 million characters with the only match near the end: binary, and text comparison
// with the sought string in another width, kana and case than the text holds it.

#include "bench_text.h"
#include "text/chars/instr.h"

#include <benchmark/benchmark.h>

namespace {

using orvane::chars::CompareMode;

constexpr qsizetype kLength = 50'000'000;

const QString &text()
{
    static const QString t = [] {
        QString s = orvane::bench::japaneseText(kLength);
        s.replace(kLength - 1000, 13, u"ｵﾙｳﾞｧﾝ Search"_qs);
        return s;
    }();
    return t;
}

void report(benchmark::State &state, qsizetype expected, qsizetype found)
{
    if (found != expected)
        state.SkipWithError("wrong match");
    state.SetBytesProcessed(int64_t(state.iterations()) * kLength * 2);
}

void BM_BinaryNearEnd(benchmark::State &state)
{
    const QString &t = text();
    const QString sought = u"ｵﾙｳﾞｧﾝ Search"_qs;
    qsizetype found = 0;
    for (auto _ : state) {
        found = orvane::chars::InStr(1, t, sought, CompareMode::Binary).position;
        benchmark::DoNotOptimize(found);
    }
    report(state, kLength - 999, found);
}

void BM_TextNearEnd(benchmark::State &state)
{
    const QString &t = text();
    const QString sought = u"おるゔぁん　ＳＥＡＲＣＨ"_qs;
    qsizetype found = 0;
    for (auto _ : state) {
        found = orvane::chars::InStr(1, t, sought, CompareMode::Text).position;
        benchmark::DoNotOptimize(found);
    }
    report(state, kLength - 999, found);
}

// A first character that occurs everywhere: every の is a candidate.
void BM_TextCommonFirstCharacter(benchmark::State &state)
{
    const QString &t = text();
    const QString sought = u"のＸ"_qs;
    qsizetype found = 0;
    for (auto _ : state) {
        found = orvane::chars::InStr(1, t, sought, CompareMode::Text).position;
        benchmark::DoNotOptimize(found);
    }
    report(state, 0, found);
}

} // namespace

BENCHMARK(BM_BinaryNearEnd)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextNearEnd)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextCommonFirstCharacter)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
