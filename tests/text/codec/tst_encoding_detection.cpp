// The one rule both programs decide an encoding by, on whole inputs and on the start of a longer one.

#include "tests/reference/codec_rules.h"
#include "text/codec/encoding_detection.h"

#include <QTest>

using namespace orvane;
using namespace Qt::StringLiterals;

class TestEncodingDetection : public QObject {
    Q_OBJECT

private slots:
    void encodingIsDetected_data();
    void encodingIsDetected();
    void detectionMatchesTheWalk();
};

void TestEncodingDetection::encodingIsDetected_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("complete");
    QTest::addColumn<TextEncoding>("encoding");
    QTest::addColumn<bool>("validAsBoth");

    const auto sjis = TextEncoding::ShiftJis, utf8 = TextEncoding::Utf8;
    QTest::newRow("empty") << QByteArray() << true << sjis << false;
    QTest::newRow("ASCII") << "ab\r\n"_ba << true << sjis << false;
    QTest::newRow("Shift-JIS あ日") << "\x82\xA0\x93\xFA"_ba << true << sjis << false;
    QTest::newRow("UTF-8 日本語") << "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E"_ba << true << utf8 << false;
    QTest::newRow("C3 BD: ý or ﾃｽ") << "\xC3\xBD"_ba << true << utf8 << true;
    QTest::newRow("valid in neither") << "\xE6\x97\xA5\x82"_ba << true << sjis << false;
    QTest::newRow("UTF-8 mark, rest unchecked")
        << "\xEF\xBB\xBF\x82"_ba << true << TextEncoding::Utf8Bom << false;
    QTest::newRow("UTF-16 LE mark") << "\xFF\xFE\x41\x00"_ba << true << TextEncoding::Utf16Le << false;
    QTest::newRow("UTF-16 BE mark") << "\xFE\xFF\x00\x41"_ba << true << TextEncoding::Utf16Be << false;
    // A start of a longer input may end inside a character of either encoding.
    QTest::newRow("start: 日, half of 本 (Shift-JIS too)")
        << "\xE6\x97\xA5\xE6\x9C"_ba << false << utf8 << true;
    QTest::newRow("whole: UTF-8 cut in 本") << "\xE6\x97\xA5\xE6\x9C"_ba << true << sjis << false;
    QTest::newRow("start: ﾃｽ then a lead byte") << "\xC3\xBD\x82"_ba << false << sjis << false;
    QTest::newRow("start: ý then half of あ") << "\xC3\xBD\xE3\x81"_ba << false << utf8 << true;
}

void TestEncodingDetection::encodingIsDetected()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, complete);
    QFETCH(TextEncoding, encoding);
    QFETCH(bool, validAsBoth);

    const codepage::DetectedEncoding detected = codepage::detectEncoding(bytes, complete);
    QCOMPARE(detected.encoding, encoding);
    QCOMPARE(detected.validAsBoth, validAsBoth);
}

// Every short input over bytes that start, continue or end the sequences of either encoding or
// their marks, whole and as a start, against the reading that walks the bytes one character at a time.
void TestEncodingDetection::detectionMatchesTheWalk()
{
    const QByteArray alphabet = "\x41\x0D\x80\x82\x97\xA0\xBB\xBF\xC3\xE0\xE6\xED\xEF\xF0\xF4\xFE\xFF"_ba;
    for (const QByteArray &bytes : reference::byteStrings(alphabet, 4)) {
        for (const bool complete : {true, false}) {
            const codepage::DetectedEncoding fast = codepage::detectEncoding(bytes, complete);
            const codepage::DetectedEncoding slow = reference::detectByWalking(bytes, complete);
            const QByteArray where = bytes.toHex(' ') + (complete ? " whole" : " start");
            QVERIFY2(fast.encoding == slow.encoding && fast.validAsBoth == slow.validAsBoth, where);
        }
    }
}

QTEST_APPLESS_MAIN(TestEncodingDetection)
#include "tst_encoding_detection.moc"
