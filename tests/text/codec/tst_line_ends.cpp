// Lone CR and lone LF made CR LF, in text and in bytes alike; text without them is not copied.

#include "text/codec/line_ends.h"

#include <QTest>

using namespace orvane;

class TestLineEnds : public QObject {
    Q_OBJECT

private slots:
    void loneEndsBecomeCrLf_data();
    void loneEndsBecomeCrLf();
};

void TestLineEnds::loneEndsBecomeCrLf_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("CR LF only") << u"あ\r\nい\r\n"_qs << u"あ\r\nい\r\n"_qs;
    QTest::newRow("lone LF") << u"\nあ\n"_qs << u"\r\nあ\r\n"_qs;
    QTest::newRow("lone CR") << u"\rあ\r"_qs << u"\r\nあ\r\n"_qs;
    QTest::newRow("LF CR") << u"a\n\rb"_qs << u"a\r\n\r\nb"_qs;
    QTest::newRow("CR CR LF") << u"\r\r\n"_qs << u"\r\n\r\n"_qs;
}

void TestLineEnds::loneEndsBecomeCrLf()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    const QString converted = codepage::withCrLf(text);
    QCOMPARE(converted, expected);
    if (text == expected)
        QCOMPARE(converted.constData(), text.constData());
    QCOMPARE(codepage::withCrLf(text.toUtf8()), expected.toUtf8());
}

QTEST_APPLESS_MAIN(TestLineEnds)
#include "tst_line_ends.moc"
