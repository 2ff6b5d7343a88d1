// End signals over a self-pipe and sigaction.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/signals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

namespace tazen::platform {

namespace {

constexpr int kEndSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The handler may only write a byte; the event loop reads it and does the rest.
volatile sig_atomic_t wakeUp = -1;

void onEndSignal(int)
{
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(wakeUp, &byte, 1);
    errno = saved;
}

} // namespace

ErrorCode EndSignalSource::Start()
{
    int ends[2] = {-1, -1};
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0)
        return errno;
    readEnd_.Reset(ends[0]);
    writeEnd_.Reset(ends[1]);
    wakeUp = ends[1];
    struct sigaction action
    {
    };
    action.sa_handler = onEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : kEndSignals)
        if (::sigaction(signal, &action, nullptr) != 0)
            return errno;
    return 0;
}

void EndSignalSource::Drain()
{
    char bytes[16];
    while (::read(readEnd_.Get(), bytes, sizeof(bytes)) > 0) {
    }
}

EndSignalSource::~EndSignalSource()
{
    if (!readEnd_.IsOpen())
        return;
    struct sigaction action
    {
    };
    action.sa_handler = SIG_DFL;
    for (int signal : kEndSignals)
        ::sigaction(signal, &action, nullptr);
    wakeUp = -1;
}

ErrorCode IgnoreBrokenPipe()
{
    return ::signal(SIGPIPE, SIG_IGN) == SIG_ERR ? errno : 0;
}

} // namespace tazen::platform
