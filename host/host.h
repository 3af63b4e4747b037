#pragma once
// What a command works on: the host services and the document state of the main window.

#include "clipboard.h"
#include "common_dialog.h"
#include "edit_control.h"
#include "message_box.h"
#include "program.h"
#include "text_files.h"

#include "text/codec/text_encoding.h"

namespace orvane {

// The main window's document state; the edit control's change notification sets Modified.
struct Document {
    bool Modified = false;
    // What Save writes; Open sets it from the file, Save As from the chosen file type.
    TextEncoding encoding = TextEncoding::ShiftJis;
};

struct Host {
    EditControl &Text1;
    CommonDialog &CommonDialog1;
    MessageBox &messageBox;
    Clipboard &clipboard;
    TextFiles &textFiles;
    Program &program;
    Document &document;
};

} // namespace orvane
