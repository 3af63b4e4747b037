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
#include "tests/support/file_bytes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace orvane;
using namespace orvane::journal;
using namespace orvane::test;

namespace {

enum class Damage {
    None,
    FileChanged,
    FileChangedNoCopy,
    CutOff,
    Newer,
    MiddleFlip,
    HeaderFlip,
    InvalidUtf8
};

// The bytes with the one at `at` set to `value`: a journal damaged in one place.
QByteArray withByte(QByteArray bytes, qsizetype at, int value)
{
    bytes[at] = char(value);
    return bytes;
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
    QTest::newRow("a byte of the conversion flipped, はい: the insert before it")
        << true << int(Damage::MiddleFlip) << yes;
    QTest::newRow("a byte of the header flipped, はい: all of it") << false << int(Damage::HeaderFlip) << yes;
    QTest::newRow("an insert of invalid UTF-8, checked, はい") << false << int(Damage::InvalidUtf8) << yes;
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
    QByteArray beforeConversion;
    QString journalPath;
    {
        Journal journal(folder);
        DocumentForm form;
        if (named) {
            writeFile(path, original);
            form.path = path;
            form.encoding = codec::TextEncoding::ShiftJis;
            form.lineEnds = {codec::LineEnd::Lf, codec::LineEnd::Lf};
        }
        journal.startDocument(form, named ? shownOriginal.size() : 0);
        test::EditModel model(journal, named ? shownOriginal : QByteArray());
        model.insert(model.text().size(), "ｶﾞ");
        beforeConversion = model.text();
        model.convert(chars::ConversionKind::Hiragana);
        beforeLastEdit = model.text();
        model.insert(0, "日本語\r\n");
        edited = model.text();
        journal.drain();
        journalPath = journal.filePath();
    }
    const QByteArray journalBytes = readFile(journalPath);
    const ParsedJournal parsed = parseJournal(journalBytes);
    // Where the record of each kind begins: the conversion, and the last insert.
    qint64 conversionAt = 0;
    for (qsizetype i = 1; i < parsed.records.size(); ++i)
        if (std::holds_alternative<Conversion>(parsed.records[i]))
            conversionAt = parsed.recordEnds[i - 1];
    const qint64 lastAt = parsed.recordEnds[parsed.records.size() - 2];
    QByteArray expectedText = edited;
    QString expectedNote;
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
        expectedText = beforeLastEdit;
        expectedNote = journal_texts::damagedNote(2, 3);
        break;
    case Damage::MiddleFlip:
        writeFile(journalPath,
                  withByte(journalBytes, conversionAt + 6, journalBytes[conversionAt + 6] ^ 0x10));
        expectedText = beforeConversion;
        expectedNote = journal_texts::damagedNote(1, 3);
        break;
    case Damage::HeaderFlip:
        writeFile(journalPath, withByte(journalBytes, 2, journalBytes[2] ^ 0x01));
        break;
    case Damage::InvalidUtf8: {
        QByteArray crafted = journalBytes.first(lastAt);
        appendInsert(crafted, 0, "\xff\xfe");
        writeFile(journalPath, crafted);
        expectedText = beforeLastEdit;
        expectedNote = journal_texts::damagedNote(2, 3);
        break;
    }
    case Damage::Newer:
        writeFile(journalPath, withByte(journalBytes, 8, formatVersion + 1));
        break;
    }
    const QByteArray fileBefore = readFile(path);
    const QByteArray offeredBytes = readFile(journalPath);

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
    QCOMPARE(shown.contains(journal_texts::fileChangedNote()), damage == int(Damage::FileChanged));
    if (!expectedNote.isEmpty())
        QVERIFY2(shown.contains(expectedNote), qPrintable(shown));
    else
        QVERIFY2(!shown.contains(QStringLiteral("件")), qPrintable(shown));
    QCOMPARE(restored, answer == int(MsgBoxAnswer::Yes));
    if (!restored) {
        QVERIFY(!QFile::exists(journalPath));
        QCOMPARE(fake.edit.text(), QString());
        return;
    }
    QCOMPARE(fake.edit.text(), QString::fromUtf8(expectedText));
    QVERIFY(fake.document.isModified());
    QCOMPARE(fake.document.path(), named ? path : QString());
    QCOMPARE(fake.document.encoding(), codec::TextEncoding::ShiftJis);
    const codec::LineEnds lineEnds
        = named ? codec::LineEnds {codec::LineEnd::Lf, codec::LineEnd::Lf} : codec::LineEnds();
    QVERIFY(fake.document.file().lineEnds == lineEnds);
    if (expectedNote.isEmpty()) {
        // This window goes on with the same journal; no other can take it.
        QCOMPARE(journal.filePath(), journalPath);
        QVERIFY(!JournalFile::takeOrphan(journalPath));
        return;
    }
    // A damaged journal stays as it was, set aside and held, until the text is saved; the next
    // edit starts a journal that holds the restored text whole.
    const QString kept = journalPath.chopped(8) + QStringLiteral(".kept");
    QCOMPARE(readFile(kept), offeredBytes);
    QVERIFY(!JournalFile::takeOrphan(kept));
    QVERIFY(journal.filePath().isEmpty());
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
