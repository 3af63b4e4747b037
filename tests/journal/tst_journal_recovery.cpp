// At start, the journals of windows that are gone are offered back: はい restores the text as at
// the last edit with the file's name and encoding and Modified True, いいえ deletes the journal, and
// a journal that cannot be replayed (its file changed, a newer version, damaged at its start) is
// set aside under the name the message gives. A damaged end is said in the question.

#include "edit_model.h"

#include "app/document_journal.h"
#include "app/journal_recovery.h"
#include "host/files/disk_text_files.h"
#include "journal/journal_file.h"
#include "journal/journal_folder.h"
#include "journal/journal_format.h"
#include "journal/journal_texts.h"
#include "tests/support/fake_host.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace orvane;
using namespace orvane::journal;

namespace {

enum class Damage { None, FileChanged, FileChangedNoCopy, CutOff, Newer };

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestJournalRecovery : public QObject {
    Q_OBJECT
private slots:
    void aJournalLeftBehindIsOfferedBack_data();
    void aJournalLeftBehindIsOfferedBack();
    void severalJournalsAreOfferedOneAfterAnother();
};

void TestJournalRecovery::aJournalLeftBehindIsOfferedBack_data()
{
    QTest::addColumn<bool>("named");
    QTest::addColumn<int>("damage");
    QTest::addColumn<int>("answer");
    const int yes = int(MsgBoxAnswer::Yes);
    const int no = int(MsgBoxAnswer::No);
    QTest::newRow("untitled, はい") << false << int(Damage::None) << yes;
    QTest::newRow("untitled, いいえ") << false << int(Damage::None) << no;
    QTest::newRow("named, はい") << true << int(Damage::None) << yes;
    QTest::newRow("named, いいえ") << true << int(Damage::None) << no;
    QTest::newRow("file replaced since, its copy kept, はい") << true << int(Damage::FileChanged) << yes;
    QTest::newRow("file changed, no copy: set aside") << true << int(Damage::FileChangedNoCopy) << 0;
    QTest::newRow("cut off, はい restores the whole records") << false << int(Damage::CutOff) << yes;
    QTest::newRow("newer version: set aside") << false << int(Damage::Newer) << 0;
}

void TestJournalRecovery::aJournalLeftBehindIsOfferedBack()
{
    QFETCH(bool, named);
    QFETCH(int, damage);
    QFETCH(int, answer);
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("state"));
    const QString path = dir.filePath(QStringLiteral("メモ.txt"));
    // An LF file with a line end after its last line: the text shown stops before it.
    const QByteArray original = "ab\nc\n";
    const QByteArray shownOriginal = original.chopped(1);

    // A window that edited the document, then went away.
    QByteArray edited;
    QByteArray beforeLastEdit;
    QString journalPath;
    {
        Journal journal(folder);
        DocumentForm form;
        if (named) {
            writeFile(path, original);
            form.path = path;
            form.encoding = TextEncoding::ShiftJis;
            form.lineEnds = {LineEnd::Lf, LineEnd::Lf};
        }
        journal.startDocument(form, named ? shownOriginal.size() : 0);
        test::EditModel model(journal, named ? shownOriginal : QByteArray());
        model.insert(model.text().size(), "ｶﾞ");
        model.convert(ConversionKind::Hiragana);
        beforeLastEdit = model.text();
        model.insert(0, "日本語\r\n");
        edited = model.text();
        journal.drain();
        journalPath = journal.filePath();
    }
    const QByteArray journalBytes = readFile(journalPath);
    switch (Damage(damage)) {
    case Damage::None:
        break;
    case Damage::FileChanged:
        writeFile(path, "changed by another program");
        break;
    case Damage::FileChangedNoCopy:
        writeFile(path, "changed by another program");
        QVERIFY(QFile::remove(journalPath.chopped(8) + QStringLiteral(".original")));
        break;
    case Damage::CutOff:
        writeFile(journalPath, journalBytes.chopped(3));
        break;
    case Damage::Newer: {
        QByteArray newer = journalBytes;
        newer[8] = char(formatVersion + 1);
        writeFile(journalPath, newer);
        break;
    }
    }
    const QByteArray fileBefore = readFile(path);

    DiskTextFiles files;
    test::FakeHost fake(files);
    if (answer)
        fake.messages.answer(MsgBoxAnswer(answer));
    else
        fake.messages.answer(MsgBoxAnswer::Ok);
    Journal journal(folder);
    DocumentJournal observer(journal, [&] { return qint64(fake.edit.text().toUtf8().size()); });
    fake.document.setObserver(&observer);
    int windowsStarted = 0;
    const bool restored = offerJournals(fake.host, journal, folder, [&] { ++windowsStarted; });

    QVERIFY(fake.messages.allAnswersUsed());
    const QString shown = fake.messages.shown().first().prompt;
    QCOMPARE(windowsStarted, 0);
    QCOMPARE(readFile(path), fileBefore); // the file on disk untouched
    if (!answer) {
        // Nothing to ask: the message names where the journal was set aside, and it is there.
        QVERIFY(!restored);
        const QString kept = journalPath.chopped(8) + QStringLiteral(".kept");
        QVERIFY2(shown.contains(QDir::toNativeSeparators(kept)), qPrintable(shown));
        QCOMPARE(readFile(kept).size(), journalBytes.size());
        QVERIFY(journalFiles(folder).isEmpty());
        return;
    }
    QVERIFY(
        shown.startsWith(journal_texts::recoveryQuestion(named ? QStringLiteral("メモ.txt") : QString())));
    QCOMPARE(shown.contains(journal_texts::damagedNote()), damage == int(Damage::CutOff));
    QCOMPARE(restored, answer == int(MsgBoxAnswer::Yes));
    if (!restored) {
        QVERIFY(!QFile::exists(journalPath));
        QCOMPARE(fake.edit.text(), QString());
        return;
    }
    QCOMPARE(fake.edit.text(), QString::fromUtf8(damage == int(Damage::CutOff) ? beforeLastEdit : edited));
    QVERIFY(fake.document.isModified());
    QCOMPARE(fake.document.path(), named ? path : QString());
    QCOMPARE(fake.document.encoding(), TextEncoding::ShiftJis);
    const LineEnds lineEnds = named ? LineEnds {LineEnd::Lf, LineEnd::Lf} : LineEnds();
    QVERIFY(fake.document.file().lineEnds == lineEnds);
    // This window goes on with the same journal; no other can take it.
    QCOMPARE(journal.filePath(), journalPath);
    QVERIFY(!JournalFile::takeOrphan(journalPath));
}

void TestJournalRecovery::severalJournalsAreOfferedOneAfterAnother()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("state"));
    for (const char *text : {"first", "second", "third"}) {
        Journal journal(folder);
        journal.startDocument({}, 0);
        test::EditModel model(journal);
        model.insert(0, text);
        QTest::qWait(1100); // names sort by the second they were made
    }
    test::FakeHost fake;
    fake.messages.answer(MsgBoxAnswer::No).answer(MsgBoxAnswer::Yes);
    Journal journal(folder);
    int windowsStarted = 0;
    QVERIFY(offerJournals(fake.host, journal, folder, [&] { ++windowsStarted; }));
    QCOMPARE(fake.edit.text(), QStringLiteral("second"));
    // The third is left for another window, which is started; the first is gone.
    QCOMPARE(windowsStarted, 1);
    QCOMPARE(journalFiles(folder).size(), 2);
}

QTEST_GUILESS_MAIN(TestJournalRecovery)
#include "tst_journal_recovery.moc"
