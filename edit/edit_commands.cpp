#include "edit_commands.h"

namespace orvane {

void UndoMenu_Click(Host &host) { host.Text1.undo(); }

void CutMenu_Click(Host &host)
{
    if (host.Text1.selLength() <= 0)
        return;
    host.clipboard.setText(host.Text1.selText());
    host.Text1.setSelText(QString());
}

void CopyMenu_Click(Host &host)
{
    if (host.Text1.selLength() <= 0)
        return;
    host.clipboard.setText(host.Text1.selText());
}

void PasteMenu_Click(Host &host)
{
    // No test for an empty clipboard: pasting nothing deletes the selection, and Undo brings it back.
    // Pasted line ends become the document's own.
    host.Text1.setSelText(
        codec::withLineEnds(host.clipboard.getText(), host.document.file().lineEnds.document));
}

} // namespace orvane
