#include "tests/reference/reference.h"
#include "text/chars/case_table.h"
#include "text/chars/convert.h"
#include "text/chars/kana_table.h"
#include "text/chars/width_table.h"
#include "text/codec/cp932.h"

#include <QRandomGenerator>
#include <QTest>

#include <algorithm>
#include <functional>
#include <set>

using namespace orvane::chars;
using namespace orvane;

namespace {

using Kind = orvane::chars::ConversionKind;

// The name the user writes for the kind: row names and failures show it.
QByteArray kindName(Kind kind)
{
    for (const orvane::chars::ConversionKindName &entry : orvane::chars::conversionKindNames) {
        if (entry.kind == kind)
            return entry.name.toLatin1();
    }
    return QByteArray::number(int(kind));
}

// The case table's row for c, found by a plain scan.
char32_t caseOf(const CasePair *first, const CasePair *last, char32_t c)
{
    for (const CasePair *row = first; row != last; ++row) {
        if (row->from == c)
            return row->to;
    }
    return c;
}

// Characters from everywhere the tables look, and from around them.
QString randomText(QRandomGenerator &random, qsizetype length)
{
    static const QString pools[] = {
        u"abcxyzABCXYZ019 !\"'\\~@[`{\r\n\t"_qs,
        u"ａｚＡＺ０！＂＇＼～　"_qs,
        u"｡｢｣､･ｦｧｯｰｱｳｶｷﾀﾄﾊﾋﾎﾏﾜﾝﾞﾟﾞﾟ"_qs,
        u"ぁあかがぱゔゕゖゝゞゟんを"_qs,
        u"ァアカガパヴヵヶヷヸヹヺヽヾーンヲヮヰヱ・゛゜"_qs,
        u"漢字日本語。「」、"_qs,
        u"ß\u212BÅåéÿĳſǅΣσςΩωЁёЖжⅰⅠⓐⒶİıK\u212A\u2126¢£¬¯¦¥₩￠￡￢￣￤￥￦"_qs,
        u"\U00010400\U00010428\U0001F600\U0001E900\U00020BB7"_qs,
    };
    QString text;
    while (text.size() < length) {
        const QString &pool = pools[random.bounded(int(std::size(pools)))];
        const qsizetype run = 1 + random.bounded(12);
        for (qsizetype k = 0; k < run; ++k) {
            const qsizetype at = random.bounded(int(pool.size()));
            // A pair is picked whole (most of the time) or as a lone half.
            if (pool.at(at).isSurrogate() && random.bounded(8) != 0) {
                const qsizetype start = pool.at(at).isHighSurrogate() ? at : at - 1;
                text.append(pool.mid(start, 2));
            } else {
                text.append(pool.at(at));
            }
        }
    }
    if (random.bounded(16) == 0)
        text.append(QChar(char16_t(0xFFFF)));
    return text;
}

QString hex(const QString &text)
{
    QString out;
    for (QChar c : text)
        out += QString::number(c.unicode(), 16).toUpper().rightJustified(4, u'0') + u' ';
    return out;
}

} // namespace

class TestCharConv : public QObject {
    Q_OBJECT

private slots:
    void convertsCharacters_data();
    void convertsCharacters();
    void leavesOtherCharacters_data();
    void leavesOtherCharacters();
    void narrowUndoesWide();
    void hiraganaUndoesKatakana();
    void keepsCodePage932Storable();
    void oneBlockKindsAreWideAndNarrowOnTheirBlock();
    void matchesSlowReferenceOnRandomText();
    void returnsUnchangedTextShared();
    void caseTableAgreesWithQtWhereQtIsSimple();
    void tablesAreOrderedWithoutDuplicates();
};

void TestCharConv::convertsCharacters_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");
    auto row = [](Kind kind, const QString &input, const QString &expected) {
        QTest::addRow("%s %s", kindName(kind).constData(), qPrintable(input))
            << int(kind) << input << expected;
    };
    auto named = [](Kind kind, const char *name, const QString &input, const QString &expected) {
        QTest::addRow("%s %s", kindName(kind).constData(), name) << int(kind) << input << expected;
    };

    row(Kind::Upper, u"abc xyz"_qs, u"ABC XYZ"_qs);
    row(Kind::Upper, u"ａｂｃ"_qs, u"ＡＢＣ"_qs);
    row(Kind::Upper, u"éÿ"_qs, u"ÉŸ"_qs);
    row(Kind::Upper, u"ß"_qs, u"ß"_qs);
    row(Kind::Upper, u"αωσς"_qs, u"ΑΩΣΣ"_qs);
    row(Kind::Upper, u"жё"_qs, u"ЖЁ"_qs);
    row(Kind::Upper, u"ⅰⅹ"_qs, u"ⅠⅩ"_qs);
    row(Kind::Upper, u"ⓐⓩ"_qs, u"ⒶⓏ"_qs);
    row(Kind::Upper, u"ǆ"_qs, u"Ǆ"_qs);
    row(Kind::Upper, u"ᾳ"_qs, u"ᾼ"_qs);
    row(Kind::Upper, u"iı"_qs, u"II"_qs);
    named(Kind::Upper, "Deseret pair", u"\U00010428"_qs, u"\U00010400"_qs);
    named(Kind::Upper, "lone high surrogate before a", QString(QChar(char16_t(0xD801))) + u'a',
          QString(QChar(char16_t(0xD801))) + u'A');
    named(Kind::Upper, "32 units of ascii", u"the quick brown fox jumps over it"_qs,
          u"THE QUICK BROWN FOX JUMPS OVER IT"_qs);
    row(Kind::Lower, u"ABC XYZ"_qs, u"abc xyz"_qs);
    row(Kind::Lower, u"ＡＢＣ"_qs, u"ａｂｃ"_qs);
    row(Kind::Lower, u"ÅÉ"_qs, u"åé"_qs);
    named(Kind::Lower, "ångström sign U+212B", u"\u212B"_qs, u"\u212B"_qs);
    row(Kind::Lower, u"ΑΣ"_qs, u"ασ"_qs);
    row(Kind::Lower, u"ЖЁ"_qs, u"жё"_qs);
    row(Kind::Lower, u"ⅠⅩ"_qs, u"ⅰⅹ"_qs);
    row(Kind::Lower, u"ⒶⓏ"_qs, u"ⓐⓩ"_qs);
    row(Kind::Lower, u"İ"_qs, u"i"_qs);
    named(Kind::Lower, "Kelvin sign U+212A", u"\u212A"_qs, u"k"_qs);
    named(Kind::Lower, "ohm sign U+2126", u"\u2126"_qs, u"ω"_qs);
    named(Kind::Lower, "Deseret pair", u"\U00010400"_qs, u"\U00010428"_qs);

    row(Kind::Wide, u"ｶﾞ"_qs, u"ガ"_qs);
    row(Kind::Wide, u"ｳﾞ"_qs, u"ヴ"_qs);
    row(Kind::Wide, u"ﾊﾟﾎﾟ"_qs, u"パポ"_qs);
    row(Kind::Wide, u"ﾜﾞ"_qs, u"ワ゛"_qs);
    row(Kind::Wide, u"ｦﾞ"_qs, u"ヲ゛"_qs);
    row(Kind::Wide, u"ｸﾟ"_qs, u"ク゜"_qs);
    row(Kind::Wide, u"ｶﾞﾞ"_qs, u"ガ゛"_qs);
    named(Kind::Wide, "lone ﾞ", u"ﾞ"_qs, u"゛"_qs);
    named(Kind::Wide, "ﾞ after ガ", u"ガﾞ"_qs, u"ガ゛"_qs);
    named(Kind::Wide, "ｶ at the end", u"ｱｶ"_qs, u"アカ"_qs);
    row(Kind::Wide, u"｡｢｣､･ｰ"_qs, u"。「」、・ー"_qs);
    row(Kind::Wide, u"ｦｧｬｯｱﾝ"_qs, u"ヲァャッアン"_qs);
    row(Kind::Wide, u"abc 123"_qs, u"ａｂｃ　１２３"_qs);
    row(Kind::Wide, u"\"'\\~"_qs, u"＂＇＼～"_qs);
    row(Kind::Wide, u"¢£¬¯¦¥₩"_qs, u"￠￡￢￣￤￥￦"_qs);
    named(Kind::Wide, "CR LF and tab stay", u"a\r\n\tb"_qs, u"ａ\r\n\tｂ"_qs);

    row(Kind::Narrow, u"ガ"_qs, u"ｶﾞ"_qs);
    row(Kind::Narrow, u"ヴ"_qs, u"ｳﾞ"_qs);
    row(Kind::Narrow, u"パ"_qs, u"ﾊﾟ"_qs);
    row(Kind::Narrow, u"ヷヺ"_qs, u"ﾜﾞｦﾞ"_qs);
    row(Kind::Narrow, u"アァヲンッ"_qs, u"ｱｧｦﾝｯ"_qs);
    row(Kind::Narrow, u"ー"_qs, u"ｰ"_qs);
    row(Kind::Narrow, u"。「」、・゛゜"_qs, u"｡｢｣､･ﾞﾟ"_qs);
    row(Kind::Narrow, u"ＡＢＣ　１"_qs, u"ABC 1"_qs);
    row(Kind::Narrow, u"＼～＂＇"_qs, u"\\~\"'"_qs);
    named(Kind::Narrow, "text after a voiced letter moves", u"ガギグ"_qs, u"ｶﾞｷﾞｸﾞ"_qs);

    row(Kind::Katakana, u"あいうぁん"_qs, u"アイウァン"_qs);
    row(Kind::Katakana, u"がぱを"_qs, u"ガパヲ"_qs);
    row(Kind::Katakana, u"ゔ"_qs, u"ヴ"_qs);
    row(Kind::Katakana, u"ゕゖ"_qs, u"ヵヶ"_qs);
    row(Kind::Katakana, u"ゝゞ"_qs, u"ヽヾ"_qs);

    row(Kind::Hiragana, u"カタカナ"_qs, u"かたかな"_qs);
    row(Kind::Hiragana, u"ァンヲ"_qs, u"ぁんを"_qs);
    row(Kind::Hiragana, u"ヽヾ"_qs, u"ゝゞ"_qs);
    row(Kind::Hiragana, u"ｶﾞ"_qs, u"が"_qs);
    row(Kind::Hiragana, u"ﾊﾟ"_qs, u"ぱ"_qs);
    row(Kind::Hiragana, u"ｯ"_qs, u"っ"_qs);
    row(Kind::Hiragana, u"ｰ"_qs, u"ー"_qs);
    row(Kind::Hiragana, u"ｦｧｱﾝ"_qs, u"をぁあん"_qs);
    row(Kind::Hiragana, u"ｳﾞ"_qs, u"ヴ"_qs);
    row(Kind::Hiragana, u"ﾜﾞ"_qs, u"わ゛"_qs);
    row(Kind::Hiragana, u"ｱﾞ"_qs, u"あ゛"_qs);
    named(Kind::Hiragana, "lone ﾞ", u"ﾞ"_qs, u"ﾞ"_qs);
    named(Kind::Hiragana, "half-width punctuation", u"｡｢｣､･"_qs, u"｡｢｣､･"_qs);
}

void TestCharConv::convertsCharacters()
{
    QFETCH(int, kind);
    QFETCH(QString, input);
    QFETCH(QString, expected);
    const QString result = chars::convert(Kind(kind), input);
    QCOMPARE(hex(result), hex(expected));
    // The same characters inside a longer text, so that the block paths see them too.
    const QString filler = u"漢字かなabc12　"_qs;
    const QString around = filler + input + filler + filler;
    QCOMPARE(
        hex(chars::convert(Kind(kind), around)),
        hex(chars::convert(Kind(kind), filler) + expected + chars::convert(Kind(kind), filler + filler)));
}

void TestCharConv::leavesOtherCharacters_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("input");
    auto row = [](Kind kind, const QString &input) {
        QTest::addRow("%s %s", kindName(kind).constData(), qPrintable(input)) << int(kind) << input;
    };
    row(Kind::Upper, u"ABC漢字かなカナ123ｶﾞ"_qs);
    row(Kind::Upper, u"\U0001F600"_qs);
    row(Kind::Lower, u"abcω漢字"_qs);
    row(Kind::Wide, u"ＡＢＣ漢字カナ。"_qs);
    row(Kind::Wide, u"カ゛ガ゜"_qs);
    row(Kind::Narrow, u"ひらがな漢字abc"_qs);
    row(Kind::Narrow, u"ヮヰヱヵヶヽヾ"_qs);
    row(Kind::Narrow, u"￠￡￢￣￤￥￦"_qs);
    row(Kind::Katakana, u"カタカナｶﾞｱ漢字"_qs);
    row(Kind::Hiragana, u"ヴヵヶヷヸヹヺー"_qs);
    row(Kind::Hiragana, u"ひらがな漢字ABC"_qs);
}

void TestCharConv::leavesOtherCharacters()
{
    QFETCH(int, kind);
    QFETCH(QString, input);
    QCOMPARE(hex(chars::convert(Kind(kind), input)), hex(input));
}

void TestCharConv::narrowUndoesWide()
{
    QString samples;
    for (char16_t c = u'!'; c <= u'~'; ++c)
        samples.append(QChar(c));
    samples.append(u' ');
    for (char16_t c = u'｡'; c <= u'ﾟ'; ++c)
        samples.append(QChar(c));
    for (const WidthPair &row : voicedRows)
        samples.append(QString(QChar(row.narrow)) + u'ﾞ');
    for (const WidthPair &row : semiVoicedRows)
        samples.append(QString(QChar(row.narrow)) + u'ﾟ');
    samples.append(u"ﾜﾞｦﾞｱﾟ"_qs);
    QCOMPARE(hex(chars::convert(Kind::Narrow, chars::convert(Kind::Wide, samples))), hex(samples));
    for (QChar c : std::as_const(samples))
        QCOMPARE(hex(chars::convert(Kind::Narrow, chars::convert(Kind::Wide, QString(c)))), hex(QString(c)));
}

void TestCharConv::hiraganaUndoesKatakana()
{
    QString hiragana;
    for (char16_t c = u'ぁ'; c <= u'ん'; ++c)
        hiragana.append(QChar(c));
    hiragana.append(u"ゝゞ"_qs);
    QCOMPARE(hex(chars::convert(Kind::Hiragana, chars::convert(Kind::Katakana, hiragana))), hex(hiragana));
}

void TestCharConv::keepsCodePage932Storable()
{
    QList<char32_t> repertoire;
    for (char32_t c = 0; c < 0x10000; ++c) {
        if (orvane::codec::cp932::canEncode(c))
            repertoire.append(c);
    }
    QVERIFY2(repertoire.size() > 9000, "the code page's repertoire");
    // Every character alone, and every half-width letter with each mark.
    QStringList samples;
    for (char32_t c : std::as_const(repertoire))
        samples.append(QString(QChar(char16_t(c))));
    for (char16_t c = u'ｦ'; c <= u'ﾝ'; ++c) {
        samples.append(QString(QChar(c)) + u'ﾞ');
        samples.append(QString(QChar(c)) + u'ﾟ');
    }
    for (Kind kind : orvane::chars::allConversionKinds) {
        for (const QString &sample : std::as_const(samples)) {
            const QString result = chars::convert(kind, sample);
            for (QChar c : result) {
                if (!orvane::codec::cp932::canEncode(c.unicode()))
                    QFAIL(
                        qPrintable(QStringLiteral("%1 of %2 gives %3")
                                       .arg(QString::fromLatin1(kindName(kind)), hex(sample), hex(result))));
            }
        }
    }
}

void TestCharConv::oneBlockKindsAreWideAndNarrowOnTheirBlock()
{
    auto isAscii = [](QChar c) { return c.unicode() >= u' ' && c.unicode() <= u'~'; };
    auto isFullWidthAscii
        = [](QChar c) { return (c.unicode() >= u'！' && c.unicode() <= u'～') || c == u'　'; };
    auto isHalfWidthKana = [](QChar c) { return c.unicode() >= u'｡' && c.unicode() <= u'ﾟ'; };
    auto notFullWidthAscii = [&](QChar c) { return !isFullWidthAscii(c); };
    struct OneBlockKind {
        Kind oneBlock;
        Kind whole;
        std::function<bool(QChar)> inBlock;
    };
    const OneBlockKind kinds[] = {
        {Kind::NarrowAscii, Kind::Narrow, isFullWidthAscii},
        {Kind::WideAscii, Kind::Wide, isAscii},
        {Kind::NarrowKana, Kind::Narrow, notFullWidthAscii},
        {Kind::WideKana, Kind::Wide, isHalfWidthKana},
    };
    // Every character of the code page alone, and every half-width letter with each mark.
    QStringList samples;
    for (char32_t c = 0; c < 0x10000; ++c) {
        if (orvane::codec::cp932::canEncode(c))
            samples.append(QString(QChar(char16_t(c))));
    }
    for (char16_t c = u'｡'; c <= u'ﾟ'; ++c) {
        samples.append(QString(QChar(c)) + u'ﾞ');
        samples.append(QString(QChar(c)) + u'ﾟ');
    }
    for (const OneBlockKind &kind : kinds) {
        for (const QString &sample : std::as_const(samples)) {
            const bool inBlock = std::all_of(sample.begin(), sample.end(), kind.inBlock);
            const QString expected = inBlock ? chars::convert(kind.whole, sample) : sample;
            const QString result = chars::convert(kind.oneBlock, sample);
            if (result != expected)
                QFAIL(qPrintable(QStringLiteral("%1 of %2 gives %3, not %4")
                                     .arg(QString::fromLatin1(kindName(kind.oneBlock)), hex(sample),
                                          hex(result), hex(expected))));
            if (!std::all_of(result.begin(), result.end(),
                             [](QChar c) { return orvane::codec::cp932::canEncode(c.unicode()); }))
                QFAIL(qPrintable(QStringLiteral("%1 of %2 cannot be stored")
                                     .arg(QString::fromLatin1(kindName(kind.oneBlock)), hex(sample))));
        }
    }
}

void TestCharConv::matchesSlowReferenceOnRandomText()
{
    QRandomGenerator random(932);
    for (int round = 0; round < 3000; ++round) {
        const qsizetype length = round % 100 == 0 ? 5000 : random.bounded(80);
        const QString text = randomText(random, length);
        for (Kind kind : orvane::chars::allConversionKinds) {
            const QString expected = orvane::reference::convertOneByOne(kind, text);
            const QString result = chars::convert(kind, text);
            if (result != expected) {
                QFAIL(qPrintable(
                    QStringLiteral("%1 of %2\n gives %3\n wanted %4")
                        .arg(QString::fromLatin1(kindName(kind)), hex(text), hex(result), hex(expected))));
            }
        }
    }
}

void TestCharConv::returnsUnchangedTextShared()
{
    QRandomGenerator random(4);
    for (int round = 0; round < 500; ++round) {
        const QString text = randomText(random, random.bounded(200));
        for (Kind kind : orvane::chars::allConversionKinds) {
            const QString result = chars::convert(kind, text);
            if (result == text)
                QCOMPARE(result.constData(), text.constData());
            // Converting the result again usually changes nothing more.
            const QString again = chars::convert(kind, result);
            if (again == result)
                QCOMPARE(again.constData(), result.constData());
        }
    }
}

void TestCharConv::caseTableAgreesWithQtWhereQtIsSimple()
{
    // Qt's own case mapping is the full one; where that gives one character, it is the simple one.
    for (char32_t c = 0; c < 0x110000; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF)
            continue;
        const QString s = QString::fromUcs4(&c, 1);
        const QList<uint> upper = s.toUpper().toUcs4();
        const QList<uint> lower = s.toLower().toUcs4();
        const char32_t tableUpper = caseOf(std::begin(upperCaseRows), std::end(upperCaseRows), c);
        const char32_t tableLower = caseOf(std::begin(lowerCaseRows), std::end(lowerCaseRows), c);
        if (upper.size() == 1 && upper[0] != tableUpper)
            QFAIL(qPrintable(QStringLiteral("upper of U+%1").arg(uint(c), 4, 16, QChar(u'0'))));
        if (lower.size() == 1 && lower[0] != tableLower)
            QFAIL(qPrintable(QStringLiteral("lower of U+%1").arg(uint(c), 4, 16, QChar(u'0'))));
    }
}

void TestCharConv::tablesAreOrderedWithoutDuplicates()
{
    auto casesOrdered = [](const CasePair *first, const CasePair *last) {
        return std::adjacent_find(first, last,
                                  [](const CasePair &a, const CasePair &b) { return a.from >= b.from; })
            == last;
    };
    QVERIFY(casesOrdered(std::begin(upperCaseRows), std::end(upperCaseRows)));
    QVERIFY(casesOrdered(std::begin(lowerCaseRows), std::end(lowerCaseRows)));

    for (qsizetype k = 0; k < qsizetype(std::size(halfWidthKanaRows)); ++k)
        QCOMPARE(int(halfWidthKanaRows[k].narrow), int(halfWidthKanaFirst + k));
    // Narrow inverts these rows, so no full-width character may appear twice.
    std::set<char16_t> wide;
    for (const WidthPair &row : halfWidthKanaRows)
        QVERIFY2(wide.insert(row.wide).second, qPrintable(QString(QChar(row.wide))));
    for (const WidthPair *rows : {std::begin(voicedRows), std::begin(semiVoicedRows)}) {
        const qsizetype count = rows == std::begin(voicedRows) ? qsizetype(std::size(voicedRows))
                                                               : qsizetype(std::size(semiVoicedRows));
        for (qsizetype k = 0; k < count; ++k) {
            QVERIFY2(wide.insert(rows[k].wide).second, qPrintable(QString(QChar(rows[k].wide))));
            QVERIFY(k == 0 || rows[k - 1].narrow < rows[k].narrow);
            QVERIFY(rows[k].narrow >= u'ｦ' && rows[k].narrow <= u'ﾝ');
        }
    }
    for (const NarrowPair &row : narrowOnlyRows)
        QVERIFY2(wide.insert(row.wide).second, qPrintable(QString(QChar(row.wide))));
    for (qsizetype k = 1; k < qsizetype(std::size(wideSymbolRows)); ++k)
        QVERIFY(wideSymbolRows[k - 1].narrow < wideSymbolRows[k].narrow);
    for (const WidthPair &row : wideSymbolRows)
        QVERIFY2(wide.insert(row.wide).second, qPrintable(QString(QChar(row.wide))));
}

QTEST_GUILESS_MAIN(TestCharConv)
#include "tst_char_conv.moc"
