// The edit control's text measurement against the library's own (its QTextLayout path): every
// character's position in mixed texts and fonts, and the pixels of a long mixed line on screen.

#include "host/qt/edit/scintilla_edit_control.h"

#include <Platform.h>
#include <advance_cache.h>

#include <Qsci/qsciscintilla.h>

#include <QApplication>
#include <QFontDatabase>
#include <QImage>
#include <QRandomGenerator>
#include <QTest>

#include <memory>
#include <vector>

using orvane::ScintillaEditControl;

namespace {

// Every kind of character the measurement tells apart: those it adds up (kana, kanji, CJK
// punctuation, full- and half-width forms), those it lays out with their neighbours (ASCII with
// kerning pairs and ligatures, Latin, Greek, Cyrillic, symbols, the half-width sound marks), and
// those it leaves to the library (combining marks, variation selectors, joiners, characters beyond
// the BMP, right-to-left and complex scripts, tabs and controls).
const QStringList pieces = {
    QStringLiteral("日本語のテキストを編集する。"),
    QStringLiteral("カタカナとひらがな、漢字「検索」（置換）　全角ＡＢＣ１２３"),
    QStringLiteral("ﾃｷｽﾄｶﾞﾊﾟｰｼﾞ｡ｱｲｳ"),
    QStringLiteral("AVATAR To fi ffl Wave, Type; LT VA yo. "),
    QStringLiteral("café ×÷± αβγ Привет ※→○●△ …‥“”"),
    QStringLiteral("か\u3099き\u309A"),
    QStringLiteral("葛\U000E0100辻\U000E0101❤\uFE0F"),
    QStringLiteral("👨\u200D👩\u200D👧 a\u200Cb"),
    QStringLiteral("𠮷野家🍣"),
    QStringLiteral("שלום مرحبا ภาษาไทย हिन्दी"),
    QStringLiteral("\t\x01"),
};

// The pieces in a random order, each run of kana or ASCII now and then a long one.
QString mixedText(int pieceCount, quint32 seed)
{
    QRandomGenerator random(seed);
    QString text;
    for (int i = 0; i < pieceCount; ++i) {
        const QString &piece = pieces[random.bounded(int(pieces.size()))];
        text += random.bounded(8) == 0 ? piece.repeated(12) : piece;
    }
    return text;
}

// A Scintilla font that measures with a given QFont.
class FontOf : public Scintilla::Font {
public:
    explicit FontOf(QFont *font) { fid = font; }
    ~FontOf() override { fid = nullptr; }
};

// The positions after each byte, as the edit control measures them or as the library did.
std::vector<float> measure(QWidget *device, QFont &font, const QByteArray &utf8, bool stock)
{
    std::unique_ptr<Scintilla::Surface> surface(Scintilla::Surface::Allocate(0));
    surface->Init(device);
    surface->SetUnicodeMode(true);
    FontOf scintillaFont(&font);
    std::vector<float> positions(size_t(utf8.size()));
    Scintilla::stockTextMeasurement = stock;
    surface->MeasureWidths(scintillaFont, utf8.constData(), int(utf8.size()), positions.data());
    Scintilla::stockTextMeasurement = false;
    return positions;
}

QImage screenshot(ScintillaEditControl &control)
{
    control.widget()->repaint();
    QApplication::processEvents();
    return control.widget()->grab().toImage();
}

} // namespace

class TestTextMeasurement : public QObject {
    Q_OBJECT

private slots:
    void everyCharacterSitsWhereTheLibraryPutsIt_data();
    void everyCharacterSitsWhereTheLibraryPutsIt();
    void aLongMixedLineLooksAsTheLibraryDrewIt();
};

void TestTextMeasurement::everyCharacterSitsWhereTheLibraryPutsIt_data()
{
    QTest::addColumn<QFont>("font");
    QTest::addColumn<bool>("addsUp");
    const QFont general = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    QTest::newRow("general font, kerning") << general << true;
    QFont unkerned = general;
    unkerned.setKerning(false);
    QTest::newRow("general font, no kerning") << unkerned << true;
    QFont larger = general;
    larger.setPointSizeF(10.5);
    QTest::newRow("general font at 10.5 pt") << larger << true;
    QTest::newRow("fixed font") << QFontDatabase::systemFont(QFontDatabase::FixedFont) << true;
    QTest::newRow("IPAGothic") << QFont(QStringLiteral("IPAGothic"), 12) << false;
}

// Every piece of up to 150 bytes of the mixed text, starting at every character: positions
// equal to the float the library computes (both add advances of 1/64 px, exactly).
void TestTextMeasurement::everyCharacterSitsWhereTheLibraryPutsIt()
{
    QFETCH(QFont, font);
    QFETCH(bool, addsUp);
    QWidget device;
    const QString text = mixedText(120, 17);
    int addedUp = 0;
    for (qsizetype from = 0; from < text.size(); ++from) {
        if (text[from].isLowSurrogate())
            continue;
        for (const int length : {1, 2, 3, 5, 8, 13, 33, 64, 100, 150}) {
            qsizetype to = std::min(text.size(), from + length);
            if (to < text.size() && text[to].isLowSurrogate())
                ++to;
            const QByteArray utf8 = text.mid(from, to - from).toUtf8();
            const std::vector<float> ours = measure(&device, font, utf8, false);
            const std::vector<float> library = measure(&device, font, utf8, true);
            for (size_t i = 0; i < ours.size(); ++i) {
                if (ours[i] != library[i])
                    QFAIL(qPrintable(QStringLiteral("byte %1 of \"%2\": %3 against %4")
                                         .arg(i)
                                         .arg(QString::fromUtf8(utf8))
                                         .arg(double(ours[i]))
                                         .arg(double(library[i]))));
            }
            std::vector<float> direct(ours.size());
            addedUp += orvane::qscintilla::measureWithAdvanceCache(font, &device, utf8.constData(),
                                                                   int(utf8.size()), direct.data());
        }
    }
    // The sweep is worth something only if the new path measured much of it.
    if (addsUp)
        QVERIFY2(addedUp > 1000, qPrintable(QString::number(addedUp)));
}

// A line of 40,000 mixed characters at its start, in its middle with a selection inside the
// visible part, and at its end: the same pixels as the library's own measurement and drawing.
void TestTextMeasurement::aLongMixedLineLooksAsTheLibraryDrewIt()
{
    ScintillaEditControl control;
    QsciScintilla *widget = control.widget();
    widget->resize(900, 160);
    widget->SendScintilla(QsciScintillaBase::SCI_SETCARETPERIOD, 0L);
    widget->show();
    QVERIFY(QTest::qWaitForWindowExposed(widget));
    QString line = mixedText(900, 5);
    line.truncate(40'000);
    control.loadText(line);
    for (const qsizetype caret : {qsizetype(30), line.size() / 2, line.size()}) {
        control.setSelStart(caret);
        if (caret == line.size() / 2)
            control.setSelLength(25);
        const QImage ours = screenshot(control);
        QsciScintillaBase::setStockTextMeasurement(true);
        const QImage library = screenshot(control);
        QsciScintillaBase::setStockTextMeasurement(false);
        if (ours != library) {
            ours.save(QStringLiteral("text_measurement_ours.png"));
            library.save(QStringLiteral("text_measurement_library.png"));
        }
        QVERIFY2(ours == library, qPrintable(QStringLiteral("caret at %1").arg(caret)));
    }
}

QTEST_MAIN(TestTextMeasurement)
#include "tst_text_measurement.moc"
