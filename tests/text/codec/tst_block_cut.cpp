// Where a block may end, for every length of a start of each encoding's bytes: what is kept decodes
// to a start of the whole text that does not end between CR and LF, and at most one character and a
// CR are left over.

#include "tests/reference/codec_rules.h"
#include "text/codec/block_cut.h"
#include "text/codec/text_codec.h"

#include <QTest>

using namespace orvane;
using namespace Qt::StringLiterals;

class TestBlockCut : public QObject {
    Q_OBJECT

private slots:
    void blocksEndAfterWholeCharacters();
    void invalidBytesAreLeftToTheDecoder();
    void cutMatchesTheWalk();
};

void TestBlockCut::blocksEndAfterWholeCharacters()
{
    const QString text = u"aあ\r\n漢字ｶﾞ\r\r😀x\n表"_qs;
    for (const codec::TextEncoding encoding : codec::allTextEncodings) {
        const bool storesPairs = !codec::isJisBased(encoding);
        const QString stored = storesPairs ? text : QString(text).remove(u"😀"_qs);
        QByteArray bytes;
        QVERIFY(codec::encode(encoding, stored, bytes));
        for (qsizetype length = 0; length <= bytes.size(); ++length) {
            const qsizetype kept = codec::wholeCharacters(encoding, bytes.first(length));
            QString start;
            QVERIFY2(codec::decode(encoding, bytes.first(kept), start), qPrintable(QString::number(length)));
            QVERIFY(stored.startsWith(start));
            QVERIFY(!(start.endsWith(u'\r') && stored.sliced(start.size()).startsWith(u'\n')));
            // Left over: at most one character (four bytes) and a CR before it.
            const qsizetype unit
                = encoding == codec::TextEncoding::Utf16Le || encoding == codec::TextEncoding::Utf16Be ? 2
                                                                                                       : 1;
            QVERIFY(length - kept <= 4 + unit);
        }
    }
}

// A sequence no byte could complete is the decoder's to report, where the whole input has it.
void TestBlockCut::invalidBytesAreLeftToTheDecoder()
{
    QCOMPARE(codec::wholeCharacters(codec::TextEncoding::Utf8, "ab\xE3\x81"), 2);
    QCOMPARE(codec::wholeCharacters(codec::TextEncoding::Utf8, "ab\xC0"), 3);
    QCOMPARE(codec::wholeCharacters(codec::TextEncoding::Utf8, "ab\xE0\x80"), 4);
    QCOMPARE(codec::wholeCharacters(codec::TextEncoding::ShiftJis, "ab\x82"), 2);
    QCOMPARE(codec::wholeCharacters(codec::TextEncoding::ShiftJis, "ab\x82\xA0\x82"), 4);
}

// Every short input over bytes that lead, continue, pair or end a line in some encoding, against
// the cut found by walking the characters from the start.
void TestBlockCut::cutMatchesTheWalk()
{
    const QByteArray alphabet
        = "\x00\x0A\x0D\x1B\x24\x28\x42\x41\x80\x82\x8E\x8F\xA0\xBF\xC3\xD8\xDC\xE0\xED\xF0\xF4"_ba;
    const QList<QByteArray> inputs = reference::byteStrings(alphabet, 4);
    for (const codec::TextEncoding encoding : codec::allTextEncodings) {
        for (const QByteArray &bytes : inputs) {
            QVERIFY2(codec::wholeCharacters(encoding, bytes)
                         == reference::wholeCharactersByWalking(encoding, bytes),
                     bytes.toHex(' ') + " as encoding " + QByteArray::number(int(encoding)));
        }
    }
}

QTEST_APPLESS_MAIN(TestBlockCut)
#include "tst_block_cut.moc"
