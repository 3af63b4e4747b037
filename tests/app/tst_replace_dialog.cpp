// The replace dialog through the main window's real widgets: Alt+E E opens it filled from the
// selection, its buttons change the text and say what they did inside the dialog, a bad
// regular expression changes nothing, Esc closes it, and it takes the search dialog's last string.

#include "form1_fixture.h"

#include "search/form2.h"
#include "search/replace_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace orvane;
using namespace orvane::test;

namespace {

ReplaceDialog *openDialog(Form1Fixture &f, QList<int> keys)
{
    if (keys.size() == 1) {
        QTest::keyClick(f.form.text1Widget(), Qt::Key(keys.first()), Qt::ControlModifier);
    } else {
        QTest::keyClick(f.form.text1Widget(), Qt::Key(keys.first()), Qt::AltModifier);
        if (!QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }))
            return nullptr;
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key(keys.at(1)));
    }
    ReplaceDialog *dialog = nullptr;
    // Its access keys work once it is the active window.
    const bool active = QTest::qWaitFor([&] {
        dialog = f.form.findChild<ReplaceDialog *>();
        return dialog && dialog->isVisible() && dialog->isActiveWindow();
    });
    return active ? dialog : nullptr;
}

template <typename Control> Control *control(QWidget *dialog, const char *name)
{
    return dialog->findChild<Control *>(QString::fromLatin1(name));
}

} // namespace

class TestReplaceDialog : public QObject {
    Q_OBJECT

private slots:
    void buttonsReplaceAndSayWhatTheyDid();
    void searchDialogsLastStringComesAlong();
};

void TestReplaceDialog::buttonsReplaceAndSayWhatTheyDid()
{
    Form1Fixture f;
    QVERIFY(f.showActive());
    const QString original = u"ｶﾀｶﾅ\r\nカタカナ\r\nかたかな"_qs;
    f.text1().loadText(original);
    f.text1().setSelStart(6);
    f.text1().setSelLength(4);
    // Alt+E E: the dialog opens by the Edit menu's access keys, filled from the selection.
    ReplaceDialog *dialog = openDialog(f, {Qt::Key_E, Qt::Key_E});
    QVERIFY(dialog);
    QCOMPARE(dialog->windowTitle(), u"置換"_qs);
    QVERIFY(!dialog->isModal());
    QCOMPARE(control<QLineEdit>(dialog, "patternBox")->text(), u"カタカナ"_qs);
    QVERIFY(control<QRadioButton>(dialog, "textCompare")->isChecked());
    auto *status = control<QLabel>(dialog, "status");
    control<QLineEdit>(dialog, "replacementBox")->setText(u"仮名"_qs);

    // すべて置換 by its access key, then once more when nothing is left.
    QTest::keyClick(dialog, Qt::Key_A, Qt::AltModifier);
    QTRY_COMPARE(status->text(), u"3 件置換しました。"_qs);
    QCOMPARE(f.text1().text(), u"仮名\r\n仮名\r\n仮名"_qs);
    QCOMPARE(f.text1().selStart(), 10);
    QVERIFY(f.form.document().isModified());
    control<QPushButton>(dialog, "replaceAll")->click();
    QCOMPARE(status->text(), u"見つかりませんでした。"_qs);

    // A bad regular expression says where and why, and changes nothing.
    control<QCheckBox>(dialog, "regularExpression")->setChecked(true);
    control<QLineEdit>(dialog, "patternBox")->setText(u"仮(名"_qs);
    control<QPushButton>(dialog, "replaceAll")->click();
    QVERIFY2(status->text().startsWith(u"正規表現が正しくありません（4 文字目）："_qs),
             qPrintable(status->text()));
    QCOMPARE(f.text1().text(), u"仮名\r\n仮名\r\n仮名"_qs);

    // Esc closes the dialog; the main window's undo takes back すべて置換 in one step.
    QTest::keyClick(dialog, Qt::Key_Escape);
    QTRY_VERIFY(!dialog->isVisible());
    f.text1().undo();
    QCOMPARE(f.text1().text(), original);
}

void TestReplaceDialog::searchDialogsLastStringComesAlong()
{
    Form1Fixture f;
    QVERIFY(f.showActive());
    f.text1().loadText(u"abc abc"_qs);
    f.messages.answer(MsgBoxAnswer::Ok);
    f.form.findChild<QAction *>(QStringLiteral("SearchMenu"))->trigger();
    Form2 *search = nullptr;
    QTRY_VERIFY((search = f.form.findChild<Form2 *>()));
    search->setSearchText(u"bc"_qs);
    search->Command1_Click();
    QCOMPARE(f.text1().selLength(), 2);
    f.text1().setSelStart(0);
    ReplaceDialog *dialog = openDialog(f, {Qt::Key_R});
    QVERIFY(dialog);
    QCOMPARE(control<QLineEdit>(dialog, "patternBox")->text(), u"bc"_qs);
}

QTEST_MAIN(TestReplaceDialog)
#include "tst_replace_dialog.moc"
