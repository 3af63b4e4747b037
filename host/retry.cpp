#include "retry.h"

#include "host_error.h"

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
                = messageBox.msgBox(error.description(), RetryCancel + Critical, QStringLiteral("エラー"));
            if (answer != MsgBoxAnswer::Retry)
                return StepOutcome::GivenUp;
        }
    }
}

} // namespace orvane
