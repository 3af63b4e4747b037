#include "files/file_commands.h"

#include "files/file_texts.h"
#include "host/retry.h"

#include <QDir>
#include <QStringList>

#include <algorithm>
#include <iterator>

namespace orvane {

namespace {

constexpr int kOpenFlags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY; // 4100
constexpr int kSaveFlags = OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT; // 2054
static_assert(kOpenFlags == 4100 && kSaveFlags == 2054);

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

// Shows a dialog with the document's path as its initial file name. The filter and extension are
// set here as well as at load, so that the commands do not depend on who set up the dialog.
bool showDialog(Host &host, int flags, void (CommonDialog::*show)(), const QString &filter, int filterIndex)
{
    CommonDialog &dialog = host.CommonDialog1;
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

// Writes the document to path; clears Modified only when the file was written.
void writeDocument(Host &host, const QString &path)
{
    QString text;
    {
        BusyScope busy(host.program);
        text = host.Text1.text();
    }
    const StepOutcome outcome = runWithRetry(host.messageBox, [&] {
        BusyScope busy(host.program);
        host.textFiles.writeText(path, text, host.document.encoding);
    });
    if (outcome == StepOutcome::Done)
        host.document.Modified = false;
}

// The chosen file type becomes the document's encoding. A Save As that fails after its dialog
// keeps the newly chosen name and encoding.
void saveAs(Host &host)
{
    CommonDialog &dialog = host.CommonDialog1;
    if (!showDialog(host, kSaveFlags, &CommonDialog::ShowSave, saveFilter(),
                    filterIndexOf(host.document.encoding)))
        return;
    host.document.encoding = encodingOfFilter(dialog.FilterIndex, host.document.encoding);
    writeDocument(host, dialog.FileName);
}

void save(Host &host)
{
    if (host.CommonDialog1.FileName.isEmpty())
        saveAs(host);
    else
        writeDocument(host, host.CommonDialog1.FileName);
}

// The save prompt before discarding a modified document. True when the command may go on: the
// user answered No, or Yes and the save completed.
bool mayDiscard(Host &host, void (*saveStep)(Host &))
{
    if (!host.document.Modified)
        return true;
    switch (askToSave(host)) {
    case MsgBoxAnswer::Yes:
        saveStep(host);
        return !host.document.Modified;
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
    host.CommonDialog1.FileName.clear();
    host.Text1.loadText(QString());
    host.document.Modified = false;
    host.document.encoding = TextEncoding::ShiftJis;
}

// Touches neither the text, the path nor Modified until the whole file has been read.
void openDocument(Host &host, const QString &path)
{
    CommonDialog &dialog = host.CommonDialog1;
    const QString previousPath = dialog.FileName;
    dialog.FileName = path;

    LoadedText loaded;
    const StepOutcome outcome = runWithRetry(host.messageBox, [&] {
        BusyScope busy(host.program);
        loaded = host.textFiles.readText(path);
    });
    if (outcome == StepOutcome::GivenUp) {
        dialog.FileName = previousPath;
        return;
    }
    if (loaded.alsoShiftJis) {
        const MsgBoxAnswer answer
            = host.messageBox.msgBox(file_texts::utf8OrShiftJis(QDir::toNativeSeparators(path)),
                                     YesNoCancel + Exclamation, appTitle());
        if (answer == MsgBoxAnswer::No) {
            loaded.encoding = TextEncoding::ShiftJis;
        } else if (answer != MsgBoxAnswer::Yes) {
            dialog.FileName = previousPath;
            return;
        }
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
    host.document.Modified = false;
    host.document.encoding = loaded.encoding;
}

void OpenMenu_Click(Host &host)
{
    if (!mayDiscard(host, save))
        return;

    CommonDialog &dialog = host.CommonDialog1;
    const QString previousPath = dialog.FileName;
    if (!showDialog(host, kOpenFlags, &CommonDialog::ShowOpen, file_texts::fileFilter(), 1)) {
        dialog.FileName = previousPath;
        return;
    }
    const QString path = dialog.FileName;
    dialog.FileName = previousPath;
    openDocument(host, path);
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
