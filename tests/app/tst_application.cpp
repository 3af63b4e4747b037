// Start-up: when the editor refuses to start for want of a display.

#include "app/app_texts.h"
#include "app/application.h"
#include "app/command_line_help.h"

#include <QTest>

using namespace orvane;

class TestApplication : public QObject {
    Q_OBJECT

private slots:
    void displayIsExpectedOnlyWhereOneIsNamed_data();
    void displayIsExpectedOnlyWhereOneIsNamed();
    void helpAndVersionAnswerOnlyAsFirstArgument_data();
    void helpAndVersionAnswerOnlyAsFirstArgument();
};

void TestApplication::displayIsExpectedOnlyWhereOneIsNamed_data()
{
    QTest::addColumn<QByteArray>("platform");
    QTest::addColumn<QByteArray>("display");
    QTest::addColumn<QByteArray>("wayland");
    QTest::addColumn<QByteArrayList>("arguments");
    QTest::addColumn<bool>("reachable");

    const QByteArrayList bare {"orvane"};
    QTest::newRow("nothing set") << QByteArray() << QByteArray() << QByteArray() << bare << false;
    QTest::newRow("DISPLAY=:0") << QByteArray() << QByteArray(":0") << QByteArray() << bare << true;
    QTest::newRow("WAYLAND_DISPLAY") << QByteArray() << QByteArray() << QByteArray("wayland-0") << bare
                                     << true;
    QTest::newRow("QT_QPA_PLATFORM=offscreen")
        << QByteArray("offscreen") << QByteArray() << QByteArray() << bare << true;
    QTest::newRow("-platform offscreen") << QByteArray() << QByteArray() << QByteArray()
                                         << QByteArrayList {"orvane", "-platform", "offscreen"} << true;
    QTest::newRow("a file name only")
        << QByteArray() << QByteArray() << QByteArray() << QByteArrayList {"orvane", "memo.txt"} << false;
}

void TestApplication::displayIsExpectedOnlyWhereOneIsNamed()
{
    QFETCH(QByteArray, platform);
    QFETCH(QByteArray, display);
    QFETCH(QByteArray, wayland);
    QFETCH(QByteArrayList, arguments);
    QFETCH(bool, reachable);
#if !defined(Q_OS_UNIX) || defined(Q_OS_MACOS)
    QSKIP("Only X11 and Wayland systems need a display named in the environment");
#endif
    std::vector<const char *> argv;
    for (const QByteArray &argument : arguments)
        argv.push_back(argument.constData());
    QCOMPARE(displayReachable(platform, display, wayland, int(argv.size()), argv.data()), reachable);
}

void TestApplication::helpAndVersionAnswerOnlyAsFirstArgument_data()
{
    QTest::addColumn<QByteArrayList>("arguments");
    QTest::addColumn<QString>("printed");

    const QString usage = app_texts::usage();
    QTest::newRow("orvane --help") << QByteArrayList {"orvane", "--help"} << usage;
    QTest::newRow("orvane -h") << QByteArrayList {"orvane", "-h"} << usage;
    QTest::newRow("orvane --version")
        << QByteArrayList {"orvane", "--version"} << app_texts::version(QStringLiteral(ORVANE_VERSION));
    QTest::newRow("orvane") << QByteArrayList {"orvane"} << QString();
    QTest::newRow("orvane memo.txt --help") << QByteArrayList {"orvane", "memo.txt", "--help"} << QString();
    QTest::newRow("orvane ./--help") << QByteArrayList {"orvane", "./--help"} << QString();
}

void TestApplication::helpAndVersionAnswerOnlyAsFirstArgument()
{
    QFETCH(QByteArrayList, arguments);
    QFETCH(QString, printed);
    std::vector<const char *> argv;
    for (const QByteArray &argument : arguments)
        argv.push_back(argument.constData());
    QCOMPARE(commandLineHelp(int(argv.size()), argv.data()).value_or(QString()), printed);
}

QTEST_GUILESS_MAIN(TestApplication)
#include "tst_application.moc"
