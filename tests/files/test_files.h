#pragma once
// Helpers of the file tests: files in a temporary folder, and steps run in a child process
// (with a file size limit, or as an unprivileged user, which the test process itself cannot undo).

#include "host/message_box.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace orvane::test {

QByteArray fileBytes(const QString &path);
void writeFileBytes(const QString &path, const QByteArray &bytes);
// The names in the folder, sorted, hidden ones included.
QStringList folderEntries(const QString &folder);

// Code page 932 bytes of a text written with \x escapes, for readability of the tables.
inline QByteArray bytes(const char *raw, qsizetype size) { return QByteArray(raw, size); }

struct ChildResult {
    bool skipped = false; // could not become the unprivileged user
    bool exitedNormally = false;
    QByteArray output;
};

// Runs body in a forked child and returns what it returned. With asUnprivileged, a child of a root
// process first becomes nobody, so that permission bits apply to it.
ChildResult runInChild(const std::function<QByteArray()> &body, bool asUnprivileged = false);

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

struct ShownPrompt {
    QString prompt;
    int style = 0;
    QString title;
};

// A message box answering from a script; each answer may first run a hook (to lift a lock or a
// limit before a Retry). A prompt that the script does not expect fails the test.
class HookedMessageBox final : public MessageBox {
public:
    HookedMessageBox &answer(MsgBoxAnswer answer, std::function<void()> before = {});
    MsgBoxAnswer msgBox(const QString &prompt, int style, const QString &title) override;

    const QList<ShownPrompt> &shown() const { return m_shown; }
    bool allAnswersUsed() const { return m_answers.isEmpty(); }

private:
    QList<std::pair<MsgBoxAnswer, std::function<void()>>> m_answers;
    QList<ShownPrompt> m_shown;
};

} // namespace orvane::test
