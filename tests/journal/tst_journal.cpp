// The journal written for a sequence of edits replays to the text those edits made; a journal cut
// off or overwritten anywhere gives back the text as it was at its last complete record.

#include "edit_model.h"

#include "journal/file_identity.h"
#include "journal/journal.h"
#include "journal/journal_file.h"
#include "journal/journal_folder.h"
#include "journal/journal_format.h"
#include "journal/journal_replay.h"
#include "tests/support/file_bytes.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

using namespace orvane;
using namespace orvane::journal;
using namespace orvane::test;
using test::EditModel;

namespace {

enum class Op { Insert, Delete, Convert, ConvertSelection, Undo, Redo, Paste, SaveAs, Save };

struct Step {
    Op op;
    qint64 a = 0;
    qint64 b = 0;
    QString text = {};
};

} // namespace

Q_DECLARE_METATYPE(QList<Step>)

class TestJournal : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_temporary = std::make_unique<QTemporaryDir>();
        QVERIFY(m_temporary->isValid());
        m_dir.setPath(m_temporary->path());
        m_folder = m_dir.filePath(QStringLiteral("state/orvane"));
    }

    void replayGivesTheEditedText_data();
    void replayGivesTheEditedText();
    void everyCutOffGivesTheTextOfItsLastCompleteRecord();
    void everyOverwrittenByteLosesOnlyWhatFollows();
    void journalOfANewerVersionIsRefused();
    void aConversionOfAnUnknownKindIsDamage_data();
    void aConversionOfAnUnknownKindIsDamage();
    void aConversionIsRecordedInAFewBytes();
    void theLiveJournalIsLockedPrivateAndGoesWhenDiscarded();
    void theOriginalsBytesAreKeptWhileTheJournalLives();

private:
    std::unique_ptr<QTemporaryDir> m_temporary;
    QDir m_dir;
    QString m_folder;
};

void TestJournal::replayGivesTheEditedText_data()
{
    QTest::addColumn<QString>("opened"); // the opened file's text; null for a new document
    QTest::addColumn<QList<Step>>("steps");

    using S = Step;
    const auto upper = qint64(chars::ConversionKind::Upper);
    const auto wide = qint64(chars::ConversionKind::Wide);
    const auto narrow = qint64(chars::ConversionKind::Narrow);
    const auto hiragana = qint64(chars::ConversionKind::Hiragana);
    QTest::newRow("typing") << QString()
                            << QList<S> {{Op::Insert, 0, 0, u"あ"_qs}, {Op::Insert, 3, 0, u"いう"_qs}};
    QTest::newRow("typing and backspace")
        << QString()
        << QList<S> {{Op::Insert, 0, 0, u"abc\r\ndef"_qs}, {Op::Delete, 7, 1}, {Op::Delete, 3, 2}};
    QTest::newRow("whole-text conversions") << QString()
                                            << QList<S> {{Op::Insert, 0, 0, u"abc ｶﾞｷﾞ かな"_qs},
                                                         {Op::Convert, wide},
                                                         {Op::Convert, narrow},
                                                         {Op::Convert, hiragana}};
    QTest::newRow("selection conversion")
        << QString() << QList<S> {{Op::Insert, 0, 0, u"abcdef"_qs}, {Op::ConvertSelection, 1, 4, u"4"_qs}};
    QTest::newRow("undo and redo of conversions") << QString()
                                                  << QList<S> {{Op::Insert, 0, 0, u"abc"_qs},
                                                               {Op::Convert, upper},
                                                               {Op::Insert, 0, 0, u"x"_qs},
                                                               {Op::Delete, 0, 1},
                                                               {Op::Undo, 0},
                                                               {Op::Redo, 0},
                                                               {Op::Undo, 0}};
    QTest::newRow("paste of a megabyte")
        << QString() << QList<S> {{Op::Insert, 0, 0, u"[]"_qs}, {Op::Paste, 1, 1 << 20}};
    QTest::newRow("opened file") << u"一行目\r\n二行目"_qs
                                 << QList<S> {{Op::Insert, 9, 0, u"！"_qs}, {Op::Delete, 0, 3}};
    QTest::newRow("opened file, converted")
        << u"abc\r\nｱｲｳ"_qs << QList<S> {{Op::Convert, wide}, {Op::Insert, 0, 0, u"z"_qs}};
    QTest::newRow("save as keeps the journal, with the new name")
        << u"abc"_qs << QList<S> {{Op::Insert, 3, 0, u"d"_qs}, {Op::SaveAs, 0, 0, u"copy.txt"_qs}};
    QTest::newRow("save starts afresh; an earlier conversion undone after it")
        << QString()
        << QList<S> {{Op::Insert, 0, 0, u"abc"_qs}, {Op::Convert, upper}, {Op::Save, 0, 0, u"saved.txt"_qs},
                     {Op::Insert, 3, 0, u"!"_qs},   {Op::Undo, 0},        {Op::Redo, 0}};
}

void TestJournal::replayGivesTheEditedText()
{
    QFETCH(QString, opened);
    QFETCH(QList<Step>, steps);

    Journal journal(m_folder);
    QByteArray base = opened.toUtf8();
    DocumentForm form;
    if (!opened.isNull()) {
        form.path = m_dir.filePath(QStringLiteral("opened.txt"));
        writeFile(form.path, base);
    }
    journal.startDocument(form, base.size());
    EditModel model(journal, base);
    for (const Step &step : steps) {
        switch (step.op) {
        case Op::Insert:
            model.insert(step.a, step.text.toUtf8());
            break;
        case Op::Delete:
            model.remove(step.a, step.b);
            break;
        case Op::Convert:
            model.convert(chars::ConversionKind(step.a));
            break;
        case Op::ConvertSelection:
            model.convert(chars::ConversionKind(step.text.toInt()), step.a, step.b);
            break;
        case Op::Undo:
            model.undo(step.a);
            break;
        case Op::Redo:
            model.redo(step.a);
            break;
        case Op::Paste:
            model.insert(step.a, QByteArray(step.b, 'p'));
            break;
        case Op::SaveAs:
            form.path = m_dir.filePath(step.text);
            form.encoding = codec::TextEncoding::Utf8Bom;
            journal.changeForm(form);
            break;
        case Op::Save:
            form.path = m_dir.filePath(step.text);
            writeFile(form.path, model.text());
            base = model.text();
            journal.startDocument(form, base.size());
            break;
        }
    }
    journal.drain();

    const ParsedJournal parsed = parseJournal(readFile(journal.filePath()));
    QCOMPARE(parsed.status, ParsedJournal::Status::Complete);
    const Replayed replayed = replay(parsed.records, base);
    QVERIFY(replayed.complete);
    QCOMPARE(QString::fromUtf8(replayed.text), QString::fromUtf8(model.text()));
    QCOMPARE(replayed.form, form);
}

void TestJournal::everyCutOffGivesTheTextOfItsLastCompleteRecord()
{
    Journal journal(m_folder);
    journal.startDocument({}, 0);
    EditModel model(journal);
    // The journal's size after each edit, with the text that edit left.
    QList<std::pair<qint64, QByteArray>> marks;
    const auto note = [&] { marks.append({QFileInfo(journal.filePath()).size(), model.text()}); };
    QByteArray origin;
    appendRecord(origin, Origin {});
    marks.append({headerSize + origin.size(), QByteArray()});
    model.insert(0, "abc");
    note();
    for (const char *piece : {"ｶﾞ", "\r\n", "かな"}) {
        model.insert(model.text().size(), piece);
        note();
    }
    model.convert(chars::ConversionKind::Wide);
    note();
    model.undo(0);
    note();
    model.remove(0, 1);
    note();

    const QByteArray bytes = readFile(journal.filePath());
    QCOMPARE(bytes.size(), marks.last().first);
    for (qint64 cut = headerSize; cut <= bytes.size(); ++cut) {
        const ParsedJournal parsed = parseJournal(QByteArrayView(bytes).first(cut));
        if (cut < marks.first().first) {
            // Cut inside the origin: nothing to replay on.
            QCOMPARE(parsed.validLength, headerSize);
            QVERIFY(!replay(parsed.records, {}).complete);
            continue;
        }
        const auto last = std::prev(std::upper_bound(
            marks.begin(), marks.end(), cut, [](qint64 c, const auto &mark) { return c < mark.first; }));
        QCOMPARE(parsed.status,
                 cut == last->first ? ParsedJournal::Status::Complete : ParsedJournal::Status::CutOff);
        QCOMPARE(parsed.validLength, last->first);
        QCOMPARE(replay(parsed.records, {}).text, last->second);
    }
}

void TestJournal::everyOverwrittenByteLosesOnlyWhatFollows()
{
    Journal journal(m_folder);
    journal.startDocument({}, 0);
    EditModel model(journal);
    QList<std::pair<qint64, QByteArray>> marks;
    for (const char *piece : {"一", "二", "三", "四"}) {
        model.insert(model.text().size(), piece);
        marks.append({QFileInfo(journal.filePath()).size(), model.text()});
    }
    const QByteArray bytes = readFile(journal.filePath());
    const qint64 firstEditStart = marks[0].first - (marks[1].first - marks[0].first);
    for (qint64 at = firstEditStart; at < bytes.size(); ++at) {
        QByteArray damaged = bytes;
        damaged[at] = char(damaged[at] ^ 0x5A);
        const ParsedJournal parsed = parseJournal(damaged);
        QVERIFY(parsed.status != ParsedJournal::Status::Complete);
        // The edits whose records end before the damaged byte are all there.
        QByteArray expected;
        for (const auto &[end, text] : marks)
            if (end <= at)
                expected = text;
        QCOMPARE(replay(parsed.records, {}).text, expected);
    }
}

void TestJournal::journalOfANewerVersionIsRefused()
{
    QByteArray bytes = journalHeader();
    appendRecord(bytes, Origin {});
    bytes[8] = char(formatVersion + 1);
    const ParsedJournal parsed = parseJournal(bytes);
    QCOMPARE(parsed.status, ParsedJournal::Status::Newer);
    QVERIFY(parsed.records.isEmpty());
}

void TestJournal::aConversionOfAnUnknownKindIsDamage_data()
{
    QTest::addColumn<int>("kind");
    for (const int kind : {0, 3, 1024, 0xFFFF, 0x10000})
        QTest::addRow("kind %d", kind) << kind;
}

// A kind this version does not know (a newer version's, or damage that kept the frame whole)
// cannot be replayed: reading stops before it, keeping the edits before it.
void TestJournal::aConversionOfAnUnknownKindIsDamage()
{
    QFETCH(int, kind);
    QByteArray bytes = journalHeader();
    appendRecord(bytes, Origin {});
    appendRecord(bytes, Insert {0, "abc"});
    const qint64 validLength = bytes.size();
    appendRecord(bytes, Conversion {chars::ConversionKind(kind), true, 0, 3, 3});

    const ParsedJournal parsed = parseJournal(bytes);
    QCOMPARE(parsed.status, ParsedJournal::Status::Damaged);
    QCOMPARE(parsed.validLength, validLength);
    QCOMPARE(replay(parsed.records, {}).text, QByteArray("abc"));
}

void TestJournal::aConversionIsRecordedInAFewBytes()
{
    Journal journal(m_folder);
    journal.startDocument({}, 0);
    EditModel model(journal);
    model.insert(0, QString(500'000, u'ｱ').toUtf8());
    const qint64 before = QFileInfo(journal.filePath()).size();
    model.convert(chars::ConversionKind::Wide);
    model.undo(0);
    QVERIFY2(QFileInfo(journal.filePath()).size() - before < 40,
             qPrintable(QString::number(QFileInfo(journal.filePath()).size() - before)));
}

void TestJournal::theLiveJournalIsLockedPrivateAndGoesWhenDiscarded()
{
    QString path;
    {
        Journal journal(m_folder);
        journal.startDocument({}, 0);
        QVERIFY(journal.filePath().isEmpty()); // nothing to keep before the first edit
        EditModel model(journal);
        model.insert(0, "a");
        path = journal.filePath();
        QCOMPARE(QFileInfo(path).absolutePath(), QFileInfo(m_folder).absoluteFilePath());
        QCOMPARE(QFileInfo(m_folder).permissions() & 0x7777,
                 QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadUser | QFile::WriteUser
                     | QFile::ExeUser);
        QCOMPARE(QFileInfo(path).permissions() & 0x7777,
                 QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
        QVERIFY(!JournalFile::takeOrphan(path));
        QCOMPARE(journalFiles(m_folder), QStringList {path});

        journal.discard();
        QVERIFY(!QFile::exists(path));
        model.insert(0, "b");
        path = journal.filePath();
        QVERIFY(QFile::exists(path));
    }
    // The window is gone: its journal stays, and can be taken, once.
    const std::shared_ptr<JournalFile> orphan = JournalFile::takeOrphan(path);
    QVERIFY(orphan);
    QVERIFY(!JournalFile::takeOrphan(path));
    QCOMPARE(replay(parseJournal(orphan->readAll()).records, {}).text, QByteArray("b"));
}

void TestJournal::theOriginalsBytesAreKeptWhileTheJournalLives()
{
    const QString document = m_dir.filePath(QStringLiteral("doc.txt"));
    writeFile(document, "original bytes");
    Journal journal(m_folder);
    journal.startDocument({document}, 14);
    EditModel model(journal, "original bytes");
    model.insert(0, "x");
    journal.drain();
    const QString kept = JournalFile::takeOrphan(journal.filePath()) ? QString() : journal.filePath();
    QVERIFY(!kept.isEmpty());
    const QString original = kept.chopped(8) + QStringLiteral(".original");
    QCOMPARE(readFile(original), QByteArray("original bytes"));

    const ParsedJournal parsed = parseJournal(readFile(kept));
    const Origin origin = std::get<Origin>(parsed.records.first());
    FileVersion identity = origin.file;
    for (const Record &record : parsed.records)
        if (const auto *hash = std::get_if<OriginHash>(&record)) {
            identity.hash = hash->hash;
            identity.hasHash = true;
        }
    QVERIFY(identity.hasHash);
    QVERIFY(isSameFile(document, identity));

    // Another program replaces the file: the kept bytes still are the origin's.
    const QString replacement = m_dir.filePath(QStringLiteral("new.txt"));
    writeFile(replacement, "other bytes!!!");
    QVERIFY(QFile::rename(replacement, document)
            || (QFile::remove(document) && QFile::rename(replacement, document)));
    QVERIFY(!isSameFile(document, identity));
    QVERIFY(isSameFile(original, identity));

    journal.discard();
    QVERIFY(!QFile::exists(original));
}

QTEST_GUILESS_MAIN(TestJournal)
#include "tst_journal.moc"
