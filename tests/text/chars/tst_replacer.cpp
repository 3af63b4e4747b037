// Replace over a text: regular expressions across line ends against written results, the plain
// compare modes against the one-by-one reference, and where a bad pattern goes wrong.

#include "text/chars/replacer.h"

#include "tests/reference/reference.h"

#include <QRandomGenerator>
#include <QTest>

using namespace orvane;
using namespace orvane::chars;
using namespace orvane;

Q_DECLARE_METATYPE(orvane::chars::CompareMode)

class TestReplacer : public QObject {
    Q_OBJECT

private slots:
    void replacesEveryMatch_data();
    void replacesEveryMatch();
    void plainModesAgreeWithTheReference();
    void badPatternSaysWhere_data();
    void badPatternSaysWhere();
};

void TestReplacer::replacesEveryMatch_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<CompareMode>("mode");
    QTest::addColumn<bool>("regex");
    QTest::addColumn<QString>("lineEnd");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<qsizetype>("lastEnd");

    const CompareMode b = CompareMode::Binary;
    const CompareMode t = CompareMode::Text;
    const QString crlf = u"\r\n"_qs;
    QTest::newRow("ｶﾀｶﾅ カタカナ かたかな, text")
        << u"ｶﾀｶﾅ・カタカナ・かたかな"_qs << u"カタカナ"_qs << u"仮名"_qs << t << false << crlf
        << u"仮名・仮名・仮名"_qs << qsizetype(8);
    QTest::newRow("regex \\n takes CR LF, LF and CR") << u"a\r\nb\nc\rd"_qs << u"(\\w)\\n"_qs << u"$1;"_qs
                                                      << b << true << crlf << u"a;b;c;d"_qs << qsizetype(6);
    QTest::newRow("regex \\n in the replacement is the line end")
        << u"a,b"_qs << u","_qs << u"\\n"_qs << b << true << u"\n"_qs << u"a\nb"_qs << qsizetype(2);
    QTest::newRow("regex groups swapped across lines")
        << u"姓\r\n名"_qs << u"(.+)\\n(.+)"_qs << u"$2 $1 $0"_qs << b << true << crlf << u"名 姓 姓\r\n名"_qs
        << qsizetype(8);
    QTest::newRow("regex ^ at each line start, not inside CR LF")
        << u"a\r\nb\rc"_qs << u"^"_qs << u"> "_qs << b << true << crlf << u"> a\r\n> b\r> c"_qs
        << qsizetype(11);
    QTest::newRow("regex $ before each line end")
        << u"a\r\nb"_qs << u"$"_qs << u";"_qs << b << true << crlf << u"a;\r\nb;"_qs << qsizetype(6);
    QTest::newRow("regex text mode ignores case")
        << u"Ａbc ABC"_qs << u"[ａ-ｚ]bc|abc"_qs << u"x"_qs << t << true << crlf << u"x x"_qs << qsizetype(3);
    QTest::newRow("regex [^\\n] stops at CR") << u"ab\r\ncd"_qs << u"[^\\n]+"_qs << u"<$0>"_qs << b << true
                                              << crlf << u"<ab>\r\n<cd>"_qs << qsizetype(10);
    QTest::newRow("regex $$ and a missing group")
        << u"5"_qs << u"(\\d)"_qs << u"$$$1$2"_qs << b << true << crlf << u"$5$2"_qs << qsizetype(4);
    QTest::newRow("regex \\\\n stays a backslash and n")
        << u"a\\nb"_qs << u"\\\\n"_qs << u"-"_qs << b << true << crlf << u"a-b"_qs << qsizetype(2);
}

void TestReplacer::replacesEveryMatch()
{
    QFETCH(QString, text);
    QFETCH(QString, pattern);
    QFETCH(QString, replacement);
    QFETCH(CompareMode, mode);
    QFETCH(bool, regex);
    QFETCH(QString, lineEnd);
    QFETCH(QString, expected);
    QFETCH(qsizetype, lastEnd);

    const Replacer replacer({pattern, replacement, mode, regex, lineEnd});
    QVERIFY2(replacer.isValid(), qPrintable(replacer.errorText()));
    const ReplaceResult result = replacer.replaceAll(text);
    QCOMPARE(result.text, expected);
    QVERIFY(result.count > 0);
    QCOMPARE(result.lastEnd, lastEnd);
}

void TestReplacer::plainModesAgreeWithTheReference()
{
    // Characters whose folding, pairing and line ends make matching hard.
    const QStringList alphabet {u"a"_qs,  u"Ａ"_qs, u"ｶ"_qs,  u"ﾞ"_qs, u"ガ"_qs,
                                u"が"_qs, u"\r"_qs, u"\n"_qs, u"𠮷"_qs};
    QRandomGenerator random(21);
    auto randomText = [&](int maxLength) {
        QString s;
        for (int n = int(random.bounded(maxLength + 1)); n > 0; --n)
            s += alphabet[random.bounded(int(alphabet.size()))];
        return s;
    };
    for (int round = 0; round < 4000; ++round) {
        const QString text = randomText(24);
        const QString sought = randomText(3);
        for (const CompareMode mode : {CompareMode::Binary, CompareMode::Text}) {
            const auto [expected, count] = reference::replaceOneByOne(text, sought, u"<>", mode);
            const ReplaceResult result = Replacer({sought, u"<>"_qs, mode, false, {}}).replaceAll(text);
            QCOMPARE(result.count, count);
            if (count > 0)
                QCOMPARE(result.text, expected);
        }
    }
}

void TestReplacer::badPatternSaysWhere_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<qsizetype>("offset");

    QTest::newRow("(abc") << u"(abc"_qs << qsizetype(4);
    QTest::newRow("\\n\\n) counts the pattern as typed") << u"\\n\\n)"_qs << qsizetype(4);
    QTest::newRow("[\\n]*+?") << u"[\\n]**"_qs << qsizetype(5);
}

void TestReplacer::badPatternSaysWhere()
{
    QFETCH(QString, pattern);
    QFETCH(qsizetype, offset);

    const Replacer replacer({pattern, u"x"_qs, CompareMode::Binary, true, {}});
    QVERIFY(!replacer.isValid());
    QVERIFY(!replacer.errorText().isEmpty());
    QCOMPARE(replacer.errorOffset(), offset);
    QVERIFY(!replacer.find(u"abc"_qs, 0).found());
    QCOMPARE(replacer.replaceAll(u"abc"_qs).count, 0);
}

QTEST_GUILESS_MAIN(TestReplacer)
#include "tst_replacer.moc"
