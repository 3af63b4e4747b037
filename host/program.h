#pragma once
// The application: its title, its end, and the wait cursor for long operations.

#include "host/progress.h"

#include <QString>

#include <functional>

namespace orvane {

inline QString appTitle() { return QStringLiteral("Orvane"); }

class Program {
public:
    virtual ~Program() = default;
    // Stops the program once the current handler returns; nothing after it runs.
    virtual void end() = 0;
    virtual void setBusy(bool busy) = 0;
    // Runs work, on a thread of its own where the host has one, showing label with a progress bar
    // and キャンセル when it takes longer than about half a second, the window painted meanwhile.
    // Whatever work throws comes out here, キャンセル as the dialog's cancel.
    virtual void runLong(const QString &label, const std::function<void(Progress &)> &work)
    {
        Q_UNUSED(label);
        SilentProgress progress;
        work(progress);
    }
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
