// UTF-8 validation with each kernel and UTF-16 -> UTF-8 encoding, on Japanese text, with memcpy
// of the same buffer in the same run as the reference. Throughput is counted in UTF-8 bytes for
// validation, and in UTF-16 bytes read for encoding (the UTF-8 written is about 1.5 times that).

#include "bench/support/memcpy_reference.h"
#include "bench/support/warm_pages.h"
#include "bench/text/chars/bench_text.h"
#include "text/codec/utf16.h"
#include "text/codec/utf8.h"
#include "text/codec/utf8_kernels.h"

#include <benchmark/benchmark.h>

using namespace orvane;

namespace {

const auto &japanese = bench::japaneseSample<16 << 20, false>;

const QByteArray &japaneseUtf8()
{
    static const QByteArray bytes = japanese().toUtf8();
    return bytes;
}

void BM_MemcpyUtf8(benchmark::State &state)
{
    bench::timeMemcpy(state, japaneseUtf8().constData(), size_t(japaneseUtf8().size()));
}

void BM_Utf8Validate(benchmark::State &state)
{
    const auto kernel = codec::utf8::Kernel(state.range(0));
    static const char *const names[] = {"scalar", "ssse3", "avx2"};
    if (!codec::utf8::isAvailable(kernel)) {
        state.SkipWithError("kernel not available on this processor");
        return;
    }
    const QByteArray &bytes = japaneseUtf8();
    for (auto _ : state) {
        const bool valid = codec::utf8::validateWith(kernel, bytes);
        benchmark::DoNotOptimize(valid);
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
    state.SetLabel(names[state.range(0)]);
}

void BM_Utf8Utf16Length(benchmark::State &state)
{
    const QByteArray &bytes = japaneseUtf8();
    for (auto _ : state)
        benchmark::DoNotOptimize(codec::utf8::utf16Length(bytes));
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

void BM_MemcpyUtf16(benchmark::State &state)
{
    bench::timeMemcpy(state, japanese().constData(), size_t(japanese().size()) * 2);
}

void BM_QtToUtf8(benchmark::State &state)
{
    const QString &text = japanese();
    for (auto _ : state) {
        const QByteArray bytes = text.toUtf8();
        benchmark::DoNotOptimize(bytes.constData());
    }
    state.SetBytesProcessed(state.iterations() * text.size() * 2);
}

void BM_Utf8Encode(benchmark::State &state)
{
    const QString &text = japanese();
    for (auto _ : state) {
        QByteArray bytes;
        if (!codec::utf8::encode(text, bytes))
            state.SkipWithError("encode failed");
        benchmark::DoNotOptimize(bytes.constData());
    }
    state.SetBytesProcessed(state.iterations() * text.size() * 2);
}

// The same with freed memory kept mapped, so that each new buffer reuses pages touched before:
// the loops alone, without the kernel's first touch of fresh pages.
void BM_Utf8EncodeWarmPages(benchmark::State &state)
{
    const bench::WarmPages warm;
    BM_Utf8Encode(state);
}

void BM_Utf16BigEndianEncode(benchmark::State &state)
{
    const QString &text = japanese();
    for (auto _ : state) {
        QByteArray bytes;
        if (!codec::utf16::encode(text, codec::utf16::ByteOrder::BigEndian, bytes))
            state.SkipWithError("encode failed");
        benchmark::DoNotOptimize(bytes.constData());
    }
    state.SetBytesProcessed(state.iterations() * text.size() * 2);
}

} // namespace

BENCHMARK(BM_MemcpyUtf8);
BENCHMARK(BM_Utf8Validate)
    ->Arg(int(codec::utf8::Kernel::Scalar))
    ->Arg(int(codec::utf8::Kernel::Ssse3))
    ->Arg(int(codec::utf8::Kernel::Avx2));
BENCHMARK(BM_Utf8Utf16Length);
BENCHMARK(BM_MemcpyUtf16);
BENCHMARK(BM_QtToUtf8);
BENCHMARK(BM_Utf8Encode);
BENCHMARK(BM_Utf8EncodeWarmPages);
BENCHMARK(BM_Utf16BigEndianEncode);

BENCHMARK_MAIN();
