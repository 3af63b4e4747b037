#pragma once
// The real main window over scripted host services, shown and active so that keys reach it.

#include "app/form1.h"

#include "tests/support/fake_host.h"

#include <Qsci/qsciscintilla.h>

#include <QTest>

namespace orvane::test {

struct Form1Fixture {
    ScriptedMessageBox messages;
    ScriptedFileDialog dialog;
    MemoryClipboard clipboard;
    UnusedTextFiles files;
    RecordingProgram program;
    Form1 form {messages, dialog, clipboard, files, program};

    bool showActive()
    {
        form.show();
        form.activateWindow();
        if (!QTest::qWaitForWindowActive(&form))
            return false;
        form.text1Widget()->setFocus();
        return form.text1Widget()->hasFocus();
    }
    EditControl &text1() { return form.host().Text1; }
};

} // namespace orvane::test
