#pragma once
// What long work (an Open, a Save, a whole-text conversion) reports as it goes, and how the user's
// キャンセル reaches it: the next report after it throws the dialog's cancel.

#include "host/host_error.h"

#include <QtGlobal>

namespace orvane {

class Progress {
public:
    virtual ~Progress() = default;
    // How much there is to do, in any unit; called from the working thread.
    virtual void setTotal(qint64 total) = 0;
    // How much is done; throws HostError(DialogCancelled) once the user has cancelled. The work
    // calls it between its steps, never holding something half changed.
    virtual void step(qint64 done) = 0;
};

// Progress nobody sees or cancels: work run where there is no window.
class SilentProgress final : public Progress {
public:
    void setTotal(qint64) override { }
    void step(qint64) override { }
};

[[noreturn]] inline void throwCancelled() { throw HostError(ErrorNumber::DialogCancelled, QString()); }

} // namespace orvane
