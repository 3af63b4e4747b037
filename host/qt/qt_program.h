#pragma once
// The application adapter: ends the event loop and shows the wait cursor.

#include "host/program.h"

namespace orvane {

class QtProgram final : public Program {
public:
    void end() override;
    void setBusy(bool busy) override;
    bool hasEnded() const { return m_ended; }

private:
    bool m_ended = false;
    int m_busyDepth = 0;
};

} // namespace orvane
