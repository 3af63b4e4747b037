#include "disk/file_errors.h"

#include "disk/disk_texts.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

namespace orvane::disk {

namespace {

namespace texts = disk_texts;

bool folderExists(const QString &path) { return QFileInfo(QFileInfo(path).absolutePath()).isDir(); }

} // namespace

QString shown(const QString &path) { return QDir::toNativeSeparators(path); }

QString systemReason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

void fail(DiskFailure failure, QString description) { throw DiskError(failure, std::move(description)); }

void failWithErrno(int error, const QString &path, Access access)
{
    const QString name = shown(path);
    const bool reading = access == Access::Read;
    if (!reading
        && (error == ENOSPC || error == EFBIG
#ifdef EDQUOT
            || error == EDQUOT
#endif
            ))
        fail(DiskFailure::DiskFull, texts::diskFull(name));
    switch (error) {
    case ENOENT:
        if (reading && folderExists(path))
            fail(DiskFailure::FileNotFound, texts::notFound(name));
        fail(DiskFailure::PathNotFound, texts::folderNotFound(name));
    case ENOTDIR:
        fail(DiskFailure::PathNotFound, texts::folderNotFound(name));
    case EACCES:
    case EPERM:
        fail(DiskFailure::PermissionDenied,
             reading ? texts::accessDeniedRead(name) : texts::accessDeniedWrite(name));
#ifdef EROFS
    case EROFS:
        fail(DiskFailure::PermissionDenied, texts::readOnlyDisk(name));
#endif
    case EISDIR:
        fail(DiskFailure::PathFileAccess, reading ? texts::isFolderRead(name) : texts::isFolderWrite(name));
    case ENOMEM:
        fail(DiskFailure::OutOfMemory,
             reading ? texts::outOfMemoryRead(name) : texts::outOfMemoryWrite(name));
    default:
        fail(DiskFailure::PathFileAccess,
             reading ? texts::otherRead(name, systemReason(error))
                     : texts::otherWrite(name, systemReason(error)));
    }
}

} // namespace orvane::disk
