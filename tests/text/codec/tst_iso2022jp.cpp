// ISO-2022-JP: files in each designation form come back byte for byte and read the same in any
// split; other writers' forms read right; bad bytes and unstorable characters are reported.

#include "tests/support/written_back.h"
#include "text/codec/iso2022jp.h"

#include <QTest>

using namespace orvane;

class TestIso2022Jp : public QObject {
    Q_OBJECT

private slots:
    void filesComeBackByteForByte_data();
    void filesComeBackByteForByte();
    void otherFormsReadRightAndSaveCanonically_data();
    void otherFormsReadRightAndSaveCanonically();
    void badBytesAreReportedWhereTheyStart_data();
    void badBytesAreReportedWhereTheyStart();
    void unstorableCharactersAreRefused_data();
    void unstorableCharactersAreRefused();
};

void TestIso2022Jp::filesComeBackByteForByte_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    const struct {
        const char *name;
        QByteArray line;
        QString text;
    } lines[] = {
        {"ESC $ B, ESC ( B", "\x1B$B$3$s$K$A$O\x1B(B abc", u"こんにちは abc"_qs},
        {"ESC $ @, ESC ( J", "x\x1B$@4A;z\x1B(J~\\", u"x漢字~\\"_qs},
        {"kana ESC ( I", "\x1B(I6^\x1B$B$+\x1B(B", u"ｶﾞか"_qs},
        {"kana SO SI", "\x0E\x36^\x0F\x1B$B$+\x1B(Bz\x0E\x31\x0F", u"ｶﾞかzｱ"_qs},
        {"JIS X 0212 and NEC row 13", "\x1B$(D0!\x1B$B-!$\"\x1B(B", u"丂①あ"_qs},
        {"IBM as the file wrote it", "\x1B$B|q\x1B(B", u"ⅰ"_qs},
    };
    const char *const lineEnds[] = {"\r\n", "\n", "\r"};
    for (const auto &line : lines) {
        for (const char *lineEnd : lineEnds) {
            for (const bool lastLineEnd : {false, true}) {
                QByteArray bytes = line.line + lineEnd + line.line;
                QString text = line.text + QString::fromLatin1(lineEnd) + line.text;
                if (lastLineEnd) {
                    bytes += lineEnd;
                    text += QString::fromLatin1(lineEnd);
                }
                QTest::addRow("%s %s%s", line.name, QByteArray(lineEnd).toHex().constData(),
                              lastLineEnd ? " ended" : "")
                    << bytes << text;
            }
        }
    }
}

void TestIso2022Jp::filesComeBackByteForByte()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    const test::WrittenBack back = test::writtenBack(codec::TextEncoding::Iso2022Jp, bytes);
    QVERIFY(back.decoded && back.encoded);
    QCOMPARE(back.text, text);
    QCOMPARE(back.bytes, bytes);
    // Any two pieces read as the whole, the designation carried across.
    for (qsizetype split = 0; split <= bytes.size(); ++split) {
        codec::iso2022jp::Decoder decoder;
        QString first;
        qsizetype consumed = 0;
        QVERIFY(decoder.decode(QByteArrayView(bytes).first(split), first, nullptr, &consumed));
        QString rest;
        QVERIFY(decoder.decode(QByteArrayView(bytes).sliced(consumed), rest));
        QCOMPARE(first + rest, text);
    }
}

void TestIso2022Jp::otherFormsReadRightAndSaveCanonically_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("saved");
    QTest::newRow("ESC & @ ESC $ B") << QByteArray("\x1B&@\x1B$B$\"\x1B(B") << u"あ"_qs
                                     << QByteArray("\x1B$B$\"\x1B(B");
    QTest::newRow("repeated escapes") << QByteArray("\x1B(B\x1B$B$\"\x1B$B$\"\x1B(B\x1B(Ba") << u"ああa"_qs
                                      << QByteArray("\x1B$B$\"$\"\x1B(Ba");
    QTest::newRow("line end in JIS X 0208") << QByteArray("\x1B$B$\"\n$\"\x1B(B") << u"あ\nあ"_qs
                                            << QByteArray("\x1B$B$\"\x1B(B\n\x1B$B$\"\x1B(B");
    QTest::newRow("no return at the end")
        << QByteArray("\x1B$B$\"") << u"あ"_qs << QByteArray("\x1B$B$\"\x1B(B");
    QTest::newRow("ESC $ ( B") << QByteArray("\x1B$(B$\"\x1B(B") << u"あ"_qs << QByteArray("\x1B$B$\"\x1B(B");
}

void TestIso2022Jp::otherFormsReadRightAndSaveCanonically()
{
    QFETCH(QByteArray, bytes);
    const test::WrittenBack back = test::writtenBack(codec::TextEncoding::Iso2022Jp, bytes);
    QVERIFY(back.decoded && back.encoded);
    QTEST(back.text, "text");
    QTEST(back.bytes, "saved");
}

void TestIso2022Jp::badBytesAreReportedWhereTheyStart_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("truncated");
    QTest::newRow("8-bit byte") << QByteArray("ab\r\nc\xA4\xA2") << 2 << 2 << false;
    QTest::newRow("unknown escape") << QByteArray("\x1B$B$\"\x1B(Z") << 1 << 2 << false;
    QTest::newRow("half a code at the end") << QByteArray("\x1B$B$\"$") << 1 << 2 << true;
    QTest::newRow("ESC at the end") << QByteArray("a\x1B") << 1 << 2 << true;
    QTest::newRow("unassigned code") << QByteArray("\x1B$B)!") << 1 << 1 << false;
    QTest::newRow("0x60 as kana") << QByteArray("\x0E`") << 1 << 1 << false;
}

void TestIso2022Jp::badBytesAreReportedWhereTheyStart()
{
    QFETCH(QByteArray, bytes);
    QString text;
    codec::iso2022jp::DecodeError error;
    QVERIFY(!codec::iso2022jp::decode(bytes, text, &error));
    QTEST(int(error.at.line), "line");
    QTEST(int(error.at.column), "column");
    QTEST(error.truncated, "truncated");
}

void TestIso2022Jp::unstorableCharactersAreRefused_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<uint>("codePoint");
    QTest::addColumn<int>("column");
    QTest::addColumn<QByteArray>("before");
    QTest::newRow("ESC") << u"あ\x1B"_qs << 0x1Bu << 2 << QByteArray("\x1B$B$\"\x1B(B");
    QTest::newRow("SO") << u"ｱ\x0E"_qs << 0x0Eu << 2 << QByteArray("\x1B(I1\x1B(B");
    QTest::newRow("emoji") << u"a😀"_qs << 0x1F600u << 2 << QByteArray("a");
    QTest::newRow("yen sign") << u"¥"_qs << 0xA5u << 1 << QByteArray();
}

void TestIso2022Jp::unstorableCharactersAreRefused()
{
    QFETCH(QString, text);
    QByteArray bytes;
    codec::iso2022jp::EncodeError error;
    QVERIFY(!codec::iso2022jp::encode(text, bytes, &error));
    QTEST(uint(error.codePoint), "codePoint");
    QTEST(int(error.at.column), "column");
    QTEST(bytes, "before");
}

QTEST_GUILESS_MAIN(TestIso2022Jp)
#include "tst_iso2022jp.moc"
