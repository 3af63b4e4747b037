// Files written back as they were read, through the real main window, its edit control and the
// disk: every encoding, every kind of line end, with and without a last one, with and without
// the Shift-JIS codes that Windows would write otherwise; Save As's line-end choice in the real
// dialog; Enter and paste in an LF document.

#include "app/form1.h"
#include "files/file_commands.h"
#include "host/files/disk_text_files.h"
#include "host/qt/ui/qt_common_dialog.h"
#include "tests/host/qt/ui/modal_script.h"
#include "tests/support/fake_host.h"
#include "tests/support/file_bytes.h"
#include "text/codec/cp932.h"
#include "text/codec/text_codec.h"

#include <Qsci/qsciscintilla.h>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace orvane;
using namespace orvane::test;

namespace {

// The lines of every generated file. Á followed by a space is not Shift-JIS, so the UTF-8 files
// are not asked about.
const QStringList plainLines {u"日本語のテキスト"_qs, u"ｶﾅ abc, Á 1"_qs, QString()};
// ∵ ⅰ 纊 in codes Windows does not write (NEC row 13, NEC-selected IBM extensions).
const QStringList severalCodeLines {u"∵ⅰ纊"_qs};
const QByteArray otherCodes = "\x87\x9A\xEE\xEF\xED\x40";

QByteArray encoded(const QString &text, codec::TextEncoding encoding)
{
    QByteArray bytes;
    codec::encode(encoding, text, bytes);
    return bytes;
}

QString encodingName(codec::TextEncoding encoding)
{
    const char *names[]
        = {"Shift-JIS", "UTF-8", "UTF-8 BOM", "UTF-16 LE", "UTF-16 BE", "EUC-JP", "ISO-2022-JP"};
    return QString::fromLatin1(names[int(encoding)]);
}

// What the real file dialog's choice list showed, and the item chosen in it.
struct DialogChoice {
    QString label;
    QStringList items;
    int preselected = -1;
    QString chosen;
};

// In the real file dialog: notes its choice list, puts `name` in the name box, reaches the list by
// its label's access key, moves `downs` items down it and presses `button`.
void chooseInFileDialog(QWidget *modal, const QString &name, Qt::Key accessKey, int downs,
                        QDialogButtonBox::StandardButton button, DialogChoice &seen)
{
    auto *fileDialog = qobject_cast<QFileDialog *>(modal);
    QVERIFY(fileDialog);
    auto *choice = fileDialog->findChild<QComboBox *>(u"choiceCombo"_qs);
    QVERIFY(choice);
    for (int i = 0; i < choice->count(); ++i)
        seen.items << choice->itemText(i);
    seen.preselected = choice->currentIndex();
    for (auto *caption : fileDialog->findChildren<QLabel *>()) {
        if (caption->buddy() == choice)
            seen.label = caption->text();
    }
    fileDialog->activateWindow();
    auto *nameBox = fileDialog->findChild<QLineEdit *>(u"fileNameEdit"_qs);
    nameBox->setFocus();
    QTRY_VERIFY(nameBox->hasFocus());
    nameBox->setText(name);
    QTest::keyClick(fileDialog, accessKey, Qt::AltModifier);
    QTRY_VERIFY(choice->hasFocus());
    for (int i = 0; i < downs; ++i)
        QTest::keyClick(choice, Qt::Key_Down);
    seen.chosen = choice->currentText();
    fileDialog->findChild<QDialogButtonBox *>()->button(button)->click();
}

struct Window {
    explicit Window(CommonDialog &dialog)
        : form(messages, dialog, clipboard, files, program)
    {
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        form.text1Widget()->setFocus();
    }
    Host &host() { return form.host(); }

    ScriptedMessageBox messages;
    MemoryClipboard clipboard;
    DiskTextFiles files;
    RecordingProgram program;
    Form1 form;
};

} // namespace

class TestWriteBack : public QObject {
    Q_OBJECT

private slots:
    void everyFileIsWrittenBackAsRead_data();
    void everyFileIsWrittenBackAsRead();
    void openReadsTheEncodingChosenInTheDialog_data();
    void openReadsTheEncodingChosenInTheDialog();
    void saveAsWritesTheLineEndChosenInTheDialog_data();
    void saveAsWritesTheLineEndChosenInTheDialog();
    void enterAndPasteInAnLfDocument();

private:
    QTemporaryDir m_dir;
};

void TestWriteBack::everyFileIsWrittenBackAsRead_data()
{
    QTest::addColumn<QByteArray>("bytes");

    const QStringList styles {u"CR LF"_qs, u"LF"_qs, u"CR"_qs, u"mixed"_qs};
    const QString ends[] = {u"\r\n"_qs, u"\n"_qs, u"\r"_qs};
    for (codec::TextEncoding encoding : codec::allTextEncodings) {
        const QByteArray mark = codec::byteOrderMark(encoding).toByteArray();
        for (int style = 0; style < 4; ++style) {
            for (bool lastEnd : {true, false}) {
                for (bool several : {false, true}) {
                    QStringList lines = plainLines;
                    if (several)
                        lines += severalCodeLines;
                    QByteArray bytes = mark;
                    for (qsizetype i = 0; i < lines.size(); ++i) {
                        bytes += encoding == codec::TextEncoding::ShiftJis && lines[i] == severalCodeLines[0]
                            ? otherCodes
                            : encoded(lines[i], encoding);
                        if (i + 1 < lines.size() || lastEnd)
                            bytes += encoded(ends[style < 3 ? style : i % 3], encoding);
                    }
                    QTest::addRow("%s, %s, %s, %s", qPrintable(encodingName(encoding)),
                                  qPrintable(styles[style]), lastEnd ? "last line end" : "no last line end",
                                  several ? "other codes" : "one code each")
                        << bytes;
                }
            }
        }
        QTest::addRow("%s, empty", qPrintable(encodingName(encoding))) << mark;
        QTest::addRow("%s, only line ends", qPrintable(encodingName(encoding)))
            << mark + encoded(u"\r\n\n\r\r\n\n\n\r"_qs, encoding);
    }
}

// Opened and saved with 上書き保存 without an edit: the same bytes.
void TestWriteBack::everyFileIsWrittenBackAsRead()
{
    QFETCH(QByteArray, bytes);

    const QString path = m_dir.filePath(u"往復.txt"_qs);
    writeFile(path, bytes);
    ScriptedFileDialog dialog;
    Window window(dialog);
    OpenDroppedFile(window.host(), path);
    QCOMPARE(window.form.document().path(), QDir::toNativeSeparators(path));
    QCOMPARE(window.form.document().isModified(), false);
    QFile::remove(path);

    SaveMenu_Click(window.host());
    QCOMPARE(window.form.document().isModified(), false);
    QCOMPARE(readFile(path), bytes);
}

void TestWriteBack::openReadsTheEncodingChosenInTheDialog_data()
{
    QTest::addColumn<int>("downs"); // key presses down the list from 自動判定
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text"); // empty: the file does not fit and stays unopened
    QTest::addColumn<QString>("refusal");

    // Valid as EUC-JP and as Shift-JIS; the bytes look like EUC-JP.
    const QByteArray euc = "\xA4\xB3\xA4\xF3\xA4\xCB\xA4\xC1\xA4\xCF\xA1\xA3";
    QString shiftJis;
    codec::cp932::decode(euc, shiftJis);
    QTest::newRow("自動判定, EUC-JP") << 0 << euc << u"こんにちは。"_qs << QString();
    QTest::newRow("Shift-JIS") << 1 << euc << shiftJis << QString();
    QTest::newRow("EUC-JP") << 2 << euc << u"こんにちは。"_qs << QString();
    QTest::newRow("JIS") << 3 << QByteArray("\x1B$B$3$s\x1B(B") << u"こん"_qs << QString();
    QTest::newRow("UTF-8, not fitting")
        << 4 << euc << QString() << u"UTF-8 のテキストとして読めないバイトがあります（1 行目、1 文字目）"_qs;
    QTest::newRow("UTF-16 LE") << 5 << QByteArray("A\0", 2) << u"A"_qs << QString();
    QTest::newRow("UTF-16 BE") << 6 << QByteArray("\0A", 2) << u"A"_qs << QString();
}

// The choice is reached by its label's access key and chosen with the arrow keys.
void TestWriteBack::openReadsTheEncodingChosenInTheDialog()
{
    QFETCH(int, downs);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(QString, refusal);

    const QString path = m_dir.filePath(u"文字コード.txt"_qs);
    writeFile(path, bytes);
    QtCommonDialog dialog;
    Window window(dialog);
    dialog.setParentWidget(&window.form);
    if (!refusal.isEmpty())
        window.messages.answer(MsgBoxAnswer::Cancel);

    DialogChoice seen;
    ModalScript script;
    script.then([&](QWidget *modal) {
        chooseInFileDialog(modal, path, Qt::Key_E, downs, QDialogButtonBox::Open, seen);
    });
    OpenMenu_Click(window.host());
    QVERIFY(!script.timedOut());
    QVERIFY(script.allStepsTaken());

    QCOMPARE(seen.label, u"文字コード(&E):"_qs);
    QCOMPARE(seen.items,
             (QStringList {u"自動判定"_qs, u"Shift-JIS"_qs, u"EUC-JP"_qs, u"JIS (ISO-2022-JP)"_qs,
                           u"UTF-8"_qs, u"UTF-16 LE"_qs, u"UTF-16 BE"_qs}));
    QCOMPARE(seen.preselected, 0);
    if (!refusal.isEmpty()) {
        QCOMPARE(window.messages.shown().size(), 1);
        QVERIFY2(window.messages.shown().first().prompt.contains(refusal),
                 qPrintable(window.messages.shown().first().prompt));
        QVERIFY(window.form.document().path().isEmpty());
        return;
    }
    QCOMPARE(window.host().Text1.text(), text);
    QCOMPARE(window.form.document().path(), QDir::toNativeSeparators(path));
    // Written back as read; UTF-16 always with its mark.
    QFile::remove(path);
    SaveMenu_Click(window.host());
    QCOMPARE(readFile(path).endsWith(bytes), true);
}

void TestWriteBack::saveAsWritesTheLineEndChosenInTheDialog_data()
{
    QTest::addColumn<int>("downs"); // key presses down the list from 変換しない
    QTest::addColumn<QString>("item");
    QTest::addColumn<QByteArray>("written");
    QTest::addColumn<QString>("enter"); // what Enter inserts afterwards

    const QByteArray mixed = "a\nb\r\nc\rd\n";
    QTest::newRow("変換しない") << 0 << u"変換しない"_qs << mixed << u"\n"_qs;
    QTest::newRow("CR+LF") << 1 << u"CR+LF (Windows)"_qs << QByteArray("a\r\nb\r\nc\r\nd\r\n") << u"\r\n"_qs;
    QTest::newRow("LF") << 2 << u"LF (Unix)"_qs << QByteArray("a\nb\nc\nd\n") << u"\n"_qs;
    QTest::newRow("CR") << 3 << u"CR"_qs << QByteArray("a\rb\rc\rd\r") << u"\r"_qs;
}

// The choice is reached by its label's access key and chosen with the arrow keys.
void TestWriteBack::saveAsWritesTheLineEndChosenInTheDialog()
{
    QFETCH(int, downs);
    QFETCH(QString, item);
    QFETCH(QByteArray, written);
    QFETCH(QString, enter);

    const QString source = m_dir.filePath(u"混在.txt"_qs);
    writeFile(source, "a\nb\r\nc\rd\n");
    QtCommonDialog dialog;
    Window window(dialog);
    dialog.setParentWidget(&window.form);
    OpenDroppedFile(window.host(), source);

    DialogChoice seen;
    ModalScript script;
    script.then([&](QWidget *modal) {
        chooseInFileDialog(modal, u"変換後%1.txt"_qs.arg(downs), Qt::Key_L, downs, QDialogButtonBox::Save,
                           seen);
    });
    SaveAsMenu_Click(window.host());
    QVERIFY(!script.timedOut());
    QVERIFY(script.allStepsTaken());

    QCOMPARE(seen.label, u"改行コード(&L):"_qs);
    QCOMPARE(seen.items, (QStringList {u"変換しない"_qs, u"CR+LF (Windows)"_qs, u"LF (Unix)"_qs, u"CR"_qs}));
    QCOMPARE(seen.preselected, 0);
    QCOMPARE(seen.chosen, item);
    const QString target = m_dir.filePath(u"変換後%1.txt"_qs.arg(downs));
    QCOMPARE(readFile(target), written);
    QCOMPARE(window.form.document().isModified(), false);
    // The text shows what the file holds, and the chosen line end is the document's from now on.
    EditControl &text1 = window.host().Text1;
    QCOMPARE(text1.text().toUtf8() + (written.endsWith("\r\n") ? "\r\n" : written.right(1)), written);
    text1.setSelStart(1);
    QTest::keyClick(window.form.text1Widget(), Qt::Key_Return);
    QCOMPARE(text1.text().mid(1, enter.size()), enter);
}

void TestWriteBack::enterAndPasteInAnLfDocument()
{
    const QString path = m_dir.filePath(u"unix.txt"_qs);
    writeFile(path, "one\ntwo\n");
    ScriptedFileDialog dialog;
    Window window(dialog);
    OpenDroppedFile(window.host(), path);
    EditControl &text1 = window.host().Text1;
    QCOMPARE(text1.text(), u"one\ntwo"_qs);

    text1.setSelStart(3);
    QTest::keyClick(window.form.text1Widget(), Qt::Key_Return);
    window.clipboard.setText(u"貼り\r\n付け\r"_qs);
    QTest::keyClick(window.form.text1Widget(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(text1.text(), u"one\n貼り\n付け\n\ntwo"_qs);
    QCOMPARE(text1.selStart(), 10);

    SaveMenu_Click(window.host());
    QByteArray expected;
    codec::cp932::encode(u"one\n貼り\n付け\n\ntwo\n"_qs, expected);
    QCOMPARE(readFile(path), expected);
}

QTEST_MAIN(TestWriteBack)
#include "tst_write_back.moc"
