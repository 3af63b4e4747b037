#include "termination_signals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace orvane::journal {

namespace {

constexpr int handledSignals[] = {SIGTERM, SIGHUP, SIGINT};
int pipeFds[2] = {-1, -1};

void onSignalCaught(int signal)
{
    const int savedErrno = errno;
    const char number = char(signal);
    // The pipe is non-blocking: with a byte already waiting, one more is not needed.
    [[maybe_unused]] const ssize_t written = ::write(pipeFds[1], &number, 1);
    errno = savedErrno;
}

} // namespace

TerminationSignals::TerminationSignals(std::function<void(int)> handler, QObject *parent)
    : QObject(parent)
    , m_handler(std::move(handler))
{
    if (::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_notifier = new QSocketNotifier(pipeFds[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::onSignal);
    struct sigaction action { };
    action.sa_handler = onSignalCaught;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : handledSignals)
        ::sigaction(signal, &action, nullptr);
}

TerminationSignals::~TerminationSignals()
{
    for (const int signal : handledSignals)
        ::signal(signal, SIG_DFL);
    delete m_notifier;
    for (int &fd : pipeFds) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

void TerminationSignals::onSignal()
{
    char number = 0;
    if (::read(pipeFds[0], &number, 1) != 1)
        return;
    if (m_handler)
        m_handler(number);
    // End as the signal would have ended the program, so that whoever sent it sees that.
    ::signal(number, SIG_DFL);
    ::raise(number);
}

} // namespace orvane::journal
