#include "host/files/available_memory.h"

#include "disk/disk_texts.h"
#include "disk/file_errors.h"

#include <QFile>

namespace orvane {

namespace {

qint64 megabytesRoundedUp(qint64 bytes) { return (bytes + 999'999) / 1'000'000; }

} // namespace

qint64 availableMemory()
{
    bool ok = false;
    const qint64 limitMb = qEnvironmentVariableIntValue("ORVANE_MEMORY_LIMIT_MB", &ok);
    if (ok && limitMb >= 0)
        return limitMb * 1'000'000;
    QFile meminfo(QStringLiteral("/proc/meminfo"));
    if (!meminfo.open(QIODevice::ReadOnly))
        return -1;
    // "MemAvailable:   22845412 kB"
    for (QByteArray line = meminfo.readLine(); !line.isEmpty(); line = meminfo.readLine()) {
        if (!line.startsWith("MemAvailable:"))
            continue;
        const qint64 kb = line.mid(13).trimmed().split(' ').value(0).toLongLong(&ok);
        return ok ? kb * 1024 : -1;
    }
    return -1;
}

void checkMemoryFor(const QString &shownPath, qint64 need)
{
    const qint64 available = availableMemory();
    if (available < 0 || need <= available)
        return;
    disk::fail(disk::DiskFailure::OutOfMemory,
               disk_texts::notEnoughMemory(shownPath, megabytesRoundedUp(need), available / 1'000'000));
}

} // namespace orvane
