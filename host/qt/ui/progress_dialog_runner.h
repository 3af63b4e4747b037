#pragma once
// Long work on a thread of its own while the UI thread keeps the windows painted and, after half a
// second, shows a QProgressDialog whose キャンセル reaches the work's next step.

#include "host/progress.h"

#include <QString>

#include <functional>

namespace orvane {

// Runs work to its end and rethrows whatever it threw. Until the dialog shows, input to the
// windows waits (it is delivered afterwards), so nothing changes the document under the work.
void runWithProgressDialog(const QString &label, const std::function<void(Progress &)> &work);

} // namespace orvane
