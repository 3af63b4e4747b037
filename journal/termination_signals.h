#pragma once
// SIGTERM, SIGHUP and SIGINT turned into a call on the UI thread (through a pipe that the signal
// handler writes to), where the journal can be made complete before the program ends; no dialog
// can answer a signal. Owns the pipe and its notifier; one instance per process.

#include <QObject>

#include <functional>

class QSocketNotifier;

namespace orvane::journal {

class TerminationSignals final : public QObject {
    Q_OBJECT
public:
    // handler gets the signal's number; afterwards the program ends as that signal ends it.
    explicit TerminationSignals(std::function<void(int)> handler, QObject *parent = nullptr);
    ~TerminationSignals() override;

private:
    void onSignal();

    std::function<void(int)> m_handler;
    QSocketNotifier *m_notifier = nullptr;
};

} // namespace orvane::journal
