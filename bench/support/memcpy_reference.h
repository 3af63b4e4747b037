#pragma once
// The floor beside a codec's throughput: memcpy of the same bytes into memory already touched.

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace orvane::bench {

inline void timeMemcpy(benchmark::State &state, const void *bytes, size_t size)
{
    std::vector<char> target(size);
    for (auto _ : state) {
        std::memcpy(target.data(), bytes, size);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(size));
}

} // namespace orvane::bench
