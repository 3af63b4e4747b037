#include "text/chars/instr.h"

#include <QRandomGenerator>
#include <QTest>

using namespace orvane::chars;
using namespace orvane;

Q_DECLARE_METATYPE(orvane::chars::CompareMode)

class TestInStr : public QObject {
    Q_OBJECT

private slots:
    void findsFirstMatchFromStart_data();
    void findsFirstMatchFromStart();
    void textModeMatchesWholeCharacters_data();
    void textModeMatchesWholeCharacters();
    void binaryModeAgreesWithIndexOf();
    void textModeAgreesWithSlowSearch();
};

void TestInStr::findsFirstMatchFromStart_data()
{
    QTest::addColumn<qsizetype>("start");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("sought");
    QTest::addColumn<CompareMode>("mode");
    QTest::addColumn<qsizetype>("position");
    QTest::addColumn<qsizetype>("length");

    const CompareMode b = CompareMode::Binary;
    const CompareMode t = CompareMode::Text;
    QTest::newRow("match at 1") << qsizetype(1) << u"abcabc"_qs << u"abc"_qs << b << qsizetype(1)
                                << qsizetype(3);
    QTest::newRow("match after start")
        << qsizetype(2) << u"abcabc"_qs << u"abc"_qs << b << qsizetype(4) << qsizetype(3);
    QTest::newRow("start = len, last char")
        << qsizetype(6) << u"abcabc"_qs << u"c"_qs << b << qsizetype(6) << qsizetype(1);
    QTest::newRow("start past end") << qsizetype(7) << u"abcabc"_qs << u"c"_qs << b << qsizetype(0)
                                    << qsizetype(0);
    QTest::newRow("start past end, empty sought")
        << qsizetype(7) << u"abcabc"_qs << QString() << b << qsizetype(0) << qsizetype(0);
    QTest::newRow("empty sought") << qsizetype(3) << u"abcabc"_qs << QString() << b << qsizetype(3)
                                  << qsizetype(0);
    QTest::newRow("empty sought, text mode")
        << qsizetype(6) << u"abcabc"_qs << QString() << t << qsizetype(6) << qsizetype(0);
    QTest::newRow("empty text") << qsizetype(1) << QString() << u"a"_qs << b << qsizetype(0) << qsizetype(0);
    QTest::newRow("empty text and sought")
        << qsizetype(1) << QString() << QString() << b << qsizetype(0) << qsizetype(0);
    QTest::newRow("start 0 counts as 1")
        << qsizetype(0) << u"abc"_qs << u"a"_qs << b << qsizetype(1) << qsizetype(1);
    QTest::newRow("negative start counts as 1")
        << qsizetype(-5) << u"abc"_qs << u"b"_qs << t << qsizetype(2) << qsizetype(1);
    QTest::newRow("aaa / aa from 1") << qsizetype(1) << u"aaa"_qs << u"aa"_qs << b << qsizetype(1)
                                     << qsizetype(2);
    QTest::newRow("aaa / aa from 2") << qsizetype(2) << u"aaa"_qs << u"aa"_qs << b << qsizetype(2)
                                     << qsizetype(2);
    QTest::newRow("aaa / aa from 3") << qsizetype(3) << u"aaa"_qs << u"aa"_qs << b << qsizetype(0)
                                     << qsizetype(0);
    QTest::newRow("aaa / aa from 3, text mode")
        << qsizetype(3) << u"aaa"_qs << u"aa"_qs << t << qsizetype(0) << qsizetype(0);
    QTest::newRow("sought longer than rest")
        << qsizetype(2) << u"abc"_qs << u"abcd"_qs << b << qsizetype(0) << qsizetype(0);
    QTest::newRow("binary keeps case")
        << qsizetype(1) << u"ABC abc"_qs << u"abc"_qs << b << qsizetype(5) << qsizetype(3);
    QTest::newRow("binary keeps width")
        << qsizetype(1) << u"ＡＢＣ"_qs << u"ABC"_qs << b << qsizetype(0) << qsizetype(0);
    QTest::newRow("CR LF counts two")
        << qsizetype(1) << u"a\r\nb"_qs << u"b"_qs << b << qsizetype(4) << qsizetype(1);
    QTest::newRow("surrogate pair") << qsizetype(1) << u"x\U0001F600y"_qs << u"y"_qs << b << qsizetype(4)
                                    << qsizetype(1);
}

void TestInStr::findsFirstMatchFromStart()
{
    QFETCH(qsizetype, start);
    QFETCH(QString, text);
    QFETCH(QString, sought);
    QFETCH(CompareMode, mode);
    QFETCH(qsizetype, position);
    QFETCH(qsizetype, length);
    const Match match = InStr(start, text, sought, mode);
    QCOMPARE(match.position, position);
    QCOMPARE(match.length, length);
}

void TestInStr::textModeMatchesWholeCharacters_data()
{
    QTest::addColumn<qsizetype>("start");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("sought");
    QTest::addColumn<QString>("selected"); // the match as the text holds it; empty when none

    auto row = [](const char *name, qsizetype start, const QString &text, const QString &sought,
                  const QString &selected) { QTest::newRow(name) << start << text << sought << selected; };
    row("abc in ＡＢＣ", 1, u"xＡＢＣ"_qs, u"abc"_qs, u"ＡＢＣ"_qs);
    row("ABC in abc", 1, u"abc"_qs, u"ABC"_qs, u"abc"_qs);
    row("ｂ in aBc", 1, u"aBc"_qs, u"ｂ"_qs, u"B"_qs);
    row("かな in カナ", 1, u"のカナ"_qs, u"かな"_qs, u"カナ"_qs);
    row("かな in ｶﾅ", 1, u"のｶﾅ"_qs, u"かな"_qs, u"ｶﾅ"_qs);
    row("ガ in ｶﾞ", 1, u"aｶﾞb"_qs, u"ガ"_qs, u"ｶﾞ"_qs);
    row("ｶﾞ in ガ", 1, u"aガb"_qs, u"ｶﾞ"_qs, u"ガ"_qs);
    row("が in ｶﾞ", 1, u"ｶﾞ"_qs, u"が"_qs, u"ｶﾞ"_qs);
    row("ぱ in ﾊﾟ", 1, u"ﾊﾟﾊ"_qs, u"ぱ"_qs, u"ﾊﾟ"_qs);
    row("ｶ not in ｶﾞ", 1, u"ｶﾞ"_qs, u"ｶ"_qs, QString());
    row("ｶ after ｶﾞ", 1, u"ｶﾞｶ"_qs, u"ｶ"_qs, u"ｶ"_qs);
    row("か not in ガ", 1, u"ガ"_qs, u"か"_qs, QString());
    row("ﾜ in ﾜﾞ", 1, u"ﾜﾞ"_qs, u"わ"_qs, u"ﾜ"_qs);
    row("ワ゛ in ﾜﾞ", 1, u"ﾜﾞ"_qs, u"ワ゛"_qs, u"ﾜﾞ"_qs);
    row("゛ not inside ｶﾞ", 1, u"ｶﾞ"_qs, u"゛"_qs, QString());
    row("゛ after ガ", 1, u"ガﾞ"_qs, u"゛"_qs, u"ﾞ"_qs);
    row("start on the mark of ｶﾞ", 2, u"ｶﾞ"_qs, u"゛"_qs, u"ﾞ"_qs);
    row("ヴ in ｳﾞ", 1, u"ｳﾞ"_qs, u"ゔ"_qs, u"ｳﾞ"_qs);
    row("ー in ｰ", 1, u"ｰ"_qs, u"ー"_qs, u"ｰ"_qs);
    row("space in ideographic space", 1, u"a　b"_qs, u"A B"_qs, u"a　b"_qs);
    row("¥ in ￥", 1, u"￥100"_qs, u"¥1"_qs, u"￥1"_qs);
    row("ß stays ß", 1, u"SS ß"_qs, u"ß"_qs, u"ß"_qs);
    row("ω in Ω", 1, u"Ω"_qs, u"ω"_qs, u"Ω"_qs);
    row("ⅰ in Ⅰ", 1, u"Ⅰ"_qs, u"ⅰ"_qs, u"Ⅰ"_qs);
    row("Deseret pair across case", 1, u"a\U00010400"_qs, u"\U00010428"_qs, u"\U00010400"_qs);
    row("low half of a pair not matched", 1, u"\U0001F600"_qs, QString(QChar(char16_t(0xDE00))), QString());
    row("lone low surrogate matched", 1, QString(QChar(char16_t(0xDE00))) + u'a',
        QString(QChar(char16_t(0xDE00))), QString(QChar(char16_t(0xDE00))));
    row("overlapping from 1", 1, u"ＡＡａ"_qs, u"aa"_qs, u"ＡＡ"_qs);
    row("overlapping from 3", 3, u"ＡＡａ"_qs, u"aa"_qs, QString());
    row("long text", 1, QString(100, u'x') + u"ｶﾀｶﾅ"_qs + QString(100, u'y'), u"カタカナ"_qs, u"ｶﾀｶﾅ"_qs);
}

void TestInStr::textModeMatchesWholeCharacters()
{
    QFETCH(qsizetype, start);
    QFETCH(QString, text);
    QFETCH(QString, sought);
    QFETCH(QString, selected);
    const Match match = InStr(start, text, sought, CompareMode::Text);
    if (selected.isEmpty()) {
        QCOMPARE(match.position, qsizetype(0));
        return;
    }
    QVERIFY(match.position >= 1);
    QCOMPARE(text.mid(match.position - 1, match.length), selected);
}

void TestInStr::binaryModeAgreesWithIndexOf()
{
    QRandomGenerator random(5);
    const QString alphabet = u"ab\U0001F600ｶﾞ"_qs;
    for (int round = 0; round < 2000; ++round) {
        QString text;
        const int length = random.bounded(200);
        for (int k = 0; k < length; ++k)
            text.append(alphabet.at(random.bounded(int(alphabet.size()))));
        QString sought;
        const int soughtLength = 1 + random.bounded(4);
        for (int k = 0; k < soughtLength; ++k)
            sought.append(alphabet.at(random.bounded(int(alphabet.size()))));
        const qsizetype start = 1 + random.bounded(length + 1);
        const Match match = InStr(start, text, sought, CompareMode::Binary);
        const qsizetype expected = start > text.size() ? 0 : text.indexOf(sought, start - 1) + 1;
        QCOMPARE(match.position, expected);
        if (expected)
            QCOMPARE(match.length, sought.size());
    }
}

namespace {

// What one character folds to, spelled out with Qt's normalization instead of our tables.
QString foldCharacter(const QString &character)
{
    QString s = character.normalized(QString::NormalizationForm_KC);
    // NFKC gives a voiced mark alone as a combining mark (or a space and one); both marks read as ゛ or ゜.
    if (character.size() == 1
        && (character == u"゛" || character == u"゜" || character == u"ﾞ" || character == u"ﾟ"))
        s = character == u"゛" || character == u"ﾞ" ? u"゛"_qs : u"゜"_qs;
    QString out;
    for (QChar c : std::as_const(s)) {
        char16_t u = c.unicode();
        if ((u >= u'ァ' && u <= u'ヶ') || u == u'ヽ' || u == u'ヾ')
            u = char16_t(u - 0x60);
        out.append(QChar(u));
    }
    return out.toCaseFolded();
}

} // namespace

void TestInStr::textModeAgreesWithSlowSearch()
{
    // Characters whose folds differ only by kana, width or case.
    const QStringList characters
        = {u"a"_qs,  u"A"_qs,  u"ａ"_qs, u"Ａ"_qs, u"b"_qs,  u"か"_qs, u"カ"_qs, u"ｶ"_qs,
           u"が"_qs, u"ガ"_qs, u"ｶﾞ"_qs, u"ﾞ"_qs,  u"゛"_qs, u"ﾜ"_qs,  u"わ"_qs};
    QRandomGenerator random(6);
    for (int round = 0; round < 2000; ++round) {
        QStringList textChars;
        const int length = random.bounded(30);
        for (int k = 0; k < length; ++k)
            textChars.append(characters.at(random.bounded(int(characters.size()))));
        QStringList soughtChars;
        const int soughtLength = 1 + random.bounded(3);
        for (int k = 0; k < soughtLength; ++k)
            soughtChars.append(characters.at(random.bounded(int(characters.size()))));
        const QString text = textChars.join(QString());
        const QString sought = soughtChars.join(QString());
        // The text's characters as the search sees them: ｶ followed by ﾞ is one, even when picked apart.
        QStringList units;
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (i + 1 < text.size() && text.at(i) == u'ｶ' && text.at(i + 1) == u'ﾞ') {
                units.append(text.mid(i, 2));
                ++i;
            } else {
                units.append(text.mid(i, 1));
            }
        }
        QString foldedSought;
        for (qsizetype i = 0; i < sought.size(); ++i) {
            const bool joined = i + 1 < sought.size() && sought.at(i) == u'ｶ' && sought.at(i + 1) == u'ﾞ';
            foldedSought += foldCharacter(sought.mid(i, joined ? 2 : 1));
            i += joined;
        }
        Match expected;
        qsizetype offset = 0;
        for (qsizetype k = 0; k < units.size() && !expected.position; ++k) {
            QString folded;
            qsizetype taken = 0;
            for (qsizetype e = k; e < units.size() && folded.size() < foldedSought.size(); ++e) {
                folded += foldCharacter(units.at(e));
                taken += units.at(e).size();
            }
            if (folded == foldedSought)
                expected = {offset + 1, taken};
            offset += units.at(k).size();
        }
        const Match match = InStr(1, text, sought, CompareMode::Text);
        if (match.position != expected.position || match.length != expected.length)
            QFAIL(qPrintable(QStringLiteral("%1 in %2: %3/%4, wanted %5/%6")
                                 .arg(sought, text)
                                 .arg(match.position)
                                 .arg(match.length)
                                 .arg(expected.position)
                                 .arg(expected.length)));
    }
}

QTEST_GUILESS_MAIN(TestInStr)
#include "tst_instr.moc"
