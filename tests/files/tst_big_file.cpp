// A big file through the real edit control: opened block by block, キャンセル along the way
// leaving the shown document, and saved back byte for byte. ORVANE_BIG_FILE_MB sets the size
// (64 MB unless set; the slow label runs it past 2 GB, where the control needs 64-bit positions).

#include "tests/files/test_files.h"
#include "tests/support/memory_clipboard.h"
#include "tests/support/recording_program.h"
#include "tests/support/scripted_file_dialog.h"
#include "tests/support/scripted_message_box.h"

#include "files/file_commands.h"
#include "host/files/disk_text_files.h"
#include "host/host.h"
#include "host/qt/edit/scintilla_edit_control.h"

#include <Qsci/qsciscintilla.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace orvane;
using namespace orvane::test;

class TestBigFile : public QObject {
    Q_OBJECT

private slots:
    void openCancelOpenAndSaveBackByteForByte();
};

void TestBigFile::openCancelOpenAndSaveBackByteForByte()
{
    bool ok = false;
    const qint64 megabytes = qEnvironmentVariableIntValue("ORVANE_BIG_FILE_MB", &ok);
    const qint64 size = (ok ? megabytes : 64) * 1'000'000;
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("big.txt"));
    {
        // Japanese lines with ASCII and half-width katakana, CR LF, no line end after the last.
        const QByteArray line(
            "\x93\xFA\x96\x7B\x8C\xEA\x82\xCC\x83\x65\x83\x4C\x83\x58\x83\x67 ABC 123 \xB6\xC0\xB6\xC5\r\n");
        const QByteArray block = line.repeated((1 << 20) / line.size());
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly));
        for (qint64 written = 0; written < size; written += block.size())
            QCOMPARE(out.write(block), block.size());
        QVERIFY(out.write("end") == 3);
    }

    ScintillaEditControl control;
    ScriptedFileDialog dialog;
    ScriptedMessageBox messages;
    MemoryClipboard clipboard;
    DiskTextFiles files;
    RecordingProgram program;
    Document document;
    Host host {control, dialog, messages, clipboard, files, program, document};
    control.loadText(QStringLiteral("old\r\ntext"));

    program.cancelAtStep = 3;
    openDocument(host, path);
    QCOMPARE(control.text(), QStringLiteral("old\r\ntext"));
    QCOMPARE(control.widget()->lines(), 2);
    QVERIFY(document.path().isEmpty());

    program.cancelAtStep = 0;
    openDocument(host, path);
    QCOMPARE(document.path(), path);
    QCOMPARE(document.encoding(), codec::TextEncoding::ShiftJis);
    QVERIFY(control.widget()->lines() > int(size / 40));
    QVERIFY(messages.shown().isEmpty());

    QFile::rename(path, path + QStringLiteral(".orig"));
    SaveMenu_Click(host);
    QVERIFY(messages.shown().isEmpty());
    QCOMPARE(QFileInfo(path).size(), QFileInfo(path + QStringLiteral(".orig")).size());
    QFile saved(path), original(path + QStringLiteral(".orig"));
    QVERIFY(saved.open(QIODevice::ReadOnly) && original.open(QIODevice::ReadOnly));
    while (!original.atEnd())
        QVERIFY(saved.read(1 << 20) == original.read(1 << 20));
}

QTEST_MAIN(TestBigFile)
#include "tst_big_file.moc"
