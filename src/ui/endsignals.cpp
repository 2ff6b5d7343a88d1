// Ends the program as closing its window does when the system asks it to.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/endsignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace tazen {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The handler may only write a byte; the event loop reads it and does the rest.
int wakeUp[2] = {-1, -1};

void onSignal(int)
{
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(wakeUp[1], &byte, 1);
    errno = saved;
}

} // namespace

EndSignals::EndSignals(std::function<void()> close, QObject* parent) : QObject(parent), close_(std::move(close))
{
    if (::pipe2(wakeUp, O_CLOEXEC | O_NONBLOCK) != 0)
        return; // the system's default ending stays
    notifier_ = std::make_unique<QSocketNotifier>(wakeUp[0], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, [this] {
        char bytes[16];
        while (::read(wakeUp[0], bytes, sizeof(bytes)) > 0) {
        }
        close_();
    });
    struct sigaction action
    {
    };
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : kSignals)
        ::sigaction(signal, &action, nullptr);
}

EndSignals::~EndSignals()
{
    if (!notifier_)
        return;
    struct sigaction action
    {
    };
    action.sa_handler = SIG_DFL;
    for (int signal : kSignals)
        ::sigaction(signal, &action, nullptr);
    notifier_.reset();
    ::close(wakeUp[0]);
    ::close(wakeUp[1]);
    wakeUp[0] = wakeUp[1] = -1;
}

} // namespace tazen
