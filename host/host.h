#pragma once
// What a command works on: the host services and the document state of the main window.

#include "clipboard.h"
#include "common_dialog.h"
#include "document.h"
#include "edit_control.h"
#include "message_box.h"
#include "program.h"
#include "text_files.h"

#include "text/codec/text_encoding.h"

namespace orvane {

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
