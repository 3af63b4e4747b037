#include "qt_program.h"

#include "ui/progress_dialog_runner.h"

#include <QApplication>
#include <QCursor>

namespace orvane {

void QtProgram::end()
{
    m_ended = true;
    // Queued, so the handler that called it returns first and the window can still close cleanly.
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

void QtProgram::setBusy(bool busy)
{
    if (busy) {
        if (m_busyDepth++ == 0)
            QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (m_busyDepth > 0 && --m_busyDepth == 0) {
        QApplication::restoreOverrideCursor();
    }
}

void QtProgram::runLong(const QString &label, const std::function<void(Progress &)> &work)
{
    runWithProgressDialog(label, work);
}

} // namespace orvane
