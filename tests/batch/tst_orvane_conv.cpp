// orvane-conv as a user runs it: a child process fed through standard input or a file.

#include "batch/batch_texts.h"
#include "disk/disk_texts.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace texts = orvane::batch_texts;

namespace {

// What the program writes to standard error: each message after its name, on lines of its own.
QString standardError(const QStringList &messages)
{
    QString text;
    for (const QString &message : messages)
        text += u"orvane-conv: "_s + message + u'\n';
    return text;
}

struct Run {
    int exitStatus = -1;
    QByteArray output;
    QString error;
};

Run runConverter(const QStringList &arguments, const QByteArray &input)
{
    QProcess process;
    process.start(QStringLiteral(ORVANE_CONV_PATH), arguments);
    Run run;
    if (!process.waitForStarted())
        return run;
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(60'000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitStatus = process.exitCode();
    run.output = process.readAllStandardOutput();
    run.error = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

} // namespace

class TestOrvaneConv : public QObject {
    Q_OBJECT

private slots:
    void convertsStandardInput_data();
    void convertsStandardInput();
    void convertsNamedFile();
    void fails_data();
    void fails();
    void helpAndVersionPrintJapanese_data();
    void helpAndVersionPrintJapanese();
    void fullOutputIsAFailure_data();
    void fullOutputIsAFailure();
};

void TestOrvaneConv::convertsStandardInput_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("output");

    QTest::newRow("cp932 wide: ｶﾞｯｺｳ abc → ガッコウ　ａｂｃ")
        << QStringList {u"wide"_s} << QByteArray("\xB6\xDE\xAF\xBA\xB3 abc")
        << QByteArray("\x83\x4B\x83\x62\x83\x52\x83\x45\x81\x40\x82\x81\x82\x82\x82\x83");
    QTest::newRow("utf-8 to utf-8: hiragana then narrow then upper")
        << QStringList {u"--from"_s,   u"utf-8"_s,  u"--to"_s, u"utf-8"_s,
                        u"hiragana"_s, u"narrow"_s, u"upper"_s}
        << QByteArray("\xE3\x82\xAB\xE3\x83\x8A\xEF\xBD\x81") // カナａ
        << QByteArray("\xE3\x81\x8B\xE3\x81\xAA"
                      "A"); // かなA
    QTest::newRow("cp932 to utf-8 katakana")
        << QStringList {u"--to"_s, u"utf-8"_s, u"katakana"_s} << QByteArray("\x82\xA9\x82\xC8")
        << QByteArray("\xE3\x82\xAB\xE3\x83\x8A");
    QTest::newRow("CR LF, LF and CR kept")
        << QStringList {u"upper"_s} << QByteArray("a\r\nb\nc\rd\n\r\n") << QByteArray("A\r\nB\nC\rD\n\r\n");
}

void TestOrvaneConv::convertsStandardInput()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, output);

    const Run run = runConverter(arguments, input);
    QCOMPARE(run.error, QString());
    QCOMPARE(run.exitStatus, 0);
    QCOMPARE(run.output, output);
}

void TestOrvaneConv::convertsNamedFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(u"input.txt"_s);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("abc\r\n\x82\xA0");
    file.close();

    const Run run = runConverter({u"upper"_s, u"katakana"_s, path}, "ignored");
    QCOMPARE(run.error, QString());
    QCOMPARE(run.exitStatus, 0);
    QCOMPARE(run.output, QByteArray("ABC\r\n\x83\x41"));
}

void TestOrvaneConv::fails_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("exitStatus");
    QTest::addColumn<QStringList>("mentions");
    QTest::addColumn<QByteArray>("written"); // the output of what came before the error
    QTest::addColumn<QStringList>("messages"); // standard error's, whole

    QTest::newRow("invalid cp932 byte on line 2")
        << QStringList {u"upper"_s} << QByteArray("abc\r\nde\x81\x20") << 1
        << QStringList {u"Shift-JIS"_s, u"2 行目、3 文字目"_s, u"手前まで"_s} << QByteArray("ABC\r\nDE")
        << QStringList {texts::invalidShiftJis(2, 3) + texts::stoppedPartWay()};
    QTest::newRow("invalid utf-8 byte")
        << QStringList {u"--from"_s, u"utf-8"_s} << QByteArray("a\nb\xC0\x80") << 1
        << QStringList {u"UTF-8"_s, u"2 行目、2 文字目"_s} << QByteArray("a\nb")
        << QStringList {texts::invalidUtf8(2, 2) + texts::stoppedPartWay()};
    QTest::newRow("emoji to cp932")
        << QStringList {u"--from"_s, u"utf-8"_s, u"wide"_s} << QByteArray("ab\xF0\x9F\x98\x80") << 1
        << QStringList {u"「😀」(U+1F600)"_s, u"1 行目、3 文字目"_s} << QByteArray("\x82\x81\x82\x82")
        << QStringList {u"「😀」(U+1F600) は Shift-JIS で保存できません（1 行目、3 文字目）。"_s
                        + texts::stoppedPartWay()};
    QTest::newRow("unknown kind") << QStringList {u"uppr"_s, u"wide"_s} << QByteArray("abc") << 2
                                  << QStringList {u"uppr"_s} << QByteArray()
                                  << QStringList {texts::neitherKindNorFile(u"uppr"_s),
                                                  texts::neitherKindNorFile(u"wide"_s)};
    QTest::newRow("unknown option") << QStringList {u"--fast"_s} << QByteArray("abc") << 2
                                    << QStringList {u"--fast"_s} << QByteArray()
                                    << QStringList {texts::unknownOption(u"--fast"_s) + u'\n'
                                                    + texts::seeUsage()};
    QTest::newRow("missing file") << QStringList {u"upper"_s, u"/nonexistent/x.txt"_s} << QByteArray() << 2
                                  << QStringList {u"/nonexistent/x.txt"_s} << QByteArray()
                                  << QStringList {orvane::disk_texts::notFound(u"/nonexistent/x.txt"_s)};
}

void TestOrvaneConv::fails()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);
    QFETCH(int, exitStatus);
    QFETCH(QStringList, mentions);
    QFETCH(QByteArray, written);
    QFETCH(QStringList, messages);

    const Run run = runConverter(arguments, input);
    QCOMPARE(run.exitStatus, exitStatus);
    QCOMPARE(run.output, written);
    QVERIFY2(run.error.startsWith(u"orvane-conv: "_s), qPrintable(run.error));
    for (const QString &mention : mentions)
        QVERIFY2(run.error.contains(mention), qPrintable(run.error));
    QCOMPARE(run.error, standardError(messages));
}

void TestOrvaneConv::helpAndVersionPrintJapanese_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("mentions");
    QTest::newRow("--help") << u"--help"_s << u"使い方"_s;
    QTest::newRow("--version") << u"--version"_s << u"版 "_s;
}

void TestOrvaneConv::helpAndVersionPrintJapanese()
{
    QFETCH(QString, option);
    QFETCH(QString, mentions);
    const Run run = runConverter({option}, QByteArray());
    QCOMPARE(run.exitStatus, 0);
    QCOMPARE(run.error, QString());
    QVERIFY2(QString::fromLocal8Bit(run.output).contains(mentions), run.output.constData());
}

void TestOrvaneConv::fullOutputIsAFailure_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("wide") << QStringList {u"wide"_s};
    QTest::newRow("--to utf-16le (a byte-order mark first)") << QStringList {u"--to"_s, u"utf-16le"_s};
    QTest::newRow("narrow wide") << QStringList {u"narrow"_s, u"wide"_s};
}

void TestOrvaneConv::fullOutputIsAFailure()
{
    QFETCH(QStringList, arguments);
    if (!QFile::exists(u"/dev/full"_s))
        QSKIP("no /dev/full");
    QProcess process;
    process.setStandardOutputFile(u"/dev/full"_s);
    process.start(QStringLiteral(ORVANE_CONV_PATH), arguments);
    QVERIFY(process.waitForStarted());
    process.write(QByteArray("abc\r\n").repeated(1000));
    process.closeWriteChannel();
    QVERIFY(process.waitForFinished(60'000));
    QCOMPARE(process.exitCode(), 2);
    const QString error = QString::fromLocal8Bit(process.readAllStandardError());
    QVERIFY(error.contains(u"標準出力"_s));
    QCOMPARE(error, standardError({texts::cannotWriteStandardOutput()}));
}

QTEST_GUILESS_MAIN(TestOrvaneConv)
#include "tst_orvane_conv.moc"
