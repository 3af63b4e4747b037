// The real search dialog on the offscreen platform, over the in-memory main text.

#include "search/form2.h"
#include "search/search_menu.h"

#include "tests/support/fake_host.h"
#include "tests/support/queued_mark.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QScreen>
#include <QStyle>
#include <QTest>

using namespace orvane;
using orvane::test::FakeHost;

class TestForm2 : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void windowIsAFixedModelessDialogOwnedByTheMainWindow();
    void windowIsCentredOnTheScreen();
    void controlsStandWhereTheyBelong_data();
    void controlsStandWhereTheyBelong();
    void controlsStartWithTheirInitialValues();
    void tabVisitsTheControlsInOrder_data();
    void tabVisitsTheControlsInOrder();
    void optionButtonsFormOneGroup();
    void enterAndEscDoNothing_data();
    void enterAndEscDoNothing();
    void cancelAndTheCloseBoxUnloadTheDialog_data();
    void cancelAndTheCloseBoxUnloadTheDialog();
    void optionsResetAfterCancelAndStayWhileOpen();
    void openingFillsTheBoxFromTheSelection();
    void multiLineSelectionIsSearchedAsItStands();
    void searchSelectsTheMatchAndKeepsTheDialogActive();
    void searchAccessKeyRunsTheSearch();
    void notFoundShowsTheMessageThroughTheHost();
    void searchBoxHasNoLengthLimit();
    void longSelectionIsShownShortAndSearchedExactly_data();
    void longSelectionIsShownShortAndSearchedExactly();
    void editingTheBoxSearchesTheEditedText_data();
    void editingTheBoxSearchesTheEditedText();
    void reopeningWithAShortSelectionShowsItExactly();
    void everyCaptionFitsItsControl_data();
    void everyCaptionFitsItsControl();

private:
    Form2 *open();
    template <typename T> T *control(const char *name) const;

    FakeHost *m_fake = nullptr;
    QWidget *m_owner = nullptr;
    SearchMenu *m_menu = nullptr;
};

void TestForm2::init()
{
    m_fake = new FakeHost;
    m_owner = new QWidget;
    m_owner->resize(441, 282);
    m_owner->show();
    m_menu = new SearchMenu(m_fake->host, m_owner);
}

void TestForm2::cleanup()
{
    delete m_menu;
    delete m_owner; // takes a loaded dialog with it
    delete m_fake;
}

Form2 *TestForm2::open()
{
    m_menu->SearchMenu_Click();
    Form2 *form = m_menu->form2();
    if (form && !QTest::qWaitForWindowActive(form))
        qWarning("the search dialog did not become active");
    return form;
}

template <typename T> T *TestForm2::control(const char *name) const
{
    T *widget = m_menu->form2() ? m_menu->form2()->findChild<T *>(QString::fromLatin1(name)) : nullptr;
    if (!widget)
        QTest::qFail(name, __FILE__, __LINE__);
    return widget;
}

void TestForm2::windowIsAFixedModelessDialogOwnedByTheMainWindow()
{
    QVERIFY(!m_menu->form2());
    Form2 *form = open();
    QVERIFY(form);

    QCOMPARE(form->windowTitle(), QStringLiteral("検索"));
    QCOMPARE(form->parentWidget(), m_owner);
    QVERIFY(form->isWindow());
    QVERIFY(!form->isModal());
    QCOMPARE(form->size(), QSize(376, 98));
    QCOMPARE(form->minimumSize(), QSize(376, 98));
    QCOMPARE(form->maximumSize(), QSize(376, 98));

    const Qt::WindowFlags flags = form->windowFlags();
    QCOMPARE(flags & Qt::WindowType_Mask, Qt::Dialog);
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(flags.testFlag(Qt::CustomizeWindowHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowContextHelpButtonHint));

    // Modeless: the main window still takes input while the dialog is shown.
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(m_owner->isEnabled());
}

void TestForm2::windowIsCentredOnTheScreen()
{
    m_owner->move(0, 0);
    Form2 *form = open();
    const QRect screen = m_owner->screen()->geometry();
    const QPoint offset = form->frameGeometry().center() - screen.center();
    QVERIFY2(qAbs(offset.x()) <= 1 && qAbs(offset.y()) <= 1,
             qPrintable(QStringLiteral("off centre by %1, %2").arg(offset.x()).arg(offset.y())));
}

void TestForm2::controlsStandWhereTheyBelong_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parentName");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("geometry");

    // Twips from the dialog's layout, at 15 twips a pixel; the option buttons lie inside the frame.
    const QString form;
    QTest::newRow("Label1") << QStringLiteral("Label1") << form << QStringLiteral("検索する文字列")
                            << QRect(8, 10, 89, 17);
    QTest::newRow("Text1") << QStringLiteral("Text1") << form << QString() << QRect(104, 8, 177, 18);
    QTest::newRow("Frame1") << QStringLiteral("Frame1") << form << QStringLiteral("検索方法")
                            << QRect(8, 32, 105, 57);
    QTest::newRow("Option1") << QStringLiteral("Option1") << QStringLiteral("Frame1")
                             << QStringLiteral("バイナリ検索") << QRect(8, 16, 89, 12);
    QTest::newRow("Option2") << QStringLiteral("Option2") << QStringLiteral("Frame1")
                             << QStringLiteral("テキスト検索") << QRect(8, 32, 89, 12);
    QTest::newRow("Check1") << QStringLiteral("Check1") << form << QStringLiteral("先頭にある文字列のみ検索")
                            << QRect(120, 40, 161, 17);
    QTest::newRow("Command1") << QStringLiteral("Command1") << form << QStringLiteral("検索(&S)")
                              << QRect(288, 8, 81, 17);
    QTest::newRow("Command2") << QStringLiteral("Command2") << form << QStringLiteral("キャンセル(&C)")
                              << QRect(288, 32, 81, 17);
}

void TestForm2::controlsStandWhereTheyBelong()
{
    QFETCH(QString, name);
    QFETCH(QString, parentName);
    QFETCH(QString, caption);
    QFETCH(QRect, geometry);

    Form2 *form = open();
    auto *widget = form->findChild<QWidget *>(name);
    QVERIFY(widget);
    QCOMPARE(widget->geometry(), geometry);
    QCOMPARE(widget->parentWidget()->objectName(), parentName.isEmpty() ? form->objectName() : parentName);
    if (parentName.isEmpty())
        QCOMPARE(widget->parentWidget(), form);
    QVERIFY(widget->isVisible());

    QString shown;
    if (auto *label = qobject_cast<QLabel *>(widget))
        shown = label->text();
    else if (auto *button = qobject_cast<QAbstractButton *>(widget))
        shown = button->text();
    else if (auto *frame = qobject_cast<QGroupBox *>(widget))
        shown = frame->title();
    QCOMPARE(shown, caption);
}

void TestForm2::controlsStartWithTheirInitialValues()
{
    open();
    QCOMPARE(control<QLineEdit>("Text1")->text(), QString());
    QVERIFY(control<QRadioButton>("Option1")->isChecked());
    QVERIFY(!control<QRadioButton>("Option2")->isChecked());
    QVERIFY(!control<QCheckBox>("Check1")->isChecked());
    for (const char *name : {"Command1", "Command2"}) {
        QVERIFY(!control<QPushButton>(name)->isDefault());
        QVERIFY(!control<QPushButton>(name)->autoDefault());
    }
}

void TestForm2::tabVisitsTheControlsInOrder_data()
{
    QTest::addColumn<bool>("option2Selected");
    QTest::addColumn<QStringList>("visited");

    // Tab enters the option group at its selected button only.
    QTest::newRow("バイナリ検索 selected")
        << false
        << QStringList {QStringLiteral("Option1"), QStringLiteral("Check1"), QStringLiteral("Command1"),
                        QStringLiteral("Command2"), QStringLiteral("Text1")};
    QTest::newRow("テキスト検索 selected")
        << true
        << QStringList {QStringLiteral("Option2"), QStringLiteral("Check1"), QStringLiteral("Command1"),
                        QStringLiteral("Command2"), QStringLiteral("Text1")};
}

void TestForm2::tabVisitsTheControlsInOrder()
{
    QFETCH(bool, option2Selected);
    QFETCH(QStringList, visited);

    Form2 *form = open();
    if (option2Selected)
        control<QRadioButton>("Option2")->setChecked(true);

    // The focus chain itself follows the tab indexes 1 to 7 (the label takes no focus).
    QStringList chain;
    for (QWidget *w = control<QLineEdit>("Text1"); chain.size() < 6; w = w->nextInFocusChain()) {
        if (w->focusPolicy() & Qt::TabFocus)
            chain.append(w->objectName());
    }
    QCOMPARE(
        chain,
        (QStringList {QStringLiteral("Text1"), QStringLiteral("Option1"), QStringLiteral("Option2"),
                      QStringLiteral("Check1"), QStringLiteral("Command1"), QStringLiteral("Command2")}));

    control<QLineEdit>("Text1")->setFocus();
    QCOMPARE(QApplication::focusWidget(), control<QLineEdit>("Text1"));
    QStringList seen;
    for (qsizetype i = 0; i < visited.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        seen.append(QApplication::focusWidget()->objectName());
    }
    QCOMPARE(seen, visited);

    // Shift+Tab from Check1 goes back into the group at its selected button too.
    control<QCheckBox>("Check1")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget()->objectName(), visited.first());
    QCOMPARE(QApplication::activeWindow(), form);
}

void TestForm2::optionButtonsFormOneGroup()
{
    open();
    auto *option1 = control<QRadioButton>("Option1");
    auto *option2 = control<QRadioButton>("Option2");

    QTest::mouseClick(option2, Qt::LeftButton);
    QVERIFY(option2->isChecked());
    QVERIFY(!option1->isChecked());
    QTest::mouseClick(option1, Qt::LeftButton);
    QVERIFY(option1->isChecked());
    QVERIFY(!option2->isChecked());
    QTest::mouseClick(option1, Qt::LeftButton);
    QVERIFY(option1->isChecked());
}

void TestForm2::enterAndEscDoNothing_data()
{
    QTest::addColumn<QString>("focused");
    QTest::addColumn<int>("key");

    for (const char *name : {"Text1", "Check1", "Command1", "Command2"}) {
        QTest::addRow("Return in %s", name) << QString::fromLatin1(name) << int(Qt::Key_Return);
        QTest::addRow("Enter in %s", name) << QString::fromLatin1(name) << int(Qt::Key_Enter);
        QTest::addRow("Esc in %s", name) << QString::fromLatin1(name) << int(Qt::Key_Escape);
    }
}

void TestForm2::enterAndEscDoNothing()
{
    QFETCH(QString, focused);
    QFETCH(int, key);

    m_fake->edit.loadText(QStringLiteral("abcabc"));
    m_fake->edit.select(0, 3);
    QPointer<Form2> form = open();
    auto *widget = form->findChild<QWidget *>(focused);
    widget->setFocus();

    // The scripted message box fails the test if a search reports anything.
    QTest::keyClick(widget, Qt::Key(key));
    const test::QueuedMark mark;
    QTRY_VERIFY(mark.reached());

    QVERIFY(form);
    QVERIFY(form->isVisible());
    QCOMPARE(m_fake->edit.selStart(), 0);
    QCOMPARE(m_fake->edit.selLength(), 3);
    QVERIFY(m_fake->messages.shown().isEmpty());
}

void TestForm2::cancelAndTheCloseBoxUnloadTheDialog_data()
{
    QTest::addColumn<QString>("how");

    QTest::newRow("Cancel clicked") << QStringLiteral("click");
    QTest::newRow("Cancel by Alt+C") << QStringLiteral("access key");
    QTest::newRow("close box") << QStringLiteral("close box");
}

void TestForm2::cancelAndTheCloseBoxUnloadTheDialog()
{
    QFETCH(QString, how);

    QPointer<Form2> form = open();
    QVERIFY(form);
    if (how == QLatin1String("click"))
        QTest::mouseClick(control<QPushButton>("Command2"), Qt::LeftButton);
    else if (how == QLatin1String("access key"))
        QTest::keyClick(form, Qt::Key_C, Qt::AltModifier);
    else
        form->close(); // what the window system's close box asks for

    QTRY_VERIFY(form.isNull());
    QVERIFY(!m_menu->form2());
}

void TestForm2::optionsResetAfterCancelAndStayWhileOpen()
{
    open();
    control<QRadioButton>("Option2")->setChecked(true);
    control<QCheckBox>("Check1")->setChecked(true);

    m_fake->edit.loadText(QStringLiteral("再び"));
    m_fake->edit.select(0, 1);
    QPointer<Form2> first = m_menu->form2();
    open();
    QCOMPARE(m_menu->form2(), first.data());
    QVERIFY(control<QRadioButton>("Option2")->isChecked());
    QVERIFY(control<QCheckBox>("Check1")->isChecked());
    QCOMPARE(control<QLineEdit>("Text1")->text(), QStringLiteral("再"));

    QTest::mouseClick(control<QPushButton>("Command2"), Qt::LeftButton);
    QTRY_VERIFY(first.isNull());

    open();
    QVERIFY(control<QRadioButton>("Option1")->isChecked());
    QVERIFY(!control<QRadioButton>("Option2")->isChecked());
    QVERIFY(!control<QCheckBox>("Check1")->isChecked());
}

void TestForm2::openingFillsTheBoxFromTheSelection()
{
    m_fake->edit.loadText(QStringLiteral("前の検索 その後"));
    m_fake->edit.select(0, 4);
    open();
    QCOMPARE(control<QLineEdit>("Text1")->text(), QStringLiteral("前の検索"));

    m_fake->edit.select(2, 0);
    open();
    QCOMPARE(control<QLineEdit>("Text1")->text(), QString());
}

void TestForm2::multiLineSelectionIsSearchedAsItStands()
{
    m_fake->edit.loadText(QStringLiteral("行末\r\n次 行末\r\n次"));
    m_fake->edit.select(0, 5);
    Form2 *form = open();
    QCOMPARE(form->searchText(), QStringLiteral("行末\r\n次"));

    QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton);
    QCOMPARE(m_fake->edit.selStart(), 6);
    QCOMPARE(m_fake->edit.selLength(), 5);
}

void TestForm2::searchSelectsTheMatchAndKeepsTheDialogActive()
{
    m_fake->edit.loadText(QStringLiteral("検索して検索する"));
    m_fake->edit.select(0, 2);
    Form2 *form = open();

    QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton);

    QCOMPARE(m_fake->edit.selStart(), 4);
    QCOMPARE(m_fake->edit.selLength(), 2);
    QCOMPARE(form->searchPos(), 5);
    QCOMPARE(QApplication::activeWindow(), form);
}

void TestForm2::searchAccessKeyRunsTheSearch()
{
    m_fake->edit.loadText(QStringLiteral("xyxy"));
    m_fake->edit.select(0, 2);
    Form2 *form = open();

    QTest::keyClick(form, Qt::Key_S, Qt::AltModifier);

    QTRY_COMPARE(m_fake->edit.selStart(), 2);
    QCOMPARE(m_fake->edit.selLength(), 2);
}

void TestForm2::notFoundShowsTheMessageThroughTheHost()
{
    m_fake->edit.loadText(QStringLiteral("abc"));
    m_fake->edit.select(1, 1);
    open();
    control<QLineEdit>("Text1")->setText(QStringLiteral("z"));
    m_fake->messages.answer(MsgBoxAnswer::Ok);

    QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton);

    QCOMPARE(m_fake->messages.shown().size(), 1);
    QCOMPARE(m_fake->messages.shown().first().prompt, QStringLiteral("検索を終了しました"));
    QCOMPARE(m_fake->messages.shown().first().style, 0);
    QCOMPARE(m_fake->messages.shown().first().title, QStringLiteral("検索"));
    QCOMPARE(m_fake->edit.selStart(), 1);
    QCOMPARE(m_fake->edit.selLength(), 1);
}

void TestForm2::searchBoxHasNoLengthLimit()
{
    const QString longText(100000, QChar(u'字'));
    m_fake->edit.loadText(longText + QStringLiteral("!") + longText);
    m_fake->edit.select(0, longText.size());
    open();

    QCOMPARE(m_menu->form2()->searchText(), longText);
    QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton);
    QCOMPARE(m_fake->edit.selStart(), longText.size() + 1);
    QCOMPARE(m_fake->edit.selLength(), longText.size());
}

void TestForm2::longSelectionIsShownShortAndSearchedExactly_data()
{
    QTest::addColumn<qsizetype>("length");
    QTest::addColumn<bool>("shownExactly");

    QTest::newRow("10,000 characters: in the box") << qsizetype(10000) << true;
    QTest::newRow("10,001 characters: held") << qsizetype(10001) << false;
    QTest::newRow("2,000,000 characters: held") << qsizetype(2000000) << false;
}

void TestForm2::longSelectionIsShownShortAndSearchedExactly()
{
    QFETCH(qsizetype, length);
    QFETCH(bool, shownExactly);

    // Lines of Japanese text with CR LF inside; the second copy differs only in its last character,
    // so a search for anything but the exact string lands elsewhere or nowhere.
    QString sought;
    sought.reserve(length);
    const QString line = QStringLiteral("検索する行\r\n");
    while (sought.size() < length)
        sought.append(line);
    sought.truncate(length - 1);
    sought.append(u'終');
    QString nearMiss = sought;
    nearMiss.back() = u'始';
    m_fake->edit.loadText(sought + QStringLiteral("|") + nearMiss + QStringLiteral("|") + sought);
    m_fake->edit.select(0, sought.size());

    Form2 *form = open();
    QVERIFY(form);
    auto *box = control<QLineEdit>("Text1");
    QCOMPARE(form->searchText(), sought);
    if (shownExactly) {
        QCOMPARE(box->text(), sought);
        QVERIFY(box->toolTip().isEmpty());
    } else {
        QVERIFY2(box->text().size() < 1000, qPrintable(QString::number(box->text().size())));
        QVERIFY(box->text().endsWith(u'…'));
        QVERIFY(sought.startsWith(box->text().chopped(1)));
        QCOMPARE(box->toolTip(),
                 QStringLiteral("選択された %1 文字の文字列を検索します")
                     .arg(QLocale(QLocale::Japanese).toString(length)));
    }

    QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton);
    QCOMPARE(m_fake->edit.selStart(), 2 * sought.size() + 2);
    QCOMPARE(m_fake->edit.selLength(), sought.size());
    QVERIFY(m_fake->messages.shown().isEmpty());

    // The held string stays for later searches while the box is left alone.
    control<QCheckBox>("Check1")->setChecked(true);
    QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton);
    QCOMPARE(m_fake->edit.selStart(), 0);
    QCOMPARE(m_fake->edit.selLength(), sought.size());
}

void TestForm2::editingTheBoxSearchesTheEditedText_data()
{
    // Where the edit starts (-1 the whole box selected, 0 its start, 1 its end), the keys typed
    // ("\b" is Backspace), the search string expected ("{preview}" the preview's characters,
    // without its ellipsis) and where it is found in 2,000,000 字 and "end" (-1 nowhere).
    QTest::addColumn<int>("at");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<qsizetype>("foundAt");

    QTest::newRow("box replaced by \"end\"")
        << -1 << QStringLiteral("end") << QStringLiteral("end") << qsizetype(2000000);
    QTest::newRow("end typed after the preview")
        << 1 << QStringLiteral("end") << QStringLiteral("{preview}end")
        << qsizetype(2000000 - Form2::previewLength);
    QTest::newRow("x typed before the preview")
        << 0 << QStringLiteral("x") << QStringLiteral("x{preview}") << qsizetype(-1);
    QTest::newRow("Backspace after the preview")
        << 1 << QStringLiteral("\b") << QStringLiteral("{preview}") << qsizetype(0);
}

void TestForm2::editingTheBoxSearchesTheEditedText()
{
    QFETCH(int, at);
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    QFETCH(qsizetype, foundAt);

    const QString sought(2000000, QChar(u'字'));
    m_fake->edit.loadText(sought + QStringLiteral("end"));
    m_fake->edit.select(0, sought.size());
    Form2 *form = open();
    auto *box = control<QLineEdit>("Text1");
    QVERIFY(box->text().endsWith(u'…'));
    const QString edited = QString(expected).replace(QStringLiteral("{preview}"), box->text().chopped(1));

    box->setFocus();
    if (at < 0)
        box->selectAll();
    else if (at == 0)
        box->home(false);
    else
        box->end(false);
    for (const QChar c : typed) {
        if (c == u'\b')
            QTest::keyClick(box, Qt::Key_Backspace);
        else
            QTest::keyClicks(box, QString(c));
    }
    QCOMPARE(box->text(), edited);
    QCOMPARE(form->searchText(), edited);
    QVERIFY(box->toolTip().isEmpty());

    m_fake->edit.select(0, 0);
    m_fake->messages.answer(MsgBoxAnswer::Ok);
    QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton);
    if (foundAt < 0) {
        QCOMPARE(m_fake->messages.shown().size(), 1);
        QCOMPARE(m_fake->edit.selStart(), 0);
        QCOMPARE(m_fake->edit.selLength(), 0);
    } else {
        QCOMPARE(m_fake->edit.selStart(), foundAt);
        QCOMPARE(m_fake->edit.selLength(), edited.size());
        QVERIFY(m_fake->messages.shown().isEmpty());
    }
}

void TestForm2::reopeningWithAShortSelectionShowsItExactly()
{
    const QString sought(20000, QChar(u'a'));
    m_fake->edit.loadText(sought + QStringLiteral("ab"));
    m_fake->edit.select(0, sought.size());
    Form2 *form = open();
    QCOMPARE(form->searchText(), sought);

    m_fake->edit.select(sought.size(), 2);
    open();
    QCOMPARE(control<QLineEdit>("Text1")->text(), QStringLiteral("ab"));
    QCOMPARE(form->searchText(), QStringLiteral("ab"));
    QVERIFY(control<QLineEdit>("Text1")->toolTip().isEmpty());

    m_fake->edit.select(0, 0);
    QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton);
    QCOMPARE(m_fake->edit.selStart(), sought.size());
    QCOMPARE(m_fake->edit.selLength(), 2);
}

void TestForm2::everyCaptionFitsItsControl_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<qreal>("applicationPoints");

    // The geometry is fixed, whatever size the desktop gives the application's font.
    for (const qreal points : {9.0, 12.0, 16.0}) {
        for (const char *name : {"Label1", "Frame1", "Option1", "Option2", "Check1", "Command1", "Command2"})
            QTest::addRow("%s, application font %g pt", name, points) << QString::fromLatin1(name) << points;
    }
}

void TestForm2::everyCaptionFitsItsControl()
{
    QFETCH(QString, name);
    QFETCH(qreal, applicationPoints);

    const QFont original = QApplication::font();
    const auto restore = qScopeGuard([&] { QApplication::setFont(original); });
    QFont font = original;
    font.setPointSizeF(applicationPoints);
    QApplication::setFont(font);

    Form2 *form = open();
    auto *widget = form->findChild<QWidget *>(name);
    QVERIFY(widget);

    QString caption;
    int indicator = 0;
    const QStyle *style = widget->style();
    if (auto *label = qobject_cast<QLabel *>(widget)) {
        caption = label->text();
    } else if (auto *frame = qobject_cast<QGroupBox *>(widget)) {
        caption = frame->title();
    } else if (auto *button = qobject_cast<QAbstractButton *>(widget)) {
        caption = button->text();
        if (qobject_cast<QRadioButton *>(widget))
            indicator = style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, widget);
        else if (qobject_cast<QCheckBox *>(widget))
            indicator = style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, widget);
    }
    caption.remove(u'&');
    QVERIFY(!caption.isEmpty());

    const int needed = QFontMetrics(widget->font()).horizontalAdvance(caption) + indicator;
    QVERIFY2(needed <= widget->width(),
             qPrintable(QStringLiteral("%1 needs %2 pixels in %3 at %4 pt (%5)")
                            .arg(caption)
                            .arg(needed)
                            .arg(widget->width())
                            .arg(widget->font().pointSizeF())
                            .arg(widget->font().family())));
}

QTEST_MAIN(TestForm2)
#include "tst_form2.moc"
