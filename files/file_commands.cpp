#include "files/file_commands.h"

#include "files/file_texts.h"
#include "host/retry.h"

#include <QDir>
#include <QStringList>

#include <algorithm>
#include <iterator>

namespace orvane {

namespace {

constexpr int openFlags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY; // 4100
constexpr int saveFlags = OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT; // 2054
static_assert(openFlags == 4100 && saveFlags == 2054);

MsgBoxAnswer askToSave(Host &host)
{
    return host.messageBox.msgBox(file_texts::savePrompt(), YesNoCancel + Exclamation, appTitle());
}

// Save As's file types, one per encoding in the order of allTextEncodings.
QString saveFilter()
{
    QStringList parts;
    for (TextEncoding encoding : allTextEncodings)
        parts << file_texts::fileTypeName(encoding) << QStringLiteral("*.txt");
    return parts.join(u'|');
}

int filterIndexOf(TextEncoding encoding)
{
    return int(std::find(std::begin(allTextEncodings), std::end(allTextEncodings), encoding)
               - std::begin(allTextEncodings))
        + 1;
}

// The encoding of a chosen file type; a dialog that reports none keeps the current one.
TextEncoding encodingOfFilter(int filterIndex, TextEncoding current)
{
    if (filterIndex < 1 || filterIndex > int(std::size(allTextEncodings)))
        return current;
    return allTextEncodings[filterIndex - 1];
}

// Shows a dialog with the document's path as its initial file name; true when the user chose a
// file, which is then in the dialog's FileName. The filter and extension are set here as well as
// at load, so that the commands do not depend on who set up the dialog.
bool showDialog(Host &host, int flags, void (CommonDialog::*show)(), const QString &filter, int filterIndex)
{
    CommonDialog &dialog = host.CommonDialog1;
    dialog.FileName = host.document.path();
    dialog.Filter = filter;
    dialog.FilterIndex = filterIndex;
    dialog.DefaultExt = file_texts::defaultExt();
    return runWithRetry(host.messageBox,
                        [&] {
                            dialog.Flags = flags;
                            (dialog.*show)();
                        })
        == StepOutcome::Done;
}

// Writes the text as file. True when the document is now safe there: file becomes its identity
// and Modified is cleared; otherwise the document is left as it was.
bool writeDocument(Host &host, const FileIdentity &file)
{
    QString text;
    {
        BusyScope busy(host.program);
        text = host.Text1.text();
    }
    const StepOutcome outcome = runWithRetry(host.messageBox, [&] {
        BusyScope busy(host.program);
        host.textFiles.writeText(file.path, text, file.encoding);
    });
    if (outcome != StepOutcome::Done)
        return false;
    host.document.setCurrentFile(file);
    return true;
}

// The chosen file type becomes the document's encoding. A Save As that fails after its dialog
// keeps the newly chosen name and encoding. True when the document is now safe on disk.
bool saveAs(Host &host)
{
    CommonDialog &dialog = host.CommonDialog1;
    if (!showDialog(host, saveFlags, &CommonDialog::ShowSave, saveFilter(),
                    filterIndexOf(host.document.encoding())))
        return false;
    // Whatever else the identity holds stays as it was: only the name and the encoding are chosen.
    FileIdentity chosen = host.document.file();
    chosen.path = dialog.FileName;
    chosen.encoding = encodingOfFilter(dialog.FilterIndex, chosen.encoding);
    if (writeDocument(host, chosen))
        return true;
    host.document.retarget(chosen);
    return false;
}

// True when the document is now safe on disk.
bool save(Host &host)
{
    if (host.document.path().isEmpty())
        return saveAs(host);
    return writeDocument(host, host.document.file());
}

// The save prompt before discarding a modified document. True when the command may go on: the
// user answered No, or Yes and the save completed.
bool mayDiscard(Host &host, bool (*saveStep)(Host &))
{
    if (!host.document.Modified)
        return true;
    switch (askToSave(host)) {
    case MsgBoxAnswer::Yes:
        return saveStep(host);
    case MsgBoxAnswer::No:
        return true;
    default:
        return false;
    }
}

} // namespace

void NewMenu_Click(Host &host)
{
    if (!mayDiscard(host, saveAs))
        return;
    host.Text1.loadText(QString());
    host.document.setCurrentFile(FileIdentity {});
}

// Touches neither the text nor the document until the whole file has been read.
void openDocument(Host &host, const QString &path)
{
    LoadedText loaded;
    const StepOutcome outcome = runWithRetry(host.messageBox, [&] {
        BusyScope busy(host.program);
        loaded = host.textFiles.readText(path);
    });
    if (outcome == StepOutcome::GivenUp)
        return;
    if (loaded.alsoShiftJis) {
        const MsgBoxAnswer answer
            = host.messageBox.msgBox(file_texts::utf8OrShiftJis(QDir::toNativeSeparators(path)),
                                     YesNoCancel + Exclamation, appTitle());
        if (answer == MsgBoxAnswer::No)
            loaded.encoding = TextEncoding::ShiftJis;
        else if (answer != MsgBoxAnswer::Yes)
            return;
    }

    {
        BusyScope busy(host.program);
        if (loaded.isUtf8())
            host.Text1.loadUtf8(loaded.utf8, loaded.utf8Units);
        else
            host.Text1.loadText(loaded.text);
        loaded.text = QString();
        loaded.utf8 = QByteArray();
    }
    host.document.setCurrentFile(FileIdentity {path, loaded.encoding});
}

void OpenMenu_Click(Host &host)
{
    if (!mayDiscard(host, save))
        return;
    if (showDialog(host, openFlags, &CommonDialog::ShowOpen, file_texts::fileFilter(), 1))
        openDocument(host, host.CommonDialog1.FileName);
}

void OpenDroppedFile(Host &host, const QString &path)
{
    if (mayDiscard(host, save))
        openDocument(host, path);
}

void SaveMenu_Click(Host &host) { save(host); }

void SaveAsMenu_Click(Host &host) { saveAs(host); }

// Yes always shows the Save As dialog, also for a document that has a path.
void ExitMenu_Click(Host &host)
{
    if (mayDiscard(host, saveAs))
        host.program.end();
}

} // namespace orvane
