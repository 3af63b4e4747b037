#pragma once
// The main of the benchmark programs: runs what they registered, and on request prints the peak
// resident memory of the whole run after it.

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdio>

namespace orvane::bench {

enum class PeakReport { Off, On };

inline int runBenchmarks(int argc, char **argv, PeakReport peak = PeakReport::Off)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (peak == PeakReport::On) {
        rusage usage {};
        getrusage(RUSAGE_SELF, &usage);
        std::printf("peak RSS of the whole run %.1f MB\n", double(usage.ru_maxrss) / 1024.0);
    }
    return 0;
}

} // namespace orvane::bench
