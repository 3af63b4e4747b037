#pragma once
// The Edit menu's Undo, Cut, Copy and Paste: they work on the main edit control and the clipboard
// and keep no state of their own.

#include "host/host.h"

namespace orvane {

// Asks the edit control to undo its last step; the control keeps the history.
void UndoMenu_Click(Host &host);
// Puts the selection on the clipboard and deletes it; nothing happens without a selection.
void CutMenu_Click(Host &host);
// Puts the selection on the clipboard; nothing happens without a selection.
void CopyMenu_Click(Host &host);
// Replaces the selection with the clipboard's text, which deletes it when the clipboard holds none.
void PasteMenu_Click(Host &host);

} // namespace orvane
