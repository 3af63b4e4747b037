// Files reaching the real main window the desktop way: the start-up arguments and files dropped
// on the window or on Text1, read from disk through Open's read path.

#include "app/application.h"
#include "app/form1.h"
#include "host/files/disk_text_files.h"
#include "tests/support/fake_host.h"
#include "tests/support/queued_mark.h"

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
    QTest::newRow("メモ.txt") << QStringList {QStringLiteral("メモ.txt")}
                              << QDir::current().absoluteFilePath(QStringLiteral("メモ.txt"))
                              << QStringList();
    QTest::newRow("file:///tmp/a%20b.txt c d")
        << QStringList {QStringLiteral("file:///tmp/a%20b.txt"), QStringLiteral("c"), QStringLiteral("d")}
        << QStringLiteral("/tmp/a b.txt") << QStringList {QStringLiteral("c"), QStringLiteral("d")};
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
    // What is dropped ("{file}" a local file holding "dropped") where, on the text "前", and
    // the text shown afterwards.
    QTest::addColumn<QStringList>("urls");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("modified");
    QTest::addColumn<bool>("onText1");
    QTest::addColumn<QString>("shown");

    const QString file = QStringLiteral("{file}");
    const QString remote = QStringLiteral("https://example.org/a.txt");
    const QString dropped = QStringLiteral("dropped");
    QTest::newRow("file on Text1") << QStringList {file} << QString() << false << true << dropped;
    QTest::newRow("file on the window") << QStringList {file} << QString() << false << false << dropped;
    QTest::newRow("file on a modified Text1") << QStringList {file} << QString() << true << true << dropped;
    QTest::newRow("remote URL, then file")
        << QStringList {remote, file} << QString() << false << true << dropped;
    QTest::newRow("remote URL with its text") << QStringList {remote} << remote << false << true << u"前"_qs;
    QTest::newRow("text かな") << QStringList() << u"かな"_qs << false << true << u"かな前"_qs;
}

void TestOpeningFiles::droppedLocalFileOpensAndTextIsInserted()
{
    QFETCH(QStringList, urls);
    QFETCH(QString, text);
    QFETCH(bool, modified);
    QFETCH(bool, onText1);
    QFETCH(QString, shown);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(u"落とした.txt"_qs);
    QFile saved(path);
    QVERIFY(saved.open(QIODevice::WriteOnly) && saved.write("dropped\r\n") == 9);
    saved.close();

    ScriptedMessageBox messages;
    ScriptedFileDialog dialog;
    MemoryClipboard clipboard;
    DiskTextFiles files;
    RecordingProgram program;
    Form1 form(messages, dialog, clipboard, files, program);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    EditControl &text1 = form.host().Text1;
    text1.loadText(u"前"_qs);
    Document &document = form.host().document;
    if (modified) {
        document.markModified();
        messages.answer(MsgBoxAnswer::No);
    } else {
        document.setCurrentFile(document.file());
    }

    QMimeData data;
    QList<QUrl> list;
    for (const QString &url : urls)
        list.append(url == u"{file}" ? QUrl::fromLocalFile(path) : QUrl(url));
    if (!list.isEmpty())
        data.setUrls(list);
    if (!text.isEmpty())
        data.setText(text);
    QWidget *target = onText1 ? form.text1Widget()->viewport() : static_cast<QWidget *>(&form);
    const QPoint at(2, 2);
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDragMoveEvent move(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    QDropEvent drop(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);

    // A file is opened only after the drop has ended; where none should be, wait until it would have been.
    const bool opened = shown == u"dropped";
    const QueuedMark mark;
    QTRY_VERIFY(mark.reached());
    QTRY_COMPARE(text1.text(), shown);
    QCOMPARE(form.document().path(), opened ? QDir::toNativeSeparators(path) : QString());
    QCOMPARE(messages.shown().size(), modified ? 1 : 0);
    if (opened)
        QCOMPARE(form.document().isModified(), false);
}

QTEST_MAIN(TestOpeningFiles)
#include "tst_opening_files.moc"
