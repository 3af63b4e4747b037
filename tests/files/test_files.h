#pragma once
// Helpers of the file tests: files in a temporary folder, and steps run in a child process
// (with a file size limit, or as an unprivileged user, which the test process itself cannot undo).

#include <QByteArray>
#include <QDir>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <optional>

namespace orvane::test {

// The base of the file tests' classes: their tests write into one temporary folder, which holds
// only the running test's files (checked before each test, emptied after it).
class FolderTest : public QObject {
    Q_OBJECT

protected:
    QTemporaryDir m_dir;

private slots:
    void init() { QVERIFY(m_dir.isValid()); }
    void cleanup()
    {
        QDir(m_dir.path()).removeRecursively();
        QDir().mkpath(m_dir.path());
    }
};

QByteArray fileBytes(const QString &path);
void writeFileBytes(const QString &path, const QByteArray &bytes);
// The names in the folder, sorted, hidden ones included.
QStringList folderEntries(const QString &folder);

// Code page 932 bytes of a text written with \x escapes, for readability of the tables.
inline QByteArray bytes(const char *raw, qsizetype size) { return QByteArray(raw, size); }

// Makes what a refused-file row names at `path`: a folder when its name is "folder", a named pipe
// when "pipe.txt", otherwise a file holding `content` (nothing when it is empty: a missing file).
void makeNamedEntry(const QString &path, const QByteArray &content);

struct ChildResult {
    bool skipped = false; // could not become the unprivileged user
    bool exitedNormally = false;
    QByteArray output;
};

// Runs body in a forked child and returns what it returned. With asUnprivileged, a child of a root
// process first becomes nobody, so that permission bits apply to it.
ChildResult runInChild(const std::function<QByteArray()> &body, bool asUnprivileged = false);

// runInChild with writes past 64 kB failing in the child as on a full disk.
ChildResult runOnAFullDisk(const std::function<QByteArray()> &body, bool asUnprivileged = false);

// Runs body in a forked child until body calls the function it is given, then kills the child
// with SIGKILL there, as a crash would. exitedNormally means the child was killed at that point.
ChildResult killInChildWhenReady(const std::function<void(const std::function<void()> &ready)> &body,
                                 bool asUnprivileged = false);

bool runningAsRoot();
// The unprivileged user the child becomes, for chown in the parent.
uint unprivilegedUid();
uint unprivilegedGid();

// Sets the soft limit of the file size (RLIMIT_FSIZE) in this process, SIGXFSZ ignored, so that a
// write past it fails with EFBIG as on a full disk.
void limitFileSize(qint64 bytes);
void liftFileSizeLimit();

} // namespace orvane::test
