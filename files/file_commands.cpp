#include "files/file_commands.h"

#include "files/file_texts.h"
#include "host/retry.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <iterator>
#include <memory>
#include <utility>

namespace orvane {

namespace {

constexpr int openFlags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY; // 4100
constexpr int saveFlags = OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT; // 2054
static_assert(openFlags == 4100 && saveFlags == 2054);

QString fileName(const QString &path) { return QFileInfo(path).fileName(); }

MsgBoxAnswer askToSave(Host &host)
{
    return host.messageBox.msgBox(file_texts::savePrompt(), YesNoCancel + Exclamation, appTitle());
}

// Save As's file types, one per encoding in the order of allTextEncodings.
QString saveFilter()
{
    QStringList parts;
    for (codec::TextEncoding encoding : codec::allTextEncodings)
        parts << file_texts::fileTypeName(encoding) << QStringLiteral("*.txt");
    return parts.join(u'|');
}

int filterIndexOf(codec::TextEncoding encoding)
{
    return int(std::find(std::begin(codec::allTextEncodings), std::end(codec::allTextEncodings), encoding)
               - std::begin(codec::allTextEncodings))
        + 1;
}

// The encoding of a chosen file type; a dialog that reports none keeps the current one.
codec::TextEncoding encodingOfFilter(int filterIndex, codec::TextEncoding current)
{
    if (filterIndex < 1 || filterIndex > int(std::size(codec::allTextEncodings)))
        return current;
    return codec::allTextEncodings[filterIndex - 1];
}

// Save As's line-end choice: the first item keeps each line's own, the others follow allLineEnds.
QStringList lineEndChoices()
{
    QStringList choices {file_texts::keepLineEnds()};
    for (codec::LineEnd lineEnd : codec::allLineEnds)
        choices << file_texts::lineEndName(lineEnd);
    return choices;
}

// Open's encoding choice: the first item lets the bytes decide.
constexpr codec::TextEncoding openEncodings[]
    = {codec::TextEncoding::ShiftJis, codec::TextEncoding::EucJp,   codec::TextEncoding::Iso2022Jp,
       codec::TextEncoding::Utf8,     codec::TextEncoding::Utf16Le, codec::TextEncoding::Utf16Be};

QStringList encodingChoices()
{
    QStringList choices {file_texts::detectEncoding()};
    for (codec::TextEncoding encoding : openEncodings)
        choices << file_texts::encodingChoiceName(encoding);
    return choices;
}

std::optional<codec::TextEncoding> encodingOfChoice(int choiceIndex)
{
    if (choiceIndex < 1 || choiceIndex > int(std::size(openEncodings)))
        return std::nullopt;
    return openEncodings[choiceIndex - 1];
}

std::optional<codec::LineEnd> lineEndOfChoice(int choiceIndex)
{
    if (choiceIndex < 1 || choiceIndex > int(std::size(codec::allLineEnds)))
        return std::nullopt;
    return codec::allLineEnds[choiceIndex - 1];
}

// Shows a dialog with the document's path as its initial file name; true when the user chose a
// file, which is then in the dialog's FileName. The filter and extension are set here as well as
// at load, so that the commands do not depend on who set up the dialog.
bool showDialog(Host &host, int flags, void (CommonDialog::*show)(), const QString &filter, int filterIndex,
                const QStringList &choices = {}, const QString &choiceLabel = file_texts::lineEndLabel())
{
    CommonDialog &dialog = host.CommonDialog1;
    dialog.FileName = host.document.path();
    dialog.Filter = filter;
    dialog.FilterIndex = filterIndex;
    dialog.ChoiceLabel = choices.isEmpty() ? QString() : choiceLabel;
    dialog.Choices = choices;
    dialog.ChoiceIndex = 0;
    dialog.DefaultExt = file_texts::defaultExt();
    return runWithRetry(host.messageBox,
                        [&] {
                            dialog.Flags = flags;
                            (dialog.*show)();
                        })
        == StepOutcome::Done;
}

// Writes the text as file, every line end as lineEnd when one is given. True when the document is
// now safe there: file becomes its identity (a conversion of the line ends included, the text then
// showing what the file holds) and Modified is cleared; otherwise the document is left as it was.
bool writeDocument(Host &host, FileIdentity file, std::optional<codec::LineEnd> lineEnd = std::nullopt)
{
    if (lineEnd) {
        file.lineEnds.document = *lineEnd;
        if (file.lineEnds.last)
            file.lineEnds.last = *lineEnd;
    }
    bool converted = false;
    const StepOutcome outcome = runWithRetry(host.messageBox, [&] {
        BusyScope busy(host.program);
        // Taken here on the control's thread; the progress dialog is modal, so the text stays as it
        // is while the work reads it in place.
        const std::unique_ptr<TextBlocks> blocks = host.Text1.readBlocks();
        host.program.runLong(file_texts::saving(fileName(file.path)), [&](Progress &progress) {
            converted = host.textFiles.saveText(file.path, *blocks, file.encoding,
                                                {file.lineEnds.last, &file.codes, lineEnd}, progress);
        });
    });
    if (outcome != StepOutcome::Done)
        return false;
    file.read.reset();
    host.Text1.setLineEnd(file.lineEnds.document);
    if (converted) {
        BusyScope busy(host.program);
        host.Text1.setText(codec::withLineEnds(host.Text1.text(), *lineEnd));
    }
    // The journal copies the file just written from the disk, off the UI thread, rather than hold
    // a second copy of the text.
    host.document.setCurrentFile(file, FileContent {{}, {}, true});
    return true;
}

// The file just written, for the next check.
void noteWritten(Host &host) { host.document.setOnDisk(host.textFiles.stampOf(host.document.path(), false)); }

// The chosen file type becomes the document's encoding. A Save As that fails after its dialog
// keeps the newly chosen name and encoding. True when the document is now safe on disk.
bool saveAs(Host &host)
{
    CommonDialog &dialog = host.CommonDialog1;
    if (!showDialog(host, saveFlags, &CommonDialog::ShowSave, saveFilter(),
                    filterIndexOf(host.document.encoding()), lineEndChoices()))
        return false;
    // Whatever else the identity holds stays as it was: only the name, the encoding and perhaps the
    // line ends are chosen.
    FileIdentity chosen = host.document.file();
    chosen.path = dialog.FileName;
    chosen.encoding = encodingOfFilter(dialog.FilterIndex, chosen.encoding);
    // A file's own codes are codes of its encoding: in another they would name other characters.
    if (chosen.encoding != host.document.encoding())
        chosen.codes = codec::cp932::FileCodes();
    if (writeDocument(host, chosen, lineEndOfChoice(dialog.ChoiceIndex))) {
        noteWritten(host);
        return true;
    }
    host.document.retarget(chosen);
    return false;
}

// Whether the document's file on disk is another than the one read or last saved: size and time
// first, the hash of the bytes when only those differ.
bool changedOnDisk(Host &host, const std::optional<FileStamp> &known, std::optional<FileStamp> *now = nullptr)
{
    if (!known || host.document.path().isEmpty())
        return false;
    std::optional<FileStamp> stamp = host.textFiles.stampOf(host.document.path(), false);
    if (now)
        *now = stamp;
    if (!stamp || stamp->sameStat(*known))
        return false;
    if (stamp->size != known->size || !known->hash)
        return true;
    stamp = host.textFiles.stampOf(host.document.path(), true);
    if (now)
        *now = stamp;
    return !stamp || stamp->hash != known->hash;
}

// True when the document is now safe on disk.
bool save(Host &host)
{
    if (host.document.path().isEmpty())
        return saveAs(host);
    if (changedOnDisk(host, host.document.onDisk())
        && host.messageBox.msgBox(file_texts::overwriteChanged(), YesNo + Exclamation, appTitle())
            != MsgBoxAnswer::Yes)
        return false;
    if (!writeDocument(host, host.document.file()))
        return false;
    noteWritten(host);
    return true;
}

// The save prompt before discarding a modified document. True when the command may go on: the
// user answered No, or Yes and the save completed.
bool mayDiscard(Host &host, bool (*saveStep)(Host &))
{
    if (!host.document.isModified())
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
    host.Text1.setLineEnd(codec::LineEnd::CrLf);
    host.document.setCurrentFile(FileIdentity {});
}

// Touches neither the text nor the document until the whole file has been read: the text goes
// into a load beside the current one, which キャンセル or a failure simply drops. chosen: the encoding
// the user chose at Open, read whole instead of streamed.
void openDocument(Host &host, const QString &path, std::optional<codec::TextEncoding> chosen)
{
    LoadedText loaded;
    std::unique_ptr<TextLoad> load;
    const StepOutcome outcome = runWithRetry(host.messageBox, [&] {
        BusyScope busy(host.program);
        load = host.Text1.beginLoad();
        host.program.runLong(file_texts::opening(fileName(path)), [&](Progress &progress) {
            loaded = chosen ? host.textFiles.readText(path, chosen)
                            : host.textFiles.streamText(path, *load, progress);
        });
    });
    if (outcome == StepOutcome::GivenUp)
        return;
    if (!loaded.streamed)
        load.reset();
    if (loaded.alsoShiftJis()) {
        const MsgBoxAnswer answer
            = host.messageBox.msgBox(file_texts::utf8OrShiftJis(QDir::toNativeSeparators(path)),
                                     YesNoCancel + Exclamation, appTitle());
        if (answer != MsgBoxAnswer::Yes && answer != MsgBoxAnswer::No)
            return;
        loaded.choose(answer == MsgBoxAnswer::No ? codec::TextEncoding::ShiftJis : codec::TextEncoding::Utf8);
    }

    {
        BusyScope busy(host.program);
        if (load)
            host.Text1.finishLoad(std::move(load), loaded.utf8Units);
        else if (loaded.isUtf16())
            host.Text1.loadText(loaded.text);
        else
            host.Text1.loadUtf8(loaded.utf8, loaded.utf8Units);
        host.Text1.setLineEnd(loaded.lineEnds.document);
    }
    // The bytes read go to the journal as they are, shared, not copied.
    const FileContent content {loaded.isUtf16() ? QByteArray() : std::exchange(loaded.utf8, {}),
                               loaded.isUtf16() ? std::exchange(loaded.text, {}) : QString(), false};
    loaded.text = QString();
    host.document.setCurrentFile(
        FileIdentity {path, loaded.encoding, loaded.lineEnds, std::move(loaded.codes), loaded.stamp},
        content);
    host.document.setOnDisk(loaded.stamp);
}

void OpenMenu_Click(Host &host)
{
    if (!mayDiscard(host, save))
        return;
    if (showDialog(host, openFlags, &CommonDialog::ShowOpen, file_texts::fileFilter(), 1, encodingChoices(),
                   file_texts::encodingLabel()))
        openDocument(host, host.CommonDialog1.FileName, encodingOfChoice(host.CommonDialog1.ChoiceIndex));
}

void OpenDroppedFile(Host &host, const QString &path)
{
    if (mayDiscard(host, save))
        openDocument(host, path);
}

void SaveMenu_Click(Host &host) { save(host); }

void SaveAsMenu_Click(Host &host) { saveAs(host); }

void checkChangedOnDisk(Host &host)
{
    std::optional<FileStamp> now;
    const std::optional<FileStamp> known
        = host.document.toldOnDisk() ? host.document.toldOnDisk() : host.document.onDisk();
    if (!changedOnDisk(host, known, &now) || !now)
        return;
    const QString path = host.document.path();
    // Told once for this version of the file; a save still checks against the one read or saved.
    host.document.setToldOnDisk(now);
    if (host.document.isModified()) {
        host.messageBox.msgBox(file_texts::changedWhileEdited(QDir::toNativeSeparators(path)),
                               OkOnly + Exclamation, appTitle());
        return;
    }
    if (host.messageBox.msgBox(file_texts::reloadChanged(QDir::toNativeSeparators(path)), YesNo + Exclamation,
                               appTitle())
        == MsgBoxAnswer::Yes)
        openDocument(host, path);
}

// Yes always shows the Save As dialog, also for a document that has a path.
void ExitMenu_Click(Host &host)
{
    if (mayDiscard(host, saveAs))
        host.program.end();
}

} // namespace orvane
