// The search dialog over the real QScintilla edit control: UTF-16 positions in Japanese text and
// a match far down the text scrolled into view.

#include "host/qt/edit/scintilla_edit_control.h"
#include "search/form2.h"
#include "search/search_menu.h"

#include "tests/support/fake_host.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <Qsci/qsciscintilla.h>

using namespace orvane;
using namespace orvane::test;

class TestSearchScintilla : public QObject {
    Q_OBJECT

private slots:
    void searchSelectsTheMatchInTheEditControl_data();
    void searchSelectsTheMatchInTheEditControl();
    void matchFarDownIsScrolledIntoView();
};

void TestSearchScintilla::searchSelectsTheMatchInTheEditControl_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("sought");
    QTest::addColumn<bool>("textComparison");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<qsizetype>("selStart");

    QTest::newRow("after a surrogate pair") << QStringLiteral("😀行\r\n二行目の行") << QStringLiteral("行")
                                            << false << QStringLiteral("行") << qsizetype(2);
    QTest::newRow("across CR LF") << QStringLiteral("一\r\n二\r\n一\r\n二") << QStringLiteral("一\r\n二")
                                  << false << QStringLiteral("一\r\n二") << qsizetype(0);
    QTest::newRow("ガ finds ｶﾞ") << QStringLiteral("日本ｶﾞ") << QStringLiteral("ガ") << true
                                 << QStringLiteral("ｶﾞ") << qsizetype(2);
}

void TestSearchScintilla::searchSelectsTheMatchInTheEditControl()
{
    QFETCH(QString, text);
    QFETCH(QString, sought);
    QFETCH(bool, textComparison);
    QFETCH(QString, selected);
    QFETCH(qsizetype, selStart);

    FakeHost fake;
    ScintillaEditControl control;
    control.widget()->show();
    Host host {control,        fake.dialog,  fake.messages, fake.clipboard,
               fake.textFiles, fake.program, fake.document};
    control.loadText(text);
    control.setSelStart(0);

    SearchMenu menu(host, control.widget());
    menu.SearchMenu_Click();
    Form2 *form = menu.form2();
    form->setSearchText(sought);
    form->findChild<QRadioButton *>(textComparison ? QStringLiteral("Option2") : QStringLiteral("Option1"))
        ->setChecked(true);
    QTest::mouseClick(form->findChild<QPushButton *>(QStringLiteral("Command1")), Qt::LeftButton);

    QCOMPARE(control.selText(), selected);
    QCOMPARE(control.selStart(), selStart);
    QCOMPARE(control.text(), text);
}

void TestSearchScintilla::matchFarDownIsScrolledIntoView()
{
    FakeHost fake;
    ScintillaEditControl control;
    control.widget()->resize(441, 282);
    control.widget()->show();
    QVERIFY(QTest::qWaitForWindowExposed(control.widget()));
    Host host {control,        fake.dialog,  fake.messages, fake.clipboard,
               fake.textFiles, fake.program, fake.document};
    QString text;
    for (int i = 0; i < 2000; ++i)
        text += QStringLiteral("行 %1\r\n").arg(i);
    control.loadText(text + QStringLiteral("目印"));
    control.setSelStart(0);

    SearchMenu menu(host, control.widget());
    menu.SearchMenu_Click();
    menu.form2()->setSearchText(QStringLiteral("目印"));
    QTest::mouseClick(menu.form2()->findChild<QPushButton *>(QStringLiteral("Command1")), Qt::LeftButton);

    QCOMPARE(control.selText(), QStringLiteral("目印"));
    const long firstVisible = control.widget()->SendScintilla(QsciScintillaBase::SCI_GETFIRSTVISIBLELINE);
    const long visibleLines = control.widget()->SendScintilla(QsciScintillaBase::SCI_LINESONSCREEN);
    QVERIFY2(firstVisible <= 2000 && 2000 < firstVisible + visibleLines,
             qPrintable(QStringLiteral("first visible line %1 of %2").arg(firstVisible).arg(visibleLines)));
}

QTEST_MAIN(TestSearchScintilla)
#include "tst_search_scintilla.moc"
