#pragma once
// Answers real modal dialogs in turn: polls for the active modal widget every 10 ms and runs the
// next step on it through a queued call, so that a step may open a nested dialog of its own.
// A dialog still waiting at the deadline is rejected and the script counts as timed out.

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QList>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace orvane::test {

class ModalScript {
public:
    using Step = std::function<void(QWidget *modal)>;

    explicit ModalScript(int deadlineMs = 10000)
        : m_deadlineMs(deadlineMs)
    {
        m_clock.start();
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start();
    }

    ModalScript &then(Step step)
    {
        m_steps.append(std::move(step));
        return *this;
    }

    bool allStepsTaken() const { return m_steps.isEmpty(); }
    bool timedOut() const { return m_timedOut; }

private:
    void poll()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (m_clock.elapsed() > m_deadlineMs) {
            // Past the deadline: reject whatever is still open, nested dialogs one by one.
            if (!m_steps.isEmpty() || modal)
                m_timedOut = true;
            if (auto *dialog = qobject_cast<QDialog *>(modal))
                QMetaObject::invokeMethod(dialog, &QDialog::reject, Qt::QueuedConnection);
            return;
        }
        if (m_steps.isEmpty() || !modal || modal == m_lastSeen)
            return;
        m_lastSeen = modal;
        Step step = m_steps.takeFirst();
        QPointer<QWidget> target(modal);
        QMetaObject::invokeMethod(
            modal,
            [target, step] {
                if (target)
                    step(target);
            },
            Qt::QueuedConnection);
    }

    int m_deadlineMs;
    QElapsedTimer m_clock;
    QTimer m_timer;
    QList<Step> m_steps;
    QPointer<QWidget> m_lastSeen;
    bool m_timedOut = false;
};

} // namespace orvane::test
