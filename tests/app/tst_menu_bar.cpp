// The main window's menu bar against its command table: order, nesting, captions, access keys,
// separators and shortcut keys.

#include "form1_fixture.h"

#include "app/menu_table.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

using namespace orvane;
using orvane::test::Form1Fixture;

namespace {

struct Item {
    int level;
    QString name;
    QString caption;
    QKeySequence shortcut;
};

void collect(const QMenu *menu, int level, QList<Item> &items)
{
    for (const QAction *action : menu->actions()) {
        items.append({level, action->objectName(),
                      action->isSeparator() ? QStringLiteral("-") : action->text(), action->shortcut()});
        if (action->menu())
            collect(action->menu(), level + 1, items);
    }
}

QList<Item> menuTree(QMainWindow &window)
{
    QList<Item> items;
    for (const QAction *action : window.menuBar()->actions()) {
        items.append({1, action->objectName(), action->text(), action->shortcut()});
        if (action->menu())
            collect(action->menu(), 2, items);
    }
    return items;
}

QChar accessKey(const QString &caption)
{
    const qsizetype amp = caption.indexOf(QLatin1Char('&'));
    return amp >= 0 && amp + 1 < caption.size() ? caption.at(amp + 1).toUpper() : QChar();
}

} // namespace

class TestMenuBar : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void itemStandsInItsPlace_data();
    void itemStandsInItsPlace();
    void menuBarHoldsExactlyTheTable();
    void exactlyTheCommandItemsHaveAHandler();
    void accessKeysAreUniqueWithinEachMenu();
    void everyItemIsEnabledVisibleAndUnchecked();

private:
    std::unique_ptr<Form1Fixture> m_fixture;
    QList<Item> m_tree;
};

void TestMenuBar::initTestCase()
{
    m_fixture = std::make_unique<Form1Fixture>();
    m_tree = menuTree(m_fixture->form);
}

void TestMenuBar::itemStandsInItsPlace_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("level");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QKeySequence>("shortcut");

    int index = 0;
    for (const MenuRow &row : menuTable())
        QTest::newRow(row.name) << index++ << row.level << QString::fromUtf16(row.caption) << row.shortcut();
}

void TestMenuBar::itemStandsInItsPlace()
{
    QFETCH(int, index);
    QFETCH(int, level);
    QFETCH(QString, caption);
    QFETCH(QKeySequence, shortcut);

    QVERIFY(index < m_tree.size());
    const Item &item = m_tree.at(index);
    QCOMPARE(item.name, QString::fromLatin1(QTest::currentDataTag()));
    QCOMPARE(item.level, level);
    QCOMPARE(item.caption, caption);
    QCOMPARE(item.shortcut, shortcut);
}

void TestMenuBar::menuBarHoldsExactlyTheTable()
{
    // The 32 items of the described menu bar and 置換.
    QCOMPARE(m_tree.size(), 33);
    QStringList topLevel;
    for (const QAction *action : m_fixture->form.menuBar()->actions())
        topLevel.append(action->objectName());
    QCOMPARE(topLevel,
             (QStringList {QStringLiteral("FileMenu"), QStringLiteral("EditMenu"),
                           QStringLiteral("StringChange"), QStringLiteral("HelpMenu")}));
    int shortcuts = 0;
    for (const Item &item : m_tree)
        shortcuts += item.shortcut.isEmpty() ? 0 : 1;
    QCOMPARE(shortcuts, 11);
}

void TestMenuBar::exactlyTheCommandItemsHaveAHandler()
{
    const auto table = menuTable();
    for (std::size_t i = 0; i < table.size(); ++i) {
        const MenuRow &row = table[i];
        const bool opensMenu = i + 1 < table.size() && table[i + 1].level > row.level;
        QVERIFY2((row.handler != nullptr) == (!opensMenu && !row.isSeparator()), row.name);
    }
}

void TestMenuBar::accessKeysAreUniqueWithinEachMenu()
{
    QList<const QWidget *> menus {m_fixture->form.menuBar()};
    for (const QMenu *menu : m_fixture->form.findChildren<QMenu *>()) {
        if (!menu->objectName().isEmpty())
            menus.append(menu);
    }
    QCOMPARE(menus.size(), 1 + 4 + 1);
    for (const QWidget *menu : menus) {
        QList<QChar> keys;
        for (const QAction *action : menu->actions()) {
            if (action->isSeparator())
                continue;
            const QChar key = accessKey(action->text());
            QVERIFY2(!key.isNull(), qPrintable(action->text()));
            QVERIFY2(!keys.contains(key), qPrintable(menu->objectName() + QLatin1Char(' ') + action->text()));
            keys.append(key);
        }
    }
}

void TestMenuBar::everyItemIsEnabledVisibleAndUnchecked()
{
    for (const QAction *action : m_fixture->form.findChildren<QAction *>()) {
        if (action->objectName().isEmpty())
            continue; // Qt's own actions (the menus' tear-off and the like)
        QVERIFY2(action->isEnabled() && action->isVisible() && !action->isChecked(),
                 qPrintable(action->objectName()));
    }
}

QTEST_MAIN(TestMenuBar)
#include "tst_menu_bar.moc"
