// Line and column counted piece by piece, as orvane-conv counts them over its blocks, against the
// same place counted from the start, as the codecs' errors count it, and against the slow count, for
// every cut of each text.

#include "tests/reference/reference.h"
#include "tests/support/line_end_texts.h"
#include "text/codec/cp932.h"
#include "text/codec/text_positions.h"

#include <QTest>

#include <utility>

using namespace orvane;

namespace {

std::pair<qsizetype, qsizetype> lineAndColumn(const codec::Position &position)
{
    return {position.line, position.column};
}

} // namespace

class TestTextPositions : public QObject {
    Q_OBJECT

private slots:
    void piecesCountAsTheWhole_data();
    void piecesCountAsTheWhole();
    void positionsOfLongTexts();
};

void TestTextPositions::piecesCountAsTheWhole_data() { test::addLineEndTextRows(); }

// Each text as UTF-16, UTF-8 and code page 932 (where it can be stored), cut anywhere a piece may
// end: not between CR and LF, not inside a character.
void TestTextPositions::piecesCountAsTheWhole()
{
    QFETCH(QString, text);
    const auto *units = reinterpret_cast<const char16_t *>(text.utf16());
    const QByteArray utf8 = text.toUtf8();
    const auto *utf8Bytes = reinterpret_cast<const unsigned char *>(utf8.constData());
    QByteArray cp932Text;
    const bool storable = codec::cp932::encode(text, cp932Text);
    const auto *cp932Bytes = reinterpret_cast<const unsigned char *>(cp932Text.constData());

    for (qsizetype cut = 0; cut <= text.size(); ++cut) {
        if (cut > 0 && cut < text.size()
            && ((text[cut - 1] == u'\r' && text[cut] == u'\n') || text[cut].isLowSurrogate()))
            continue;
        const QStringView before = QStringView(text).first(cut);
        const qsizetype utf8Cut = before.toUtf8().size();
        QByteArray cp932Before;
        codec::cp932::encode(before, cp932Before);

        // The fast count up to the cut against the slow one, unit by unit.
        const codec::Position fast = codec::positionOfUnit(units, cut);
        const codec::Position slow = reference::positionIn(text, cut);
        QCOMPARE(lineAndColumn(fast), lineAndColumn(slow));

        codec::Position inUnits;
        codec::advance(inUnits, before);
        codec::advance(inUnits, QStringView(text).sliced(cut));
        const codec::Position whole = codec::positionOfUnit(units, text.size());
        QCOMPARE(lineAndColumn(inUnits), lineAndColumn(whole));
        QCOMPARE(inUnits.offset, text.size());

        codec::Position inUtf8;
        codec::advanceUtf8(inUtf8, utf8Bytes, utf8Cut);
        codec::advanceUtf8(inUtf8, utf8Bytes + utf8Cut, utf8.size() - utf8Cut);
        const codec::Position wholeUtf8 = codec::positionOfUtf8Byte(utf8Bytes, utf8.size());
        QCOMPARE(inUtf8.line, whole.line);
        QCOMPARE(inUtf8.column, wholeUtf8.column);
        QCOMPARE(wholeUtf8.line, whole.line);

        // A piece's place relative to its start, continued from where the piece starts.
        codec::Position start;
        codec::advance(start, before);
        const codec::Position rest = codec::positionOfUnit(units + cut, text.size() - cut);
        const codec::Position continued = codec::continued(start, rest);
        QCOMPARE(lineAndColumn(continued), lineAndColumn(whole));
        QCOMPARE(continued.offset, text.size());

        if (!storable)
            continue;
        const qsizetype cp932Cut = cp932Before.size();
        codec::Position inCp932;
        codec::advanceCp932(inCp932, cp932Bytes, cp932Cut);
        codec::advanceCp932(inCp932, cp932Bytes + cp932Cut, cp932Text.size() - cp932Cut);
        const codec::Position wholeCp932 = codec::positionOfCp932Byte(cp932Bytes, cp932Text.size());
        QCOMPARE(lineAndColumn(inCp932), lineAndColumn(wholeCp932));
        QCOMPARE(wholeCp932.line, whole.line);
    }
}

// Long enough for the vector loops and their counters' rounds: every CR, LF and CR LF one line.
void TestTextPositions::positionsOfLongTexts()
{
    for (const QString &line : {u"x\r\n"_qs, u"あ\r"_qs, u"\n"_qs, u"\r\n\n\r"_qs}) {
        const qsizetype lines = line == u"\r\n\n\r" ? 3 : 1;
        const QString text = line.repeated(70'000) + u"end"_qs;
        const codec::Position at
            = codec::positionOfUnit(reinterpret_cast<const char16_t *>(text.utf16()), text.size());
        QCOMPARE(at.line, 1 + 70'000 * lines);
        QCOMPARE(at.column, 4);
        const QByteArray bytes = text.toUtf8();
        const codec::Position inBytes = codec::positionOfUtf8Byte(
            reinterpret_cast<const unsigned char *>(bytes.constData()), bytes.size());
        QCOMPARE(inBytes.line, at.line);
        QCOMPARE(inBytes.column, 4);
    }
}

QTEST_APPLESS_MAIN(TestTextPositions)
#include "tst_text_positions.moc"
