// Files reaching the real main window the desktop way: the start-up arguments and files dropped
// on the window or on Text1, read from disk through Open's read path.

#include "app/application.h"
#include "app/form1.h"
#include "host/files/disk_text_files.h"
#include "tests/support/fake_host.h"

#include <Qsci/qsciscintilla.h>

#include <QDir>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using namespace orvane;
using namespace orvane::test;

class TestOpeningFiles : public QObject {
    Q_OBJECT

private slots:
    void firstArgumentIsOpenedAndTheRestNamed_data();
    void firstArgumentIsOpenedAndTheRestNamed();
    void droppedLocalFileOpensAndTextIsInserted_data();
    void droppedLocalFileOpensAndTextIsInserted();
};

void TestOpeningFiles::firstArgumentIsOpenedAndTheRestNamed_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("ignored");
    QTest::newRow("メモ.txt") << QStringList{QStringLiteral("メモ.txt")}
                            << QDir::current().absoluteFilePath(QStringLiteral("メモ.txt")) << QStringList();
    QTest::newRow("file:///tmp/a%20b.txt c d")
        << QStringList{QStringLiteral("file:///tmp/a%20b.txt"), QStringLiteral("c"), QStringLiteral("d")}
        << QStringLiteral("/tmp/a b.txt") << QStringList{QStringLiteral("c"), QStringLiteral("d")};
}

void TestOpeningFiles::firstArgumentIsOpenedAndTheRestNamed()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, file);
    QFETCH(QStringList, ignored);
    const StartArguments start = startArguments(arguments);
    QCOMPARE(start.file, QDir::toNativeSeparators(file));
    QCOMPARE(start.ignored, ignored);
}

void TestOpeningFiles::droppedLocalFileOpensAndTextIsInserted_data()
{
    QTest::addColumn<QStringList>("urls");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("modified");
    QTest::addColumn<bool>("onText1");
    QTest::addColumn<bool>("opened");
    QTest::addColumn<QString>("inserted");

    const QString file = QStringLiteral("{file}");
    const QString remote = QStringLiteral("https://example.org/a.txt");
    QTest::newRow("file on Text1") << QStringList { file } << QString() << false << true << true << QString();
    QTest::newRow("file on the window")
        << QStringList { file } << QString() << false << false << true << QString();
    QTest::newRow("file on a modified Text1")
        << QStringList { file } << QString() << true << true << true << QString();
    QTest::newRow("remote URL, then file")
        << QStringList { remote, file } << QString() << false << true << true << QString();
    QTest::newRow("remote URL with its text")
        << QStringList { remote } << remote << false << true << false << QString();
    QTest::newRow("text かな") << QStringList() << QStringLiteral("かな") << false << true << false
                               << QStringLiteral("かな");
}

void TestOpeningFiles::droppedLocalFileOpensAndTextIsInserted()
{
    QFETCH(QStringList, urls);
    QFETCH(QString, text);
    QFETCH(bool, modified);
    QFETCH(bool, onText1);
    QFETCH(bool, opened);
    QFETCH(QString, inserted);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("落とした.txt"));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("dropped\r\n");
    }

    ScriptedMessageBox messages;
    ScriptedFileDialog dialog;
    MemoryClipboard clipboard;
    DiskTextFiles files;
    RecordingProgram program;
    Form1 form(messages, dialog, clipboard, files, program);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    EditControl &text1 = form.host().Text1;
    text1.loadText(QStringLiteral("前"));
    form.host().document.Modified = modified;
    if (modified)
        messages.answer(MsgBoxAnswer::No);
    const QString before = text1.text();

    QMimeData data;
    QList<QUrl> list;
    for (const QString &url : urls)
        list.append(url == u"{file}" ? QUrl::fromLocalFile(path) : QUrl(url));
    if (!list.isEmpty())
        data.setUrls(list);
    if (!text.isEmpty())
        data.setText(text);

    QWidget *target = onText1 ? form.text1Widget()->viewport() : static_cast<QWidget *>(&form);
    const QPointF at(2, 2);
    QDragEnterEvent enter(
        at.toPoint(), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDragMoveEvent move(at.toPoint(), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);

    if (opened) {
        QTRY_COMPARE(text1.text(), QStringLiteral("dropped"));
        QCOMPARE(form.host().CommonDialog1.FileName, QDir::toNativeSeparators(path));
        QCOMPARE(form.document().Modified, false);
        QCOMPARE(messages.shown().size(), modified ? 1 : 0);
    } else {
        QTest::qWait(20);
        QCOMPARE(text1.text(), QString(inserted + before));
        QVERIFY(form.host().CommonDialog1.FileName.isEmpty());
    }
}

QTEST_MAIN(TestOpeningFiles)
#include "tst_opening_files.moc"
