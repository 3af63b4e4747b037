#pragma once
// One journal file, open and exclusively locked (flock) for as long as this object lives: a
// journal whose lock is free belongs to a window that is gone. Owns the descriptor.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include "journal_format.h"

#include <atomic>
#include <memory>
#include <mutex>

namespace orvane::journal {

class JournalFile {
public:
    // Creates path (mode 0600, failing if it exists), locked and already holding opening: the file
    // appears under its name only once opening is in it, so no other record can precede it and no
    // reader ever sees it without its header. Null on failure.
    // error: the system's error number on failure.
    static std::shared_ptr<JournalFile> create(const QString &path, QByteArrayView opening,
                                               int *error = nullptr);
    // Opens an existing journal and locks it, unless a live window holds it or it was removed
    // meanwhile; null then.
    static std::shared_ptr<JournalFile> takeOrphan(const QString &path);
    // The name a journal has while create writes its opening (left behind only by a kill then).
    static QString creatingPath(const QString &path);

    ~JournalFile();
    JournalFile(const JournalFile &) = delete;
    JournalFile &operator=(const JournalFile &) = delete;

    const QString &path() const { return m_path; }
    // Where the bytes of the document's file are kept while this journal lives.
    QString originalPath() const;
    // Appends the bytes with one write, so that a killed program leaves whole records; a write
    // cut short (a full disk) is taken back. Safe from any thread.
    bool append(QByteArrayView bytes);
    // Waits until everything appended is on the disk.
    bool sync();
    // The error number of the last append or sync that failed (0: none has); safe from any thread.
    int lastError() const { return m_error.load(); }
    QByteArray readAll();
    // The journal's bytes, read a frame at a time from the descriptor.
    std::unique_ptr<ByteSource> source();
    // Renames the file (a journal set aside); the lock stays with it. False when it cannot.
    bool rename(const QString &path);
    // Cuts the file to length, dropping a damaged end before more records follow it.
    bool truncate(qint64 length);
    // Removes the file and its kept original from the folder; the lock goes with the object.
    void remove();
    bool isRemoved() const;

private:
    JournalFile(int fd, QString path, qint64 size);
    bool writeAll(QByteArrayView bytes);

    int m_fd;
    QString m_path;
    qint64 m_size;
    mutable std::mutex m_writeMutex;
    bool m_removed = false;
    std::atomic<int> m_error {0};
};

} // namespace orvane::journal
