#pragma once
// Every host service as a fake, wired like the main window: a change of the text sets Modified.
// Tests that read or write files pass in the text files to use.

#include "fake_edit_control.h"
#include "memory_clipboard.h"
#include "recording_program.h"
#include "scripted_file_dialog.h"
#include "scripted_message_box.h"

#include "host/host.h"

#include <stdexcept>

namespace orvane::test {

// Text files for tests that must not touch any: every call fails the test.
class UnusedTextFiles final : public TextFiles {
public:
    LoadedText readText(const QString &, std::optional<codec::TextEncoding>) override
    {
        throw std::logic_error("unexpected file read");
    }
    void writeText(const QString &, const QString &, codec::TextEncoding, const WriteOptions &) override
    {
        throw std::logic_error("unexpected file write");
    }
};

struct FakeHost {
    FakeHost()
        : FakeHost(unusedFiles)
    {
    }
    explicit FakeHost(TextFiles &files)
        : textFiles(files)
    {
        dialog.CancelError = true;
        edit.setChangeHandler([this] { document.markModified(); });
    }

    FakeEditControl edit;
    ScriptedFileDialog dialog;
    ScriptedMessageBox messages;
    MemoryClipboard clipboard;
    RecordingProgram program;
    Document document;
    UnusedTextFiles unusedFiles;
    TextFiles &textFiles;
    Host host {edit, dialog, messages, clipboard, textFiles, program, document};
};

// The text shown as a saved document (Modified clear) with [start, start + length) selected, in a
// fake host (anything with a FakeEditControl `edit` and a Document `document`).
template <typename Fake>
void showSaved(Fake &fake, const QString &text, qsizetype start = 0, qsizetype length = 0)
{
    fake.edit.loadText(text);
    fake.document.setCurrentFile(fake.document.file());
    fake.edit.select(start, length);
}

} // namespace orvane::test
