#include "progress_dialog_runner.h"

#include "ui_texts.h"

#include <QApplication>
#include <QProgressDialog>
#include <QTimer>

#include <atomic>
#include <exception>
#include <thread>

namespace orvane {

namespace {

constexpr int kShowAfterMs = 500;
constexpr int kSteps = 1000;

// Progress shared between the working thread, which reports, and the UI thread, which shows it
// and cancels. Owns only atomics.
class SharedProgress final : public Progress {
public:
    void setTotal(qint64 total) override { m_total = total; }
    void step(qint64 done) override
    {
        m_done = done;
        if (m_cancelled)
            throwCancelled();
    }
    int value() const
    {
        const qint64 total = m_total;
        return total > 0 ? int(std::min<qint64>(kSteps, m_done * kSteps / total)) : 0;
    }
    void cancel() { m_cancelled = true; }

private:
    std::atomic<qint64> m_total {0};
    std::atomic<qint64> m_done {0};
    std::atomic<bool> m_cancelled {false};
};

} // namespace

void runWithProgressDialog(const QString &label, const std::function<void(Progress &)> &work)
{
    // For the benchmark of the dialog's own cost only: the work runs in place, unseen.
    static const bool withoutDialog = qEnvironmentVariableIsSet("ORVANE_BENCH_WITHOUT_PROGRESS");
    if (withoutDialog) {
        SilentProgress progress;
        work(progress);
        return;
    }
    SharedProgress progress;
    std::exception_ptr failure;
    std::atomic<bool> finished {false};

    QProgressDialog dialog(label, ui_texts::cancel(), 0, kSteps, QApplication::activeWindow());
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setAutoReset(false);
    dialog.setAutoClose(false);
    dialog.setMinimumDuration(kShowAfterMs);
    dialog.setValue(0);
    QObject::connect(&dialog, &QProgressDialog::canceled, [&progress] { progress.cancel(); });
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, &dialog, [&] {
        if (!dialog.wasCanceled())
            dialog.setValue(progress.value());
    });
    ticker.start(100);

    std::thread worker([&] {
        try {
            work(progress);
        } catch (...) {
            failure = std::current_exception();
        }
        finished = true;
        // Wakes the loop below at once.
        QMetaObject::invokeMethod(
            qApp, [] {}, Qt::QueuedConnection);
    });
    // The override cursor (the commands' wait cursor) would hide that キャンセル can be pressed.
    bool arrow = false;
    while (!finished) {
        const bool shown = dialog.isVisible();
        if (shown && !arrow && QApplication::overrideCursor()) {
            QApplication::setOverrideCursor(Qt::ArrowCursor);
            arrow = true;
        }
        QCoreApplication::processEvents(
            QEventLoop::WaitForMoreEvents
            | (shown ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents));
    }
    worker.join();
    if (arrow)
        QApplication::restoreOverrideCursor();
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace orvane
