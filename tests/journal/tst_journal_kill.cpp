// A window killed after N edits (SIGKILL, as a crash or the out-of-memory killer) or asked to end
// by SIGTERM leaves a journal that the next start can take and replay to exactly the edited text.

#include "edit_model.h"

#include "journal/journal.h"
#include "journal/journal_folder.h"
#include "journal/journal_format.h"
#include "journal/journal_replay.h"
#include "journal/pending_journal.h"
#include "journal/termination_signals.h"

#include <QEventLoop>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace orvane;
using namespace orvane::journal;

namespace {

// n edits of every kind, the same each time: typing, deletions, conversions and their undo.
void makeEdits(test::EditModel &model, int n)
{
    for (int i = 0; i < n; ++i) {
        const qint64 size = model.text().size();
        switch (i % 7) {
        case 3: // every insert ends in an ASCII character: one byte is one character
            if (size > 0)
                model.remove(size - 1, 1);
            break;
        case 5: {
            const qsizetype step
                = model.convert(i % 2 ? chars::ConversionKind::Wide : chars::ConversionKind::Upper);
            if (i % 3 == 0)
                model.undo(step);
            break;
        }
        default:
            model.insert(size, i % 2 ? QByteArray("ｶﾞa") : QByteArray("あ\r\n"));
        }
    }
}

QByteArray editedText(int n, const QByteArray &base)
{
    QTemporaryDir scratch;
    Journal journal(scratch.path());
    test::EditModel model(journal, base);
    makeEdits(model, n);
    return model.text();
}

// Forks a child that opens document (untitled when empty), makes n edits under a journal in
// folder, says so through a pipe and waits; the parent then sends it signal at once, while the
// journal's thread may still be keeping or hashing the document's file. Returns the wait status.
int editInChildThenSignal(const QString &folder, const QString &document, const QByteArray &base, int n,
                          int signal)
{
    int fds[2];
    if (::pipe(fds) != 0)
        qFatal("pipe failed");
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        Journal journal(folder);
        journal::TerminationSignals watch([&](int) { journal.syncNow(); });
        test::EditModel model(journal, base);
        journal.startDocument(DocumentForm {document}, base.size());
        makeEdits(model, n);
        if (::write(fds[1], "r", 1) != 1)
            ::_exit(1);
        QEventLoop loop;
        loop.exec();
        ::_exit(0);
    }
    ::close(fds[1]);
    char ready = 0;
    if (::read(fds[0], &ready, 1) == 1)
        ::kill(pid, signal);
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return status;
}

} // namespace

class TestJournalKill : public QObject {
    Q_OBJECT
private slots:
    void theJournalOfAnEndedWindowReplaysToItsText_data();
    void theJournalOfAnEndedWindowReplaysToItsText();
};

void TestJournalKill::theJournalOfAnEndedWindowReplaysToItsText_data()
{
    QTest::addColumn<int>("fileLines");
    QTest::addColumn<int>("signal");
    QTest::addColumn<int>("edits");
    // An opened file's journal ends while its first records are made, as the thread keeps and
    // hashes the file beside them (a small file's hash is ready before the first edit is written,
    // a large one's after); an untitled one after long runs of edits too.
    for (const int fileLines : {0, 1, 1 << 18})
        for (const int signal : {SIGKILL, SIGTERM, SIGHUP, SIGINT})
            for (const int edits : fileLines ? QList<int> {1, 2, 3, 7, 20} : QList<int> {1, 7, 300, 3000})
                QTest::addRow("%d-line file, %s after %d edits", fileLines, strsignal(signal), edits)
                    << fileLines << signal << edits;
}

void TestJournalKill::theJournalOfAnEndedWindowReplaysToItsText()
{
    QFETCH(int, fileLines);
    QFETCH(int, signal);
    QFETCH(int, edits);
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("orvane"));
    const bool opened = fileLines > 0;
    const QByteArray base = QByteArray("line\r\n").repeated(fileLines);
    const QString document = opened ? dir.filePath(QStringLiteral("document.txt")) : QString();
    if (opened) {
        QFile file(document);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(base) == base.size());
    }

    const int status = editInChildThenSignal(folder, document, base, edits, signal);
    QVERIFY(WIFSIGNALED(status));
    QCOMPARE(WTERMSIG(status), signal);

    QList<PendingJournal> pending = takePendingJournals(folder);
    QCOMPARE(pending.size(), 1);
    QVERIFY(pending.first().file->readAll().startsWith(journalHeader()));
    QCOMPARE(pending.first().status, JournalStatus::Complete);
    QByteArray replayBase;
    if (opened) {
        QVERIFY(pending.first().base == PendingJournal::Base::Kept
                || pending.first().base == PendingJournal::Base::File);
        QFile kept(pending.first().basePath);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        replayBase = kept.readAll();
    } else {
        QCOMPARE(pending.first().base, PendingJournal::Base::Untitled);
    }
    const std::unique_ptr<ByteSource> source = pending.first().source();
    JournalReader reader(*source);
    const Replayed replayed = replay(reader, replayBase);
    QVERIFY(replayed.complete);
    QCOMPARE(replayed.text, editedText(edits, base));
    // Taken by this window, no other can take it.
    QVERIFY(takePendingJournals(folder).isEmpty());
}

QTEST_GUILESS_MAIN(TestJournalKill)
#include "tst_journal_kill.moc"
