#pragma once
// The five commands of the file menu: New, Open, Save, Save As and Exit, with their save prompt
// and the Retry/Cancel error protocol. They keep no state; the document is the Host's.

#include "host/host.h"

#include <optional>

namespace orvane {

void NewMenu_Click(Host &host);
void OpenMenu_Click(Host &host);
// Open's read path without its dialog: reads path (in the chosen encoding, else the one its bytes
// suggest) and makes it the document, or leaves the document as it was when the file cannot be
// read or the user gives up.
void openDocument(Host &host, const QString &path, std::optional<codec::TextEncoding> chosen = std::nullopt);
// A file dropped on the window: the save prompt when Modified, then openDocument.
void OpenDroppedFile(Host &host, const QString &path);
void SaveMenu_Click(Host &host);
void SaveAsMenu_Click(Host &host);
// The window is active again: when another program changed the document's file since it was read
// or saved (and since this was last asked), offers to read it again if there are no unsaved
// edits, else says so once and leaves the text alone.
void checkChangedOnDisk(Host &host);
// Calls host.program.end() exactly when the program should stop, and returns; the main window's
// close event runs this too and closes only when end() was called.
void ExitMenu_Click(Host &host);

} // namespace orvane
