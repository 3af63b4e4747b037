// EUC-JP and ISO-2022-JP decode and encode speed on Japanese text, beside the code page 932 codec
// on the same text and glibc's iconv, in one run. Throughput is counted in each encoding's bytes;
// decoding also scored on the bytes detection looks at (both candidates).

#include "bench/text/chars/bench_text.h"
#include "text/codec/cp932.h"
#include "text/codec/encoding_detection.h"
#include "text/codec/text_codec.h"

#include <benchmark/benchmark.h>

#include <iconv.h>

using namespace orvane;

namespace {

constexpr qsizetype kUnits = 8 << 20;

const auto &japanese = bench::japaneseSample<kUnits, true>;

const QByteArray &encoded(codec::TextEncoding encoding)
{
    static QByteArray bytes[8];
    QByteArray &b = bytes[int(encoding)];
    if (b.isEmpty())
        codec::encode(encoding, japanese(), b);
    return b;
}

void BM_Decode(benchmark::State &state)
{
    const auto encoding = codec::TextEncoding(state.range(0));
    const QByteArray &bytes = encoded(encoding);
    QString text;
    for (auto _ : state) {
        codec::decode(encoding, bytes, text);
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

void BM_Encode(benchmark::State &state)
{
    const auto encoding = codec::TextEncoding(state.range(0));
    QByteArray bytes;
    for (auto _ : state) {
        codec::encode(encoding, japanese(), bytes);
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(state.iterations() * encoded(encoding).size());
}

void BM_Detect(benchmark::State &state)
{
    const QByteArray &bytes = encoded(codec::TextEncoding(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(codec::detectEncoding(bytes).encoding);
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

void BM_IconvDecode(benchmark::State &state)
{
    const char *names[] = {"CP932", "", "", "", "", "EUC-JP-MS", "ISO-2022-JP"};
    const auto encoding = codec::TextEncoding(state.range(0));
    QByteArray bytes = encoded(encoding);
    if (encoding == codec::TextEncoding::Iso2022Jp) // glibc has no half-width katakana here
        bytes = [] {
            QByteArray b;
            codec::encode(codec::TextEncoding::Iso2022Jp, bench::japaneseSample<kUnits, false>(), b);
            return b;
        }();
    const iconv_t cd = iconv_open("UTF-16LE", names[int(encoding)]);
    QByteArray out(bytes.size() * 2 + 16, Qt::Uninitialized);
    for (auto _ : state) {
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        char *in = bytes.data();
        size_t inLeft = size_t(bytes.size());
        char *o = out.data();
        size_t outLeft = size_t(out.size());
        iconv(cd, &in, &inLeft, &o, &outLeft);
        benchmark::DoNotOptimize(o);
    }
    iconv_close(cd);
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

const auto kShiftJis = int(codec::TextEncoding::ShiftJis);
const auto kEucJp = int(codec::TextEncoding::EucJp);
const auto kIso = int(codec::TextEncoding::Iso2022Jp);

} // namespace

BENCHMARK(BM_Decode)->Arg(kShiftJis)->Arg(kEucJp)->Arg(kIso)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Encode)->Arg(kShiftJis)->Arg(kEucJp)->Arg(kIso)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Detect)->Arg(kShiftJis)->Arg(kEucJp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IconvDecode)->Arg(kShiftJis)->Arg(kEucJp)->Arg(kIso)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
