#include "convert/conversion_commands.h"

#include "tests/support/fake_host.h"

#include "text/chars/convert.h"

#include <QTest>

#include <iterator>

using namespace orvane;
using namespace Qt::StringLiterals;
using orvane::test::FakeHost;

namespace {

struct Command {
    const char *name;
    void (*run)(Host &);
};

const Command commands[] = {
    {"UpperChange", UpperChange_Click},
    {"LowerChange", LowerChange_Click},
    {"HiraganaChange", HiraganaChange_Click},
    {"KatakanaChange", KatakanaChange_Click},
    {"NarrowChange", NarrowChange_Click},
    {"WideChange", WideChange_Click},
    {"SelUpperChange", SelUpperChange_Click},
    {"SelLowerChange", SelLowerChange_Click},
    {"SelHiraganaChange", SelHiraganaChange_Click},
    {"SelKatakanaChange", SelKatakanaChange_Click},
    {"SelNarrowChange", SelNarrowChange_Click},
    {"SelWideChange", SelWideChange_Click},
};

void runCommand(const QString &name, Host &host)
{
    for (const Command &command : commands) {
        if (name == QLatin1String(command.name)) {
            command.run(host);
            return;
        }
    }
    QFAIL("unknown command");
}

// Remembers whether the wait cursor was ever shown.
class BusyWatchingProgram final : public Program {
public:
    void end() override { }
    void setBusy(bool busy) override
    {
        depth += busy ? 1 : -1;
        wasBusy = wasBusy || busy;
    }
    int depth = 0;
    bool wasBusy = false;
};

} // namespace

class TestConversionCommands : public QObject {
    Q_OBJECT

private slots:
    void commandConvertsTextOrSelection_data();
    void commandConvertsTextOrSelection();
    void commandThatChangesNothingLeavesDocumentAlone_data();
    void commandThatChangesNothingLeavesDocumentAlone();
    void selectionCommandWithoutSelectionChangesNothing_data();
    void selectionCommandWithoutSelectionChangesNothing();
    void upperThenLowerOnAsciiGivesLowerCase();
    void katakanaThenHiraganaGivesBackHiragana();
    void largeTextShowsWaitCursorSmallTextDoesNot();
    void largeWholeTextConvertsInPiecesAndCancelsAtAnyStep();
};

void TestConversionCommands::commandConvertsTextOrSelection_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("selStart");
    QTest::addColumn<int>("selLength");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("caretAfter");

    // Whole-text rows: the text is replaced, the caret goes to the start.
    QTest::newRow("Upper: abc ａｂｃ, line end kept")
        << u"UpperChange"_s << u"abc ａｂｃ\r\nxyz"_s << 0 << 0 << u"ABC ＡＢＣ\r\nXYZ"_s << 0;
    QTest::newRow("Lower: ABC Ａｂ") << u"LowerChange"_s << u"ABC Ａｂ"_s << 0 << 0 << u"abc ａｂ"_s << 0;
    QTest::newRow("Hiragana: カタカナ ｶﾞｯｺｳ")
        << u"HiraganaChange"_s << u"カタカナ ｶﾞｯｺｳ"_s << 1 << 2 << u"かたかな がっこう"_s << 0;
    QTest::newRow("Katakana: ひらがな")
        << u"KatakanaChange"_s << u"ひらがな"_s << 0 << 0 << u"ヒラガナ"_s << 0;
    QTest::newRow("Narrow: ガッコウ　ＡＢＣ grows")
        << u"NarrowChange"_s << u"ガッコウ　ＡＢＣ"_s << 0 << 0 << u"ｶﾞｯｺｳ ABC"_s << 0;
    QTest::newRow("Wide: ｶﾞｯｺｳ ab, CR LF kept")
        << u"WideChange"_s << u"ｶﾞｯｺｳ ab\r\ncd"_s << 0 << 0 << u"ガッコウ　ａｂ\r\nｃｄ"_s << 0;

    // Selection rows: only the selection changes; the caret ends after the converted text.
    QTest::newRow("SelUpper: abc [def] ghi")
        << u"SelUpperChange"_s << u"abc def ghi"_s << 4 << 3 << u"abc DEF ghi"_s << 7;
    QTest::newRow("SelLower: ABC [DEF] GHI")
        << u"SelLowerChange"_s << u"ABC DEF GHI"_s << 4 << 3 << u"ABC def GHI"_s << 7;
    QTest::newRow("SelHiragana: カ[タカ]ナ")
        << u"SelHiraganaChange"_s << u"カタカナ"_s << 1 << 2 << u"カたかナ"_s << 3;
    QTest::newRow("SelKatakana: [ひら]がな")
        << u"SelKatakanaChange"_s << u"ひらがな"_s << 0 << 2 << u"ヒラがな"_s << 2;
    QTest::newRow("SelNarrow: ガ[ガ]ガ grows, text after moves")
        << u"SelNarrowChange"_s << u"ガガガ"_s << 1 << 1 << u"ガｶﾞガ"_s << 3;
    QTest::newRow("SelWide: ｶﾞ[ｶﾞ]ｶﾞ shrinks, text after moves")
        << u"SelWideChange"_s << u"ｶﾞｶﾞｶﾞ"_s << 2 << 2 << u"ｶﾞガｶﾞ"_s << 3;
    QTest::newRow("SelWide: a[b\\r\\nc]d across a line end")
        << u"SelWideChange"_s << u"ab\r\ncd"_s << 1 << 4 << u"aｂ\r\nｃd"_s << 5;
}

void TestConversionCommands::commandConvertsTextOrSelection()
{
    QFETCH(QString, command);
    QFETCH(QString, before);
    QFETCH(int, selStart);
    QFETCH(int, selLength);
    QFETCH(QString, after);
    QFETCH(int, caretAfter);

    FakeHost fake;
    showSaved(fake, before, selStart, selLength);

    runCommand(command, fake.host);

    QCOMPARE(fake.edit.text(), after);
    QCOMPARE(fake.edit.selStart(), qsizetype(caretAfter));
    QCOMPARE(fake.edit.selLength(), qsizetype(0));
    QCOMPARE(fake.document.isModified(), true);
    QCOMPARE(fake.program.busyDepth(), 0);
}

void TestConversionCommands::commandThatChangesNothingLeavesDocumentAlone_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("text");

    const struct {
        const char *kind;
        QString text; // holds none of the characters the kind changes
    } kinds[] = {
        {"Upper", u"ABC ＡＢＣ 漢字 123\r\n"_s},     {"Lower", u"abc ａｂｃ 漢字 123\r\n"_s},
        {"Hiragana", u"ひらがな 漢字 abc\r\n"_s},    {"Katakana", u"カタカナ 漢字 ｶﾀｶﾅ abc\r\n"_s},
        {"Narrow", u"ABC ｶﾀｶﾅ 漢字 ひらがな\r\n"_s}, {"Wide", u"ＡＢＣ　カタカナ　漢字\r\n"_s},
    };
    for (const auto &kind : kinds) {
        for (const char *prefix : {"", "Sel"}) {
            const QString command = QLatin1String(prefix) + QLatin1String(kind.kind) + u"Change"_s;
            QTest::newRow(qPrintable(command + u": "_s + kind.text.trimmed())) << command << kind.text;
        }
    }
}

void TestConversionCommands::commandThatChangesNothingLeavesDocumentAlone()
{
    QFETCH(QString, command);
    QFETCH(QString, text);

    FakeHost fake;
    showSaved(fake, text, 1, text.size() - 2);

    runCommand(command, fake.host);

    QCOMPARE(fake.edit.text(), text);
    QCOMPARE(fake.document.isModified(), false);
    QCOMPARE(fake.edit.undoDepth(), qsizetype(0));
    QCOMPARE(fake.edit.changeCount(), 1); // the load only
    QCOMPARE(fake.edit.selStart(), qsizetype(1));
    QCOMPARE(fake.edit.selLength(), text.size() - 2);
}

void TestConversionCommands::selectionCommandWithoutSelectionChangesNothing_data()
{
    QTest::addColumn<QString>("command");
    for (const Command &command : commands) {
        if (QByteArrayView(command.name).startsWith("Sel"))
            QTest::newRow(command.name) << QString::fromLatin1(command.name);
    }
}

void TestConversionCommands::selectionCommandWithoutSelectionChangesNothing()
{
    QFETCH(QString, command);
    const QString text = u"abc ABC ｶﾞ ガ が ａ"_s;

    FakeHost fake;
    showSaved(fake, text, 5, 0);

    runCommand(command, fake.host);

    QCOMPARE(fake.edit.text(), text);
    QCOMPARE(fake.edit.selStart(), qsizetype(5));
    QCOMPARE(fake.document.isModified(), false);
    QCOMPARE(fake.edit.undoDepth(), qsizetype(0));
}

void TestConversionCommands::upperThenLowerOnAsciiGivesLowerCase()
{
    FakeHost fake;
    fake.edit.loadText(u"Hello, World! 123\r\nabc XYZ"_s);

    UpperChange_Click(fake.host);
    QCOMPARE(fake.edit.text(), u"HELLO, WORLD! 123\r\nABC XYZ"_s);
    LowerChange_Click(fake.host);
    QCOMPARE(fake.edit.text(), u"hello, world! 123\r\nabc xyz"_s);
    QCOMPARE(fake.edit.undoDepth(), qsizetype(2));
}

void TestConversionCommands::katakanaThenHiraganaGivesBackHiragana()
{
    const QString hiragana = u"あいうえお がぎぐげご ぱぴぷぺぽ ゃゅょっ をん"_s;
    FakeHost fake;
    fake.edit.loadText(hiragana);

    KatakanaChange_Click(fake.host);
    QCOMPARE(fake.edit.text(), u"アイウエオ ガギグゲゴ パピプペポ ャュョッ ヲン"_s);
    HiraganaChange_Click(fake.host);
    QCOMPARE(fake.edit.text(), hiragana);
}

void TestConversionCommands::largeTextShowsWaitCursorSmallTextDoesNot()
{
    FakeHost fake;
    BusyWatchingProgram program;
    Host host {fake.edit, fake.dialog, fake.messages, fake.clipboard, fake.textFiles, program, fake.document};

    fake.edit.loadText(u"small text"_s);
    UpperChange_Click(host);
    QCOMPARE(fake.edit.text(), u"SMALL TEXT"_s);
    QVERIFY(!program.wasBusy);

    const QString large(2'000'000, u'a');
    fake.edit.loadText(large);
    UpperChange_Click(host);
    QCOMPARE(fake.edit.text(), QString(2'000'000, u'A'));
    QVERIFY(program.wasBusy);
    QCOMPARE(program.depth, 0);

    program.wasBusy = false;
    fake.edit.select(0, 1'500'000);
    SelLowerChange_Click(host);
    QCOMPARE(fake.edit.text(), QString(1'500'000, u'a') + QString(500'000, u'A'));
    QVERIFY(program.wasBusy);
    QCOMPARE(program.depth, 0);
}

void TestConversionCommands::largeWholeTextConvertsInPiecesAndCancelsAtAnyStep()
{
    // Past the size converted in pieces; every conversion changes something of each line, and
    // the sound marks and line ends meet the pieces' edges in every way the lines allow.
    const QString line = u"ｶﾞｷﾞ abc ガギ ＡＢＣ ぱぴ\r\n"_s;
    const QString text = line.repeated(9'000'000 / line.size()) + u"ｶﾞ"_s;
    FakeHost fake;
    const chars::ConversionKind kinds[]
        = {chars::ConversionKind::Upper,    chars::ConversionKind::Lower,  chars::ConversionKind::Hiragana,
           chars::ConversionKind::Katakana, chars::ConversionKind::Narrow, chars::ConversionKind::Wide};
    for (std::size_t i = 0; i < std::size(kinds); ++i) {
        const Command &command = commands[i];
        fake.edit.loadText(text);
        fake.program.cancelAtStep = 0;
        command.run(fake.host);
        const int steps = fake.program.steps;
        QVERIFY2(steps >= 3, command.name);
        QVERIFY2(fake.edit.text() != text, command.name);
        QVERIFY2(fake.edit.text() == chars::convert(kinds[i], text), command.name);

        for (int step = 1; step <= steps; ++step) {
            fake.edit.loadText(text);
            fake.document.setCurrentFile(FileIdentity {});
            fake.program.cancelAtStep = step;
            try {
                command.run(fake.host);
                QFAIL("not cancelled");
            } catch (const HostError &error) {
                QCOMPARE(error.number(), ErrorNumber::DialogCancelled);
            }
            QVERIFY2(fake.edit.text() == text, command.name);
            QCOMPARE(fake.edit.undoDepth(), 0);
            QCOMPARE(fake.document.isModified(), false);
        }
    }
}

QTEST_GUILESS_MAIN(TestConversionCommands)
#include "tst_conversion_commands.moc"
