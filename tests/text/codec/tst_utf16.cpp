// UTF-16 in both byte orders: the errors a file can hold. (Every character goes both ways in the
// disk text files' round trip.)

#include "text/codec/utf16.h"

#include <QTest>
#include <QtEndian>

using namespace orvane;
using namespace Qt::StringLiterals;
using codec::utf16::ByteOrder;

namespace {

QByteArray unitsInOrder(const QString &text, ByteOrder order)
{
    QByteArray bytes(text.size() * 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const quint16 unit = text.at(i).unicode();
        if (order == ByteOrder::LittleEndian)
            qToLittleEndian(unit, bytes.data() + 2 * i);
        else
            qToBigEndian(unit, bytes.data() + 2 * i);
    }
    return bytes;
}

} // namespace

class TestUtf16 : public QObject {
    Q_OBJECT

private slots:
    void decodeErrorsReportTheBadUnit_data();
    void decodeErrorsReportTheBadUnit();
};

void TestUtf16::decodeErrorsReportTheBadUnit_data()
{
    QTest::addColumn<QString>("text"); // before the odd byte, if any
    QTest::addColumn<bool>("oddByte");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("truncated");

    const QChar high(0xD83D);
    const QChar low(0xDE00);
    QTest::newRow("odd byte") << u"あい"_s << true << 4 << 1 << 3 << true;
    QTest::newRow("high at end") << u"あ"_s + high << false << 2 << 1 << 2 << true;
    QTest::newRow("high and an odd byte") << u"a"_s + high << true << 2 << 1 << 2 << true;
    QTest::newRow("high before ASCII") << high + u"a"_s << false << 0 << 1 << 1 << false;
    QTest::newRow("low alone") << u"😀"_s + low << false << 4 << 1 << 2 << false;
    QTest::newRow("after CR LF") << u"a\r\nb"_s + low << false << 8 << 2 << 2 << false;
    QTest::newRow("after lone CR and LF") << u"\r\n\n\r"_s + low + u"x"_s << false << 8 << 4 << 1 << false;
    QTest::newRow("past a long run") << QString(100, u'字') + high + high << false << 200 << 1 << 101
                                     << false;
}

void TestUtf16::decodeErrorsReportTheBadUnit()
{
    QFETCH(QString, text);
    QFETCH(bool, oddByte);
    QFETCH(int, offset);
    QFETCH(int, line);
    QFETCH(int, column);
    QFETCH(bool, truncated);
    for (ByteOrder order : {ByteOrder::LittleEndian, ByteOrder::BigEndian}) {
        QByteArray bytes = unitsInOrder(text, order);
        if (oddByte)
            bytes += 'x';
        QString decoded;
        codec::utf16::DecodeError error;
        QVERIFY(!codec::utf16::decode(bytes, order, decoded, &error));
        QCOMPARE(error.at.offset, offset);
        QCOMPARE(error.at.line, line);
        QCOMPARE(error.at.column, column);
        QCOMPARE(error.truncated, truncated);
        QCOMPARE(decoded, text.first(offset / 2));
    }
}

QTEST_GUILESS_MAIN(TestUtf16)
#include "tst_utf16.moc"
