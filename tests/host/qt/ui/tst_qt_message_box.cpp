// The message box adapter against the real QMessageBox: buttons, icon, texts and answers.

#include "modal_script.h"

#include "host/qt/ui/qt_message_box.h"

#include <QAbstractButton>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

using namespace orvane;
using orvane::test::ModalScript;

Q_DECLARE_METATYPE(orvane::MsgBoxAnswer)

namespace {

QStringList captionsOf(const QMessageBox *box)
{
    QStringList captions;
    for (const QAbstractButton *button : box->buttons())
        captions.append(button->text());
    captions.sort();
    return captions;
}

QAbstractButton *buttonCaptioned(const QMessageBox *box, const QString &caption)
{
    for (QAbstractButton *button : box->buttons()) {
        if (button->text() == caption)
            return button;
    }
    return nullptr;
}

} // namespace

class TestQtMessageBox : public QObject {
    Q_OBJECT

private slots:
    void eachStyleShowsItsButtonsAndIcon_data();
    void eachStyleShowsItsButtonsAndIcon();
    void answerFollowsTheChosenButton_data();
    void answerFollowsTheChosenButton();
    void promptTitleAndParentAreShown();
};

void TestQtMessageBox::eachStyleShowsItsButtonsAndIcon_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<int>("icon");
    QTest::addColumn<QString>("defaultCaption");

    const QString ok = QStringLiteral("OK");
    const QString yes = QStringLiteral("はい(&Y)");
    const QString no = QStringLiteral("いいえ(&N)");
    const QString cancel = QStringLiteral("キャンセル");
    const QString retry = QStringLiteral("再試行(&R)");
    auto sorted = [](QStringList list) {
        list.sort();
        return list;
    };
    QTest::newRow("0 OK") << 0 << QStringList {ok} << int(QMessageBox::NoIcon) << ok;
    QTest::newRow("64 OK, information") << 64 << QStringList {ok} << int(QMessageBox::Information) << ok;
    QTest::newRow("3 + 48 Yes/No/Cancel, exclamation")
        << 3 + 48 << sorted({yes, no, cancel}) << int(QMessageBox::Warning) << yes;
    QTest::newRow("3 Yes/No/Cancel") << 3 << sorted({yes, no, cancel}) << int(QMessageBox::NoIcon) << yes;
    QTest::newRow("4 + 48 Yes/No, exclamation")
        << 4 + 48 << sorted({yes, no}) << int(QMessageBox::Warning) << yes;
    QTest::newRow("5 + 16 Retry/Cancel, stop")
        << 5 + 16 << sorted({retry, cancel}) << int(QMessageBox::Critical) << retry;
    QTest::newRow("0 + 16 OK, stop") << 16 << QStringList {ok} << int(QMessageBox::Critical) << ok;
}

void TestQtMessageBox::eachStyleShowsItsButtonsAndIcon()
{
    QFETCH(int, style);
    QFETCH(QStringList, captions);
    QFETCH(int, icon);
    QFETCH(QString, defaultCaption);

    QStringList shownCaptions;
    int shownIcon = -1;
    QString shownDefault;
    ModalScript script;
    script.then([&](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        QVERIFY(box);
        shownCaptions = captionsOf(box);
        shownIcon = box->icon();
        shownDefault = box->defaultButton() ? box->defaultButton()->text() : QString();
        box->buttons().first()->click();
    });
    QtMessageBox messageBox;
    messageBox.msgBox(QStringLiteral("本文"), style, QStringLiteral("題"));

    QVERIFY(script.allStepsTaken());
    QVERIFY(!script.timedOut());
    QCOMPARE(shownCaptions, captions);
    QCOMPARE(shownIcon, icon);
    QCOMPARE(shownDefault, defaultCaption);
}

void TestQtMessageBox::answerFollowsTheChosenButton_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("button"); // a caption to click, or empty to use the key below
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<MsgBoxAnswer>("answer");

    const int none = Qt::NoModifier;
    QTest::newRow("0: OK") << 0 << QStringLiteral("OK") << 0 << none << MsgBoxAnswer::Ok;
    QTest::newRow("0: Esc") << 0 << QString() << int(Qt::Key_Escape) << none << MsgBoxAnswer::Ok;
    QTest::newRow("0: Return") << 64 << QString() << int(Qt::Key_Return) << none << MsgBoxAnswer::Ok;
    QTest::newRow("3: はい") << 3 << QStringLiteral("はい(&Y)") << 0 << none << MsgBoxAnswer::Yes;
    QTest::newRow("3: いいえ") << 3 << QStringLiteral("いいえ(&N)") << 0 << none << MsgBoxAnswer::No;
    QTest::newRow("3: キャンセル") << 3 << QStringLiteral("キャンセル") << 0 << none << MsgBoxAnswer::Cancel;
    QTest::newRow("3: Esc") << 3 + 48 << QString() << int(Qt::Key_Escape) << none << MsgBoxAnswer::Cancel;
    QTest::newRow("3: Return") << 3 + 48 << QString() << int(Qt::Key_Return) << none << MsgBoxAnswer::Yes;
    QTest::newRow("3: Alt+N") << 3 << QString() << int(Qt::Key_N) << int(Qt::AltModifier) << MsgBoxAnswer::No;
    QTest::newRow("4: はい") << 4 << QStringLiteral("はい(&Y)") << 0 << none << MsgBoxAnswer::Yes;
    QTest::newRow("4: いいえ") << 4 << QStringLiteral("いいえ(&N)") << 0 << none << MsgBoxAnswer::No;
    QTest::newRow("4: Y") << 4 + 48 << QString() << int(Qt::Key_Y) << none << MsgBoxAnswer::Yes;
    QTest::newRow("5: 再試行") << 5 + 16 << QStringLiteral("再試行(&R)") << 0 << none << MsgBoxAnswer::Retry;
    QTest::newRow("5: キャンセル") << 5 + 16 << QStringLiteral("キャンセル") << 0 << none
                                   << MsgBoxAnswer::Cancel;
    QTest::newRow("5: Esc") << 5 + 16 << QString() << int(Qt::Key_Escape) << none << MsgBoxAnswer::Cancel;
    QTest::newRow("5: Alt+R") << 5 + 16 << QString() << int(Qt::Key_R) << int(Qt::AltModifier)
                              << MsgBoxAnswer::Retry;
}

void TestQtMessageBox::answerFollowsTheChosenButton()
{
    QFETCH(int, style);
    QFETCH(QString, button);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(MsgBoxAnswer, answer);

    QMainWindow owner;
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    ModalScript script;
    script.then([&](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        QVERIFY(box);
        if (!button.isEmpty()) {
            QAbstractButton *target = buttonCaptioned(box, button);
            QVERIFY(target);
            target->click();
        } else {
            QTest::keyClick(box, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        }
    });
    QtMessageBox messageBox(&owner);
    QCOMPARE(messageBox.msgBox(QStringLiteral("続けますか"), style, QStringLiteral("確認")), answer);
    QVERIFY(script.allStepsTaken());
    QVERIFY(!script.timedOut());
}

void TestQtMessageBox::promptTitleAndParentAreShown()
{
    QMainWindow owner;
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    QString text;
    QString title;
    QWidget *parent = nullptr;
    bool modal = false;
    bool plain = false;
    ModalScript script;
    script.then([&](QWidget *widget) {
        auto *box = qobject_cast<QMessageBox *>(widget);
        QVERIFY(box);
        text = box->text();
        title = box->windowTitle();
        parent = box->parentWidget();
        modal = box->isModal();
        plain = box->textFormat() == Qt::PlainText;
        box->buttons().first()->click();
    });
    QtMessageBox messageBox;
    messageBox.setParentWidget(&owner);
    messageBox.msgBox(QStringLiteral("1 行目\r\n<b>2 行目</b>"), 64, QStringLiteral("バージョン情報"));
    QVERIFY(!script.timedOut());
    QCOMPARE(text, QStringLiteral("1 行目\n<b>2 行目</b>"));
    QCOMPARE(title, QStringLiteral("バージョン情報"));
    QCOMPARE(parent, &owner);
    QVERIFY(modal);
    QVERIFY2(plain, "markup in a prompt must show as it stands");
}

QTEST_MAIN(TestQtMessageBox)
#include "tst_qt_message_box.moc"
