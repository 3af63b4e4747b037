#pragma once
// Writes a file from a stream of byte blocks so that a failure at any point leaves the previous
// file as it was. Owns the open file (and any temporary file) until commit or destruction.

#include "disk/disk_error.h"

#include <QByteArrayView>
#include <QString>

#include <memory>

namespace orvane::disk {

// Writes through a symbolic link to its target and refuses folders, devices, pipes and files the
// user marked read-only. Normally writes a temporary file beside the target and renames it over
// the target on commit, keeping the permissions (and the owner, where allowed). Where a rename
// would cut the file off from its other names, or is not possible (several hard links, a folder
// we may not write), it writes the file in place, after copying the old bytes aside (beside the
// file where its folder allows, else into the user's cache folder) and flushing the copy: a failed
// write puts them back and removes the copy, a program that dies half-way leaves the copy, and an
// error whose old bytes could not be put back names the copy.
// Every failure throws DiskError with a Japanese description naming the path given.
class FileWriter {
public:
    explicit FileWriter(const QString &path);
    // Cancels unless committed: the previous file stays as it was and no temporary file is left.
    ~FileWriter();

    // Optional, before the first write: the total the writes will come to. An in-place write
    // reserves that space first, so that a full disk refuses it before any old byte is overwritten.
    void reserve(qint64 totalBytes);
    void write(QByteArrayView bytes);
    // Flushes the bytes to the disk and puts them in place of the previous file.
    void commit();

    bool isInPlace() const;

    FileWriter(const FileWriter &) = delete;
    FileWriter &operator=(const FileWriter &) = delete;

    class Sink;

private:
    std::unique_ptr<Sink> m_sink;
};

} // namespace orvane::disk
