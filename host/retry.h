#pragma once
// The Retry/Cancel protocol of the file commands: the one place that catches host errors.

#include "message_box.h"

#include <functional>

namespace orvane {

enum class StepOutcome { Done, GivenUp };

// Runs the step; when it throws, shows the error box (the description, Retry/Cancel with the stop
// icon, title "エラー") and runs it again on Retry. The dialog's cancel gives up without a message.
StepOutcome runWithRetry(MessageBox &messageBox, const std::function<void()> &step);

} // namespace orvane
