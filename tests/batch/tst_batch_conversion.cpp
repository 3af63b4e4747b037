#include "batch/batch_conversion.h"
#include "batch/batch_texts.h"
#include "disk/disk_texts.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

using namespace orvane;
using namespace orvane::batch;
using namespace Qt::StringLiterals;

namespace texts = orvane::batch_texts;

namespace {

BatchResult runWith(const QStringList &arguments, const QByteArray &standardInput = {})
{
    return runBatch(arguments, [&] { return std::optional<QByteArray>(standardInput); });
}

} // namespace

class TestBatchConversion : public QObject {
    Q_OBJECT

private slots:
    void argumentsAreRead_data();
    void argumentsAreRead();
    void badArgumentsAreUsageErrors_data();
    void badArgumentsAreUsageErrors();
    void bytesAreConverted_data();
    void bytesAreConverted();
    void invalidInputNamesLineAndColumn_data();
    void invalidInputNamesLineAndColumn();
    void unstorableCharacterIsNamed_data();
    void unstorableCharacterIsNamed();
    void yenSignMessageSuggestsWide();
    void byteOrderMarkInShiftJisInputIsRefused_data();
    void byteOrderMarkInShiftJisInputIsRefused();
    void namedFileIsReadAndNamedInErrors();
    void missingFileOrFolderIsUsageError_data();
    void missingFileOrFolderIsUsageError();
    void unreadableStandardInputIsUsageError();
    void helpPrintsUsage();
    void inPlaceReplacesWhatConvertsAndLeavesTheRest();
    void autoFollowsTheOpenRules_data();
    void autoFollowsTheOpenRules();
    void filesAreJoinedAndFailuresReportedEach();
};

void TestBatchConversion::argumentsAreRead_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QList<int>>("kinds");
    QTest::addColumn<QStringList>("files");

    const int sjis = int(codec::TextEncoding::ShiftJis);
    const int utf8 = int(codec::TextEncoding::Utf8);
    const int automatic = -1;
    const int upper = int(chars::ConversionKind::Upper), lower = int(chars::ConversionKind::Lower);
    const int wide = int(chars::ConversionKind::Wide), hiragana = int(chars::ConversionKind::Hiragana);

    QTest::newRow("nothing") << QStringList {} << sjis << sjis << QList<int> {} << QStringList();
    QTest::newRow("upper lower") << QStringList {u"upper"_s, u"lower"_s} << sjis << sjis
                                 << QList<int> {upper, lower} << QStringList();
    QTest::newRow("--from utf-8 wide a.txt") << QStringList {u"--from"_s, u"utf-8"_s, u"wide"_s, u"a.txt"_s}
                                             << utf8 << sjis << QList<int> {wide} << QStringList {u"a.txt"_s};
    QTest::newRow("--from=UTF8 --to=utf-8 HIRAGANA")
        << QStringList {u"--from=UTF8"_s, u"--to=utf-8"_s, u"HIRAGANA"_s} << utf8 << utf8
        << QList<int> {hiragana} << QStringList();
    QTest::newRow("--to utf-8 --from sjis") << QStringList {u"--to"_s, u"utf-8"_s, u"--from"_s, u"sjis"_s}
                                            << sjis << utf8 << QList<int> {} << QStringList();
    QTest::newRow("wide wide (repeated kind)")
        << QStringList {u"wide"_s, u"wide"_s} << sjis << sjis << QList<int> {wide, wide} << QStringList();
    QTest::newRow("upper -- lower (a file named lower)")
        << QStringList {u"upper"_s, u"--"_s, u"lower"_s} << sjis << sjis << QList<int> {upper}
        << QStringList {u"lower"_s};
    QTest::newRow("upper - (standard input)")
        << QStringList {u"upper"_s, u"-"_s} << sjis << sjis << QList<int> {upper} << QStringList {u"-"_s};
    QTest::newRow("-i --from auto --to utf-16le narrow-kana a b")
        << QStringList {u"-i"_s,       u"--from"_s,      u"auto"_s, u"--to"_s,
                        u"utf-16le"_s, u"narrow-kana"_s, u"a"_s,    u"b"_s}
        << automatic << int(codec::TextEncoding::Utf16Le)
        << QList<int> {int(chars::ConversionKind::NarrowKana)} << QStringList {u"a"_s, u"b"_s};
}

void TestBatchConversion::argumentsAreRead()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QList<int>, kinds);
    QFETCH(QStringList, files);

    const ParsedArguments parsed = parseArguments(arguments);
    QCOMPARE(parsed.error, QString());
    QCOMPARE(parsed.arguments.from ? int(*parsed.arguments.from) : -1, from); // -1: auto
    QCOMPARE(int(parsed.arguments.to), to);
    QList<int> parsedKinds;
    for (chars::ConversionKind kind : parsed.arguments.kinds)
        parsedKinds.append(int(kind));
    QCOMPARE(parsedKinds, kinds);
    QCOMPARE(parsed.arguments.files, files);
}

void TestBatchConversion::badArgumentsAreUsageErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("named"); // what the message must mention
    QTest::addColumn<QString>("message"); // the whole message

    const auto usage = [](const QString &message) { return message + u'\n' + texts::seeUsage(); };
    QTest::newRow("--bogus") << QStringList {u"--bogus"_s} << u"--bogus"_s
                             << usage(texts::unknownOption(u"--bogus"_s));
    QTest::newRow("-x") << QStringList {u"-x"_s, u"upper"_s} << u"-x"_s
                        << usage(texts::unknownOption(u"-x"_s));
    QTest::newRow("uppr wide (misspelt kind)")
        << QStringList {u"uppr"_s, u"wide"_s} << u"uppr"_s
        << texts::neitherKindNorFile(u"uppr"_s) + u'\n' + texts::neitherKindNorFile(u"wide"_s);
    QTest::newRow("--from without value")
        << QStringList {u"--from"_s} << u"--from"_s << usage(texts::missingValue(u"--from"_s));
    QTest::newRow("--to latin1") << QStringList {u"--to"_s, u"latin1"_s} << u"latin1"_s
                                 << usage(texts::unknownOutputEncoding(u"latin1"_s));
    QTest::newRow("--from= (empty)") << QStringList {u"--from="_s, u"upper"_s} << u"cp932"_s
                                     << usage(texts::unknownInputEncoding(QString()));
    QTest::newRow("a.txt b.txt") << QStringList {u"a.txt"_s, u"b.txt"_s} << u"a.txt"_s
                                 << orvane::disk_texts::notFound(u"a.txt"_s) + u'\n'
            + orvane::disk_texts::notFound(u"b.txt"_s);
    QTest::newRow("-- a.txt b.txt") << QStringList {u"--"_s, u"a.txt"_s, u"b.txt"_s} << u"b.txt"_s
                                    << orvane::disk_texts::notFound(u"a.txt"_s) + u'\n'
            + orvane::disk_texts::notFound(u"b.txt"_s);
    QTest::newRow("-i - (standard input in place)")
        << QStringList {u"-i"_s, u"-"_s} << u"「-」"_s << usage(texts::inPlaceNotStandardInput());
    QTest::newRow("-i (no file)") << QStringList {u"-i"_s, u"upper"_s} << u"-i"_s
                                  << usage(texts::inPlaceNeedsFiles());
    QTest::newRow("--to auto") << QStringList {u"--to"_s, u"auto"_s} << u"auto"_s
                               << usage(texts::unknownOutputEncoding(u"auto"_s));
    QTest::newRow("trailing --") << QStringList {u"upper"_s, u"--"_s} << u"--"_s
                                 << usage(texts::missingFile());
    QTest::newRow("--line-end without value")
        << QStringList {u"--line-end"_s} << u"--line-end"_s << usage(texts::missingLineEnd());
    QTest::newRow("--line-end=unix") << QStringList {u"--line-end=unix"_s} << u"unix"_s
                                     << usage(texts::unknownLineEnd(u"unix"_s));
}

void TestBatchConversion::badArgumentsAreUsageErrors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, named);
    QFETCH(QString, message);

    const BatchResult result = runWith(arguments, "abc");
    QCOMPARE(result.exitStatus, ExitStatus::UsageError);
    QVERIFY2(result.error.contains(named), qPrintable(result.error));
    QCOMPARE(result.error, message);
    QVERIFY(result.output.isEmpty());
}

void TestBatchConversion::bytesAreConverted_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("output");

    const QStringList fromUtf8ToUtf8 {u"--from"_s, u"utf-8"_s, u"--to"_s, u"utf-8"_s};

    QTest::newRow("cp932 ｶﾞｯｺｳ wide → ガッコウ")
        << QStringList {u"wide"_s} << QByteArray("\xB6\xDE\xAF\xBA\xB3")
        << QByteArray("\x83\x4B\x83\x62\x83\x52\x83\x45");
    QTest::newRow("cp932 ガ narrow → ｶﾞ")
        << QStringList {u"narrow"_s} << QByteArray("\x83\x4B") << QByteArray("\xB6\xDE");
    QTest::newRow("cp932 あ to utf-8")
        << QStringList {u"--to"_s, u"utf-8"_s} << QByteArray("\x82\xA0") << QByteArray("\xE3\x81\x82");
    QTest::newRow("utf-8 あ to cp932")
        << QStringList {u"--from"_s, u"utf-8"_s} << QByteArray("\xE3\x81\x82") << QByteArray("\x82\xA0");
    QTest::newRow("utf-8 upper") << fromUtf8ToUtf8 + QStringList {u"upper"_s} << QByteArray("abc")
                                 << QByteArray("ABC");
    QTest::newRow("utf-8 BOM dropped, none written") << fromUtf8ToUtf8 + QStringList {u"upper"_s}
                                                     << QByteArray("\xEF\xBB\xBF"
                                                                   "abc")
                                                     << QByteArray("ABC");
    QTest::newRow("U+FEFF after the start kept")
        << fromUtf8ToUtf8 << QByteArray("a\xEF\xBB\xBF") << QByteArray("a\xEF\xBB\xBF");
    QTest::newRow("cp932 CR LF, LF, CR kept")
        << QStringList {u"upper"_s} << QByteArray("a\r\nb\nc\rd\r\n") << QByteArray("A\r\nB\nC\rD\r\n");
    QTest::newRow("utf-8 CR LF, LF, CR kept through wide")
        << fromUtf8ToUtf8 + QStringList {u"wide"_s} << QByteArray("a\r\n\n\r")
        << QByteArray("\xEF\xBD\x81\r\n\n\r");
    QTest::newRow("upper lower → lower")
        << QStringList {u"upper"_s, u"lower"_s} << QByteArray("aB") << QByteArray("ab");
    QTest::newRow("lower upper → upper")
        << QStringList {u"lower"_s, u"upper"_s} << QByteArray("aB") << QByteArray("AB");
    QTest::newRow("が katakana narrow → ｶﾞ")
        << QStringList {u"katakana"_s, u"narrow"_s} << QByteArray("\x82\xAA") << QByteArray("\xB6\xDE");
    QTest::newRow("が narrow katakana → ガ")
        << QStringList {u"narrow"_s, u"katakana"_s} << QByteArray("\x82\xAA") << QByteArray("\x83\x4B");
    QTest::newRow("no kinds: bytes unchanged") << QStringList {} << QByteArray("\x82\xA0\x83\x4B\xB6\xDE\r\n")
                                               << QByteArray("\x82\xA0\x83\x4B\xB6\xDE\r\n");
    QTest::newRow("NUL kept") << QStringList {u"upper"_s} << QByteArray("a\0b", 3) << QByteArray("A\0B", 3);
    QTest::newRow("empty input") << QStringList {u"wide"_s} << QByteArray() << QByteArray();
    const QByteArray mixed("a\r\nb\nc\rd\r\n\n");
    QTest::newRow("--line-end lf") << QStringList {u"--line-end"_s, u"lf"_s} << mixed
                                   << QByteArray("a\nb\nc\nd\n\n");
    QTest::newRow("--line-end=cr upper")
        << QStringList {u"--line-end=cr"_s, u"upper"_s} << mixed << QByteArray("A\rB\rC\rD\r\r");
    QTest::newRow("--line-end crlf, no last line end")
        << QStringList {u"--line-end"_s, u"crlf"_s} << QByteArray("a\nb\rc") << QByteArray("a\r\nb\r\nc");
    QTest::newRow("--line-end lf, utf-8 to utf-16be")
        << QStringList {u"--from"_s, u"utf-8"_s, u"--to"_s, u"utf-16be"_s, u"--line-end"_s, u"lf"_s}
        << QByteArray("\xE3\x81\x82\r\n") << QByteArray("\xFE\xFF\x30\x42\0\n", 6);
}

void TestBatchConversion::bytesAreConverted()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, output);

    const BatchResult result = runWith(arguments, input);
    QCOMPARE(result.error, QString());
    QCOMPARE(result.exitStatus, ExitStatus::Success);
    QCOMPARE(result.output, output);
}

void TestBatchConversion::invalidInputNamesLineAndColumn_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("column");

    QTest::newRow("cp932 lead byte + space") << u"cp932"_s << QByteArray("ab\r\ncd\x81\x20") << 2 << 3;
    QTest::newRow("cp932 lead byte at the end") << u"cp932"_s << QByteArray("\x82\xA0\x82") << 1 << 2;
    QTest::newRow("utf-8 lone continuation") << u"utf-8"_s << QByteArray("\x80") << 1 << 1;
    QTest::newRow("utf-8 overlong C0 80") << u"utf-8"_s << QByteArray("a\xC0\x80") << 1 << 2;
    QTest::newRow("utf-8 overlong E0 80 80") << u"utf-8"_s << QByteArray("a\xE0\x80\x80") << 1 << 2;
    QTest::newRow("utf-8 surrogate ED A0 80") << u"utf-8"_s << QByteArray("ab\xED\xA0\x80") << 1 << 3;
    QTest::newRow("utf-8 above U+10FFFF") << u"utf-8"_s << QByteArray("\xF4\x90\x80\x80") << 1 << 1;
    QTest::newRow("utf-8 F5 lead") << u"utf-8"_s << QByteArray("\xF5\x80\x80\x80") << 1 << 1;
    QTest::newRow("utf-8 cut off at the end") << u"utf-8"_s << QByteArray("x\xE3\x81") << 1 << 2;
    QTest::newRow("utf-8 bad second byte") << u"utf-8"_s << QByteArray("\xE3\x41\x82") << 1 << 1;
    QTest::newRow("utf-8 after あい (columns are characters)")
        << u"utf-8"_s << QByteArray("\xE3\x81\x82\xE3\x81\x84\xFF") << 1 << 3;
    QTest::newRow("utf-8 after 😀 (one column)") << u"utf-8"_s << QByteArray("\xF0\x9F\x98\x80\xFF") << 1 << 2;
    QTest::newRow("utf-8 after CR LF") << u"utf-8"_s << QByteArray("a\r\n\xFF") << 2 << 1;
    QTest::newRow("utf-8 after lone CR") << u"utf-8"_s << QByteArray("a\rb\xFF") << 2 << 2;
    QTest::newRow("utf-8 after LF LF") << u"utf-8"_s << QByteArray("\n\n\xFF") << 3 << 1;
    QTest::newRow("utf-8 after LF CR") << u"utf-8"_s << QByteArray("\n\r\xFF") << 3 << 1;
    QTest::newRow("utf-8 BOM not counted") << u"utf-8"_s
                                           << QByteArray("\xEF\xBB\xBF"
                                                         "a\xFF")
                                           << 1 << 2;
}

void TestBatchConversion::invalidInputNamesLineAndColumn()
{
    QFETCH(QString, from);
    QFETCH(QByteArray, input);
    QFETCH(int, line);
    QFETCH(int, column);

    const BatchResult result = runWith({u"--from"_s, from, u"--to"_s, u"utf-8"_s, u"upper"_s}, input);
    QCOMPARE(result.exitStatus, ExitStatus::Unconvertible);
    // What came before the error is output, and the message says so.
    QCOMPARE(result.error.contains(u"手前まで"_s), !result.output.isEmpty());
    const QString where = u"（%1 行目、%2 文字目）"_s.arg(line).arg(column);
    QVERIFY2(result.error.contains(where), qPrintable(result.error));
    QVERIFY2(result.error.contains(from == u"utf-8" ? u"UTF-8"_s : u"Shift-JIS"_s), qPrintable(result.error));
    const QString refusal
        = from == u"utf-8" ? texts::invalidUtf8(line, column) : texts::invalidShiftJis(line, column);
    QCOMPARE(result.error, refusal + (result.output.isEmpty() ? QString() : texts::stoppedPartWay()));
}

void TestBatchConversion::unstorableCharacterIsNamed_data()
{
    QTest::addColumn<QByteArray>("utf8");
    QTest::addColumn<QString>("message");

    QTest::newRow("😀 on line 3") << QByteArray("a\r\nb\n01234567890\xF0\x9F\x98\x80")
                                 << u"「😀」(U+1F600) は Shift-JIS で保存できません（3 行目、12 文字目）。"_s;
    QTest::newRow("한 first") << QByteArray("\xED\x95\x9C")
                              << u"「한」(U+D55C) は Shift-JIS で保存できません（1 行目、1 文字目）。"_s;
    QTest::newRow("é after 😀 counts the pair once")
        << QByteArray("\xF0\x9F\x98\x80\xC3\xA9")
        << u"「😀」(U+1F600) は Shift-JIS で保存できません（1 行目、1 文字目）。"_s;
    QTest::newRow("an invisible character by its code point")
        << QByteArray("a\xE2\x80\x8B")
        << u"文字 U+200B は Shift-JIS で保存できません（1 行目、2 文字目）。"_s;
}

void TestBatchConversion::unstorableCharacterIsNamed()
{
    QFETCH(QByteArray, utf8);
    QFETCH(QString, message);

    const BatchResult result = runWith({u"--from"_s, u"utf-8"_s}, utf8);
    QCOMPARE(result.exitStatus, ExitStatus::Unconvertible);
    QCOMPARE(result.error.contains(u"手前まで"_s), !result.output.isEmpty());
    QVERIFY2(result.error.startsWith(message), qPrintable(result.error));
    QCOMPARE(result.error, message + (result.output.isEmpty() ? QString() : texts::stoppedPartWay()));
}

void TestBatchConversion::yenSignMessageSuggestsWide()
{
    const QByteArray yen("\xC2\xA5"
                         "100");
    const BatchResult refused = runWith({u"--from"_s, u"utf-8"_s}, yen);
    QCOMPARE(refused.exitStatus, ExitStatus::Unconvertible);
    QVERIFY2(refused.error.contains(u"U+00A5"_s), qPrintable(refused.error));
    QVERIFY2(refused.error.contains(u"wide"_s), qPrintable(refused.error));
    QCOMPARE(refused.error,
             u"「¥」(U+00A5) は Shift-JIS で保存できません（1 行目、1 文字目）。"_s + texts::yenSignHint());

    const BatchResult widened = runWith({u"--from"_s, u"utf-8"_s, u"wide"_s}, yen);
    QCOMPARE(widened.error, QString());
    QCOMPARE(widened.output, QByteArray("\x81\x8F\x82\x50\x82\x4F\x82\x4F")); // ￥１００
}

void TestBatchConversion::byteOrderMarkInShiftJisInputIsRefused_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("named");
    QTest::addColumn<QString>("message");
    QTest::newRow("EF BB BF") << QByteArray("\xEF\xBB\xBF"
                                            "abc")
                              << u"UTF-8"_s << texts::looksLikeUtf8();
    QTest::newRow("FF FE") << QByteArray("\xFF\xFE"
                                         "a\0",
                                         4)
                           << u"UTF-16"_s << texts::looksLikeUtf16();
    QTest::newRow("FE FF") << QByteArray("\xFE\xFF\0a", 4) << u"UTF-16"_s << texts::looksLikeUtf16();
}

void TestBatchConversion::byteOrderMarkInShiftJisInputIsRefused()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, named);
    QFETCH(QString, message);
    const BatchResult result = runWith({}, input);
    QCOMPARE(result.exitStatus, ExitStatus::Unconvertible);
    QVERIFY(result.output.isEmpty());
    QVERIFY2(result.error.contains(named), qPrintable(result.error));
    QCOMPARE(result.error, message);
}

void TestBatchConversion::namedFileIsReadAndNamedInErrors()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString good = dir.filePath(u"かな.txt"_s);
    const QString bad = dir.filePath(u"bad.txt"_s);
    {
        QFile file(good);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("\x82\xA9\x82\xC8\r\n"); // かな
        QFile broken(bad);
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("\x82\xA9\x82");
    }

    const BatchResult converted = runWith({u"katakana"_s, good}, "not read");
    QCOMPARE(converted.error, QString());
    QCOMPARE(converted.output, QByteArray("\x83\x4A\x83\x69\r\n")); // カナ

    const BatchResult refused = runWith({bad});
    QCOMPARE(refused.exitStatus, ExitStatus::Unconvertible);
    QVERIFY2(refused.error.startsWith(bad + u": "_s), qPrintable(refused.error));
    QVERIFY2(refused.error.contains(u"1 行目、2 文字目"_s), qPrintable(refused.error));
    QCOMPARE(refused.error, texts::aboutFile(bad, texts::invalidShiftJis(1, 2) + texts::stoppedPartWay()));
}

void TestBatchConversion::missingFileOrFolderIsUsageError_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("whole");
    QTest::newRow("missing.txt") << u"missing.txt"_s << u"が見つかりません"_s
                                 << orvane::disk_texts::notFound(u"missing.txt"_s);
    QTest::newRow("folder") << u"."_s << u"フォルダー"_s << orvane::disk_texts::isFolderRead(u"."_s);
    QTest::newRow("uppr (neither kind nor file)")
        << u"uppr"_s << u"変換はなく"_s << texts::neitherKindNorFile(u"uppr"_s);
}

void TestBatchConversion::missingFileOrFolderIsUsageError()
{
    QFETCH(QString, name);
    QFETCH(QString, message);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    const BatchResult result = runWith({u"upper"_s, name}, "abc");
    QDir::setCurrent(previous);

    QCOMPARE(result.exitStatus, ExitStatus::UsageError);
    QVERIFY(result.output.isEmpty());
    QVERIFY2(result.error.contains(name), qPrintable(result.error));
    QVERIFY2(result.error.contains(message), qPrintable(result.error));
    QFETCH(QString, whole);
    QCOMPARE(result.error, whole);
}

void TestBatchConversion::unreadableStandardInputIsUsageError()
{
    const BatchResult result = runBatch({u"upper"_s}, [] { return std::optional<QByteArray>(); });
    QCOMPARE(result.exitStatus, ExitStatus::UsageError);
    QVERIFY(result.output.isEmpty());
    QVERIFY(result.error.contains(u"標準入力"_s));
    QCOMPARE(result.error, texts::cannotReadStandardInput());
}

void TestBatchConversion::helpPrintsUsage()
{
    const BatchResult result = runWith({u"--help"_s});
    QCOMPARE(result.exitStatus, ExitStatus::Success);
    QCOMPARE(result.error, QString());
    const QString usage = QString::fromLocal8Bit(result.output);
    QVERIFY(usage.contains(u"使い方"_s));
    for (const char *kind : {"upper", "lower", "wide", "narrow", "katakana", "hiragana", "narrow-ascii",
                             "wide-ascii", "narrow-kana", "wide-kana"})
        QVERIFY2(usage.contains(QLatin1String(kind)), kind);
}

void TestBatchConversion::inPlaceReplacesWhatConvertsAndLeavesTheRest()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    struct File {
        QString name;
        QByteArray bytes;
        bool converts; // else it stays exactly as it was
    };
    const File files[] = {
        {u"changes.txt"_s, "\xB6\xDE abc\r\n", true}, {u"unchanged.txt"_s, "\x83\x4B\r\n", false},
        {u"invalid.txt"_s, "abc\r\n\x81\x20", false}, {u"lead byte at the end.txt"_s, "abc\x82", false},
        {u"hard-linked.txt"_s, "xyz", true},          {u"linked target.txt"_s, "\xB1", true},
    };
    QStringList arguments {u"-i"_s, u"wide"_s};
    for (const File &file : files) {
        QFile out(dir.filePath(file.name));
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(file.bytes);
        if (file.name != u"linked target.txt")
            arguments.append(out.fileName());
    }
    const QString unchanged = dir.filePath(u"unchanged.txt"_s);
    const QDateTime old = QDateTime::currentDateTime().addDays(-1);
    {
        QFile file(unchanged);
        QVERIFY(file.open(QIODevice::ReadWrite) && file.setFileTime(old, QFileDevice::FileModificationTime));
    }
#ifdef Q_OS_UNIX
    const QString secondName = dir.filePath(u"second name.txt"_s);
    QVERIFY(::link(QFile::encodeName(dir.filePath(u"hard-linked.txt"_s)).constData(),
                   QFile::encodeName(secondName).constData())
            == 0);
    const QString symbolicLink = dir.filePath(u"symbolic link.txt"_s);
#endif
    QVERIFY(QFile::link(dir.filePath(u"linked target.txt"_s), symbolicLink));
    arguments << symbolicLink << dir.filePath(u"missing.txt"_s) << dir.path();

    const BatchResult result = runWith(arguments);
    QCOMPARE(result.exitStatus, ExitStatus::Unconvertible);
    QVERIFY(result.output.isEmpty());
    for (const File &file : files) {
        QFile in(dir.filePath(file.name));
        QVERIFY(in.open(QIODevice::ReadOnly));
        BatchArguments wide;
        wide.kinds = {chars::ConversionKind::Wide};
        QCOMPARE(in.readAll(), file.converts ? convertBytes(wide, file.bytes).output : file.bytes);
        // Each failure is reported with the file's name.
        QCOMPARE(result.error.contains(dir.filePath(file.name)),
                 !file.converts && file.name != u"unchanged.txt");
    }
    QCOMPARE(QFileInfo(unchanged).lastModified(), old);
#ifdef Q_OS_UNIX
    QFile second(secondName);
    QVERIFY(second.open(QIODevice::ReadOnly));
    QCOMPARE(second.readAll(), QByteArray("\x82\x98\x82\x99\x82\x9A"));
#endif
    QVERIFY(QFileInfo(symbolicLink).isSymLink());
    QVERIFY(result.error.contains(u"missing.txt"_s));
    QVERIFY(result.error.contains(u"フォルダー"_s));
}

void TestBatchConversion::autoFollowsTheOpenRules_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("text"); // empty: refused

    QTest::newRow("EF BB BF あ") << QByteArray("\xEF\xBB\xBF\xE3\x81\x82") << u"あ"_s;
    QTest::newRow("FF FE あ") << QByteArray("\xFF\xFE\x42\x30", 4) << u"あ"_s;
    QTest::newRow("FE FF あ") << QByteArray("\xFE\xFF\x30\x42", 4) << u"あ"_s;
    QTest::newRow("UTF-8 only: あ") << QByteArray("a\xE3\x81\x82") << u"aあ"_s;
    QTest::newRow("valid as both: C3 BD is ﾃｽ") << QByteArray("\xC3\xBD") << u"ﾃｽ"_s;
    QTest::newRow("Shift-JIS only: 82 A0") << QByteArray("\x82\xA0") << u"あ"_s;
    QTest::newRow("ASCII") << QByteArray("abc") << u"abc"_s;
    QTest::newRow("neither: 81 20 FF") << QByteArray("\x81\x20\xFF") << QString();
    QTest::newRow("empty") << QByteArray() << QString();
}

void TestBatchConversion::autoFollowsTheOpenRules()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, text);
    const BatchResult result = runWith({u"--from"_s, u"auto"_s, u"--to"_s, u"utf-8"_s}, input);
    QCOMPARE(QString::fromUtf8(result.output), text);
    QCOMPARE(result.exitStatus,
             text.isEmpty() && !input.isEmpty() ? ExitStatus::Unconvertible : ExitStatus::Success);
}

void TestBatchConversion::filesAreJoinedAndFailuresReportedEach()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QByteArray contents[] = {"\x82\xA9\r\n", "\x82\xA9\x81\x20", "\xB6"};
    QStringList arguments {u"--to"_s, u"utf-16le"_s, u"katakana"_s};
    for (const QByteArray &content : contents) {
        QFile file(dir.filePath(QString::number(arguments.size())));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        arguments.append(file.fileName());
    }
    arguments.insert(4, dir.filePath(u"missing"_s));
    const BatchResult result = runWith(arguments);
    // One byte-order mark; the failing file's start, then the next file.
    QCOMPARE(result.output, QByteArray("\xFF\xFE\xAB\x30\r\0\n\0\xAB\x30\x76\xFF", 12));
    QCOMPARE(result.exitStatus, ExitStatus::UsageError);
    QCOMPARE(result.error.count(u'\n'), 1);
    QVERIFY2(result.error.contains(arguments.at(5) + u": "_s) && result.error.contains(u"missing"_s),
             qPrintable(result.error));
    QCOMPARE(result.error,
             orvane::disk_texts::notFound(arguments.at(4)) + u'\n'
                 + texts::aboutFile(arguments.at(5), texts::invalidShiftJis(1, 2) + texts::stoppedPartWay()));
}

QTEST_GUILESS_MAIN(TestBatchConversion)
#include "tst_batch_conversion.moc"
