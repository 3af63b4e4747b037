// Where a block may end, for every length of a start of each encoding's bytes: what is kept decodes
// to a start of the whole text that does not end between CR and LF, and at most one character and a
// CR are left over.

#include "text/codec/block_cut.h"
#include "text/codec/cp932.h"
#include "text/codec/text_codec.h"
#include "text/codec/utf16.h"
#include "text/codec/utf8.h"

#include <QTest>

using namespace orvane;

class TestBlockCut : public QObject {
    Q_OBJECT

private slots:
    void blocksEndAfterWholeCharacters();
    void invalidBytesAreLeftToTheDecoder();
};

namespace {

QByteArray encoded(TextEncoding encoding, const QString &text)
{
    QByteArray bytes;
    switch (encoding) {
    case TextEncoding::ShiftJis:
        cp932::encode(text, bytes);
        break;
    case TextEncoding::Utf8:
    case TextEncoding::Utf8Bom:
        utf8::encode(text, bytes);
        break;
    case TextEncoding::Utf16Le:
    case TextEncoding::Utf16Be:
        utf16::encode(text,
                      encoding == TextEncoding::Utf16Le ? utf16::ByteOrder::LittleEndian
                                                        : utf16::ByteOrder::BigEndian,
                      bytes);
        break;
    case TextEncoding::EucJp:
    case TextEncoding::Iso2022Jp:
        codepage::encode(encoding, text, bytes);
        break;
    }
    return bytes;
}

bool decoded(TextEncoding encoding, QByteArrayView bytes, QString &text)
{
    switch (encoding) {
    case TextEncoding::ShiftJis:
        return cp932::decode(bytes, text);
    case TextEncoding::Utf8:
    case TextEncoding::Utf8Bom:
        return utf8::decode(bytes, text);
    case TextEncoding::Utf16Le:
        return utf16::decode(bytes, utf16::ByteOrder::LittleEndian, text);
    case TextEncoding::Utf16Be:
        return utf16::decode(bytes, utf16::ByteOrder::BigEndian, text);
    case TextEncoding::EucJp:
    case TextEncoding::Iso2022Jp:
        return codepage::decode(encoding, bytes, text);
    }
    return false;
}

} // namespace

void TestBlockCut::blocksEndAfterWholeCharacters()
{
    const QString text = u"aあ\r\n漢字ｶﾞ\r\r😀x\n表"_qs;
    for (const TextEncoding encoding : allTextEncodings) {
        const bool storesPairs = !isJisBased(encoding);
        const QString stored = storesPairs ? text : QString(text).remove(u"😀"_qs);
        const QByteArray bytes = encoded(encoding, stored);
        for (qsizetype length = 0; length <= bytes.size(); ++length) {
            const qsizetype kept = codepage::wholeCharacters(encoding, bytes.first(length));
            QString start;
            QVERIFY2(decoded(encoding, bytes.first(kept), start), qPrintable(QString::number(length)));
            QVERIFY(stored.startsWith(start));
            QVERIFY(!(start.endsWith(u'\r') && stored.sliced(start.size()).startsWith(u'\n')));
            // Left over: at most one character (four bytes) and a CR before it.
            const qsizetype unit
                = encoding == TextEncoding::Utf16Le || encoding == TextEncoding::Utf16Be ? 2 : 1;
            QVERIFY(length - kept <= 4 + unit);
        }
    }
}

// A sequence no byte could complete is the decoder's to report, where the whole input has it.
void TestBlockCut::invalidBytesAreLeftToTheDecoder()
{
    QCOMPARE(codepage::wholeCharacters(TextEncoding::Utf8, "ab\xE3\x81"), 2);
    QCOMPARE(codepage::wholeCharacters(TextEncoding::Utf8, "ab\xC0"), 3);
    QCOMPARE(codepage::wholeCharacters(TextEncoding::Utf8, "ab\xE0\x80"), 4);
    QCOMPARE(codepage::wholeCharacters(TextEncoding::ShiftJis, "ab\x82"), 2);
    QCOMPARE(codepage::wholeCharacters(TextEncoding::ShiftJis, "ab\x82\xA0\x82"), 4);
}

QTEST_APPLESS_MAIN(TestBlockCut)
#include "tst_block_cut.moc"
