#include "file_identity.h"

#include "fast_hash.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvane::journal {

namespace {

QByteArray nativePath(const QString &path) { return QFile::encodeName(path); }

FileVersion identityOf(const struct stat &st)
{
    FileVersion identity;
    identity.size = st.st_size;
    identity.modifiedNs = qint64(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
    return identity;
}

bool sameStat(const FileVersion &a, const FileVersion &b)
{
    return a.size == b.size && a.modifiedNs == b.modifiedNs;
}

class Descriptor {
public:
    explicit Descriptor(int fd)
        : fd(fd)
    {
    }
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    const int fd;
};

std::optional<FileVersion> identityOfDescriptor(int fd)
{
    struct stat st { };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return identityOf(st);
}

} // namespace

FileVersion identifyFile(const QString &path)
{
    struct stat st { };
    if (path.isEmpty() || ::stat(nativePath(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return {};
    return identityOf(st);
}

std::optional<quint64> hashFile(const QString &path, const FileVersion &expected)
{
    const Descriptor file(::open(nativePath(path).constData(), O_RDONLY | O_CLOEXEC));
    if (file.fd < 0)
        return std::nullopt;
    const std::optional<FileVersion> before = identityOfDescriptor(file.fd);
    if (!before || !sameStat(*before, expected))
        return std::nullopt;
    quint64 hash = fastHash({});
    if (before->size > 0) {
        void *bytes = ::mmap(nullptr, size_t(before->size), PROT_READ, MAP_PRIVATE, file.fd, 0);
        if (bytes == MAP_FAILED)
            return std::nullopt;
        hash = fastHash(QByteArrayView(static_cast<const char *>(bytes), qsizetype(before->size)));
        ::munmap(bytes, size_t(before->size));
    }
    const std::optional<FileVersion> after = identityOfDescriptor(file.fd);
    if (!after || !sameStat(*after, expected))
        return std::nullopt;
    return hash;
}

bool isSameFile(const QString &path, const FileVersion &expected)
{
    if (expected.size < 0 || !sameStat(identifyFile(path), expected))
        return false;
    if (!expected.hasHash)
        return true;
    const std::optional<quint64> hash = hashFile(path, expected);
    return hash && *hash == expected.hash;
}

bool keepOriginal(const QString &source, const QString &target, const FileVersion &expected, qint64 copyLimit)
{
    if (expected.size < 0)
        return false;
    const Descriptor in(::open(nativePath(source).constData(), O_RDONLY | O_CLOEXEC));
    if (in.fd < 0)
        return false;
    const std::optional<FileVersion> before = identityOfDescriptor(in.fd);
    if (!before || !sameStat(*before, expected))
        return false;
    const QByteArray to = nativePath(target);
    const Descriptor out(::open(to.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (out.fd < 0)
        return false;
    // A clone shares the blocks until either side changes (btrfs, XFS): instant at any size.
    bool copied = ::ioctl(out.fd, FICLONE, in.fd) == 0;
    if (!copied && before->size <= copyLimit) {
        off_t offset = 0;
        while (offset < before->size) {
            const ssize_t n = ::sendfile(out.fd, in.fd, &offset, size_t(before->size - offset));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
        }
        copied = offset == before->size;
    }
    // The copy keeps the original's time, so that it is recognised as the same bytes.
    const struct timespec times[2]
        = {{0, UTIME_OMIT},
           {time_t(expected.modifiedNs / 1'000'000'000), long(expected.modifiedNs % 1'000'000'000)}};
    const std::optional<FileVersion> after = identityOfDescriptor(in.fd);
    if (!copied || !after || !sameStat(*after, expected) || ::futimens(out.fd, times) != 0) {
        ::unlink(to.constData());
        return false;
    }
    return true;
}

} // namespace orvane::journal
