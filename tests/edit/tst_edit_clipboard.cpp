// Cut, Copy and Paste through the real QClipboard adapter.

#include "edit/edit_commands.h"
#include "host/qt/qt_clipboard.h"

#include "tests/support/fake_host.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QTest>

using namespace orvane;
using namespace orvane::test;

// The fakes of FakeHost with the real clipboard in place of the memory one.
struct ClipboardHost {
    ClipboardHost()
    {
        edit.setChangeHandler([this] { document.markModified(); });
    }

    FakeEditControl edit;
    ScriptedFileDialog dialog;
    ScriptedMessageBox messages;
    QtClipboard clipboard;
    UnusedTextFiles files;
    RecordingProgram program;
    Document document;
    Host host {edit, dialog, messages, clipboard, files, program, document};
};

class TestEditClipboard : public QObject {
    Q_OBJECT

private slots:
    void init() { QGuiApplication::clipboard()->clear(); }
    void copyThenPasteRoundTrips_data();
    void copyThenPasteRoundTrips();
    void cutReachesOtherClipboardReaders();
    void clipboardWithoutPlainTextPastesNothing_data();
    void clipboardWithoutPlainTextPastesNothing();
    void copyWithoutSelectionKeepsAnotherProgramsClipboard();
};

void TestEditClipboard::copyThenPasteRoundTrips_data()
{
    QTest::addColumn<QString>("selected");

    QTest::newRow("ascii") << QStringLiteral("plain text");
    QTest::newRow("japanese") << QStringLiteral("日本語のテキスト、ｶﾀｶﾅ");
    QTest::newRow("CR LF") << QStringLiteral("一行目\r\n二行目\r\n");
    QTest::newRow("surrogate pair") << QStringLiteral("𠮷野家😀");
}

void TestEditClipboard::copyThenPasteRoundTrips()
{
    QFETCH(QString, selected);

    ClipboardHost source;
    source.edit.loadText(QStringLiteral("[") + selected + QStringLiteral("]"));
    source.edit.select(1, selected.size());
    CopyMenu_Click(source.host);
    QCOMPARE(QGuiApplication::clipboard()->text(), selected);

    ClipboardHost target;
    target.edit.loadText(QStringLiteral("<>"));
    target.edit.select(1, 0);
    PasteMenu_Click(target.host);
    QCOMPARE(target.edit.text(), QStringLiteral("<") + selected + QStringLiteral(">"));
}

void TestEditClipboard::cutReachesOtherClipboardReaders()
{
    ClipboardHost fake;
    fake.edit.loadText(QStringLiteral("切り取り"));
    fake.edit.select(0, 2);

    CutMenu_Click(fake.host);

    QCOMPARE(QGuiApplication::clipboard()->mimeData()->text(), QStringLiteral("切り"));
    QCOMPARE(fake.edit.text(), QStringLiteral("取り"));
}

void TestEditClipboard::clipboardWithoutPlainTextPastesNothing_data()
{
    QTest::addColumn<QString>("kind");

    QTest::newRow("image only") << QStringLiteral("image");
    QTest::newRow("HTML without text") << QStringLiteral("html");
    QTest::newRow("empty clipboard") << QStringLiteral("empty");
}

void TestEditClipboard::clipboardWithoutPlainTextPastesNothing()
{
    QFETCH(QString, kind);

    if (kind == QLatin1String("image")) {
        QImage image(4, 4, QImage::Format_RGB32);
        image.fill(Qt::red);
        QGuiApplication::clipboard()->setImage(image);
    } else if (kind == QLatin1String("html")) {
        auto *data = new QMimeData;
        data->setHtml(QStringLiteral("<b>太字</b>"));
        QGuiApplication::clipboard()->setMimeData(data);
    }

    ClipboardHost fake;
    showSaved(fake, QStringLiteral("選択を消す"), 0, 2);

    PasteMenu_Click(fake.host);

    QCOMPARE(fake.edit.text(), QStringLiteral("を消す"));
    QCOMPARE(fake.document.isModified(), true);
}

void TestEditClipboard::copyWithoutSelectionKeepsAnotherProgramsClipboard()
{
    QGuiApplication::clipboard()->setText(QStringLiteral("他のアプリ"));

    ClipboardHost fake;
    fake.edit.loadText(QStringLiteral("abc"));
    fake.edit.select(3, 0);
    CopyMenu_Click(fake.host);
    CutMenu_Click(fake.host);

    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("他のアプリ"));
    QCOMPARE(fake.edit.text(), QStringLiteral("abc"));
}

QTEST_MAIN(TestEditClipboard)
#include "tst_edit_clipboard.moc"
