// The main window's menu bar against its command table: order, nesting, captions, access keys,
// separators and shortcut keys.

#include "form1_fixture.h"

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

const QKeySequence none;
QKeySequence ctrl(Qt::Key key) { return QKeySequence(QKeyCombination(Qt::ControlModifier, key)); }

} // namespace

class TestMenuBar : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void itemStandsInItsPlace_data();
    void itemStandsInItsPlace();
    void menuBarHoldsExactlyTheTable();
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
    auto row = [&index](int level, const char *name, const QString &caption, const QKeySequence &shortcut) {
        QTest::newRow(name) << index++ << level << caption << shortcut;
    };
    row(1, "FileMenu", QStringLiteral("ファイル(&F)"), none);
    row(2, "NewMenu", QStringLiteral("新規作成(&N)"), none);
    row(2, "OpenMenu", QStringLiteral("開く(&O)..."), none);
    row(2, "SaveMenu", QStringLiteral("上書き保存(&S)..."), none);
    row(2, "SaveAsMenu", QStringLiteral("名前を付けて保存(&A)..."), none);
    row(2, "SpaceMenu", QStringLiteral("-"), none);
    row(2, "ExitMenu", QStringLiteral("終了(&X)"), none);
    row(1, "EditMenu", QStringLiteral("編集(&E)"), none);
    row(2, "UndoMenu", QStringLiteral("元に戻す(&U)"), ctrl(Qt::Key_Z));
    row(2, "SEPARATOR", QStringLiteral("-"), none);
    row(2, "CutMenu", QStringLiteral("切り取り(&T)"), ctrl(Qt::Key_X));
    row(2, "CopyMenu", QStringLiteral("コピー(&C)"), ctrl(Qt::Key_C));
    row(2, "PasteMenu", QStringLiteral("貼り付け(&P)"), ctrl(Qt::Key_V));
    row(2, "SpaceMenu3", QStringLiteral("-"), none);
    row(2, "SearchMenu", QStringLiteral("検索(&S)"), none);
    row(2, "SpaceMenu2", QStringLiteral("-"), none);
    row(2, "SelStringChange", QStringLiteral("選択文字列変換(&R)"), none);
    row(3, "SelLowerChange", QStringLiteral("小文字変換(&L)"), ctrl(Qt::Key_L));
    row(3, "SelUpperChange", QStringLiteral("大文字変換(&U)"), ctrl(Qt::Key_U));
    row(3, "SelHiraganaChange", QStringLiteral("ひらがな変換(&H)"), ctrl(Qt::Key_H));
    row(3, "SelKatakanaChange", QStringLiteral("カタカナ変換(&K)"), ctrl(Qt::Key_K));
    row(3, "SelNarrowChange", QStringLiteral("半角変換(&N)"), ctrl(Qt::Key_N));
    row(3, "SelWideChange", QStringLiteral("全角変換(&W)"), ctrl(Qt::Key_W));
    row(1, "StringChange", QStringLiteral("文字列一括変換(&S)"), none);
    row(2, "LowerChange", QStringLiteral("小文字変換(&L)"), none);
    row(2, "UpperChange", QStringLiteral("大文字変換(&U)"), none);
    row(2, "HiraganaChange", QStringLiteral("ひらがな変換(&H)"), none);
    row(2, "KatakanaChange", QStringLiteral("カタカナ変換(&K)"), none);
    row(2, "NarrowChange", QStringLiteral("半角変換(&N)"), none);
    row(2, "WideChange", QStringLiteral("全角変換(&W)"), none);
    row(1, "HelpMenu", QStringLiteral("ヘルプ(&H)"), none);
    row(2, "AboutMenu", QStringLiteral("バージョン情報(&A)"), none);
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
    QCOMPARE(m_tree.size(), 32);
    QStringList topLevel;
    for (const QAction *action : m_fixture->form.menuBar()->actions())
        topLevel.append(action->objectName());
    QCOMPARE(topLevel,
             (QStringList {QStringLiteral("FileMenu"), QStringLiteral("EditMenu"),
                           QStringLiteral("StringChange"), QStringLiteral("HelpMenu")}));
    int shortcuts = 0;
    for (const Item &item : m_tree)
        shortcuts += item.shortcut.isEmpty() ? 0 : 1;
    QCOMPARE(shortcuts, 10);
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
