// EUC-JP: every code and every character against glibc's iconv with each intended difference named,
// a file's own codes written back over a generated file set, and error positions.

#include "tests/support/written_back.h"
#include "text/codec/cp932.h"
#include "text/codec/eucjp.h"

#include <QTest>

#include <iconv.h>

#include <optional>

using namespace orvane;

namespace {

// One conversion through glibc, or nothing when glibc refuses it.
std::optional<QByteArray> throughIconv(const char *to, const char *from, QByteArray in)
{
    const iconv_t cd = iconv_open(to, from);
    if (cd == iconv_t(-1))
        return std::nullopt;
    char out[64];
    char *inPtr = in.data();
    size_t inLeft = size_t(in.size());
    char *outPtr = out;
    size_t outLeft = sizeof out;
    const bool ok = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != size_t(-1)
        && iconv(cd, nullptr, nullptr, &outPtr, &outLeft) != size_t(-1);
    iconv_close(cd);
    return ok ? std::optional(QByteArray(out, outPtr - out)) : std::nullopt;
}

std::optional<QString> glibcDecode(const char *encoding, const QByteArray &bytes)
{
    const auto utf8 = throughIconv("UTF-8", encoding, bytes);
    return utf8 ? std::optional(QString::fromUtf8(*utf8)) : std::nullopt;
}

QByteArray bytesOf(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (const int b : values)
        bytes += char(b);
    return bytes;
}

std::optional<QString> ourDecode(const QByteArray &bytes)
{
    QString text;
    return codec::eucjp::decode(bytes, text) ? std::optional(text) : std::nullopt;
}

// The Shift-JIS code of a JIS X 0208 row and cell (1-94), to read it as code page 932 does.
QByteArray shiftJisOf(int row, int cell)
{
    const int lead = (row + 1) / 2 + (row <= 62 ? 0x80 : 0xC0);
    const int trail = row % 2 ? cell + 0x3F + (cell >= 64 ? 1 : 0) : cell + 0x9E;
    return bytesOf({lead, trail});
}

// The six codes whose glibc EUC-JP reading (by the JIS tables) differs from Microsoft's, which we
// share with the Shift-JIS reading; and the one JIS X 0212 code whose reading differs the same way.
const QList<QByteArray> jisTableReadings
    = {"\xA1\xC1", "\xA1\xC2", "\xA1\xDD", "\xA1\xF1", "\xA1\xF2", "\xA2\xCC", "\x8F\xA2\xC3"};

} // namespace

class TestEucJp : public QObject {
    Q_OBJECT

private slots:
    void everyCodeDecodesAsGlibcOrAsShiftJis();
    void everyCharacterEncodesAsGlibcOrAsItsFirstCode();
    void fileCodesComeBackByteForByte_data();
    void fileCodesComeBackByteForByte();
    void badBytesAreReportedWhereTheyStart_data();
    void badBytesAreReportedWhereTheyStart();
};

void TestEucJp::everyCodeDecodesAsGlibcOrAsShiftJis()
{
    int ibmRows = 0;
    int glibcEucJpOnlyByTables = 0;
    for (int first = 0xA1; first <= 0xFE; ++first) {
        for (int second = 0xA1; second <= 0xFE; ++second) {
            const QByteArray two = bytesOf({first, second});
            const std::optional<QString> ours = ourDecode(two);
            // JIS X 0208 and NEC row 13 read as their Shift-JIS code reads.
            const int row = first - 0xA0;
            QString shiftJis;
            if (codec::cp932::decode(shiftJisOf(row, second - 0xA0), shiftJis))
                QCOMPARE(ours, std::optional(shiftJis));
            // eucJP-ms puts user-defined characters in rows 89-92, which code page 51932 gives to the
            // IBM extensions; we read them as Windows does.
            if (row >= 89 && row <= 92 && ours != glibcDecode("EUC-JP-MS", two))
                ++ibmRows;
            else
                QCOMPARE(ours, glibcDecode("EUC-JP-MS", two));
            const auto plain = glibcDecode("EUC-JP", two);
            if (plain && plain != ours) {
                QVERIFY2(jisTableReadings.contains(two), two.toHex().constData());
                ++glibcEucJpOnlyByTables;
            }
            for (const QByteArray &three : {"\x8F" + two, QByteArray("\x8E") + char(first)}) {
                const auto theirs = glibcDecode("EUC-JP-MS", three);
                QCOMPARE(ourDecode(three), theirs);
                const auto plain3 = glibcDecode("EUC-JP", three);
                if (plain3 && plain3 != theirs)
                    QVERIFY2(jisTableReadings.contains(three), three.toHex().constData());
            }
        }
    }
    QCOMPARE(ibmRows, 4 * 94);
    QCOMPARE(glibcEucJpOnlyByTables, 6);
}

void TestEucJp::everyCharacterEncodesAsGlibcOrAsItsFirstCode()
{
    int jisVariants = 0;
    int preferredOverMs = 0;
    for (char32_t c = 0x80; c < 0x10000; ++c) {
        if (c >= 0xD800 && c < 0xE000)
            continue;
        const QString text = QString(QChar(char16_t(c)));
        QByteArray ours;
        const bool encodable = codec::eucjp::encode(text, ours);
        QCOMPARE(encodable, codec::eucjp::canEncode(c));
        const auto theirs = throughIconv("EUC-JP-MS", "UTF-8", text.toUtf8());
        if (!encodable) {
            // glibc writes ¥ and ‾ as 0x5C and 0x7E, which read back as \ and ~.
            QVERIFY2(!theirs || ourDecode(*theirs) != text, qPrintable(text));
            continue;
        }
        const std::optional<QString> back = ourDecode(ours);
        if (back != text) {
            // Written at the code whose Microsoft reading is the same character to a reader.
            ++jisVariants;
            QVERIFY(back && codec::cp932::canEncode(c));
            continue;
        }
        if (theirs && *theirs != ours) {
            // Several codes: ours is the JIS X 0208 code (or NEC row 13), glibc's another of them.
            QCOMPARE(ourDecode(*theirs), std::optional(text));
            QVERIFY(codec::eucjp::hasSeveralCodes(char16_t(c)));
            QVERIFY2(ours.size() == 2 && uchar(ours[0]) < 0xF5, qPrintable(text));
            ++preferredOverMs;
        }
    }
    QCOMPARE(jisVariants, 7);
    QVERIFY(preferredOverMs < 400);
}

void TestEucJp::fileCodesComeBackByteForByte_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    // Each piece in the codes encode writes by default, and in another code of the same characters.
    const struct {
        const char *name;
        QByteArray bytes;
        QString text;
        QByteArray otherBytes;
    } pieces[] = {
        {"kana", "\xA4\xAB\x8E\xB6\x8E\xDE", u"かｶﾞ"_qs, {}},
        {"JIS X 0212", "\x8F\xB0\xA1", u"丂"_qs, {}},
        {"NEC row 13", "\xAD\xA1\xAD\xE2", u"①№"_qs, {}},
        {"IBM", "\x8F\xF3\xF3", u"ⅰ"_qs, "\xFC\xF1"},
        {"symbols", "\xA1\xC1\xA2\xE2", u"～≒"_qs, "\x8F\xA2\xB7\xAD\xF0"},
        {"ASCII", "a\\~", u"a\\~"_qs, {}},
    };
    const char *const lineEnds[] = {"\r\n", "\n", "\r"};
    for (const auto &piece : pieces) {
        for (const char *lineEnd : lineEnds) {
            for (const bool lastLineEnd : {false, true}) {
                for (const bool other : {false, true}) {
                    if (other && piece.otherBytes.isEmpty())
                        continue;
                    const QByteArray line = other ? piece.otherBytes : piece.bytes;
                    QByteArray bytes = line + lineEnd + line;
                    QString text = piece.text + QString::fromLatin1(lineEnd) + piece.text;
                    if (lastLineEnd) {
                        bytes += lineEnd;
                        text += QString::fromLatin1(lineEnd);
                    }
                    QTest::addRow("%s %s%s%s", piece.name, QByteArray(lineEnd).toHex().constData(),
                                  lastLineEnd ? " ended" : "", other ? " other codes" : "")
                        << bytes << text;
                }
            }
        }
    }
}

void TestEucJp::fileCodesComeBackByteForByte()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    const test::WrittenBack back = test::writtenBack(codec::TextEncoding::EucJp, bytes);
    QVERIFY(back.decoded && back.encoded);
    QCOMPARE(back.text, text);
    QCOMPARE(back.bytes, bytes);
}

void TestEucJp::badBytesAreReportedWhereTheyStart_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("offset");
    QTest::addColumn<bool>("truncated");
    QTest::newRow("lone A1 at end") << QByteArray("ab\xA4\xA2\xA1") << 1 << 4 << 4 << true;
    QTest::newRow("A1 41") << QByteArray("\xA4\xA2\r\nx\xA1\x41") << 2 << 2 << 5 << false;
    QTest::newRow("unassigned A9A1") << QByteArray("\n\n\xA9\xA1") << 3 << 1 << 2 << false;
    QTest::newRow("8E E0") << QByteArray("\x8E\xE0") << 1 << 1 << 0 << false;
    QTest::newRow("8F A1 at end") << QByteArray("\x8F\xA1") << 1 << 1 << 0 << true;
    QTest::newRow("8F 41 41") << QByteArray("\x8F\x41\x41") << 1 << 1 << 0 << false;
    QTest::newRow("C1 control 85") << QByteArray("a\x85") << 1 << 2 << 1 << false;
}

void TestEucJp::badBytesAreReportedWhereTheyStart()
{
    QFETCH(QByteArray, bytes);
    QString text;
    codec::eucjp::DecodeError error;
    QVERIFY(!codec::eucjp::decode(bytes, text, &error));
    QTEST(int(error.at.line), "line");
    QTEST(int(error.at.column), "column");
    QTEST(int(error.at.offset), "offset");
    QTEST(error.truncated, "truncated");
}

QTEST_GUILESS_MAIN(TestEucJp)
#include "tst_eucjp.moc"
