#pragma once
// A copy of a file's old bytes, kept on disk while the file is overwritten in place, so that a
// failed write can be undone and a program that dies half-way leaves the old content behind.
// Owns the copy's descriptor and, until it is removed, the copy itself.

#include <QString>

namespace orvane::disk {

class BackupCopy {
public:
    // Copies the first size bytes of fd and flushes the copy to the disk before returning. The copy
    // goes beside target when besideTarget, else into the user's cache folder (the temporary
    // folder when there is none). Throws DiskError naming path when no copy can be made.
    BackupCopy(int fd, qint64 size, const QString &target, bool besideTarget, const QString &path);
    // Closes the copy and leaves it on disk unless it was removed.
    ~BackupCopy();

    // Puts the old bytes back over the first `touched` bytes of fd, cuts fd to the old size and
    // flushes it. False when any step fails; then the copy is the only intact old content.
    bool restoreInto(int fd, qint64 touched) const noexcept;
    void remove() noexcept;
    const QString &path() const { return m_path; }

    BackupCopy(const BackupCopy &) = delete;
    BackupCopy &operator=(const BackupCopy &) = delete;

private:
    int m_fd = -1;
    qint64 m_size;
    QString m_path;
};

} // namespace orvane::disk
