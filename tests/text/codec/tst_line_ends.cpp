// Line ends written as one kind, in text and in bytes; and the line end after the last line taken off the
// text or the bytes, with the file's first line end noted for the document.

#include "tests/reference/codec_rules.h"
#include "tests/support/line_end_texts.h"
#include "text/codec/line_ends.h"

#include <QTest>

using namespace orvane;

class TestLineEnds : public QObject {
    Q_OBJECT

private slots:
    void everyEndBecomesTheWantedOne_data();
    void everyEndBecomesTheWantedOne();
    void everyShortTextMatchesTheSplit();
    void lastLineEndTakenOff_data();
    void lastLineEndTakenOff();
};

void TestLineEnds::everyEndBecomesTheWantedOne_data() { test::addLineEndTextRows(); }

void TestLineEnds::everyEndBecomesTheWantedOne()
{
    QFETCH(QString, text);
    // The same lines, split at CR LF, lone CR or lone LF, joined with the wanted end.
    QString marked = text;
    marked.replace(u"\r\n"_qs, u"\x1f"_qs).replace(u'\r', u'\x1f').replace(u'\n', u'\x1f');
    for (const codec::LineEnd lineEnd : codec::allLineEnds) {
        const QString wanted = codec::lineEndText(lineEnd).toString();
        QString expected = marked;
        expected.replace(u'\x1f', wanted);
        const QString converted = codec::withLineEnds(text, lineEnd);
        QCOMPARE(converted, expected);
        if (text == expected)
            QCOMPARE(converted.constData(), text.constData());
        // The same over the bytes of an encoding, as a save rewrites them block by block.
        const QByteArray bytes = text.toUtf8();
        QByteArray rewritten;
        const bool changed = codec::withLineEnds(QByteArrayView(bytes), lineEnd, rewritten);
        QCOMPARE(changed, text != expected);
        QCOMPARE(changed ? rewritten : bytes, expected.toUtf8());
    }
}

// Every text of up to six units from letters, CR and LF, against its lines joined again.
void TestLineEnds::everyShortTextMatchesTheSplit()
{
    for (const QByteArray &units : reference::byteStrings("a\r\n\x01", 6)) {
        const QString text = QString::fromLatin1(units).replace(u'\x01', u'あ');
        for (const codec::LineEnd lineEnd : codec::allLineEnds) {
            const QString expected = reference::withLineEndsBySplitting(text, lineEnd);
            QCOMPARE(codec::withLineEnds(text, lineEnd), expected);
            QByteArray bytes;
            if (!codec::withLineEnds(QByteArrayView(text.toUtf8()), lineEnd, bytes))
                bytes = text.toUtf8();
            QCOMPARE(bytes, expected.toUtf8());
        }
    }
}

void TestLineEnds::lastLineEndTakenOff_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<codec::LineEnds>("lineEnds");
    QTest::newRow("empty") << QString() << QString() << codec::LineEnds {codec::LineEnd::CrLf, std::nullopt};
    QTest::newRow("no line end") << u"あ"_qs << u"あ"_qs
                                 << codec::LineEnds {codec::LineEnd::CrLf, std::nullopt};
    QTest::newRow("CR LF") << u"あ\r\nい\r\n"_qs << u"あ\r\nい"_qs
                           << codec::LineEnds {codec::LineEnd::CrLf, codec::LineEnd::CrLf};
    QTest::newRow("LF then CR") << u"あ\nい\r"_qs << u"あ\nい"_qs
                                << codec::LineEnds {codec::LineEnd::Lf, codec::LineEnd::Cr};
    QTest::newRow("CR then none") << u"あ\rい"_qs << u"あ\rい"_qs
                                  << codec::LineEnds {codec::LineEnd::Cr, std::nullopt};
    QTest::newRow("lone LF last") << u"\n"_qs << QString()
                                  << codec::LineEnds {codec::LineEnd::Lf, codec::LineEnd::Lf};
}

void TestLineEnds::lastLineEndTakenOff()
{
    QFETCH(QString, text);
    QFETCH(QString, kept);
    QFETCH(codec::LineEnds, lineEnds);
    QString taken = text;
    QCOMPARE(codec::takeLastLineEnd(taken), lineEnds);
    QCOMPARE(taken, kept);
    QByteArray bytes = text.toUtf8();
    QCOMPARE(codec::takeLastLineEnd(bytes), lineEnds);
    QCOMPARE(bytes, kept.toUtf8());
}

QTEST_APPLESS_MAIN(TestLineEnds)
#include "tst_line_ends.moc"
