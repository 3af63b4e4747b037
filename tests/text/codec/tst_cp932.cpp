// Code page 932: whole-domain sweeps against glibc's iconv, Windows' choices where glibc differs,
// error positions, and the fast ASCII paths against a plain reference.

#include "tests/support/written_back.h"
#include "text/codec/cp932.h"
#include "text/codec/cp932_tables.h"

#include <QTest>

#include <iconv.h>

#include <optional>
#include <random>

using namespace orvane;
using namespace Qt::StringLiterals;

namespace {

// The five single bytes Windows decodes and glibc rejects.
const QList<QPair<uchar, char16_t>> windowsOnlyBytes
    = {{0x80, 0x0080}, {0xA0, 0xF8F0}, {0xFD, 0xF8F1}, {0xFE, 0xF8F2}, {0xFF, 0xF8F3}};

bool isWindowsOnlyByte(uchar b)
{
    for (const auto &[byte, unit] : windowsOnlyBytes) {
        if (byte == b)
            return true;
    }
    return false;
}

bool isLead(uchar b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

class Iconv {
public:
    Iconv(const char *to, const char *from)
        : m_cd(iconv_open(to, from))
    {
    }
    ~Iconv() { iconv_close(m_cd); }
    Iconv(const Iconv &) = delete;
    Iconv &operator=(const Iconv &) = delete;
    bool isValid() const { return m_cd != iconv_t(-1); }

    std::optional<QByteArray> convert(QByteArray in)
    {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char out[64];
        char *inPtr = in.data();
        size_t inLeft = size_t(in.size());
        char *outPtr = out;
        size_t outLeft = sizeof out;
        if (iconv(m_cd, &inPtr, &inLeft, &outPtr, &outLeft) == size_t(-1)
            || iconv(m_cd, nullptr, nullptr, &outPtr, &outLeft) == size_t(-1))
            return std::nullopt;
        return QByteArray(out, outPtr - out);
    }

private:
    iconv_t m_cd;
};

std::optional<QString> decodeOrNothing(const QByteArray &bytes)
{
    QString text;
    if (!codec::cp932::decode(bytes, text))
        return std::nullopt;
    return text;
}

std::optional<QByteArray> encodeOrNothing(const QString &text)
{
    QByteArray bytes;
    if (!codec::cp932::encode(text, bytes))
        return std::nullopt;
    return bytes;
}

QByteArray codeBytes(uint code)
{
    return code > 0xFF ? QByteArray::fromHex(QByteArray::number(code, 16)) : QByteArray(1, char(code));
}

QString unitString(char16_t u) { return QString(QChar(u)); }

// Decodes one character at a time straight from the tables: the obviously correct version.
bool referenceDecode(const QByteArray &bytes, QString &text, qsizetype &badOffset)
{
    using namespace codec::cp932::tables;
    text.clear();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = uchar(bytes[i]);
        char16_t u = singleByte[b];
        if (u == kLeadByte) {
            const uint trail = i + 1 < bytes.size() ? uchar(bytes[i + 1]) : 0;
            u = trail >= uint(kTrailFirst) ? doubleByte[leadRow(b)][trail - kTrailFirst] : 0;
            if (u == 0) {
                badOffset = i;
                return false;
            }
            ++i;
        }
        text.append(QChar(u));
    }
    return true;
}

bool referenceEncode(const QString &text, QByteArray &bytes, qsizetype &badOffset)
{
    using namespace codec::cp932::tables;
    bytes.clear();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        const uint code = encodePages[encodePage[c >> 8]][c & 0xFF];
        if (code == 0 && c != 0) {
            badOffset = i;
            return false;
        }
        bytes.append(codeBytes(code));
    }
    return true;
}

} // namespace

namespace QTest {
template <> char *toString(const std::optional<QString> &text)
{
    return text ? toString(*text) : qstrdup("(not decodable)");
}
template <> char *toString(const std::optional<QByteArray> &bytes)
{
    return bytes ? toString(*bytes) : qstrdup("(not encodable)");
}
} // namespace QTest

class TestCp932 : public QObject {
    Q_OBJECT

private slots:
    void everySingleByteDecodesAsGlibcOrAsWindows();
    void everyPairOfBytesDecodesAsGlibcOrAsWindows();
    void everyBmpCharacterEncodesAsGlibcExceptLookAlikes();
    void everyEncodableCharacterReadsBack();
    void duplicatesAreWrittenAsWindowsWritesThem_data();
    void duplicatesAreWrittenAsWindowsWritesThem();
    void utf8DecoderReadsEverySequenceAsTheOther();
    void utf8EncoderWritesEveryCharacterAsTheOther();
    void everyCodeOfAFileIsWrittenBack();
    void firstCodeOfACharacterWins_data();
    void firstCodeOfACharacterWins();
    void jisVariantsAreWrittenAsTheirJisCode_data();
    void jisVariantsAreWrittenAsTheirJisCode();
    void decodeErrorsReportTheBadSequence_data();
    void decodeErrorsReportTheBadSequence();
    void encodeErrorsNameTheCharacter_data();
    void encodeErrorsNameTheCharacter();
    void nulRoundTrips();
    void emptyInputGivesEmptyOutput();
    void fastPathsMatchReferenceOnRandomText();
};

void TestCp932::everySingleByteDecodesAsGlibcOrAsWindows()
{
    Iconv glibc("UTF-16LE", "CP932");
    QVERIFY(glibc.isValid());
    for (int b = 0; b < 256; ++b) {
        const QByteArray in(1, char(b));
        const auto ours = decodeOrNothing(in);
        const auto theirs = glibc.convert(in);
        if (isLead(uchar(b))) {
            QVERIFY2(!ours && !theirs, qPrintable(QString::number(b, 16)));
            continue;
        }
        QVERIFY2(ours, qPrintable(QString::number(b, 16)));
        if (isWindowsOnlyByte(uchar(b))) {
            QVERIFY(!theirs);
            continue;
        }
        QVERIFY(theirs);
        QCOMPARE(
            *ours,
            QString::fromUtf16(reinterpret_cast<const char16_t *>(theirs->constData()), theirs->size() / 2));
    }
    for (const auto &[byte, unit] : windowsOnlyBytes)
        QCOMPARE(decodeOrNothing(QByteArray(1, char(byte))), unitString(unit));
}

void TestCp932::everyPairOfBytesDecodesAsGlibcOrAsWindows()
{
    Iconv glibc("UTF-16LE", "CP932");
    QVERIFY(glibc.isValid());
    int doubleByteCodes = 0;
    int wellFormedUnassigned = 0;
    for (int first = 0; first < 256; ++first) {
        for (int second = 0; second < 256; ++second) {
            QByteArray in;
            in.append(char(first)).append(char(second));
            const QByteArray name = in.toHex();
            QString text;
            codec::cp932::DecodeError error;
            const bool decoded = codec::cp932::decode(in, text, &error);
            const auto theirs = glibc.convert(in);

            if (isLead(uchar(first))) {
                const bool wellFormed
                    = (second >= 0x40 && second <= 0x7E) || (second >= 0x80 && second <= 0xFC);
                QCOMPARE(decoded, theirs.has_value());
                if (decoded) {
                    QVERIFY2(wellFormed, name);
                    ++doubleByteCodes;
                } else {
                    QCOMPARE(error.at.offset, 0);
                    wellFormedUnassigned += wellFormed;
                    continue;
                }
            } else if (isLead(uchar(second))) {
                QVERIFY2(!decoded, name);
                const bool lineEnd = first == '\r' || first == '\n';
                QCOMPARE(error.at.offset, 1);
                QCOMPARE(error.at.line, lineEnd ? 2 : 1);
                QCOMPARE(error.at.column, lineEnd ? 1 : 2);
                continue;
            } else if (isWindowsOnlyByte(uchar(first)) || isWindowsOnlyByte(uchar(second))) {
                QVERIFY2(decoded && !theirs, name);
                QCOMPARE(text, *decodeOrNothing(in.first(1)) + *decodeOrNothing(in.last(1)));
                continue;
            }
            QVERIFY2(decoded && theirs, name);
            QCOMPARE(text,
                     QString::fromUtf16(reinterpret_cast<const char16_t *>(theirs->constData()),
                                        theirs->size() / 2));
        }
    }
    // The user-defined area alone is ten lead bytes of 188 codes.
    QCOMPARE(doubleByteCodes + 256 - 60, 9800);
    QCOMPARE(wellFormedUnassigned, 1676);
}

void TestCp932::everyBmpCharacterEncodesAsGlibcExceptLookAlikes()
{
    Iconv glibc("CP932", "UTF-16LE");
    QVERIFY(glibc.isValid());
    int encodable = 0;
    for (char32_t c = 0; c < 0x10000; ++c) {
        if (c >= 0xD800 && c < 0xE000) {
            QVERIFY(!codec::cp932::canEncode(c));
            continue;
        }
        const QString text = unitString(char16_t(c));
        const auto ours = encodeOrNothing(text);
        const auto theirs = glibc.convert(QByteArray(reinterpret_cast<const char *>(text.utf16()), 2));
        const QByteArray name = QByteArray::number(uint(c), 16);
        QCOMPARE(codec::cp932::canEncode(c), ours.has_value());
        encodable += ours.has_value();
        if (c == 0x00A5 || c == 0x203E) {
            // glibc writes ¥ and ‾ as 0x5C and 0x7E, which read back as \ and ~.
            QVERIFY2(!ours && theirs, name);
            QCOMPARE(decodeOrNothing(*theirs), c == 0x00A5 ? u"\\"_s : u"~"_s);
        } else if (c == 0x0080 || (c >= 0xF8F0 && c <= 0xF8F3)) {
            QVERIFY2(ours && !theirs, name);
            QCOMPARE(decodeOrNothing(*ours), text);
        } else {
            QCOMPARE(ours, theirs);
        }
    }
    QCOMPARE(encodable, 9402 + 7);
    QVERIFY(!codec::cp932::canEncode(0x1F600));
    QVERIFY(!codec::cp932::canEncode(0x10FFFF + 1));
}

void TestCp932::everyEncodableCharacterReadsBack()
{
    int readBackAsOtherBytes = 0;
    for (uint code = 0; code < 0x10000; ++code) {
        if (code <= 0xFF ? isLead(uchar(code)) : !isLead(uchar(code >> 8)))
            continue;
        const QByteArray bytes = codeBytes(code);
        const auto text = decodeOrNothing(bytes);
        if (!text)
            continue;
        const auto written = encodeOrNothing(*text);
        QVERIFY2(written, bytes.toHex());
        if (*written != bytes) {
            ++readBackAsOtherBytes;
            QCOMPARE(decodeOrNothing(*written), text);
        }
        QVERIFY2(uchar(written->at(0)) != 0xED && uchar(written->at(0)) != 0xEE, bytes.toHex());
    }
    QCOMPARE(readBackAsOtherBytes, 398);
}

void TestCp932::duplicatesAreWrittenAsWindowsWritesThem_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<uint>("written");
    QTest::addColumn<QList<uint>>("alsoReadFrom");

    QTest::newRow("＂ U+FF02: IBM before NEC-selected IBM") << u"＂"_s << 0xFA57u << QList<uint> {0xEEFC};
    QTest::newRow("＇ U+FF07") << u"＇"_s << 0xFA56u << QList<uint> {0xEEFB};
    QTest::newRow("ⅰ U+2170") << u"ⅰ"_s << 0xFA40u << QList<uint> {0xEEEF};
    QTest::newRow("ⅹ U+2179") << u"ⅹ"_s << 0xFA49u << QList<uint> {0xEEF8};
    QTest::newRow("￤ U+FFE4") << u"￤"_s << 0xFA55u << QList<uint> {0xEEFA};
    QTest::newRow("纊 U+7E8A") << u"纊"_s << 0xFA5Cu << QList<uint> {0xED40};
    QTest::newRow("黑 U+9ED1") << u"黑"_s << 0xFC4Bu << QList<uint> {0xEEEC};
    QTest::newRow("Ⅰ U+2160: NEC row 13 before IBM") << u"Ⅰ"_s << 0x8754u << QList<uint> {0xFA4A};
    QTest::newRow("№ U+2116") << u"№"_s << 0x8782u << QList<uint> {0xFA59};
    QTest::newRow("㈱ U+3231") << u"㈱"_s << 0x878Au << QList<uint> {0xFA58};
    QTest::newRow("℡ U+2121") << u"℡"_s << 0x8784u << QList<uint> {0xFA5A};
    QTest::newRow("￢ U+FFE2: JIS before all") << u"￢"_s << 0x81CAu << QList<uint> {0xEEF9, 0xFA54};
    QTest::newRow("∵ U+2235") << u"∵"_s << 0x81E6u << QList<uint> {0x879A, 0xFA5B};
    QTest::newRow("≒ U+2252: JIS before NEC row 13") << u"≒"_s << 0x81E0u << QList<uint> {0x8790};
    QTest::newRow("≡ U+2261") << u"≡"_s << 0x81DFu << QList<uint> {0x8791};
    QTest::newRow("∫ U+222B") << u"∫"_s << 0x81E7u << QList<uint> {0x8792};
    QTest::newRow("√ U+221A") << u"√"_s << 0x81E3u << QList<uint> {0x8795};
    QTest::newRow("⊥ U+22A5") << u"⊥"_s << 0x81DBu << QList<uint> {0x8796};
    QTest::newRow("∠ U+2220") << u"∠"_s << 0x81DAu << QList<uint> {0x8797};
    QTest::newRow("∩ U+2229") << u"∩"_s << 0x81BFu << QList<uint> {0x879B};
    QTest::newRow("∪ U+222A") << u"∪"_s << 0x81BEu << QList<uint> {0x879C};
}

void TestCp932::duplicatesAreWrittenAsWindowsWritesThem()
{
    QFETCH(QString, text);
    QFETCH(uint, written);
    QFETCH(QList<uint>, alsoReadFrom);
    QCOMPARE(encodeOrNothing(text), codeBytes(written));
    QCOMPARE(decodeOrNothing(codeBytes(written)), text);
    for (uint code : alsoReadFrom)
        QCOMPARE(decodeOrNothing(codeBytes(code)), text);
}

// Every one- and two-byte sequence, between ASCII runs long enough for the vector path: the UTF-8
// decoder gives the other's text in UTF-8, its length, and the same error place.
void TestCp932::utf8DecoderReadsEverySequenceAsTheOther()
{
    const QByteArray run(20, 'x');
    for (uint sequence = 0; sequence < 0x10100; ++sequence) {
        const QByteArray middle = sequence < 0x100
            ? QByteArray(1, char(sequence))
            : QByteArray {char((sequence - 0x100) >> 8), char(sequence)};
        for (const QByteArray &bytes : {middle, run + middle + run, "\r\n" + middle}) {
            QString text;
            codec::cp932::DecodeError expected;
            const bool ok = codec::cp932::decode(bytes, text, &expected);
            QByteArray utf8;
            qsizetype units = -1;
            codec::cp932::DecodeError error;
            QCOMPARE(codec::cp932::decodeToUtf8(bytes, utf8, units, &error), ok);
            if (ok) {
                QVERIFY2(utf8 == text.toUtf8(), qPrintable(QString::number(sequence, 16)));
                QCOMPARE(units, text.size());
            } else {
                QCOMPARE(error.at.offset, expected.at.offset);
                QCOMPARE(error.at.line, expected.at.line);
                QCOMPARE(error.at.column, expected.at.column);
                QCOMPARE(error.truncated, expected.truncated);
            }
        }
    }
}

// Every character (one beyond the BMP), alone, between runs of ASCII and after a line end, with
// Windows' codes and with a file's own: the encoder from UTF-8 writes, and refuses, as the other.
void TestCp932::utf8EncoderWritesEveryCharacterAsTheOther()
{
    const QString run(20, u'x');
    const codec::cp932::FileCodes fileCodes
        = codec::cp932::FileCodes::of(QByteArray::fromHex("ED40EEEFFA5C"));
    QVERIFY(!fileCodes.isEmpty());
    for (char32_t c = 1; c <= 0x10000; ++c) {
        if (c >= 0xD800 && c < 0xE000)
            continue;
        const QString middle = QString::fromUcs4(&c, 1);
        for (const QString &text : {middle, run + middle + run, u"\r\n"_s + middle}) {
            for (const codec::cp932::FileCodes *codes :
                 {static_cast<const codec::cp932::FileCodes *>(nullptr), &fileCodes}) {
                QByteArray expected;
                codec::cp932::EncodeError expectedError;
                const bool ok = codec::cp932::encode(text, expected, &expectedError, codes);
                QByteArray bytes;
                codec::cp932::EncodeError error;
                QCOMPARE(codec::cp932::encodeUtf8(text.toUtf8(), bytes, &error, codes), ok);
                QVERIFY2(bytes == expected, qPrintable(QString::number(uint(c), 16)));
                if (!ok) {
                    QCOMPARE(error.at.line, expectedError.at.line);
                    QCOMPARE(error.at.column, expectedError.at.column);
                    QCOMPARE(error.codePoint, expectedError.codePoint);
                }
            }
        }
    }
}

// Every double-byte code, alone in a file between two others: with the file's codes kept, the
// text is written back as the same bytes; codes are kept only for the 398 that Windows would
// write otherwise, and the same character typed into another document is written as Windows does.
void TestCp932::everyCodeOfAFileIsWrittenBack()
{
    int kept = 0;
    for (uint code = 0x8140; code <= 0xFCFC; ++code) {
        if (!isLead(uchar(code >> 8)))
            continue;
        const QByteArray bytes = "a" + codeBytes(code) + "\x82\xA0";
        QString text;
        codec::cp932::FileCodes codes;
        if (!codec::cp932::decode(bytes, text, nullptr, &codes))
            continue;
        QByteArray written;
        QVERIFY(codec::cp932::encode(text, written, nullptr, &codes));
        QVERIFY2(written == bytes, qPrintable(QString::number(code, 16)));
        const QByteArray windows = encodeOrNothing(text).value_or(QByteArray());
        QCOMPARE(codes.isEmpty(), windows == bytes);
        kept += codes.size();
    }
    QCOMPARE(kept, 398);
}

void TestCp932::firstCodeOfACharacterWins_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("text"); // written after the file's text
    QTest::addColumn<QByteArray>("written");

    QTest::newRow("∵ NEC then JIS") << "\x87\x9A\x81\xE6"_ba << u"∵"_s << "\x87\x9A\x87\x9A\x87\x9A"_ba;
    QTest::newRow("∵ JIS then NEC") << "\x81\xE6\x87\x9A"_ba << u"∵"_s << "\x81\xE6\x81\xE6\x81\xE6"_ba;
    QTest::newRow("ⅰ NEC-selected then IBM")
        << "\xEE\xEF\xFA\x40"_ba << u"ⅰ"_s << "\xEE\xEF\xEE\xEF\xEE\xEF"_ba;
    QTest::newRow("纊 kept, Ⅰ typed") << "\xED\x40"_ba << u"Ⅰ纊"_s << "\xED\x40\x87\x54\xED\x40"_ba;
}

void TestCp932::firstCodeOfACharacterWins()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, text);
    QFETCH(QByteArray, written);
    const test::WrittenBack back = test::writtenBack(codec::TextEncoding::ShiftJis, file, text);
    QVERIFY(back.decoded && back.encoded);
    QCOMPARE(back.bytes, written);
}

void TestCp932::jisVariantsAreWrittenAsTheirJisCode_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<uint>("written");
    QTest::addColumn<QString>("readBack");

    QTest::newRow("〜 U+301C") << u"〜"_s << 0x8160u << u"～"_s;
    QTest::newRow("‖ U+2016") << u"‖"_s << 0x8161u << u"∥"_s;
    QTest::newRow("− U+2212") << u"−"_s << 0x817Cu << u"－"_s;
    QTest::newRow("¢ U+00A2") << u"¢"_s << 0x8191u << u"￠"_s;
    QTest::newRow("£ U+00A3") << u"£"_s << 0x8192u << u"￡"_s;
    QTest::newRow("¬ U+00AC") << u"¬"_s << 0x81CAu << u"￢"_s;
    QTest::newRow("— U+2014") << u"—"_s << 0x815Cu << u"―"_s;
}

void TestCp932::jisVariantsAreWrittenAsTheirJisCode()
{
    QFETCH(QString, text);
    QFETCH(uint, written);
    QFETCH(QString, readBack);
    QVERIFY(codec::cp932::canEncode(text[0].unicode()));
    QCOMPARE(encodeOrNothing(text), codeBytes(written));
    QCOMPARE(decodeOrNothing(codeBytes(written)), readBack);
    QCOMPARE(encodeOrNothing(readBack), codeBytes(written));
}

void TestCp932::decodeErrorsReportTheBadSequence_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("before");
    QTest::addColumn<bool>("truncated");

    // 82A0 is あ, B1 is ｱ.
    QTest::newRow("lead byte alone") << QByteArray::fromHex("82") << 0 << 1 << 1 << QString() << true;
    QTest::newRow("あ + lead at end") << QByteArray::fromHex("82A082") << 2 << 1 << 2 << u"あ"_s << true;
    QTest::newRow("trail 20") << QByteArray::fromHex("6182206263") << 1 << 1 << 2 << u"a"_s << false;
    QTest::newRow("trail 3F") << QByteArray::fromHex("823F") << 0 << 1 << 1 << QString() << false;
    QTest::newRow("trail 7F") << QByteArray::fromHex("827F") << 0 << 1 << 1 << QString() << false;
    QTest::newRow("trail FD") << QByteArray::fromHex("E0FD") << 0 << 1 << 1 << QString() << false;
    QTest::newRow("trail CR") << QByteArray::fromHex("820D0A") << 0 << 1 << 1 << QString() << false;
    QTest::newRow("unassigned 8540") << QByteArray::fromHex("B1B18540") << 2 << 1 << 3 << u"ｱｱ"_s << false;
    QTest::newRow("unassigned 81AD") << QByteArray::fromHex("82A081AD") << 2 << 1 << 2 << u"あ"_s << false;
    QTest::newRow("unassigned EB9F") << QByteArray::fromHex("EB9F") << 0 << 1 << 1 << QString() << false;
    QTest::newRow("after CR LF") << QByteArray::fromHex("610D0A82A062859F") << 6 << 2 << 3 << u"a\r\nあb"_s
                                 << false;
    QTest::newRow("after lone CR") << QByteArray::fromHex("610D0D82A0859F") << 5 << 3 << 2 << u"a\r\rあ"_s
                                   << false;
    QTest::newRow("after lone LF") << QByteArray::fromHex("0A0A0A6182") << 4 << 4 << 2 << u"\n\n\na"_s
                                   << true;
    QTest::newRow("after LF CR") << QByteArray::fromHex("0A0D82") << 2 << 3 << 1 << u"\n\r"_s << true;
    QTest::newRow("at 40 after ASCII run")
        << QByteArray(39, 'x').append(QByteArray::fromHex("0A82A06162638540")).append(16, 'y') << 45 << 2 << 5
        << QString(39, u'x') + u"\nあabc"_s << false;
}

void TestCp932::decodeErrorsReportTheBadSequence()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, offset);
    QFETCH(int, line);
    QFETCH(int, column);
    QFETCH(QString, before);
    QFETCH(bool, truncated);
    QString text = u"left over"_s;
    codec::cp932::DecodeError error;
    QVERIFY(!codec::cp932::decode(bytes, text, &error));
    QCOMPARE(error.at.offset, offset);
    QCOMPARE(error.at.line, line);
    QCOMPARE(error.at.column, column);
    QCOMPARE(error.truncated, truncated);
    QCOMPARE(text, before);
    QVERIFY(!codec::cp932::decode(bytes, text));
}

void TestCp932::encodeErrorsNameTheCharacter_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("column");
    QTest::addColumn<uint>("codePoint");

    QTest::newRow("😀") << u"😀"_s << 0 << 1 << 1 << 0x1F600u;
    QTest::newRow("ab😀") << u"ab😀"_s << 2 << 1 << 3 << 0x1F600u;
    QTest::newRow("ab¥") << u"ab¥"_s << 2 << 1 << 3 << 0xA5u;
    QTest::newRow("‾") << u"ab‾"_s << 2 << 1 << 3 << 0x203Eu;
    QTest::newRow("ｶﾞ ₩") << u"ｶﾞ₩"_s << 2 << 1 << 3 << 0x20A9u;
    QTest::newRow("lone high surrogate") << u"a"_s + QChar(0xD83D) + u"b"_s << 1 << 1 << 2 << 0xD83Du;
    QTest::newRow("lone high at end") << u"あ"_s + QChar(0xD83D) << 1 << 1 << 2 << 0xD83Du;
    QTest::newRow("lone low surrogate") << u"a"_s + QChar(0xDE00) << 1 << 1 << 2 << 0xDE00u;
    QTest::newRow("low then high") << QString(QChar(0xDE00)) + QChar(0xD83D) << 0 << 1 << 1 << 0xDE00u;
    QTest::newRow("after CR LF") << u"あ\r\n漢😀"_s << 4 << 2 << 2 << 0x1F600u;
    QTest::newRow("after lone CR") << u"\r\rxあy\u00AD"_s << 5 << 3 << 4 << 0xADu;
    QTest::newRow("after lone LF") << u"a\nb\n\u200B"_s << 4 << 3 << 1 << 0x200Bu;
    QTest::newRow("BOM after ASCII run") << QString(40, u'a') + u"\uFEFF"_s << 40 << 1 << 41 << 0xFEFFu;
}

void TestCp932::encodeErrorsNameTheCharacter()
{
    QFETCH(QString, text);
    QFETCH(int, offset);
    QFETCH(int, line);
    QFETCH(int, column);
    QFETCH(uint, codePoint);
    QByteArray bytes;
    codec::cp932::EncodeError error;
    QVERIFY(!codec::cp932::encode(text, bytes, &error));
    QCOMPARE(error.at.offset, offset);
    QCOMPARE(error.at.line, line);
    QCOMPARE(error.at.column, column);
    QCOMPARE(uint(error.codePoint), codePoint);
    QVERIFY(!codec::cp932::canEncode(codePoint));
    QCOMPARE(bytes, *encodeOrNothing(text.first(offset)));
}

void TestCp932::nulRoundTrips()
{
    const QByteArray bytes("a\0\x82\xA0\0", 5);
    const auto text = decodeOrNothing(bytes);
    QVERIFY(text);
    QCOMPARE(*text, QStringView(u"a\0あ\0", 4).toString());
    QCOMPARE(encodeOrNothing(*text), bytes);
    QVERIFY(codec::cp932::canEncode(0));
}

void TestCp932::emptyInputGivesEmptyOutput()
{
    QString text = u"old"_s;
    QVERIFY(codec::cp932::decode(QByteArrayView(), text));
    QVERIFY(text.isEmpty());
    QByteArray bytes = "old";
    QVERIFY(codec::cp932::encode(QStringView(), bytes));
    QVERIFY(bytes.isEmpty());
}

void TestCp932::fastPathsMatchReferenceOnRandomText()
{
    std::mt19937 random(932);
    const QByteArray pieces[]
        = {QByteArray::fromHex("82A0"), QByteArray::fromHex("8ABF"), QByteArray::fromHex("B1"),
           QByteArray::fromHex("0D0A"), QByteArray::fromHex("7F"),   QByteArray::fromHex("00"),
           QByteArray::fromHex("FA57"), QByteArray::fromHex("F040"), QByteArray::fromHex("80"),
           QByteArray::fromHex("FF")};
    const QByteArray faults[]
        = {QByteArray::fromHex("85"), QByteArray::fromHex("8220"), QByteArray::fromHex("EB40")};
    const QString badChars[] = {u"😀"_s, u"¥"_s, QString(QChar(0xDC00))};
    for (int round = 0; round < 3000; ++round) {
        QByteArray bytes;
        const int parts = int(random() % 40);
        for (int p = 0; p < parts; ++p) {
            if (random() % 2) {
                const int run = int(random() % 70);
                for (int k = 0; k < run; ++k)
                    bytes.append(char(random() % 0x80));
            } else {
                bytes.append(pieces[random() % std::size(pieces)]);
            }
        }
        const bool faulty = random() % 4 == 0;
        if (faulty)
            bytes.insert(qsizetype(random() % (bytes.size() + 1)), faults[random() % std::size(faults)]);

        QString expectedText;
        qsizetype expectedOffset = -1;
        const bool expectedOk = referenceDecode(bytes, expectedText, expectedOffset);
        QString text;
        codec::cp932::DecodeError error;
        const bool ok = codec::cp932::decode(bytes, text, &error);
        QCOMPARE(ok, expectedOk);
        QCOMPARE(text, expectedText);
        if (!ok) {
            QCOMPARE(error.at.offset, expectedOffset);
            continue;
        }

        QString unicode = text;
        if (faulty)
            unicode.insert(qsizetype(random() % (unicode.size() + 1)),
                           badChars[random() % std::size(badChars)]);
        QByteArray expectedBytes;
        const bool expectedEncoded = referenceEncode(unicode, expectedBytes, expectedOffset);
        QByteArray encoded;
        codec::cp932::EncodeError encodeError;
        QCOMPARE(codec::cp932::encode(unicode, encoded, &encodeError), expectedEncoded);
        QCOMPARE(encoded, expectedBytes);
        if (!expectedEncoded)
            QCOMPARE(encodeError.at.offset, expectedOffset);
        else
            QCOMPARE(encoded, bytes);
    }
}

QTEST_APPLESS_MAIN(TestCp932)

#include "tst_cp932.moc"
