#include "test_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <csignal>
#include <grp.h>
#include <pwd.h>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace orvane::test {

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    return file.readAll();
}

void writeFileBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write the test file");
}

QStringList folderEntries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

void makeNamedEntry(const QString &path, const QByteArray &content)
{
    const QString name = QFileInfo(path).fileName();
    if (name == u"folder")
        QVERIFY(QDir().mkpath(path));
    else if (name == u"pipe.txt")
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0644) == 0);
    else if (!content.isEmpty())
        writeFileBytes(path, content);
}

bool runningAsRoot() { return ::geteuid() == 0; }

uint unprivilegedUid()
{
    const passwd *nobody = ::getpwnam("nobody");
    return nobody ? nobody->pw_uid : 65534;
}

uint unprivilegedGid()
{
    const passwd *nobody = ::getpwnam("nobody");
    return nobody ? nobody->pw_gid : 65534;
}

namespace {

// In a forked child: becomes nobody when asked and running as root; exits with 77 when it cannot.
void becomeUnprivilegedIfAsked(bool asUnprivileged)
{
    if (asUnprivileged && runningAsRoot()) {
        const gid_t gid = unprivilegedGid();
        if (::setgroups(1, &gid) != 0 || ::setgid(gid) != 0 || ::setuid(unprivilegedUid()) != 0)
            ::_exit(77);
    }
}

// Forks with a pipe from the child (fds[1]) to the parent (fds[0]); the child closes the read
// end and drops to nobody when asked; returns fork's result.
pid_t forkWithPipe(int fds[2], bool asUnprivileged)
{
    if (::pipe(fds) != 0)
        qFatal("pipe failed");
    const pid_t pid = ::fork();
    if (pid < 0)
        qFatal("fork failed");
    if (pid == 0) {
        ::close(fds[0]);
        becomeUnprivilegedIfAsked(asUnprivileged);
    }
    return pid;
}

} // namespace

ChildResult runInChild(const std::function<QByteArray()> &body, bool asUnprivileged)
{
    int fds[2];
    const pid_t pid = forkWithPipe(fds, asUnprivileged);
    if (pid == 0) {
        QByteArray output;
        try {
            output = body();
        } catch (const std::exception &error) {
            output = QByteArray("exception: ") + error.what();
        }
        const char *p = output.constData();
        qsizetype left = output.size();
        while (left > 0) {
            const ssize_t n = ::write(fds[1], p, size_t(left));
            if (n <= 0)
                break;
            p += n;
            left -= n;
        }
        ::_exit(0);
    }
    ::close(fds[1]);
    ChildResult result;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
        if (n <= 0)
            break;
        result.output.append(buffer, n);
    }
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    result.skipped = WIFEXITED(status) && WEXITSTATUS(status) == 77;
    result.exitedNormally = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return result;
}

ChildResult killInChildWhenReady(const std::function<void(const std::function<void()> &ready)> &body,
                                 bool asUnprivileged)
{
    int fds[2];
    const pid_t pid = forkWithPipe(fds, asUnprivileged);
    if (pid == 0) {
        try {
            body([&] {
                if (::write(fds[1], "r", 1) == 1)
                    for (;;)
                        ::pause();
            });
        } catch (...) {
        }
        ::_exit(1);
    }
    ::close(fds[1]);
    char ready = 0;
    const bool gotReady = ::read(fds[0], &ready, 1) == 1;
    ::close(fds[0]);
    if (gotReady)
        ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ChildResult result;
    result.skipped = WIFEXITED(status) && WEXITSTATUS(status) == 77;
    result.exitedNormally = gotReady && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    return result;
}

ChildResult runOnAFullDisk(const std::function<QByteArray()> &body, bool asUnprivileged)
{
    return runInChild(
        [&] {
            limitFileSize(64 * 1024);
            return body();
        },
        asUnprivileged);
}

void limitFileSize(qint64 bytes)
{
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit limit {};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = rlim_t(bytes);
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

void liftFileSizeLimit()
{
    rlimit limit {};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = limit.rlim_max;
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

} // namespace orvane::test
