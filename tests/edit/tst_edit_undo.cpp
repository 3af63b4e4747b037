// Undo, and the edits of Cut and Paste undone, on the real edit control: what the user gets back
// depends on how the control groups its undo steps, which no fake can show.

#include "edit/edit_commands.h"
#include "host/qt/edit/scintilla_edit_control.h"

#include "tests/support/fake_host.h"

#include <Qsci/qsciscintilla.h>

#include <QTest>

using namespace orvane;
using namespace orvane::test;

namespace {

// The fakes of FakeHost with the real edit control in place of the in-memory one.
struct EditHost {
    EditHost()
    {
        edit.setChangeHandler([this] { document.markModified(); });
        edit.widget()->resize(441, 282);
    }
    void select(qsizetype start, qsizetype length)
    {
        edit.setSelStart(start);
        edit.setSelLength(length);
    }

    ScintillaEditControl edit;
    ScriptedFileDialog dialog;
    ScriptedMessageBox messages;
    MemoryClipboard clipboard;
    UnusedTextFiles files;
    RecordingProgram program;
    Document document;
    Host host {edit, dialog, messages, clipboard, files, program, document};
};

} // namespace

class TestEditUndo : public QObject {
    Q_OBJECT

private slots:
    void cutIsUndoneByUndo();
    void pasteOfAnEmptyClipboardDeletesTheSelectionAndUndoBringsItBack();
    void undoRevertsTheLastEditOnly();
    void undoWithNothingToUndoChangesNothing();
};

void TestEditUndo::cutIsUndoneByUndo()
{
    EditHost fake;
    fake.edit.loadText(QStringLiteral("abcdef"));
    fake.select(2, 2);

    CutMenu_Click(fake.host);
    QCOMPARE(fake.edit.text(), QStringLiteral("abef"));
    UndoMenu_Click(fake.host);

    QCOMPARE(fake.edit.text(), QStringLiteral("abcdef"));
    QCOMPARE(fake.clipboard.getText(), QStringLiteral("cd"));
}

void TestEditUndo::pasteOfAnEmptyClipboardDeletesTheSelectionAndUndoBringsItBack()
{
    EditHost fake;
    fake.edit.loadText(QStringLiteral("消える文字"));
    fake.document.setCurrentFile(fake.document.file());
    fake.select(0, 3);

    PasteMenu_Click(fake.host);
    QCOMPARE(fake.edit.text(), QStringLiteral("文字"));
    QCOMPARE(fake.document.isModified(), true);

    UndoMenu_Click(fake.host);
    QCOMPARE(fake.edit.text(), QStringLiteral("消える文字"));
}

void TestEditUndo::undoRevertsTheLastEditOnly()
{
    EditHost fake;
    fake.edit.loadText(QStringLiteral("a"));
    fake.select(1, 0);
    // Two separate edits: characters typed in a row are one undo step in this control.
    fake.clipboard.setText(QStringLiteral("b"));
    PasteMenu_Click(fake.host);
    fake.clipboard.setText(QStringLiteral("c"));
    PasteMenu_Click(fake.host);

    UndoMenu_Click(fake.host);
    QCOMPARE(fake.edit.text(), QStringLiteral("ab"));
    UndoMenu_Click(fake.host);
    QCOMPARE(fake.edit.text(), QStringLiteral("a"));
}

void TestEditUndo::undoWithNothingToUndoChangesNothing()
{
    EditHost fake;
    fake.edit.loadText(QStringLiteral("読み込んだ"));
    fake.document.setCurrentFile(fake.document.file());

    UndoMenu_Click(fake.host);

    QCOMPARE(fake.edit.text(), QStringLiteral("読み込んだ"));
    QCOMPARE(fake.document.isModified(), false);
}

QTEST_MAIN(TestEditUndo)
#include "tst_edit_undo.moc"
