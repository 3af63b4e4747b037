#pragma once
// A program that records whether end() was called, balances the wait cursor, and runs long work
// in place, pressing キャンセル at a chosen progress step.

#include "host/program.h"

#include <QScopeGuard>

namespace orvane::test {

class RecordingProgram final : public Program {
public:
    void end() override { ++m_ends; }
    void setBusy(bool busy) override { m_busyDepth += busy ? 1 : -1; }
    void runLong(const QString &, const std::function<void(Progress &)> &work) override
    {
        CancellingProgress progress(cancelAtStep);
        const auto counted = qScopeGuard([&] { steps = progress.steps; });
        work(progress);
    }

    // The step (counted from 1) at which the user cancels; 0 for never. steps: how many the last
    // work reported.
    int cancelAtStep = 0;
    int steps = 0;

    bool hasEnded() const { return m_ends > 0; }
    int busyDepth() const { return m_busyDepth; }

private:
    struct CancellingProgress final : Progress {
        explicit CancellingProgress(int at)
            : cancelAt(at)
        {
        }
        void setTotal(qint64) override { }
        void step(qint64) override
        {
            if (++steps == cancelAt)
                throwCancelled();
        }
        int cancelAt;
        int steps = 0;
    };

    int m_ends = 0;
    int m_busyDepth = 0;
};

} // namespace orvane::test
