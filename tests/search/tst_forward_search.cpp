// The search button's forward search against the in-memory edit control and scripted message box.

#include "search/forward_search.h"

#include "tests/support/fake_host.h"

#include <QTest>

using namespace orvane;
using orvane::test::FakeHost;

namespace {

// A selection as the user sees it after a search; notFound stands for the "検索を終了しました" message.
struct Outcome {
    qsizetype start = -1;
    qsizetype length = -1;
    friend bool operator==(const Outcome &, const Outcome &) = default;
};
const Outcome notFound {};

// Found by QCOMPARE through argument-dependent lookup.
char *toString(const Outcome &outcome)
{
    if (outcome == notFound)
        return qstrdup("not found");
    return qstrdup(
        QByteArray("selected " + QByteArray::number(outcome.start) + "+" + QByteArray::number(outcome.length))
            .constData());
}

// Runs one click on Search and tells what the user sees.
Outcome clickSearch(FakeHost &fake, const SearchSettings &settings)
{
    const qsizetype shownBefore = fake.messages.shown().size();
    if (fake.messages.allAnswersUsed())
        fake.messages.answer(MsgBoxAnswer::Ok);
    const qsizetype searchPos = forwardSearch(fake.host, settings);
    if (fake.messages.shown().size() > shownBefore) {
        const test::ShownMessage &message = fake.messages.shown().last();
        if (message.prompt != QStringLiteral("検索を終了しました") || message.style != 0
            || message.title != QStringLiteral("検索"))
            QTest::qFail("wrong not-found message", __FILE__, __LINE__);
        if (searchPos != 0)
            QTest::qFail("SearchPos is not 0 after the not-found message", __FILE__, __LINE__);
        return notFound;
    }
    if (searchPos != fake.edit.selStart() + 1)
        QTest::qFail("SearchPos does not match the selection", __FILE__, __LINE__);
    return {fake.edit.selStart(), fake.edit.selLength()};
}

// Records whether the wait cursor was showing when a message box came up.
class BusyProbe final : public Program, public MessageBox {
public:
    void end() override { }
    void setBusy(bool busy) override { m_depth += busy ? 1 : -1; }
    MsgBoxAnswer msgBox(const QString &, int, const QString &) override
    {
        depthAtPrompt = m_depth;
        return MsgBoxAnswer::Ok;
    }
    int depth() const { return m_depth; }
    int depthAtPrompt = -1;

private:
    int m_depth = 0;
};

} // namespace

Q_DECLARE_METATYPE(Outcome)

class TestForwardSearch : public QObject {
    Q_OBJECT

private slots:
    void repeatedClicksStepForwards_data();
    void repeatedClicksStepForwards();
    void checkedCheckBoxAlwaysSelectsTheFirstOccurrence_data();
    void checkedCheckBoxAlwaysSelectsTheFirstOccurrence();
    void textComparisonIgnoresCaseWidthAndKana_data();
    void textComparisonIgnoresCaseWidthAndKana();
    void notFoundLeavesTextAndSelectionUnchanged();
    void searchChangesNeitherTextNorModified();
    void waitCursorIsGoneBeforeTheMessageAndAfterTheSearch();
};

void TestForwardSearch::repeatedClicksStepForwards_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("sought");
    QTest::addColumn<qsizetype>("selStart");
    QTest::addColumn<qsizetype>("selLength");
    QTest::addColumn<QList<Outcome>>("clicks");

    QTest::newRow("aaa / aa from the start") << QStringLiteral("aaa") << QStringLiteral("aa") << qsizetype(0)
                                             << qsizetype(0) << QList<Outcome> {{0, 2}, notFound};
    QTest::newRow("match at the very start") << QStringLiteral("abcd") << QStringLiteral("ab") << qsizetype(0)
                                             << qsizetype(0) << QList<Outcome> {{0, 2}, notFound};
    QTest::newRow("caret at the end, no wrap") << QStringLiteral("abcabc") << QStringLiteral("abc")
                                               << qsizetype(6) << qsizetype(0) << QList<Outcome> {notFound};
    QTest::newRow("three occurrences") << QStringLiteral("x-x-x") << QStringLiteral("x") << qsizetype(0)
                                       << qsizetype(0) << QList<Outcome> {{0, 1}, {2, 1}, {4, 1}, notFound};
    QTest::newRow("starts after the selection")
        << QStringLiteral("abab") << QStringLiteral("ab") << qsizetype(0) << qsizetype(2)
        << QList<Outcome> {{2, 2}, notFound};
    QTest::newRow("caret right after a match")
        << QStringLiteral("abab") << QStringLiteral("ab") << qsizetype(1) << qsizetype(0)
        << QList<Outcome> {{2, 2}, notFound};
    QTest::newRow("empty main text") << QString() << QStringLiteral("a") << qsizetype(0) << qsizetype(0)
                                     << QList<Outcome> {notFound};
    QTest::newRow("japanese") << QStringLiteral("東京と京都と京") << QStringLiteral("京") << qsizetype(0)
                              << qsizetype(0) << QList<Outcome> {{1, 1}, {3, 1}, {6, 1}, notFound};
    QTest::newRow("across CR LF") << QStringLiteral("a\r\nb a\r\nb") << QStringLiteral("a\r\nb")
                                  << qsizetype(0) << qsizetype(0)
                                  << QList<Outcome> {{0, 4}, {5, 4}, notFound};
    QTest::newRow("surrogate pairs") << QStringLiteral("😀x😀") << QStringLiteral("😀") << qsizetype(0)
                                     << qsizetype(0) << QList<Outcome> {{0, 2}, {3, 2}, notFound};
    QTest::newRow("empty string, caret inside") << QStringLiteral("abc") << QString() << qsizetype(1)
                                                << qsizetype(0) << QList<Outcome> {{1, 0}, {1, 0}};
    QTest::newRow("empty string, selection")
        << QStringLiteral("abc") << QString() << qsizetype(0) << qsizetype(2) << QList<Outcome> {{2, 0}};
    QTest::newRow("empty string, caret at end")
        << QStringLiteral("abc") << QString() << qsizetype(3) << qsizetype(0) << QList<Outcome> {notFound};
}

void TestForwardSearch::repeatedClicksStepForwards()
{
    QFETCH(QString, text);
    QFETCH(QString, sought);
    QFETCH(qsizetype, selStart);
    QFETCH(qsizetype, selLength);
    QFETCH(QList<Outcome>, clicks);

    FakeHost fake;
    fake.edit.loadText(text);
    fake.edit.select(selStart, selLength);
    const SearchSettings settings {sought, false, true};

    QList<Outcome> seen;
    for (qsizetype i = 0; i < clicks.size(); ++i)
        seen.append(clickSearch(fake, settings));
    QCOMPARE(seen, clicks);
}

void TestForwardSearch::checkedCheckBoxAlwaysSelectsTheFirstOccurrence_data()
{
    QTest::addColumn<qsizetype>("selStart");
    QTest::addColumn<qsizetype>("selLength");

    QTest::newRow("caret at start") << qsizetype(0) << qsizetype(0);
    QTest::newRow("on the second match") << qsizetype(4) << qsizetype(2);
    QTest::newRow("caret at end") << qsizetype(8) << qsizetype(0);
}

void TestForwardSearch::checkedCheckBoxAlwaysSelectsTheFirstOccurrence()
{
    QFETCH(qsizetype, selStart);
    QFETCH(qsizetype, selLength);

    FakeHost fake;
    fake.edit.loadText(QStringLiteral("--ab--ab"));
    fake.edit.select(selStart, selLength);
    const SearchSettings settings {QStringLiteral("ab"), true, true};

    QCOMPARE(clickSearch(fake, settings), (Outcome {2, 2}));
    QCOMPARE(clickSearch(fake, settings), (Outcome {2, 2}));
}

void TestForwardSearch::textComparisonIgnoresCaseWidthAndKana_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("sought");
    QTest::addColumn<Outcome>("binary");
    QTest::addColumn<Outcome>("textCompare");

    QTest::newRow("same string") << QStringLiteral("xabc") << QStringLiteral("abc") << Outcome {1, 3}
                                 << Outcome {1, 3};
    QTest::newRow("letter case") << QStringLiteral("xABCx") << QStringLiteral("abc") << notFound
                                 << Outcome {1, 3};
    QTest::newRow("full-width letters")
        << QStringLiteral("ＡＢＣ") << QStringLiteral("abc") << notFound << Outcome {0, 3};
    QTest::newRow("katakana for hiragana")
        << QStringLiteral("-カナ") << QStringLiteral("かな") << notFound << Outcome {1, 2};
    QTest::newRow("half-width katakana")
        << QStringLiteral("ｶﾅ") << QStringLiteral("かな") << notFound << Outcome {0, 2};
    QTest::newRow("ガ finds ｶﾞ, both selected")
        << QStringLiteral("xｶﾞy") << QStringLiteral("ガ") << notFound << Outcome {1, 2};
    QTest::newRow("ｶﾞ finds ガ, one selected")
        << QStringLiteral("xガy") << QStringLiteral("ｶﾞ") << notFound << Outcome {1, 1};
    QTest::newRow("ｶ does not find ガ")
        << QStringLiteral("ガ") << QStringLiteral("ｶ") << notFound << notFound;
}

void TestForwardSearch::textComparisonIgnoresCaseWidthAndKana()
{
    QFETCH(QString, text);
    QFETCH(QString, sought);
    QFETCH(Outcome, binary);
    QFETCH(Outcome, textCompare);

    for (const bool option1 : {true, false}) {
        FakeHost fake;
        fake.edit.loadText(text);
        fake.edit.select(0, 0);
        QCOMPARE(clickSearch(fake, SearchSettings {sought, false, option1}), option1 ? binary : textCompare);
    }
}

void TestForwardSearch::notFoundLeavesTextAndSelectionUnchanged()
{
    FakeHost fake;
    showSaved(fake, QStringLiteral("一二三四五"), 1, 2);

    QCOMPARE(clickSearch(fake, SearchSettings {QStringLiteral("六"), false, false}), notFound);

    QCOMPARE(fake.edit.selStart(), 1);
    QCOMPARE(fake.edit.selLength(), 2);
    QCOMPARE(fake.edit.text(), QStringLiteral("一二三四五"));
    QCOMPARE(fake.document.isModified(), false);
}

void TestForwardSearch::searchChangesNeitherTextNorModified()
{
    FakeHost fake;
    fake.edit.loadText(QStringLiteral("abcabc"));
    fake.document.setCurrentFile(fake.document.file());
    const int changes = fake.edit.changeCount();

    clickSearch(fake, SearchSettings {QStringLiteral("bc"), false, true});
    clickSearch(fake, SearchSettings {QStringLiteral("bc"), false, true});

    QCOMPARE(fake.edit.text(), QStringLiteral("abcabc"));
    QCOMPARE(fake.edit.changeCount(), changes);
    QCOMPARE(fake.document.isModified(), false);
}

void TestForwardSearch::waitCursorIsGoneBeforeTheMessageAndAfterTheSearch()
{
    FakeHost fake;
    BusyProbe probe;
    Host host {fake.edit, fake.dialog, probe, fake.clipboard, fake.textFiles, probe, fake.document};
    fake.edit.loadText(QStringLiteral("abc"));

    forwardSearch(host, SearchSettings {QStringLiteral("b"), false, true});
    QCOMPARE(probe.depth(), 0);
    forwardSearch(host, SearchSettings {QStringLiteral("b"), false, true});
    QCOMPARE(probe.depthAtPrompt, 0);
    QCOMPARE(probe.depth(), 0);
}

QTEST_GUILESS_MAIN(TestForwardSearch)
#include "tst_forward_search.moc"
