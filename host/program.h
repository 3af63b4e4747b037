#pragma once
// The application: its title, its end, and the wait cursor for long operations.

#include <QString>

namespace orvane {

inline QString appTitle() { return QStringLiteral("Orvane"); }

class Program {
public:
    virtual ~Program() = default;
    // Stops the program once the current handler returns; nothing after it runs.
    virtual void end() = 0;
    virtual void setBusy(bool busy) = 0;
};

// Shows the wait cursor for as long as it lives.
class BusyScope {
public:
    explicit BusyScope(Program &program)
        : m_program(program)
    {
        m_program.setBusy(true);
    }
    ~BusyScope() { m_program.setBusy(false); }
    BusyScope(const BusyScope &) = delete;
    BusyScope &operator=(const BusyScope &) = delete;

private:
    Program &m_program;
};

} // namespace orvane
