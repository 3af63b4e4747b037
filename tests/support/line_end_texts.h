#pragma once
// Texts that hold line ends where a count, a rewrite or a store could go wrong: none, each kind
// alone and at either end, LF CR (two line ends), CR CR LF, all mixed, beside surrogate pairs and
// half-width letters; as the rows of a data-driven test.

#include <QString>
#include <QTest>

namespace orvane::test {

inline void addLineEndTextRows(const char *column = "text")
{
    QTest::addColumn<QString>(column);
    QTest::newRow("empty") << QString();
    QTest::newRow("no line end") << u"あい"_qs;
    QTest::newRow("one line with ASCII") << u"あいうabc"_qs;
    QTest::newRow("CR LF") << u"a\r\nb"_qs;
    QTest::newRow("CR LF only") << u"あ\r\nい\r\n"_qs;
    QTest::newRow("ends with CR LF") << u"表\\示\r\n"_qs;
    QTest::newRow("lone LF") << u"a\nb"_qs;
    QTest::newRow("lone LF at both ends") << u"\nあ\n"_qs;
    QTest::newRow("lone CR") << u"a\rb"_qs;
    QTest::newRow("lone CR at both ends") << u"\rあ\r"_qs;
    QTest::newRow("LF CR is two line ends") << u"a\n\rb"_qs;
    QTest::newRow("CR CR LF") << u"\r\r\n"_qs;
    QTest::newRow("mixed at both ends") << u"\nあ\r\r\nい\r"_qs;
    QTest::newRow("CR LF, lone CR, lone LF") << u"a\r\nbb\rccc\nd\r\n\r\n\n\rえ"_qs;
    QTest::newRow("pairs and half-width") << u"😀x\r\n𠮷野家ｶﾞ\r😀"_qs;
}

} // namespace orvane::test
