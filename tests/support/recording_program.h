#pragma once
// A program that records whether end() was called and balances the wait cursor.

#include "host/program.h"

namespace orvane::test {

class RecordingProgram final : public Program {
public:
    void end() override { ++m_ends; }
    void setBusy(bool busy) override { m_busyDepth += busy ? 1 : -1; }

    bool hasEnded() const { return m_ends > 0; }
    int busyDepth() const { return m_busyDepth; }

private:
    int m_ends = 0;
    int m_busyDepth = 0;
};

} // namespace orvane::test
