// Open's decision on a file's encoding, row by row, on bytes alone.

#include "host/files/document_bytes.h"
#include "host/host_error.h"

#include <QTest>

using namespace orvane;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(codec::TextEncoding)

class TestDocumentBytes : public QObject {
    Q_OBJECT

private slots:
    void encodingIsDecidedByTheRules_data();
    void encodingIsDecidedByTheRules();
    void badBytesAreRefusedWithLineAndColumn_data();
    void badBytesAreRefusedWithLineAndColumn();
};

void TestDocumentBytes::encodingIsDecidedByTheRules_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<codec::TextEncoding>("encoding");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shiftJisReading"); // null unless the bytes are valid Shift-JIS too

    QTest::newRow("empty file") << QByteArray() << codec::TextEncoding::ShiftJis << QString() << QString();
    QTest::newRow("ASCII is Shift-JIS")
        << "ab\r\n"_ba << codec::TextEncoding::ShiftJis << u"ab"_s << QString();
    QTest::newRow("Shift-JIS あ日") << "\x82\xA0\x93\xFA"_ba << codec::TextEncoding::ShiftJis << u"あ日"_s
                                    << QString();
    QTest::newRow("UTF-8 日本語, not Shift-JIS") << "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\n"_ba
                                                 << codec::TextEncoding::Utf8 << u"日本語"_s << QString();
    QTest::newRow("C3 BD: UTF-8 ý or Shift-JIS ﾃｽ")
        << "\xC3\xBD"_ba << codec::TextEncoding::Utf8 << u"ý"_s << u"ﾃｽ"_s;
    QTest::newRow("UTF-8 BOM only") << "\xEF\xBB\xBF"_ba << codec::TextEncoding::Utf8Bom << QString()
                                    << QString();
    QTest::newRow("UTF-8 BOM, lone LF") << "\xEF\xBB\xBF\xE3\x81\x82\n\xE3\x81\x84\n"_ba
                                        << codec::TextEncoding::Utf8Bom << u"あ\nい"_s << QString();
    QTest::newRow("UTF-8 BOM, then U+FEFF") << "\xEF\xBB\xBF\xEF\xBB\xBF"
                                               "a"_ba
                                            << codec::TextEncoding::Utf8Bom << u"\uFEFFa"_s << QString();
    QTest::newRow("UTF-8 BOM, pure ASCII") << "\xEF\xBB\xBF"
                                              "a"_ba
                                           << codec::TextEncoding::Utf8Bom << u"a"_s << QString();
    QTest::newRow("UTF-16 LE BOM only")
        << "\xFF\xFE"_ba << codec::TextEncoding::Utf16Le << QString() << QString();
    QTest::newRow("UTF-16 LE, lone CR")
        << "\xFF\xFE\x42\x30\r\0\x44\x30\r\0"_ba << codec::TextEncoding::Utf16Le << u"あ\rい"_s << QString();
    QTest::newRow("UTF-16 LE mark beats Shift-JIS FF FE")
        << "\xFF\xFE"
           "A\0"_ba
        << codec::TextEncoding::Utf16Le << u"A"_s << QString();
    QTest::newRow("UTF-16 BE BOM only")
        << "\xFE\xFF"_ba << codec::TextEncoding::Utf16Be << QString() << QString();
    QTest::newRow("UTF-16 BE 😀 CR LF")
        << "\xFE\xFF\xD8\x3D\xDE\x00\0\r\0\n"_ba << codec::TextEncoding::Utf16Be << u"😀"_s << QString();
}

void TestDocumentBytes::encodingIsDecidedByTheRules()
{
    QFETCH(QByteArray, bytes);
    QFETCH(codec::TextEncoding, encoding);
    QFETCH(QString, text);
    QFETCH(QString, shiftJisReading);

    const LoadedText loaded = decodeDocumentBytes(bytes, u"a.txt"_s);
    QCOMPARE(loaded.encoding, encoding);
    QCOMPARE(loaded.decoded(), text);
    QCOMPARE(loaded.alsoShiftJis(), !shiftJisReading.isNull());
    if (loaded.alsoShiftJis())
        QCOMPARE(loaded.shiftJisReading->text, shiftJisReading);
    if (loaded.isUtf8())
        QCOMPARE(loaded.utf8Units, text.size());
}

void TestDocumentBytes::badBytesAreRefusedWithLineAndColumn_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("description");

    const QString cannotOpen = u"ファイル「a.txt」を開けません。"_s;
    QTest::newRow("invalid as UTF-8 and as Shift-JIS") << "\xE6\x97\xA5\x82"_ba
                                                       << cannotOpen
            + u"Shift-JIS のテキストとして読めないバイトがあります（1 行目、3 文字目）。UTF-8 や EUC-JP のテキストとしても読めません。"_s;
    QTest::newRow("UTF-8 BOM, C0 on line 2")
        << "\xEF\xBB\xBF"
           "a\r\nb\xC0\xAF"_ba
        << cannotOpen + u"UTF-8 (BOM 付き) のテキストとして読めないバイトがあります（2 行目、2 文字目）。"_s;
    QTest::newRow("UTF-8 BOM, あ cut at the end") << "\xEF\xBB\xBF\xE3\x81"_ba
                                                  << cannotOpen
            + u"UTF-8 (BOM 付き) のテキストとして読めないバイトがあります（1 行目、1 文字目）。ファイルの最後の文字が途中で切れています。"_s;
    QTest::newRow("UTF-16 LE, high surrogate at the end") << "\xFF\xFE"
                                                             "a\0\x3D\xD8"_ba
                                                          << cannotOpen
            + u"UTF-16 LE のテキストとして読めないバイトがあります（1 行目、2 文字目）。ファイルの最後の文字が途中で切れています。"_s;
    QTest::newRow("UTF-16 BE, lone low surrogate after a lone CR")
        << "\xFE\xFF\0\r\xDC\0"_ba
        << cannotOpen + u"UTF-16 BE のテキストとして読めないバイトがあります（2 行目、1 文字目）。"_s;
}

void TestDocumentBytes::badBytesAreRefusedWithLineAndColumn()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, description);
    try {
        decodeDocumentBytes(bytes, u"a.txt"_s);
        QFAIL("not refused");
    } catch (const HostError &error) {
        QCOMPARE(error.number(), ErrorNumber::InvalidFileFormat);
        QCOMPARE(error.description(), description);
    }
}

QTEST_GUILESS_MAIN(TestDocumentBytes)
#include "tst_document_bytes.moc"
