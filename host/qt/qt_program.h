#pragma once
// The application adapter: ends the event loop, shows the wait cursor and the progress of long work.

#include "host/program.h"

namespace orvane {

class QtProgram final : public Program {
public:
    void end() override;
    void setBusy(bool busy) override;
    // On a thread of its own, with a QProgressDialog after half a second.
    void runLong(const QString &label, const std::function<void(Progress &)> &work) override;
    bool hasEnded() const { return m_ended; }

private:
    bool m_ended = false;
    int m_busyDepth = 0;
};

} // namespace orvane
