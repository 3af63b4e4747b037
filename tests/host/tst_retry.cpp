// A whole command's failure as the user sees it: the error box for what no step took up, and
// nothing for the dialog's cancel.

#include "host/host_error.h"
#include "host/retry.h"
#include "tests/support/scripted_message_box.h"

#include <QTest>

#include <new>
#include <stdexcept>

using namespace orvane;
using namespace orvane::test;
using namespace Qt::StringLiterals;

class TestRetry : public QObject {
    Q_OBJECT

private slots:
    void uncaughtFailureOfACommand_data();
    void uncaughtFailureOfACommand();
};

void TestRetry::uncaughtFailureOfACommand_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("shown"); // empty: no box

    QTest::newRow("none") << QString() << QString();
    QTest::newRow("host error") << u"host error"_s << u"ファイルが見つかりません。"_s;
    QTest::newRow("dialog cancelled") << u"dialog cancelled"_s << QString();
    QTest::newRow("out of memory") << u"out of memory"_s
                                   << u"メモリが不足しているため、操作を完了できませんでした。"_s;
    QTest::newRow("other failure") << u"other failure"_s
                                   << u"予期しないエラーのため、操作を完了できませんでした。"_s;
}

void TestRetry::uncaughtFailureOfACommand()
{
    QFETCH(QString, failure);
    QFETCH(QString, shown);

    ScriptedMessageBox messages;
    if (!shown.isEmpty())
        messages.answer(MsgBoxAnswer::Ok);
    runCommand(messages, [&] {
        if (failure == u"host error")
            throw HostError(ErrorNumber::FileNotFound, u"ファイルが見つかりません。"_s);
        if (failure == u"dialog cancelled")
            throw HostError(ErrorNumber::DialogCancelled, u"キャンセルされました。"_s);
        if (failure == u"out of memory")
            throw std::bad_alloc();
        if (failure == u"other failure")
            throw std::runtime_error("other");
    });

    QCOMPARE(messages.shown().size(), shown.isEmpty() ? 0 : 1);
    if (!shown.isEmpty()) {
        QCOMPARE(messages.shown()[0].prompt, shown);
        QCOMPARE(messages.shown()[0].style, 16);
        QCOMPARE(messages.shown()[0].title, u"エラー"_s);
    }
}

QTEST_GUILESS_MAIN(TestRetry)
#include "tst_retry.moc"
