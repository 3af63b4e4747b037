#pragma once
// How the editor's commands meet failures: the Retry/Cancel protocol around each host step, and
// the error box for whatever a whole command leaves uncaught. The commands catch host errors only
// here; recovery at start-up, which asks the user nothing, takes an unreadable file as nothing to
// recover.

#include "message_box.h"

#include <functional>

namespace orvane {

enum class StepOutcome { Done, GivenUp };

// Runs the step; when it throws, shows the error box (the description, Retry/Cancel with the stop
// icon, title "エラー") and runs it again on Retry. The dialog's cancel gives up without a message.
StepOutcome runWithRetry(MessageBox &messageBox, const std::function<void()> &step);

// Runs a whole command. A host error no step took up shows its description, running out of memory
// and any other failure a fixed text, each in an OK box with the stop icon; the dialog's cancel
// shows nothing.
void runCommand(MessageBox &messageBox, const std::function<void()> &command);

} // namespace orvane
