#include "retry.h"

#include "host_error.h"
#include "host_texts.h"

#include <new>

namespace orvane {

StepOutcome runWithRetry(MessageBox &messageBox, const std::function<void()> &step)
{
    for (;;) {
        try {
            step();
            return StepOutcome::Done;
        } catch (const HostError &error) {
            if (error.number() == ErrorNumber::DialogCancelled)
                return StepOutcome::GivenUp;
            const MsgBoxAnswer answer
                = messageBox.msgBox(error.description(), RetryCancel + Critical, host_texts::errorTitle());
            if (answer != MsgBoxAnswer::Retry)
                return StepOutcome::GivenUp;
        }
    }
}

void runCommand(MessageBox &messageBox, const std::function<void()> &command)
{
    try {
        command();
    } catch (const HostError &error) {
        if (error.number() != ErrorNumber::DialogCancelled)
            messageBox.msgBox(error.description(), Critical, host_texts::errorTitle());
    } catch (const std::bad_alloc &) {
        messageBox.msgBox(host_texts::outOfMemory(), Critical, host_texts::errorTitle());
    } catch (const std::exception &) {
        messageBox.msgBox(host_texts::unexpectedError(), Critical, host_texts::errorTitle());
    }
}

} // namespace orvane
