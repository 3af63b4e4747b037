// UTF-8: every kernel against a slow decoder written from the definition, over every pair of
// leading bytes and at block and chunk boundaries; error places; encoding against Qt's encoder on
// random text.

#include "text/codec/utf8.h"
#include "text/codec/utf8_kernels.h"

#include <QTest>

#include <random>

using namespace orvane;
using namespace Qt::StringLiterals;

namespace {

const codec::utf8::Kernel allKernels[]
    = {codec::utf8::Kernel::Scalar, codec::utf8::Kernel::Ssse3, codec::utf8::Kernel::Avx2};

struct Verdict {
    qsizetype offset; // of the first ill-formed sequence, or the size
    bool truncated;
    bool operator==(const Verdict &) const = default;
};

// The code point range a sequence of this length may encode, by the definition.
bool isValidScalar(char32_t c, int length)
{
    static const char32_t lowest[] = {0, 0, 0x80, 0x800, 0x10000};
    return c >= lowest[length] && c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF);
}

Verdict reference(const QByteArray &bytes)
{
    const qsizetype size = bytes.size();
    for (qsizetype i = 0; i < size;) {
        const uchar lead = uchar(bytes[i]);
        const int length = lead < 0x80 ? 1
            : (lead >> 5) == 6         ? 2
            : (lead >> 4) == 14        ? 3
            : (lead >> 3) == 30        ? 4
                                       : 0;
        if (length == 0)
            return {i, false};
        char32_t low = length == 1 ? lead : lead & (0x7F >> length);
        char32_t high = low;
        int k = 1;
        for (; k < length && i + k < size; ++k) {
            const uchar c = uchar(bytes[i + k]);
            if ((c & 0xC0) != 0x80)
                return {i, false};
            low = low << 6 | (c & 0x3F);
        }
        if (k < length) {
            // Cut off by the end: truncated when the smallest or the largest completion is valid.
            high = low;
            for (int rest = k; rest < length; ++rest) {
                low = low << 6;
                high = high << 6 | 0x3F;
            }
            return {i, isValidScalar(low, length) || isValidScalar(high, length)};
        }
        if (!isValidScalar(low, length))
            return {i, false};
        i += length;
    }
    return {size, false};
}

Verdict verdictOf(codec::utf8::Kernel kernel, const QByteArray &bytes)
{
    codec::utf8::DecodeError error;
    if (codec::utf8::validateWith(kernel, bytes, &error))
        return {bytes.size(), false};
    return {error.at.offset, error.truncated};
}

// Random text of one- to four-byte characters with CR LF line ends now and then.
QString randomText(std::mt19937 &random, qsizetype length)
{
    static const char32_t starts[] = {0x20, 0xA0, 0x3041, 0x4E00, 0xFF61, 0x1F600};
    QString text;
    while (text.size() < length) {
        const char32_t c = random() % 40 == 0 ? U'\r' : starts[random() % std::size(starts)] + random() % 80;
        if (c == U'\r')
            text += u"\r\n"_s;
        else
            text += QString::fromUcs4(&c, 1);
    }
    return text;
}

} // namespace

class TestUtf8 : public QObject {
    Q_OBJECT

private slots:
    void everyKernelAgreesWithTheDefinitionOnEveryLeadingPair();
    void everyKernelFindsOneBadByteInLongText();
    void errorsReportLineAndColumn_data();
    void errorsReportLineAndColumn();
};

void TestUtf8::everyKernelAgreesWithTheDefinitionOnEveryLeadingPair()
{
    // Third and fourth bytes on both sides of every range boundary.
    const QList<QByteArray> tails = {
        "",     "\x41", "\x7F",     "\x80",     "\x8F",     "\x90",     "\x9F",         "\xA0",        "\xBF",
        "\xC2", "\xF0", "\x80\x80", "\xBF\xBF", "\x80\x41", "\xBF\xC0", "\x80\x80\x80", "\x80\x80\xBF"};
    for (int first = 0x80; first < 0x100; ++first) {
        for (int second = 0; second < 0x100; ++second) {
            for (const QByteArray &tail : tails) {
                const QByteArray sequence = QByteArray(1, char(first)) + char(second) + tail;
                // Inside a block boundary of both vector widths, and at the very end.
                const QByteArray inside = QByteArray(26 + second % 8, 'a') + sequence + QByteArray(40, 'b');
                const QByteArray atEnd = QByteArray(37, 'a') + sequence;
                for (const QByteArray &bytes : {inside, atEnd}) {
                    const Verdict expected = reference(bytes);
                    for (codec::utf8::Kernel kernel : allKernels) {
                        if (verdictOf(kernel, bytes) != expected)
                            QFAIL(qPrintable(u"%1 (kernel %2)"_s.arg(QString::fromLatin1(bytes.toHex(' ')))
                                                 .arg(int(kernel))));
                    }
                }
            }
        }
    }
}

void TestUtf8::everyKernelFindsOneBadByteInLongText()
{
    std::mt19937 random(8);
    for (int round = 0; round < 300; ++round) {
        const QString text = randomText(random, 1 + random() % 3000);
        const QByteArray valid = text.toUtf8();
        QByteArray encoded;
        QVERIFY(codec::utf8::encode(text, encoded));
        QCOMPARE(encoded, valid);
        QCOMPARE(codec::utf8::encodedLength(text), valid.size());
        QCOMPARE(codec::utf8::utf16Length(valid), QString::fromUtf8(valid).size());
        QByteArray bytes = valid;
        if (round % 3 == 0)
            bytes.chop(1 + random() % 3);
        else
            bytes[random() % bytes.size()] = char(0x80 + random() % 0x80);
        const Verdict expected = reference(bytes);
        for (codec::utf8::Kernel kernel : allKernels)
            QCOMPARE(verdictOf(kernel, bytes), expected);
        QString decoded;
        QCOMPARE(codec::utf8::decode(bytes, decoded), expected.offset == bytes.size());
        QCOMPARE(decoded, QString::fromUtf8(bytes.first(expected.offset)));
    }
}

void TestUtf8::errorsReportLineAndColumn_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("truncated");

    QTest::newRow("C3 alone") << "\xC3"_ba << 0 << 1 << 1 << true;
    QTest::newRow("あ cut after two bytes") << "x\xE3\x81"_ba << 1 << 1 << 2 << true;
    QTest::newRow("😀 cut after three bytes") << "\xF0\x9F\x98"_ba << 0 << 1 << 1 << true;
    QTest::newRow("overlong C0 AF") << "\xC0\xAF"_ba << 0 << 1 << 1 << false;
    QTest::newRow("overlong E0 80 AF") << "\xE0\x80\xAF"_ba << 0 << 1 << 1 << false;
    QTest::newRow("surrogate ED A0 80") << "ab\xED\xA0\x80"_ba << 2 << 1 << 3 << false;
    QTest::newRow("above U+10FFFF") << "\xF4\x90\x80\x80"_ba << 0 << 1 << 1 << false;
    QTest::newRow("continuation after あ") << "\xE3\x81\x82\x80"_ba << 3 << 1 << 2 << false;
    QTest::newRow("あ cut by ASCII") << "\xE3\x81"
                                        "a"_ba
                                     << 0 << 1 << 1 << false;
    QTest::newRow("after CR LF") << "a\r\n\xE3\x81\x82\xFF"_ba << 6 << 2 << 2 << false;
    QTest::newRow("after lone CR") << "a\r\rb\x80"_ba << 4 << 3 << 2 << false;
    QTest::newRow("after lone LF") << "\n\n\xC3"_ba << 2 << 3 << 1 << true;
    QTest::newRow("😀 is one column") << "\xF0\x9F\x98\x80x\xFF"_ba << 5 << 1 << 3 << false;
    QTest::newRow("past the first chunk") << QByteArray(1500, 'x') + "\xE3\xE3" << 1500 << 1 << 1501 << false;
}

void TestUtf8::errorsReportLineAndColumn()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, offset);
    QFETCH(int, line);
    QFETCH(int, column);
    QFETCH(bool, truncated);
    for (codec::utf8::Kernel kernel : allKernels) {
        codec::utf8::DecodeError error;
        QVERIFY(!codec::utf8::validateWith(kernel, bytes, &error));
        QCOMPARE(error.at.offset, offset);
        QCOMPARE(error.at.line, line);
        QCOMPARE(error.at.column, column);
        QCOMPARE(error.truncated, truncated);
    }
}

QTEST_GUILESS_MAIN(TestUtf8)
#include "tst_utf8.moc"
