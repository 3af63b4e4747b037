#pragma once
// The main of the benchmark programs that need widgets: a QApplication, on the offscreen platform
// unless the environment names another, around the registered benchmarks.

#include "bench/support/run_benchmarks.h"

#include <QApplication>

#include <functional>

namespace orvane::bench {

// `prepare` runs once the application exists, before any measurement (sample documents, files).
inline int runInApplication(int argc, char **argv, const std::function<void()> &prepare = {},
                            PeakReport peak = PeakReport::Off)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (prepare)
        prepare();
    return runBenchmarks(argc, argv, peak);
}

} // namespace orvane::bench
