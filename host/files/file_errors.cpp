#include "host/files/file_errors.h"

#include "host/files/disk_file_texts.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

namespace orvane::file_errors {

namespace {

namespace texts = disk_file_texts;

bool folderExists(const QString &path) { return QFileInfo(QFileInfo(path).absolutePath()).isDir(); }

} // namespace

QString shown(const QString &path) { return QDir::toNativeSeparators(path); }

QString systemReason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

void fail(ErrorNumber number, QString description) { throw HostError(number, std::move(description)); }

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
        fail(ErrorNumber::DiskFull, texts::diskFull(name));
    switch (error) {
    case ENOENT:
        if (reading && folderExists(path))
            fail(ErrorNumber::FileNotFound, texts::notFound(name));
        fail(ErrorNumber::PathNotFound, texts::folderNotFound(name));
    case ENOTDIR:
        fail(ErrorNumber::PathNotFound, texts::folderNotFound(name));
    case EACCES:
    case EPERM:
        fail(ErrorNumber::PermissionDenied,
             reading ? texts::accessDeniedRead(name) : texts::accessDeniedWrite(name));
#ifdef EROFS
    case EROFS:
        fail(ErrorNumber::PermissionDenied, texts::readOnlyDisk(name));
#endif
    case EISDIR:
        fail(ErrorNumber::PathFileAccess, reading ? texts::isFolderRead(name) : texts::isFolderWrite(name));
    case ENOMEM:
        fail(ErrorNumber::OutOfMemory,
             reading ? texts::outOfMemoryRead(name) : texts::outOfMemoryWrite(name));
    default:
        fail(ErrorNumber::PathFileAccess,
             reading ? texts::otherRead(name, systemReason(error))
                     : texts::otherWrite(name, systemReason(error)));
    }
}

} // namespace orvane::file_errors
