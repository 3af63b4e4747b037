#pragma once
// How much memory an Open may still take, so that a file too large for it is refused before
// anything is read instead of ending half loaded or killed for want of memory.

#include <QString>
#include <QtGlobal>

namespace orvane {

// MemAvailable of /proc/meminfo, or ORVANE_MEMORY_LIMIT_MB (megabytes) where that is set, which
// tests use to impose a limit; -1 where neither is known.
qint64 availableMemory();

// Throws the disk layer's OutOfMemory naming both sizes when need is more than availableMemory().
void checkMemoryFor(const QString &shownPath, qint64 need);

} // namespace orvane
