#pragma once
// The process's resident memory as Linux reports it: now, at its peak since the last reset, and
// the reset (/proc/self/clear_refs), for the benchmarks that count what a step adds at its peak.

#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace orvane::bench {

// A field of /proc/self/status in bytes (it is given in kB).
inline qint64 statusBytes(const char *field)
{
    FILE *status = std::fopen("/proc/self/status", "r");
    if (!status)
        return 0;
    char line[256];
    qint64 kb = 0;
    const size_t length = std::strlen(field);
    while (std::fgets(line, sizeof line, status)) {
        if (std::strncmp(line, field, length) == 0)
            kb = std::atoll(line + length);
    }
    std::fclose(status);
    return kb * 1024;
}

inline qint64 peakRssBytes() { return statusBytes("VmHWM:"); }
inline qint64 currentRssBytes() { return statusBytes("VmRSS:"); }

inline void resetPeakRss()
{
    if (FILE *refs = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5", refs);
        std::fclose(refs);
    }
}

} // namespace orvane::bench
