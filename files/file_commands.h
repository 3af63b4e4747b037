#pragma once
// The five commands of the file menu: New, Open, Save, Save As and Exit, with their save prompt
// and the Retry/Cancel error protocol. They keep no state; the document is the Host's.

#include "host/host.h"

namespace orvane {

void NewMenu_Click(Host &host);
void OpenMenu_Click(Host &host);
void SaveMenu_Click(Host &host);
void SaveAsMenu_Click(Host &host);
// Calls host.program.end() exactly when the program should stop, and returns; the main window's
// close event runs this too and closes only when end() was called.
void ExitMenu_Click(Host &host);

} // namespace orvane
