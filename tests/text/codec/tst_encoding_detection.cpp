// The one rule both programs decide an encoding by, on whole inputs and on the start of a longer one;
// and how often it names the right one for real Japanese lines, beside nkf's guess.

#include "tests/reference/codec_rules.h"
#include "text/chars/convert.h"
#include "text/codec/encoding_detection.h"
#include "text/codec/text_codec.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <map>
#include <tuple>

using namespace orvane;
using namespace Qt::StringLiterals;

namespace {

struct Tally {
    int right = 0;
    int nkfRight = 0;
    int all = 0;
};

QString encodingLabel(codec::TextEncoding encoding)
{
    return encoding == codec::TextEncoding::ShiftJis ? u"Shift-JIS"_s
        : encoding == codec::TextEncoding::EucJp     ? u"EUC-JP"_s
                                                     : u"ISO-2022-JP"_s;
}

// nkf's guess of each file, by path; empty where nkf is not installed.
QMap<QString, QString> nkfGuesses(const QStringList &paths)
{
    QMap<QString, QString> guesses;
    const QString nkf = QStandardPaths::findExecutable(u"nkf"_s);
    if (nkf.isEmpty())
        return guesses;
    for (qsizetype i = 0; i < paths.size(); i += 1000) {
        QProcess process;
        process.start(nkf, QStringList {u"-g"_s} + paths.mid(i, 1000));
        if (!process.waitForFinished(120000))
            return {};
        for (const QByteArray &line : process.readAllStandardOutput().split('\n')) {
            const qsizetype colon = line.lastIndexOf(": ");
            if (colon > 0)
                guesses.insert(QString::fromUtf8(line.first(colon)),
                               QString::fromUtf8(line.sliced(colon + 2)));
        }
    }
    return guesses;
}

bool nkfNames(const QString &guess, codec::TextEncoding encoding)
{
    return encoding == codec::TextEncoding::ShiftJis ? guess == u"Shift_JIS"_s || guess == u"CP932"_s
        : encoding == codec::TextEncoding::EucJp     ? guess.startsWith(u"EUC-JP"_s) || guess == u"CP51932"_s
                                                     : guess.startsWith(u"ISO-2022-JP"_s);
}

} // namespace

class TestEncodingDetection : public QObject {
    Q_OBJECT

private slots:
    void encodingIsDetected_data();
    void encodingIsDetected();
    void japaneseLinesAreDetectedBetterThanNkf();
    void detectionMatchesTheWalk();
};

void TestEncodingDetection::encodingIsDetected_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("complete");
    QTest::addColumn<codec::TextEncoding>("encoding");
    QTest::addColumn<bool>("validAsBoth");

    const auto sjis = codec::TextEncoding::ShiftJis, utf8 = codec::TextEncoding::Utf8,
               euc = codec::TextEncoding::EucJp;
    QTest::newRow("empty") << QByteArray() << true << sjis << false;
    QTest::newRow("ASCII") << "ab\r\n"_ba << true << sjis << false;
    QTest::newRow("Shift-JIS あ日") << "\x82\xA0\x93\xFA"_ba << true << sjis << false;
    QTest::newRow("UTF-8 日本語") << "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E"_ba << true << utf8 << false;
    QTest::newRow("C3 BD: ý or ﾃｽ") << "\xC3\xBD"_ba << true << utf8 << true;
    QTest::newRow("valid in neither") << "\xE6\x97\xA5\x82"_ba << true << sjis << false;
    QTest::newRow("UTF-8 mark, rest unchecked")
        << "\xEF\xBB\xBF\x82"_ba << true << codec::TextEncoding::Utf8Bom << false;
    QTest::newRow("UTF-16 LE mark") << "\xFF\xFE\x41\x00"_ba << true << codec::TextEncoding::Utf16Le << false;
    QTest::newRow("UTF-16 BE mark") << "\xFE\xFF\x00\x41"_ba << true << codec::TextEncoding::Utf16Be << false;
    // A start of a longer input may end inside a character of either encoding.
    QTest::newRow("start: 日, half of 本 (Shift-JIS too, not as Japanese)")
        << "\xE6\x97\xA5\xE6\x9C"_ba << false << utf8 << false;
    QTest::newRow("whole: UTF-8 cut in 本") << "\xE6\x97\xA5\xE6\x9C"_ba << true << sjis << false;
    QTest::newRow("start: ﾃｽ then a lead byte") << "\xC3\xBD\x82"_ba << false << sjis << false;
    QTest::newRow("start: ý then half of あ") << "\xC3\xBD\xE3\x81"_ba << false << utf8 << true;
    QTest::newRow("UTF-8 ヘレフォードシャー, Shift-JIS too")
        << u"ヘレフォードシャー"_s.toUtf8() << true << utf8 << false;
    QTest::newRow("EUC-JP こんにちは、世界。 (Shift-JIS too)")
        << "\xA4\xB3\xA4\xF3\xA4\xCB\xA4\xC1\xA4\xCF\xA1\xA2\xC0\xA4\xB3\xA6\xA1\xA3"_ba << true << euc
        << false;
    QTest::newRow("ISO-2022-JP") << "\x1B$B$3$s\x1B(B"_ba << true << codec::TextEncoding::Iso2022Jp << false;
    QTest::newRow("start: EUC-JP cut in its last character") << "\xA4\xA2\xA4"_ba << false << euc << false;
}

void TestEncodingDetection::encodingIsDetected()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, complete);
    QFETCH(codec::TextEncoding, encoding);
    QFETCH(bool, validAsBoth);

    const codec::DetectedEncoding detected = codec::detectEncoding(bytes, complete);
    QCOMPARE(detected.encoding, encoding);
    QCOMPARE(detected.validAsBoth, validAsBoth);
}

// Every corpus line as its own file in each encoding, with its katakana full-width and half-width;
// and files of 1 KB and more made of consecutive lines.
void TestEncodingDetection::japaneseLinesAreDetectedBetterThanNkf()
{
    QFile corpus(QStringLiteral(ORVANE_TEST_DATA "/japanese_lines.txt"));
    QVERIFY(corpus.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(corpus.readAll()).split(u'\n', Qt::SkipEmptyParts);
    QStringList texts;
    QString long_;
    for (const QString &line : lines) {
        texts += line;
        long_ += line + u'\n';
        if (long_.toUtf8().size() >= 1024) {
            texts += long_;
            long_.clear();
        }
    }
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // (encoding, half-width, 1 KB or more) -> the detected encoding of each file.
    std::map<std::tuple<codec::TextEncoding, bool, bool>, QList<std::pair<QString, bool>>> files;
    int fileCount = 0;
    int utf8Asked = 0;
    int utf8Wrong = 0;
    for (const QString &full : std::as_const(texts)) {
        for (const bool halfWidth : {false, true}) {
            const QString text = halfWidth ? chars::convert(chars::ConversionKind::Narrow, full) : full;
            if (halfWidth && text == full)
                continue;
            const QByteArray utf8 = text.toUtf8();
            const bool large = utf8.size() >= 1024;
            const codec::DetectedEncoding asUtf8 = codec::detectEncoding(utf8);
            utf8Asked += asUtf8.validAsBoth;
            utf8Wrong += asUtf8.encoding != codec::TextEncoding::Utf8;
            for (const codec::TextEncoding encoding :
                 {codec::TextEncoding::ShiftJis, codec::TextEncoding::EucJp,
                  codec::TextEncoding::Iso2022Jp}) {
                QByteArray bytes;
                QVERIFY(codec::encode(encoding, text, bytes));
                auto &group = files[{encoding, halfWidth, large}];
                const QString path = dir.filePath(QString::number(fileCount++));
                QFile file(path);
                QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
                group.append({path, codec::detectEncoding(bytes).encoding == encoding});
                if (!group.back().second)
                    qInfo() << "wrong:" << encodingLabel(encoding) << text;
            }
        }
    }
    QStringList paths;
    for (const auto &[key, group] : files) {
        for (const auto &file : group)
            paths += file.first;
    }
    const QMap<QString, QString> nkf = nkfGuesses(paths);
    Tally total;
    qInfo("%-12s %-10s %-7s %16s %16s", "encoding", "katakana", "size", "Orvane right", "nkf right");
    for (const auto &[key, group] : files) {
        const auto &[encoding, halfWidth, large] = key;
        Tally tally;
        for (const auto &[path, right] : group) {
            ++tally.all;
            tally.right += right;
            tally.nkfRight += nkfNames(nkf.value(path), encoding);
        }
        qInfo("%-12s %-10s %-7s %7d of %-6d %7d of %-6d", qPrintable(encodingLabel(encoding)),
              halfWidth ? "half" : "full", large ? ">= 1 KB" : "< 1 KB", tally.right, tally.all,
              tally.nkfRight, tally.all);
        if (large)
            QCOMPARE(tally.right, tally.all);
        if (!nkf.isEmpty())
            QVERIFY2(tally.right >= tally.nkfRight, "no worse than nkf in any group");
        total.right += tally.right;
        total.nkfRight += tally.nkfRight;
        total.all += tally.all;
    }
    qInfo("all: Orvane %d of %d, nkf %d of %d; UTF-8 files: %d asked, %d not read as UTF-8 of %d",
          total.right, total.all, total.nkfRight, total.all, utf8Asked, utf8Wrong, int(texts.size() * 2));
    QVERIFY(total.right * 1000 >= total.all * 995);
    if (!nkf.isEmpty())
        QVERIFY(total.right > total.nkfRight);
    else
        qWarning("nkf is not installed: no comparison");
}

// Every short input over bytes that start, continue or end the sequences of either encoding or
// their marks, whole and as a start, against the reading that walks the bytes one character at a time.
void TestEncodingDetection::detectionMatchesTheWalk()
{
    const QByteArray alphabet
        = "\x41\x0D\x1B\x24\x42\x80\x82\x8E\x97\xA0\xA4\xBB\xBF\xC3\xE0\xE6\xED\xEF\xF0\xF4\xFE\xFF"_ba;
    for (const QByteArray &bytes : reference::byteStrings(alphabet, 4)) {
        for (const bool complete : {true, false}) {
            const codec::DetectedEncoding fast = codec::detectEncoding(bytes, complete);
            const codec::DetectedEncoding slow = reference::detectByWalking(bytes, complete);
            const QByteArray where = bytes.toHex(' ') + (complete ? " whole" : " start");
            QVERIFY2(fast.encoding == slow.encoding && fast.validAsBoth == slow.validAsBoth, where);
        }
    }
}

QTEST_GUILESS_MAIN(TestEncodingDetection)
#include "tst_encoding_detection.moc"
