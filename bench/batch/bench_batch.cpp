// Throughput of orvane-conv's conversion of bytes to bytes, one input in memory and streamed.

#include "batch/batch_conversion.h"
#include "batch/memory_streams.h"
#include "batch/stream_conversion.h"
#include "bench/text/chars/bench_text.h"
#include "text/codec/cp932.h"

#include <benchmark/benchmark.h>

using namespace orvane;

namespace {

void BM_BatchCp932Wide(benchmark::State &state)
{
    QByteArray input;
    if (!codec::cp932::encode(bench::repeatedSampleLine(5'000'000), input)) {
        state.SkipWithError("the sample text is not storable in code page 932");
        return;
    }
    batch::BatchArguments arguments;
    arguments.kinds = {chars::ConversionKind::Wide};
    for (auto _ : state) {
        batch::BatchResult result = batch::convertBytes(arguments, input);
        benchmark::DoNotOptimize(result);
    }
    state.SetBytesProcessed(state.iterations() * input.size());
}
BENCHMARK(BM_BatchCp932Wide)->Unit(benchmark::kMillisecond);

void BM_BatchUtf8Validation(benchmark::State &state)
{
    const QByteArray input = bench::repeatedSampleLine(5'000'000).toUtf8();
    batch::BatchArguments arguments;
    arguments.from = arguments.to = codec::TextEncoding::Utf8;
    for (auto _ : state) {
        batch::BatchResult result = batch::convertBytes(arguments, input);
        benchmark::DoNotOptimize(result);
    }
    state.SetBytesProcessed(state.iterations() * input.size());
}
BENCHMARK(BM_BatchUtf8Validation)->Unit(benchmark::kMillisecond);

class NullSink final : public batch::ByteSink {
public:
    void write(QByteArrayView bytes) override { benchmark::DoNotOptimize(bytes.data()); }
};

// orvane-conv's streaming conversion of 40 MB of Japanese code page 932 text from memory, in its
// default blocks: the byte map (wide, narrow, to UTF-8) and the way through UTF-16 (two kinds, UTF-16).
void BM_StreamCp932(benchmark::State &state)
{
    const QString line = QStringLiteral(
        "吾輩は猫である。名前はまだ無い。会議は午前１０時から第３会議室で行います。ﾃﾞｰﾀ ABC\r\n");
    QString text;
    while (text.size() < 20'000'000)
        text += line;
    QByteArray input;
    codec::cp932::encode(text, input);
    batch::StreamOptions options;
    switch (state.range(0)) {
    case 0:
        options.kinds = {chars::ConversionKind::Wide};
        break;
    case 1:
        options.to = codec::TextEncoding::Utf8;
        break;
    case 2:
        options.kinds = {chars::ConversionKind::Narrow};
        break;
    case 3:
        options.kinds = {chars::ConversionKind::Narrow, chars::ConversionKind::Wide};
        break;
    case 4:
        options.to = codec::TextEncoding::Utf16Le;
        break;
    }
    for (auto _ : state) {
        batch::MemorySource source(input);
        NullSink sink;
        const batch::StreamOutcome outcome = batch::convertStream(options, source, sink);
        if (outcome.exitStatus != batch::ExitStatus::Success)
            state.SkipWithError("the conversion failed");
    }
    state.SetBytesProcessed(state.iterations() * input.size());
}
BENCHMARK(BM_StreamCp932)
    ->ArgName("wide|utf8|narrow|narrow_wide|utf16")
    ->DenseRange(0, 4)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

BENCHMARK_MAIN();
