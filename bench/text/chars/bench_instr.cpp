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

// InStr from the first character until the sought string, which must be found at `expected`.
void timeInStr(benchmark::State &state, const QString &sought, CompareMode mode, qsizetype expected)
{
    const QString &t = text();
    qsizetype found = 0;
    for (auto _ : state) {
        found = orvane::chars::InStr(1, t, sought, mode).position;
        benchmark::DoNotOptimize(found);
    }
    if (found != expected)
        state.SkipWithError("wrong match");
    state.SetBytesProcessed(int64_t(state.iterations()) * kLength * 2);
}

void BM_BinaryNearEnd(benchmark::State &state)
{
    timeInStr(state, u"ｵﾙｳﾞｧﾝ Search"_qs, CompareMode::Binary, kLength - 999);
}

void BM_TextNearEnd(benchmark::State &state)
{
    timeInStr(state, u"おるゔぁん　ＳＥＡＲＣＨ"_qs, CompareMode::Text, kLength - 999);
}

// A first character that occurs everywhere: every の is a candidate.
void BM_TextCommonFirstCharacter(benchmark::State &state)
{
    timeInStr(state, u"のＸ"_qs, CompareMode::Text, 0);
}

} // namespace

BENCHMARK(BM_BinaryNearEnd)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextNearEnd)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextCommonFirstCharacter)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
