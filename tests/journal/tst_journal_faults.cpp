// Whatever keeps the journal from being written is told at once and the journal keeps trying: once
// the fault clears, the journal on disk replays to the whole text, nothing written outside the
// folder. The base is what was read, whatever happens to the file; journals of any size are read
// in bounded memory.

#include "edit_model.h"

#include "journal/journal.h"
#include "journal/journal_file.h"
#include "journal/journal_folder.h"
#include "journal/journal_format.h"
#include "journal/journal_replay.h"
#include "journal/journal_texts.h"
#include "journal/pending_journal.h"
#include "tests/support/file_bytes.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace orvane;
using namespace orvane::journal;
using namespace orvane::test;
using Reason = JournalFault::Reason;

namespace {

enum class Fault { ParentIsFile, ReadOnly, Full, Link, ForeignOwner, OpenToOthers };

struct Watcher final : JournalWatcher {
    QList<JournalFault> faults;
    int resumes = 0;
    void journalFailed(const JournalFault &fault) override { faults << fault; }
    void journalResumed() override { ++resumes; }
};

bool run(const QString &program, const QStringList &arguments)
{
    return QProcess::execute(program, arguments) == 0;
}

Replayed replayJournal(const QString &path, const QByteArray &base)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return replay(parseJournal(file.readAll()).records, base);
}

qint64 peakKilobytes()
{
    struct rusage usage { };
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

class TestJournalFaults : public QObject {
    Q_OBJECT
private slots:
    void aFaultIsToldAndTheTextComesBackWhenItClears_data();
    void aFaultIsToldAndTheTextComesBackWhenItClears();
    void theBaseIsTheBytesRead_data();
    void theBaseIsTheBytesRead();
    void aHugeSparseJournalIsReadInBoundedMemory();
};

void TestJournalFaults::aFaultIsToldAndTheTextComesBackWhenItClears_data()
{
    QTest::addColumn<int>("fault");
    QTest::addColumn<int>("reason");
    QTest::newRow("a parent that is a file") << int(Fault::ParentIsFile) << int(Reason::CannotMake);
    QTest::newRow("read-only file system") << int(Fault::ReadOnly) << int(Reason::ReadOnly);
    QTest::newRow("disk full during a paste") << int(Fault::Full) << int(Reason::NoSpace);
    QTest::newRow("symbolic link") << int(Fault::Link) << int(Reason::Link);
    QTest::newRow("another user's folder") << int(Fault::ForeignOwner) << int(Reason::ForeignOwner);
    QTest::newRow("mode 0777") << int(Fault::OpenToOthers) << int(Reason::OpenToOthers);
}

void TestJournalFaults::aFaultIsToldAndTheTextComesBackWhenItClears()
{
    QFETCH(int, fault);
    QFETCH(int, reason);
    QTemporaryDir dir;
    const QString root = dir.filePath(QStringLiteral("state"));
    QVERIFY(QDir().mkpath(root));
    QString folder = root + QStringLiteral("/orvane");
    const QString elsewhere = dir.filePath(QStringLiteral("elsewhere"));
    QVERIFY(QDir().mkpath(elsewhere));
    QVERIFY(::chmod(QFile::encodeName(elsewhere).constData(), 0755) == 0);
    bool mounted = false;
    const auto unmount = qScopeGuard([&] {
        if (mounted)
            run(QStringLiteral("umount"), {root});
    });
    const bool root_ = ::geteuid() == 0;
    std::function<void()> clear;
    switch (Fault(fault)) {
    case Fault::ParentIsFile:
        QVERIFY(QDir(root).removeRecursively());
        writeFile(root, "a file");
        clear = [&] { QVERIFY(QFile::remove(root)); };
        break;
    case Fault::ReadOnly:
        if (!root_
            || !run(QStringLiteral("mount"),
                    {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                     QStringLiteral("ro,size=1m"), QStringLiteral("tmpfs"), root}))
            QSKIP("mounting a file system needs root");
        mounted = true;
        clear = [&] {
            QVERIFY(run(QStringLiteral("mount"), {QStringLiteral("-o"), QStringLiteral("remount,rw"), root}));
        };
        break;
    case Fault::Full:
        if (!root_
            || !run(QStringLiteral("mount"),
                    {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                     QStringLiteral("size=256k"), QStringLiteral("tmpfs"), root}))
            QSKIP("mounting a file system needs root");
        mounted = true;
        clear = [&] { QVERIFY(QFile::remove(root + QStringLiteral("/filler"))); };
        break;
    case Fault::Link:
        QVERIFY(QFile::link(elsewhere, folder));
        clear = [&] { QVERIFY(QFile::remove(folder)); };
        break;
    case Fault::ForeignOwner:
        if (!root_)
            QSKIP("giving a folder to another user needs root");
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(::chown(QFile::encodeName(folder).constData(), 65534, 65534) == 0);
        clear
            = [&] { QVERIFY(::chown(QFile::encodeName(folder).constData(), ::geteuid(), ::getegid()) == 0); };
        break;
    case Fault::OpenToOthers:
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(::chmod(QFile::encodeName(folder).constData(), 0777) == 0);
        clear = [&] { QVERIFY(::chmod(QFile::encodeName(folder).constData(), 0700) == 0); };
        break;
    }

    Watcher watcher;
    Journal journal(folder);
    test::EditModel model(journal);
    journal.setWatcher(&watcher);
    journal.setTextSource([&] { return model.text(); });
    journal.startDocument({}, 0);
    journal.checkFolder();
    model.insert(0, "始め");
    if (Fault(fault) == Fault::Full) {
        // The folder works until the disk fills; a paste then cannot be written.
        QVERIFY(watcher.faults.isEmpty());
        QFile filler(root + QStringLiteral("/filler"));
        QVERIFY(filler.open(QIODevice::WriteOnly));
        while (filler.write(QByteArray(4096, 'f')) > 0) { }
        filler.close();
        model.insert(model.text().size(), QByteArray(60'000, 'p'));
    }
    QCOMPARE(watcher.faults.size(), 1);
    QCOMPARE(int(watcher.faults.first().reason), reason);
    QVERIFY(journal_texts::faultWarning(watcher.faults.first())
                .startsWith(QStringLiteral("復旧用の記録を書けません（")));
    model.insert(0, "失われない");
    journal.retry();
    QCOMPARE(watcher.resumes, 0);
    QCOMPARE(watcher.faults.size(), 1); // told once
    // Nothing was written through a link, nor was its target's mode changed.
    QVERIFY(QDir(elsewhere).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
    struct stat st { };
    QVERIFY(::stat(QFile::encodeName(elsewhere).constData(), &st) == 0);
    QCOMPARE(st.st_mode & 07777, mode_t(0755));

    clear();
    journal.retry();
    QCOMPARE(watcher.resumes, 1);
    model.insert(model.text().size(), "終わり");
    journal.drain();
    const Replayed replayed = replayJournal(journal.filePath(), {});
    QVERIFY(replayed.complete);
    QCOMPARE(QString::fromUtf8(replayed.text), QString::fromUtf8(model.text()));
    QCOMPARE(journalFiles(folder), QStringList {journal.filePath()});
}

void TestJournalFaults::theBaseIsTheBytesRead_data()
{
    QTest::addColumn<QByteArray>("bytes"); // the file's bytes
    QTest::addColumn<int>("encoding");
    QTest::addColumn<QByteArray>("shown"); // its text in the control, UTF-8
    QTest::addColumn<bool>("endsInCrLf");
    QTest::addColumn<bool>("replaced"); // replaced by another program before the first edit; else touched
    QTest::newRow("Shift-JIS, replaced before the first edit")
        << QByteArray("\x82\xa0"
                      "abc\r\n")
        << int(codec::TextEncoding::ShiftJis) << QByteArray("あabc") << true << true;
    QTest::newRow("UTF-16 LE, replaced before the first edit")
        << QByteArray("\xff\xfe"
                      "B0"
                      "x\0",
                      6)
        << int(codec::TextEncoding::Utf16Le) << QByteArray("あx") << false << true;
    // Larger than what was once copied at most: only its hash can tell it is the same.
    const QByteArray large(65 * 1024 * 1024, 'L');
    QTest::newRow("65 MB, touched") << large << int(codec::TextEncoding::Utf8) << large << false << false;
}

void TestJournalFaults::theBaseIsTheBytesRead()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, encoding);
    QFETCH(QByteArray, shown);
    QFETCH(bool, endsInCrLf);
    QFETCH(bool, replaced);
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("orvane"));
    const QString path = dir.filePath(QStringLiteral("doc.txt"));
    writeFile(path, bytes);
    codec::LineEnds lineEnds;
    if (!endsInCrLf)
        lineEnds.last.reset();
    const DocumentForm form {path, codec::TextEncoding(encoding), lineEnds};
    FileBytes base;
    base.encoding = codec::TextEncoding(encoding);
    if (base.encoding == codec::TextEncoding::Utf16Le)
        base.utf16 = QString::fromUtf8(shown);
    else
        base.utf8 = shown;
    if (endsInCrLf)
        base.lastLineEnd = codec::LineEnd::CrLf;
    QByteArray edited;
    {
        Journal journal(folder);
        journal.startDocument(form, shown.size(), std::nullopt, base);
        base = FileBytes();
        if (replaced) {
            writeFile(path + QStringLiteral(".new"), "another program's text");
            QVERIFY(::rename(QFile::encodeName(path + QStringLiteral(".new")).constData(),
                             QFile::encodeName(path).constData())
                    == 0);
        }
        test::EditModel model(journal, shown);
        model.insert(0, "編集");
        edited = model.text();
        journal.drain();
    }
    if (!replaced) {
        const struct timespec times[2] = {{0, UTIME_NOW}, {0, UTIME_NOW}};
        QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0);
    }
    QList<PendingJournal> pending = takePendingJournals(folder);
    QCOMPARE(pending.size(), 1);
    QCOMPARE(pending.first().base, PendingJournal::Base::Kept);
    QCOMPARE(pending.first().fileChanged, replaced);
    QFile kept(pending.first().basePath);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QVERIFY(kept.readAll() == bytes);
    const std::unique_ptr<ByteSource> source = pending.first().source();
    JournalReader reader(*source);
    const Replayed replayed = replay(reader, shown);
    QVERIFY(replayed.complete);
    QVERIFY(replayed.text == edited);
}

void TestJournalFaults::aHugeSparseJournalIsReadInBoundedMemory()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("orvane"));
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(::chmod(QFile::encodeName(folder).constData(), 0700) == 0);
    // A valid start, then 30 GB that were never written, and a journal that is a hole throughout.
    QByteArray start = journalHeader();
    appendRecord(start, Origin {});
    appendInsert(start, 0, "kept");
    constexpr qint64 huge = 30LL * 1024 * 1024 * 1024;
    for (const QString &name : {QStringLiteral("a.journal"), QStringLiteral("b.journal")}) {
        QFile file(folder + u'/' + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        if (name.startsWith(u'a'))
            file.write(start);
        if (!file.resize(huge))
            QSKIP("the file system holds no sparse file this large");
    }
    const qint64 before = peakKilobytes();
    QList<PendingJournal> pending = takePendingJournals(folder);
    QVERIFY(peakKilobytes() - before < 64 * 1024);
    QCOMPARE(pending.size(), 2);
    QCOMPARE(pending[0].status, JournalStatus::Damaged);
    QCOMPARE(pending[0].changes, qsizetype(1));
    QCOMPARE(pending[1].base, PendingJournal::Base::Unreadable);
    const std::unique_ptr<ByteSource> source = pending[0].source();
    JournalReader reader(*source);
    QCOMPARE(replay(reader, {}).text, QByteArray("kept"));
}

QTEST_GUILESS_MAIN(TestJournalFaults)
#include "tst_journal_faults.moc"
