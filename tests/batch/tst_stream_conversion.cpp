// The streaming conversion against itself in one block: wherever blocks end, the output and the
// error are the same.

#include "batch/memory_streams.h"
#include "batch/stream_conversion.h"

#include "text/codec/cp932.h"

#include <QRandomGenerator>
#include <QTest>

using namespace orvane;
using namespace orvane::batch;
using namespace Qt::StringLiterals;

namespace {

struct Converted {
    QByteArray output;
    QString error;
};

Converted run(StreamOptions options, const QByteArray &input, qsizetype blockSize, qsizetype piece = 0)
{
    options.blockSize = blockSize;
    MemorySource source(input, piece);
    MemorySink sink;
    const StreamOutcome outcome = convertStream(options, source, sink);
    return {sink.bytes(), outcome.error};
}

StreamOptions options(codec::TextEncoding from, codec::TextEncoding to, QList<chars::ConversionKind> kinds,
                      std::optional<codec::LineEnd> lineEnd = std::nullopt)
{
    StreamOptions result;
    result.from = from;
    result.to = to;
    result.kinds = std::move(kinds);
    result.lineEnd = lineEnd;
    return result;
}

} // namespace

Q_DECLARE_METATYPE(orvane::batch::StreamOptions)

class TestStreamConversion : public QObject {
    Q_OBJECT

private slots:
    void blockEdgesChangeNothing_data();
    void blockEdgesChangeNothing();
    void randomTextInLargeBlocks();
    void codePageBytesConvertAsTheirText();
};

void TestStreamConversion::blockEdgesChangeNothing_data()
{
    QTest::addColumn<StreamOptions>("options");
    QTest::addColumn<QByteArray>("unit"); // one character, to pad with
    QTest::addColumn<QByteArray>("sample");
    QTest::addColumn<QByteArray>("invalid");

    const auto cp932 = codec::TextEncoding::ShiftJis, utf8 = codec::TextEncoding::Utf8;
    const QByteArray badCp932("\x81\x20");
    QTest::newRow("ｶﾞ wide") << options(cp932, cp932, {chars::ConversionKind::Wide}) << QByteArray("a")
                             << QByteArray("\xB6\xDE") << badCp932;
    QTest::newRow("ｱﾞﾊﾟ hiragana to utf-8") << options(cp932, utf8, {chars::ConversionKind::Hiragana})
                                            << QByteArray("a") << QByteArray("\xB1\xDE\xCA\xDF") << badCp932;
    QTest::newRow("ｶﾞ wide-kana") << options(cp932, cp932, {chars::ConversionKind::WideKana})
                                  << QByteArray("a") << QByteArray("\xB6\xDE") << badCp932;
    QTest::newRow("カ゛ narrow wide")
        << options(cp932, cp932, {chars::ConversionKind::Narrow, chars::ConversionKind::Wide})
        << QByteArray("a") << QByteArray("\x83\x4A\x81\x4A") << badCp932;
    QTest::newRow("あ upper") << options(cp932, cp932, {chars::ConversionKind::Upper}) << QByteArray("a")
                              << QByteArray("\x82\xA0") << badCp932;
    QTest::newRow("CR LF upper to utf-16le")
        << options(cp932, codec::TextEncoding::Utf16Le, {chars::ConversionKind::Upper}) << QByteArray("a")
        << QByteArray("\r\n") << badCp932;
    QTest::newRow("CR LF ａ narrow-ascii") << options(cp932, cp932, {chars::ConversionKind::NarrowAscii})
                                           << QByteArray("\x82\x81") << QByteArray("\r\n") << badCp932;
    QTest::newRow("CR LF, CR, LF to LF") << options(cp932, cp932, {}, codec::LineEnd::Lf) << QByteArray("a")
                                         << QByteArray("\r\n\r\r\n\n") << badCp932;
    QTest::newRow("CR LF, CR, LF to CR LF, utf-16le")
        << options(cp932, codec::TextEncoding::Utf16Le, {chars::ConversionKind::Wide}, codec::LineEnd::CrLf)
        << QByteArray("a") << QByteArray("\r\n\r\r\n\n") << badCp932;
    QTest::newRow("utf-8 あ CR LF") << options(utf8, cp932, {}) << QByteArray("a")
                                    << QByteArray("\xE3\x81\x82\r\n") << QByteArray("\xC0\x80");
    QTest::newRow("utf-8 ｶﾞ wide") << options(utf8, utf8, {chars::ConversionKind::Wide}) << QByteArray("a")
                                   << QByteArray("\xEF\xBD\xB6\xEF\xBE\x9E") << QByteArray("\xFF");
    QTest::newRow("utf-16le 😀 CR LF")
        << options(codec::TextEncoding::Utf16Le, utf8, {chars::ConversionKind::Lower}) << QByteArray("A\0", 2)
        << QByteArray("\x3D\xD8\x00\xDE\r\0\n\0", 8) << QByteArray("\x00\xDC", 2);
    QTest::newRow("utf-16be 😀 to cp932 (unstorable)")
        << options(codec::TextEncoding::Utf16Be, cp932, {}) << QByteArray("\0A", 2)
        << QByteArray("\xD8\x3D\xDE\x00", 4) << QByteArray();
}

void TestStreamConversion::blockEdgesChangeNothing()
{
    QFETCH(StreamOptions, options);
    QFETCH(QByteArray, unit);
    QFETCH(QByteArray, sample);
    QFETCH(QByteArray, invalid);

    // The sample at every place of a small block, read whole or a few bytes at a time, with
    // and without an error after it.
    for (int before = 0; before < 12; ++before) {
        for (const QByteArray &after : {QByteArray(), invalid}) {
            const QByteArray input = unit.repeated(before) + sample + unit.repeated(3) + sample + after;
            const Converted whole = run(options, input, 1 << 20);
            for (const qsizetype blockSize : {8, 9, 11}) {
                for (const qsizetype piece : {0, 3}) {
                    const Converted inBlocks = run(options, input, blockSize, piece);
                    const QByteArray where
                        = input.toHex(' ') + " in blocks of " + QByteArray::number(blockSize);
                    QVERIFY2(inBlocks.output == whole.output, where.constData());
                    QVERIFY2(inBlocks.error == whole.error, where.constData());
                }
            }
        }
    }
}

void TestStreamConversion::randomTextInLargeBlocks()
{
    // Large blocks are converted in halves at once; their edges must not show either.
    const QByteArray pieces[]
        = {"\xB6", "\xDE", "\xDF", "\xCA", "\x83\x4A", "\x81\x4A", "\r", "\n", "a", "\x82\xA0"};
    QRandomGenerator random(10);
    QByteArray input;
    while (input.size() < (qsizetype(3) << 20))
        input += pieces[random.bounded(int(std::size(pieces)))];
    const QList<QList<chars::ConversionKind>> kindLists
        = {{chars::ConversionKind::Wide},
           {chars::ConversionKind::Narrow},
           {chars::ConversionKind::Hiragana},
           {chars::ConversionKind::Narrow, chars::ConversionKind::Wide}};
    for (const QList<chars::ConversionKind> &kinds : kindLists) {
        for (const codec::TextEncoding to : {codec::TextEncoding::ShiftJis, codec::TextEncoding::Utf8}) {
            const StreamOptions streamOptions = options(codec::TextEncoding::ShiftJis, to, kinds);
            const Converted whole = run(streamOptions, input, input.size() + 1);
            QCOMPARE(whole.error, QString());
            for (const qsizetype blockSize : {(qsizetype(256) << 10) + 1, (qsizetype(300) << 10) + 7})
                QVERIFY(run(streamOptions, input, blockSize).output == whole.output);
        }
    }
}

void TestStreamConversion::codePageBytesConvertAsTheirText()
{
    // Every character of the code page, and every half-width letter with each mark.
    QByteArray cp932;
    for (int lead = 0; lead < 0x100; ++lead) {
        for (int trail = 0x40; trail < 0x100; ++trail) {
            const char pair[] = {char(lead), char(trail)};
            QString text;
            if (codec::cp932::decode(QByteArrayView(pair, 2), text) && text.size() == 1)
                cp932 += QByteArrayView(pair, 2);
        }
        const char single = char(lead);
        QString text;
        if (codec::cp932::decode(QByteArrayView(&single, 1), text))
            cp932 += single;
    }
    for (int letter = 0xA1; letter <= 0xDF; ++letter)
        cp932 += QByteArray(1, char(letter)) + "\xDE" + QByteArray(1, char(letter)) + "\xDF";
    QString text;
    QVERIFY(codec::cp932::decode(cp932, text));
    // From code page 932 a single kind takes the byte map; from UTF-8 the way through the text.
    for (int kind = 0; kind <= int(chars::ConversionKind::WideKana); kind = kind == 0 ? 1 : kind * 2) {
        const QList<chars::ConversionKind> kinds
            = kind == 0 ? QList<chars::ConversionKind>() : QList {chars::ConversionKind(kind)};
        for (const codec::TextEncoding to : {codec::TextEncoding::ShiftJis, codec::TextEncoding::Utf8}) {
            const Converted bytes = run(options(codec::TextEncoding::ShiftJis, to, kinds), cp932, 1 << 20);
            const Converted viaText
                = run(options(codec::TextEncoding::Utf8, to, kinds), text.toUtf8(), 1 << 20);
            QCOMPARE(bytes.error, QString());
            QVERIFY2(bytes.output == viaText.output, qPrintable(QString::number(kind)));
        }
    }
}

QTEST_GUILESS_MAIN(TestStreamConversion)
#include "tst_stream_conversion.moc"
