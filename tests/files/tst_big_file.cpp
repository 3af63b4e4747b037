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
#include "text/codec/text_codec.h"

#include <Qsci/qsciscintilla.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <tuple>

using namespace orvane;
using namespace orvane::test;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(codec::TextEncoding)

namespace {

// The real edit control and files under scripted dialogs, as the commands see them.
struct RealHost {
    ScintillaEditControl control;
    ScriptedFileDialog dialog;
    ScriptedMessageBox messages;
    MemoryClipboard clipboard;
    DiskTextFiles files;
    RecordingProgram program;
    Document document;
    Host host {control, dialog, messages, clipboard, files, program, document};

    auto parts() { return std::tie(control, dialog, messages, program, document, host); }
};

} // namespace

class TestBigFile : public QObject {
    Q_OBJECT

private slots:
    void openCancelOpenAndSaveBackByteForByte();
    void saveWritesTheControlsTextBlockByBlock_data();
    void saveWritesTheControlsTextBlockByBlock();
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

    RealHost real;
    auto [control, dialog, messages, program, document, host] = real.parts();
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

void TestBigFile::saveWritesTheControlsTextBlockByBlock_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qsizetype>(
        "typedAt"); // where one character is typed, which moves the buffer's gap there
    QTest::addColumn<codec::TextEncoding>("encoding");
    QTest::addColumn<int>("lineEndChoice"); // Save As's line end (1 CR LF, 2 LF, 3 CR); 0 saves as it is
    QTest::addColumn<int>("cancelAtStep");
    QTest::addColumn<QString>("refusal"); // part of the message when the save is refused

    // ASCII before the CR, so that the control's UTF-8 blocks end where its UTF-16 units do. The
    // character typed puts the buffer's gap after it: the first block holds the text before the
    // gap (or is joined with the text after it, when only a little lies before).
    const qsizetype typedFar = textBlockSize / 2;
    const QString crLfAtBlockEnd = QString(textBlockSize - 2, u'a') + u"\r\nあ\r\nい"_s;
    const QString crLfAtSecondBlockEnd = QString(typedFar + textBlockSize - 1, u'a') + u"\r\nあ\nい"_s;
    const QString lines = u"ab\r\n"_s.repeated(textBlockSize / 2);
    const QString kanji = u"日本語の漢字"_s.repeated(textBlockSize / 4);
    QTest::newRow("CR LF at a block's end, to LF")
        << crLfAtBlockEnd << qsizetype(1) << codec::TextEncoding::Utf8 << 2 << 0 << QString();
    QTest::newRow("CR LF at a block's end, to CR in Shift-JIS")
        << crLfAtSecondBlockEnd << typedFar << codec::TextEncoding::ShiftJis << 3 << 0 << QString();
    QTest::newRow("gap inside a line, CR LF kept")
        << lines << qsizetype(9) << codec::TextEncoding::Utf8 << 0 << 0 << QString();
    QTest::newRow("kanji across blocks in ISO-2022-JP")
        << u"a"_s + kanji + u"\r\nb"_s + kanji << kanji.size() << codec::TextEncoding::Iso2022Jp << 0 << 0
        << QString();
    QTest::newRow("emoji across a block's end in UTF-16 BE")
        << QString(textBlockSize - 3, u'a') + u"😀b"_s << qsizetype(1) << codec::TextEncoding::Utf16Be << 0
        << 0 << QString();
    QTest::newRow("kanji across blocks in EUC-JP")
        << u"a"_s + kanji << qsizetype(1) << codec::TextEncoding::EucJp << 0 << 0 << QString();
    QTest::newRow("unstorable after the first block")
        << lines + u"x😀"_s << qsizetype(1) << codec::TextEncoding::ShiftJis << 0 << 0
        << u"「😀」(U+1F600) は Shift-JIS で保存できません（%1 行目、2 文字目）。"_s.arg(textBlockSize / 2
                                                                                        + 1);
    QTest::newRow("キャンセル at the second block")
        << lines + lines << qsizetype(1) << codec::TextEncoding::ShiftJis << 0 << 2 << QString();
}

void TestBigFile::saveWritesTheControlsTextBlockByBlock()
{
    QFETCH(QString, text);
    QFETCH(qsizetype, typedAt);
    QFETCH(codec::TextEncoding, encoding);
    QFETCH(int, lineEndChoice);
    QFETCH(int, cancelAtStep);
    QFETCH(QString, refusal);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("doc.txt"));
    writeFileBytes(path, QByteArray("old\r\n"));
    RealHost real;
    auto [control, dialog, messages, program, document, host] = real.parts();
    control.loadText(text);
    control.setSelStart(typedAt);
    control.setSelText(QStringLiteral("x"));
    const QString edited = text.left(typedAt) + u'x' + text.mid(typedAt);
    QCOMPARE(control.textLength(), edited.size());
    document.setCurrentFile(FileIdentity {path, encoding, {codec::LineEnd::CrLf, codec::LineEnd::CrLf}, {}});
    document.markModified();

    program.cancelAtStep = cancelAtStep;
    if (!refusal.isEmpty())
        messages.answer(MsgBoxAnswer::Cancel);
    if (lineEndChoice > 0) {
        dialog.choose(path, 0, lineEndChoice);
        SaveAsMenu_Click(host);
    } else {
        SaveMenu_Click(host);
    }

    if (cancelAtStep > 0 || !refusal.isEmpty()) {
        QCOMPARE(fileBytes(path), QByteArray("old\r\n"));
        QCOMPARE(folderEntries(dir.path()), QStringList {QStringLiteral("doc.txt")});
        QCOMPARE(messages.shown().size(), refusal.isEmpty() ? 0 : 1);
        if (!refusal.isEmpty())
            QVERIFY2(messages.shown()[0].prompt.contains(refusal), qPrintable(messages.shown()[0].prompt));
        QVERIFY(document.isModified());
        return;
    }
    // What the whole text encodes to at once, as the file must hold it.
    const codec::LineEnd lineEnd
        = lineEndChoice > 0 ? codec::allLineEnds[lineEndChoice - 1] : codec::LineEnd::CrLf;
    const QString written = lineEndChoice > 0 ? codec::withLineEnds(edited, lineEnd) : edited;
    QByteArray encoded;
    QVERIFY(codec::encode(encoding, written + codec::lineEndText(lineEnd).toString(), encoded));
    const QByteArray expected = codec::byteOrderMark(encoding).toByteArray() + encoded;
    QVERIFY(messages.shown().isEmpty());
    QVERIFY(fileBytes(path) == expected);
    QCOMPARE(folderEntries(dir.path()), QStringList {QStringLiteral("doc.txt")});
    QVERIFY(control.text() == written);
    QVERIFY(!document.isModified());
}

QTEST_MAIN(TestBigFile)
#include "tst_big_file.moc"
