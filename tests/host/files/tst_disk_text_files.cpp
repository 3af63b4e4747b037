// The disk text files against real files in a temporary folder, compared byte for byte.

#include "tests/files/test_files.h"

#include "disk/disk_texts.h"
#include "host/files/bytes_hash.h"
#include "host/files/disk_text_files.h"
#include "host/host_error.h"

#include <QFile>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

#include <functional>

using namespace orvane;
using namespace orvane::test;
using namespace Qt::StringLiterals;
namespace texts = orvane::disk_texts;

Q_DECLARE_METATYPE(ErrorNumber)
Q_DECLARE_METATYPE(codec::TextEncoding)

namespace {

// The error a call throws, or none.
template <typename F> std::optional<HostError> errorOf(F &&call)
{
    try {
        call();
    } catch (const HostError &error) {
        return error;
    }
    return std::nullopt;
}

// Collects what a streamed read loads.
class CollectingLoad final : public TextLoad {
public:
    void reserve(qsizetype bytes) override { reserved = bytes; }
    void append(QByteArrayView block) override { utf8 += block; }
    qsizetype reserved = -1;
    QByteArray utf8;
};

// A run of lines past the reader's 2 MB blocks.
QByteArray manyLines(const QByteArray &line, qsizetype bytes = 3'000'000)
{
    return line.repeated(bytes / line.size());
}

} // namespace

class TestDiskTextFiles : public FolderTest {
    Q_OBJECT

private slots:
    void loadAndSave_data();
    void loadAndSave();
    void utf8LookingFilesAreFlagged_data();
    void utf8LookingFilesAreFlagged();
    void refusedFiles_data();
    void refusedFiles();
    void hashIsTheSameWhateverThePieces();
    void streamedReadGivesWhatTheWholeReadGives_data();
    void streamedReadGivesWhatTheWholeReadGives();
    void openNeedingMoreMemoryThanAvailableIsRefusedUnloaded();
    void pipeIsRefusedWithoutWaiting();
    void unreadableFileIsRefusedForAnUnprivilegedUser();
    void unstorableCharacters_data();
    void unstorableCharacters();
    void saveKeepsPermissions();
    void saveWritesThroughSymbolicLink();
    void saveKeepsHardLinksTogether();
    void readOnlyFileIsRefusedEvenForRoot();
    void saveRefusesFolderAndPipeAndMissingFolder();
    void diskFullLeavesPreviousFileIntact();
    void diskFullInPlaceLeavesPreviousFileIntact();
    void readOnlyFolderWritesExistingFileInPlace();
    void japanesePathWithSpaces();
    void longSingleLineRoundTrips();
    void everyCharacterRoundTripsInEachUnicodeEncoding_data();
    void everyCharacterRoundTripsInEachUnicodeEncoding();

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }

    DiskTextFiles m_files;
};

void TestDiskTextFiles::loadAndSave_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("text");

    QTest::newRow("zero bytes") << QByteArray() << QString();
    QTest::newRow("CR LF") << QByteArray("\r\n") << QString();
    QTest::newRow("A CR LF B CR LF") << QByteArray("A\r\nB\r\n") << u"A\r\nB"_qs;
    QTest::newRow("A CR LF B, no final CR LF") << QByteArray("A\r\nB") << u"A\r\nB"_qs;
    QTest::newRow("A CR LF CR LF") << QByteArray("A\r\n\r\n") << u"A\r\n"_qs;
    QTest::newRow("LF only") << QByteArray("A\nB\n") << u"A\nB"_qs;
    QTest::newRow("lone CR") << QByteArray("A\rB\r") << u"A\rB"_qs;
    QTest::newRow("LF then CR: an empty line") << QByteArray("A\n\rB") << u"A\n\rB"_qs;
    QTest::newRow("blank lines of every kind") << QByteArray("\n\r\r\n\n") << u"\n\r\r\n"_qs;
    QTest::newRow("commas, quotes, tabs, blanks") << QByteArray("  a,\"b\"\t c \r\n") << u"  a,\"b\"\t c "_qs;
    QTest::newRow("Japanese") << QByteArray("\x93\xFA\x96\x7B\x8C\xEA\r\n\xB6\xC5") << u"日本語\r\nｶﾅ"_qs;
    QTest::newRow("NUL bytes") << bytes("a\0b\r\n\0", 6) << QString::fromUtf16(u"a\0b\r\n\0", 6);
    QTest::newRow("single bytes 80 A0 FD FE FF")
        << QByteArray("\x80\xA0\xFD\xFE\xFF") << u"\u0080\uF8F0\uF8F1\uF8F2\uF8F3"_qs;
    QTest::newRow("backslash and tilde") << QByteArray("\\~") << u"\\~"_qs;
}

// The text shows each line end as the file has it but not the one after the last line; the save
// writes back exactly the bytes that were read.
void TestDiskTextFiles::loadAndSave()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, text);

    const QString file = path(QStringLiteral("a.txt"));
    writeFileBytes(file, before);
    const LoadedText loaded = m_files.readText(file);
    QCOMPARE(loaded.decoded(), text);
    QCOMPARE(loaded.encoding, codec::TextEncoding::ShiftJis);
    QCOMPARE(loaded.alsoShiftJis(), false);

    m_files.writeText(file, loaded.decoded(), loaded.encoding, {loaded.lineEnds.last, &loaded.codes});
    QCOMPARE(fileBytes(file), before);
    QCOMPARE(m_files.readText(file).decoded(), text);
    QCOMPARE(folderEntries(m_dir.path()), QStringList {QStringLiteral("a.txt")});
}

void TestDiskTextFiles::utf8LookingFilesAreFlagged_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("alsoShiftJis");

    QTest::newRow("ﾃｽ is also UTF-8 ý") << QByteArray("\xC3\xBD") << u"ﾃｽ"_qs << true;
    QTest::newRow("ASCII only") << QByteArray("plain\r\n") << u"plain"_qs << false;
    QTest::newRow("Shift-JIS Japanese") << QByteArray("\x82\xA0\x93\xFA") << u"あ日"_qs << false;
    QTest::newRow("UTF-8 日本語") << QByteArray("\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E") << QString() << false;
}

void TestDiskTextFiles::utf8LookingFilesAreFlagged()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, text);
    QFETCH(bool, alsoShiftJis);

    const QString file = path(QStringLiteral("a.txt"));
    writeFileBytes(file, content);
    const LoadedText loaded = m_files.readText(file);
    // A UTF-8 file: its Shift-JIS reading.
    QCOMPARE(loaded.shiftJisReading ? loaded.shiftJisReading->text
                 : loaded.isUtf8()  ? QString()
                                    : loaded.decoded(),
             text);
    QCOMPARE(loaded.alsoShiftJis(), alsoShiftJis);
}

void TestDiskTextFiles::refusedFiles_data()
{
    QTest::addColumn<QString>("name"); // under the temporary folder, or an absolute path
    QTest::addColumn<QByteArray>("content"); // written unless the row makes something else
    QTest::addColumn<ErrorNumber>("number");
    QTest::addColumn<QString>("descriptionPart"); // the description holds it, after the file's name

    QTest::newRow("invalid pair on line 2")
        << QStringLiteral("a.txt") << QByteArray("ab\r\ncd\x82\x20") << ErrorNumber::InvalidFileFormat
        << u"Shift-JIS のテキストとして読めないバイトがあります（2 行目、3 文字目）。"_qs;
    QTest::newRow("lead byte at the end, after LF-only lines")
        << QStringLiteral("a.txt") << QByteArray("x\ny\n\x93\xFA\x81") << ErrorNumber::InvalidFileFormat
        << u"Shift-JIS のテキストとして読めないバイトがあります（3 行目、2 文字目）。"_qs;
    QTest::newRow("unassigned pair") << QStringLiteral("a.txt") << QByteArray("\x85\x40")
                                     << ErrorNumber::InvalidFileFormat << u"（1 行目、1 文字目）"_qs;
    QTest::newRow("UTF-8 BOM, then FF")
        << QStringLiteral("a.txt")
        << QByteArray("\xEF\xBB\xBF"
                      "ab\xFF")
        << ErrorNumber::InvalidFileFormat
        << u"UTF-8 (BOM 付き) のテキストとして読めないバイトがあります（1 行目、3 文字目）。"_qs;
    QTest::newRow("UTF-16 LE BOM, then a lone low surrogate")
        << QStringLiteral("a.txt")
        << QByteArray("\xFF\xFE"
                      "a\0\0\xDC",
                      6)
        << ErrorNumber::InvalidFileFormat
        << u"UTF-16 LE のテキストとして読めないバイトがあります（1 行目、2 文字目）。"_qs;
    QTest::newRow("UTF-16 BE BOM, then an odd byte")
        << QStringLiteral("a.txt") << QByteArray("\xFE\xFF\0a\0", 5) << ErrorNumber::InvalidFileFormat
        << u"UTF-16 BE のテキストとして読めないバイトがあります（1 行目、2 "
           u"文字目）。ファイルの最後の文字が途中で切れています。"_qs;
    QTest::newRow("neither UTF-8 nor Shift-JIS")
        << QStringLiteral("a.txt") << QByteArray("\xE6\x97\xA5\x82") << ErrorNumber::InvalidFileFormat
        << u"（1 行目、3 文字目）。UTF-8 や EUC-JP のテキストとしても読めません。"_qs;
    QTest::newRow("missing file") << QStringLiteral("missing.txt") << QByteArray()
                                  << ErrorNumber::FileNotFound << u"が見つかりません。"_qs;
    QTest::newRow("missing folder") << QStringLiteral("gone/a.txt") << QByteArray()
                                    << ErrorNumber::PathNotFound << u"のフォルダーが見つかりません。"_qs;
    QTest::newRow("folder") << QStringLiteral("folder") << QByteArray() << ErrorNumber::PathFileAccess
                            << u"はフォルダーです。"_qs;
    QTest::newRow("/dev/zero") << QStringLiteral("/dev/zero") << QByteArray() << ErrorNumber::PathFileAccess
                               << u"は通常のファイルではない（デバイスやパイプなど）ため開けません。"_qs;
}

void TestDiskTextFiles::refusedFiles()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(ErrorNumber, number);
    QFETCH(QString, descriptionPart);

    const QString file = name.startsWith(u'/') ? name : path(name);
    makeNamedEntry(file, content);

    const auto error = errorOf([&] { m_files.readText(file); });
    QVERIFY(error);
    QCOMPARE(error->number(), number);
    const QString description = error->description();
    QVERIFY2(description.contains(QStringLiteral("「%1」").arg(file)), qPrintable(description));
    QVERIFY2(description.contains(descriptionPart), qPrintable(description));
}

// A file's hash, fed in the pieces its reads happen to give, is the hash of all of it at once.
void TestDiskTextFiles::hashIsTheSameWhateverThePieces()
{
    QByteArray bytes(3 * BytesHash::chunkSize + 12345, Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i)
        bytes[i] = char(i * 7919 >> 3);
    const size_t whole = BytesHash::of(bytes);
    for (const qsizetype piece : {qsizetype(1), qsizetype(1000), BytesHash::chunkSize - 1,
                                  BytesHash::chunkSize, BytesHash::chunkSize + 1, bytes.size()}) {
        BytesHash hash;
        for (qsizetype i = 0; i < bytes.size(); i += piece)
            hash.add(QByteArrayView(bytes).sliced(i, std::min(piece, bytes.size() - i)));
        QCOMPARE(hash.size(), bytes.size());
        QCOMPARE(hash.value(), whole);
    }
    QByteArray changed = bytes;
    changed[changed.size() - 1] = char(~changed.back());
    QVERIFY(BytesHash::of(changed) != whole);
    QVERIFY(BytesHash::of(bytes.first(BytesHash::chunkSize))
            != BytesHash::of(bytes.first(2 * BytesHash::chunkSize)));
}

void TestDiskTextFiles::streamedReadGivesWhatTheWholeReadGives_data()
{
    QTest::addColumn<QByteArray>("content");
    const QByteArray sjis = "\x93\xFA\x96\x7B\x8C\xEA abc\r\n"; // 日本語 abc
    const QByteArray utf8 = "日本語 abc\r\n";
    QTest::newRow("Shift-JIS, blocks") << manyLines(sjis);
    QTest::newRow("UTF-8, blocks") << manyLines(utf8);
    QTest::newRow("UTF-8 BOM, blocks") << "\xEF\xBB\xBF" + manyLines(utf8);
    QTest::newRow("ASCII, then Shift-JIS after a block") << manyLines("abc\r\n") + sjis + "x";
    QTest::newRow("ASCII, LF, no last line end") << manyLines("abc\n") + "end";
    QTest::newRow("CR LF across a block edge") << QByteArray(2 * 1024 * 1024 - 1, 'a') + "\r\nb\r";
    QTest::newRow("CR only, blocks") << manyLines("abc\r") + "\r";
    QTest::newRow("Shift-JIS, invalid after a block") << manyLines(sjis) + "\x85\x40\r\n";
    QTest::newRow("Shift-JIS, lead byte cut at the end") << manyLines(sjis) + "\x93";
    QTest::newRow("UTF-8, invalid after a block") << manyLines(utf8) + "\xFF";
    QTest::newRow("UTF-16 LE") << QByteArray("\xFF\xFE"
                                             "a\0\r\0\n\0",
                                             8);
    QTest::newRow("valid as UTF-8 and Shift-JIS") << QByteArray("\xC3\xBD\r\n");
    // ∵ has two codes, 81 E6 (Windows') and 87 9A: the file's first use counts.
    QTest::newRow("∵ 81E6, then 879A a block later") << manyLines("\x81\xE6\r\n") + "\x87\x9A";
    QTest::newRow("∵ 879A, then 81E6 a block later") << manyLines("\x87\x9A\r\n") + "\x81\xE6";
    QTest::newRow("empty") << QByteArray();
}

void TestDiskTextFiles::streamedReadGivesWhatTheWholeReadGives()
{
    QFETCH(QByteArray, content);
    const QString file = path(QStringLiteral("f.txt"));
    writeFileBytes(file, content);

    LoadedText whole;
    const auto wholeError = errorOf([&] { whole = m_files.readText(file); });
    CollectingLoad load;
    SilentProgress progress;
    LoadedText streamed;
    const auto streamedError = errorOf([&] { streamed = m_files.streamText(file, load, progress); });
    QCOMPARE(bool(streamedError), bool(wholeError));
    if (wholeError) {
        QCOMPARE(streamedError->description(), wholeError->description());
        return;
    }
    QCOMPARE(streamed.encoding, whole.encoding);
    QCOMPARE(streamed.lineEnds, whole.lineEnds);
    QCOMPARE(streamed.codes, whole.codes);
    QCOMPARE(streamed.alsoShiftJis(), whole.alsoShiftJis());
    if (whole.alsoShiftJis()) {
        QCOMPARE(streamed.shiftJisReading->text, whole.shiftJisReading->text);
        QCOMPARE(streamed.shiftJisReading->codes, whole.shiftJisReading->codes);
    }
    QCOMPARE(streamed.text, whole.text);
    QCOMPARE(streamed.stamp, whole.stamp);
    QCOMPARE(m_files.stampOf(file, true), whole.stamp);
    QCOMPARE(streamed.utf8Units, whole.utf8Units);
    QCOMPARE(streamed.streamed ? load.utf8 : streamed.utf8, whole.utf8);
    if (streamed.streamed)
        QVERIFY(load.reserved >= load.utf8.size());
}

void TestDiskTextFiles::openNeedingMoreMemoryThanAvailableIsRefusedUnloaded()
{
    const QString file = path(QStringLiteral("big.txt"));
    writeFileBytes(file, manyLines("abc\r\n"));
    qputenv("ORVANE_MEMORY_LIMIT_MB", "2");
    const auto lifted = qScopeGuard([] { qunsetenv("ORVANE_MEMORY_LIMIT_MB"); });

    CollectingLoad load;
    SilentProgress progress;
    for (const auto &read : std::initializer_list<std::function<void()>> {
             [&] { m_files.streamText(file, load, progress); }, [&] { m_files.readText(file); }}) {
        const auto error = errorOf(read);
        QVERIFY(error);
        QCOMPARE(error->number(), ErrorNumber::OutOfMemory);
        QVERIFY2(error->description().contains(u"「%1」"_s.arg(file)), qPrintable(error->description()));
        QVERIFY2(error->description().contains(u"使えるのは 2 MB"_s), qPrintable(error->description()));
    }
    QCOMPARE(load.reserved, -1);
    QVERIFY(load.utf8.isEmpty());
}

void TestDiskTextFiles::pipeIsRefusedWithoutWaiting()
{
    const QString fifo = path(QStringLiteral("pipe.txt"));
    QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0644) == 0);
    // A reader that opened the pipe would wait for a writer forever; the test would time out.
    const auto error = errorOf([&] { m_files.readText(fifo); });
    QVERIFY(error);
    QCOMPARE(error->description(), texts::notRegularRead(fifo));
}

void TestDiskTextFiles::unreadableFileIsRefusedForAnUnprivilegedUser()
{
    const QString file = path(QStringLiteral("secret.txt"));
    writeFileBytes(file, QByteArray("secret"));
    QVERIFY(QFile::setPermissions(file, QFileDevice::WriteOwner));
    QVERIFY(QFile::setPermissions(m_dir.path(), QFileDevice::Permissions(0x7755)));

    const ChildResult child = runInChild(
        [&] {
            const auto error = errorOf([&] { m_files.readText(file); });
            return error ? error->description().toUtf8() : QByteArray("read");
        },
        true);
    if (child.skipped)
        QSKIP("cannot become an unprivileged user");
    QVERIFY(child.exitedNormally);
    QCOMPARE(QString::fromUtf8(child.output), texts::accessDeniedRead(file));
}

void TestDiskTextFiles::unstorableCharacters_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("descriptionPart");
    QTest::addColumn<codec::TextEncoding>("encoding");

    QTest::newRow("emoji on line 3, column 12")
        << u"一\r\n二\r\n12345678901😀"_qs
        << u"「😀」(U+1F600) は Shift-JIS で保存できません（3 行目、12 文字目）。"_qs
        << codec::TextEncoding::ShiftJis;
    QTest::newRow("¥ with the hint")
        << u"100¥"_qs << u"「¥」(U+00A5) は Shift-JIS で保存できません（1 行目、4 文字目）。"_qs
        << codec::TextEncoding::ShiftJis;
    QTest::newRow("‾") << u"a‾"_qs << u"「‾」(U+203E) は Shift-JIS で保存できません（1 行目、2 文字目）。"_qs
                       << codec::TextEncoding::ShiftJis;
    QTest::newRow("hangul") << u"\r\n한"_qs
                            << u"「한」(U+D55C) は Shift-JIS で保存できません（2 行目、1 文字目）。"_qs
                            << codec::TextEncoding::ShiftJis;
    QTest::newRow("lone surrogate") << QString(QChar(0xD800))
                                    << u"文字 U+D800 は Shift-JIS で保存できません（1 行目、1 文字目）。"_qs
                                    << codec::TextEncoding::ShiftJis;
    // Past the first block, the place counts the blocks before.
    const QString lines = u"ab\r\n"_s.repeated(textBlockSize / 2);
    const QString lineAfter = QString::number(textBlockSize / 2 + 1);
    QTest::newRow("emoji after the first block")
        << lines + u"x😀"_s
        << u"「😀」(U+1F600) は Shift-JIS で保存できません（%1 行目、2 文字目）。"_s.arg(lineAfter)
        << codec::TextEncoding::ShiftJis;
    QTest::newRow("¥ after the first block in ISO-2022-JP")
        << lines + u"漢¥"_s
        << u"「¥」(U+00A5) は JIS (ISO-2022-JP) で保存できません（%1 行目、2 文字目）。"_s.arg(lineAfter)
        << codec::TextEncoding::Iso2022Jp;
    QTest::newRow("lone surrogate after the first block in UTF-16 LE")
        << lines + QChar(0xDC00)
        << u"対になっていないサロゲート U+DC00 は UTF-16 LE で保存できません（%1 行目、1 文字目）。"_s.arg(
               lineAfter)
        << codec::TextEncoding::Utf16Le;
    QTest::newRow("lone surrogate in UTF-8")
        << u"a\r\n"_s + QChar(0xDC00)
        << u"対になっていないサロゲート U+DC00 は UTF-8 で保存できません（2 行目、1 文字目）。"_qs
        << codec::TextEncoding::Utf8;
    QTest::newRow("lone high surrogate in UTF-16 BE")
        << QChar(0xD800) + u"a"_s
        << u"対になっていないサロゲート U+D800 は UTF-16 BE で保存できません（1 行目、1 文字目）。"_qs
        << codec::TextEncoding::Utf16Be;
}

void TestDiskTextFiles::unstorableCharacters()
{
    QFETCH(QString, text);
    QFETCH(QString, descriptionPart);
    QFETCH(codec::TextEncoding, encoding);

    const QString file = path(QStringLiteral("old.txt"));
    writeFileBytes(file, QByteArray("old\r\n"));
    const auto error = errorOf([&] { m_files.writeText(file, text, encoding); });
    QVERIFY(error);
    QCOMPARE(error->number(), ErrorNumber::InvalidFileFormat);
    QVERIFY2(error->description().startsWith(QStringLiteral("ファイル「%1」").arg(file)),
             qPrintable(error->description()));
    QVERIFY2(error->description().contains(descriptionPart), qPrintable(error->description()));
    if (text.contains(u'¥') || text.contains(u'‾'))
        QVERIFY(error->description().contains(u"全角変換で ¥ を ￥")
                || error->description().contains(u"全角変換は ¥ を ￥"));
    // The way out through UTF-8, where there is one: no encoding stores a lone surrogate.
    QCOMPARE(
        error->description().endsWith(u"「名前を付けて保存」で UTF-8 を選ぶと、この文字も保存できます。"),
        codec::isJisBased(encoding) && !descriptionPart.contains(QRegularExpression(u"U\\+D[89A-F]"_s)));
    QCOMPARE(fileBytes(file), QByteArray("old\r\n"));
    QCOMPARE(folderEntries(m_dir.path()), QStringList {QStringLiteral("old.txt")});
}

void TestDiskTextFiles::saveKeepsPermissions()
{
    const QString file = path(QStringLiteral("a.txt"));
    writeFileBytes(file, QByteArray("old\r\n"));
    const auto permissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
    QVERIFY(QFile::setPermissions(file, permissions));
    m_files.writeText(file, QStringLiteral("新しい"));
    QCOMPARE(fileBytes(file), QByteArray("\x90\x56\x82\xB5\x82\xA2\r\n"));
    QCOMPARE(QFile::permissions(file) & ~(QFileDevice::ReadUser | QFileDevice::WriteUser), permissions);
}

void TestDiskTextFiles::saveWritesThroughSymbolicLink()
{
    const QString target = path(QStringLiteral("target.txt"));
    const QString link = path(QStringLiteral("link.txt"));
    writeFileBytes(target, QByteArray("old\r\n"));
    QVERIFY(QFile::link(target, link));

    m_files.writeText(link, QStringLiteral("new"));
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(fileBytes(target), QByteArray("new\r\n"));
    QCOMPARE(folderEntries(m_dir.path()),
             (QStringList {QStringLiteral("link.txt"), QStringLiteral("target.txt")}));
}

void TestDiskTextFiles::saveKeepsHardLinksTogether()
{
    const QString file = path(QStringLiteral("a.txt"));
    const QString other = path(QStringLiteral("b.txt"));
    writeFileBytes(file, QByteArray("old text, longer than the new\r\n"));
    QVERIFY(::link(QFile::encodeName(file).constData(), QFile::encodeName(other).constData()) == 0);

    m_files.writeText(file, QStringLiteral("new"));
    QCOMPARE(fileBytes(file), QByteArray("new\r\n"));
    QCOMPARE(fileBytes(other), QByteArray("new\r\n"));
    QCOMPARE(folderEntries(m_dir.path()), (QStringList {QStringLiteral("a.txt"), QStringLiteral("b.txt")}));
}

void TestDiskTextFiles::readOnlyFileIsRefusedEvenForRoot()
{
    const QString file = path(QStringLiteral("a.txt"));
    writeFileBytes(file, QByteArray("old\r\n"));
    QVERIFY(QFile::setPermissions(file,
                                  QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));

    const auto error = errorOf([&] { m_files.writeText(file, QStringLiteral("new")); });
    QVERIFY(error);
    QCOMPARE(error->number(), ErrorNumber::PermissionDenied);
    QCOMPARE(error->description(), texts::readOnlyFile(file));
    QCOMPARE(fileBytes(file), QByteArray("old\r\n"));
    QCOMPARE(folderEntries(m_dir.path()), QStringList {QStringLiteral("a.txt")});
}

void TestDiskTextFiles::saveRefusesFolderAndPipeAndMissingFolder()
{
    const QString folder = path(QStringLiteral("folder"));
    QVERIFY(QDir().mkpath(folder));
    const QString fifo = path(QStringLiteral("pipe.txt"));
    QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0644) == 0);

    auto error = errorOf([&] { m_files.writeText(folder, QStringLiteral("x")); });
    QVERIFY(error);
    QCOMPARE(error->description(), texts::isFolderWrite(folder));

    error = errorOf([&] { m_files.writeText(fifo, QStringLiteral("x")); });
    QVERIFY(error);
    QCOMPARE(error->description(), texts::notRegularWrite(fifo));

    const QString missing = path(QStringLiteral("gone/a.txt"));
    error = errorOf([&] { m_files.writeText(missing, QStringLiteral("x")); });
    QVERIFY(error);
    QCOMPARE(error->number(), ErrorNumber::PathNotFound);
    QCOMPARE(error->description(), texts::folderNotFound(missing));

    QCOMPARE(folderEntries(m_dir.path()),
             (QStringList {QStringLiteral("folder"), QStringLiteral("pipe.txt")}));
}

void TestDiskTextFiles::diskFullLeavesPreviousFileIntact()
{
    const QString file = path(QStringLiteral("a.txt"));
    writeFileBytes(file, QByteArray("old\r\n"));
    const QString text(1 << 20, u'x');

    const ChildResult child = runOnAFullDisk([&] {
        const auto error = errorOf([&] { m_files.writeText(file, text); });
        return error ? QByteArray::number(int(error->number())) + ' ' + error->description().toUtf8()
                     : QByteArray("written");
    });
    QVERIFY(child.exitedNormally);
    QCOMPARE(QString::fromUtf8(child.output), QStringLiteral("61 ") + texts::diskFull(file));
    QCOMPARE(fileBytes(file), QByteArray("old\r\n"));
    QCOMPARE(folderEntries(m_dir.path()), QStringList {QStringLiteral("a.txt")});
}

void TestDiskTextFiles::diskFullInPlaceLeavesPreviousFileIntact()
{
    const QString file = path(QStringLiteral("a.txt"));
    const QString other = path(QStringLiteral("b.txt"));
    writeFileBytes(file, QByteArray("old\r\n"));
    QVERIFY(::link(QFile::encodeName(file).constData(), QFile::encodeName(other).constData()) == 0);
    const QString text(1 << 20, u'x');

    const ChildResult child = runOnAFullDisk([&] {
        const auto error = errorOf([&] { m_files.writeText(file, text); });
        return error ? error->description().toUtf8() : QByteArray("written");
    });
    QVERIFY(child.exitedNormally);
    QCOMPARE(QString::fromUtf8(child.output), texts::diskFull(file));
    QCOMPARE(fileBytes(file), QByteArray("old\r\n"));
    QCOMPARE(fileBytes(other), QByteArray("old\r\n"));
}

void TestDiskTextFiles::readOnlyFolderWritesExistingFileInPlace()
{
    const QString folder = path(QStringLiteral("locked"));
    QVERIFY(QDir().mkpath(folder));
    const QString file = folder + QStringLiteral("/a.txt");
    writeFileBytes(file, QByteArray("old\r\n"));
    QVERIFY(QFile::setPermissions(file, QFileDevice::Permissions(0x6666)));
    QVERIFY(QFile::setPermissions(m_dir.path(), QFileDevice::Permissions(0x7555)));
    QVERIFY(QFile::setPermissions(folder, QFileDevice::Permissions(0x7555)));
    const QString newFile = folder + QStringLiteral("/new.txt");

    const ChildResult child = runInChild(
        [&] {
            QByteArray out;
            const auto existing = errorOf([&] { m_files.writeText(file, QStringLiteral("new")); });
            out += existing ? existing->description().toUtf8() : QByteArray("written");
            out += '\n';
            const auto created = errorOf([&] { m_files.writeText(newFile, QStringLiteral("new")); });
            out += created ? created->description().toUtf8() : QByteArray("written");
            return out;
        },
        true);
    QVERIFY(QFile::setPermissions(folder, QFileDevice::Permissions(0x7755)));
    QVERIFY(QFile::setPermissions(m_dir.path(), QFileDevice::Permissions(0x7700)));
    if (child.skipped)
        QSKIP("cannot become an unprivileged user");
    QVERIFY(child.exitedNormally);
    QCOMPARE(QString::fromUtf8(child.output),
             QStringLiteral("written\n") + texts::accessDeniedWrite(newFile));
    QCOMPARE(fileBytes(file), QByteArray("new\r\n"));
    QCOMPARE(folderEntries(folder), QStringList {QStringLiteral("a.txt")});
}

void TestDiskTextFiles::japanesePathWithSpaces()
{
    const QString folder = path(QStringLiteral("日本語 の フォルダー"));
    QVERIFY(QDir().mkpath(folder));
    const QString file = folder + QStringLiteral("/メモ 1.txt");
    m_files.writeText(file, QStringLiteral("メモ"));
    QCOMPARE(fileBytes(file), QByteArray("\x83\x81\x83\x82\r\n"));
    QCOMPARE(m_files.readText(file).decoded(), QStringLiteral("メモ"));
}

void TestDiskTextFiles::longSingleLineRoundTrips()
{
    // 20 MB of あ with no line end at all.
    QByteArray content;
    content.reserve(20'000'000);
    for (int i = 0; i < 10'000'000; ++i)
        content.append("\x82\xA0", 2);
    const QString file = path(QStringLiteral("long.txt"));
    writeFileBytes(file, content);

    const LoadedText loaded = m_files.readText(file);
    QCOMPARE(loaded.decoded().size(), 10'000'000);
    QCOMPARE(loaded.decoded().count(u'あ'), 10'000'000);
    m_files.writeText(file, loaded.decoded());
    QVERIFY(fileBytes(file) == content + "\r\n");
}

void TestDiskTextFiles::everyCharacterRoundTripsInEachUnicodeEncoding_data()
{
    QTest::addColumn<codec::TextEncoding>("encoding");
    QTest::addColumn<QByteArray>("mark");
    QTest::newRow("UTF-8") << codec::TextEncoding::Utf8 << QByteArray();
    QTest::newRow("UTF-8 BOM") << codec::TextEncoding::Utf8Bom << QByteArray("\xEF\xBB\xBF");
    QTest::newRow("UTF-16 LE") << codec::TextEncoding::Utf16Le << QByteArray("\xFF\xFE");
    QTest::newRow("UTF-16 BE") << codec::TextEncoding::Utf16Be << QByteArray("\xFE\xFF");
}

void TestDiskTextFiles::everyCharacterRoundTripsInEachUnicodeEncoding()
{
    QFETCH(codec::TextEncoding, encoding);
    QFETCH(QByteArray, mark);

    // Every BMP character but the surrogates and a sample of the others, in lines of 64; CR and
    // LF only as the line ends, which read back as they are.
    QString text;
    for (char32_t c = 0; c < 0x110000; c += c < 0x10000 ? 1 : 61) {
        if ((c >= 0xD800 && c <= 0xDFFF) || c == U'\r' || c == U'\n')
            continue;
        text += QString::fromUcs4(&c, 1);
        if (c % 64 == 0)
            text += u"\r\n";
    }
    // The file's bytes written by hand: the mark, the text, one CR LF.
    const auto expectedFile = [&](const QString &written) {
        const QString lines = written + u"\r\n"_qs;
        if (encoding == codec::TextEncoding::Utf8 || encoding == codec::TextEncoding::Utf8Bom)
            return mark + lines.toUtf8();
        QByteArray bytes = mark;
        for (QChar unit : lines) {
            const char high = char(unit.unicode() >> 8), low = char(unit.unicode() & 0xFF);
            bytes.append(encoding == codec::TextEncoding::Utf16Le ? low : high)
                .append(encoding == codec::TextEncoding::Utf16Le ? high : low);
        }
        return bytes;
    };

    // Once more shifted by a unit, so that pairs meet any boundary the writer cuts the text at.
    for (const QString &written : {text, u"x"_qs + text}) {
        const QString file = path(QStringLiteral("all.txt"));
        m_files.writeText(file, written, encoding);
        QVERIFY(fileBytes(file) == expectedFile(written));
        const LoadedText loaded = m_files.readText(file);
        QCOMPARE(loaded.encoding, encoding);
        QVERIFY(loaded.decoded() == written);
        m_files.writeText(file, loaded.decoded(), loaded.encoding);
        QVERIFY(fileBytes(file) == expectedFile(written));
    }
}

QTEST_GUILESS_MAIN(TestDiskTextFiles)
#include "tst_disk_text_files.moc"
