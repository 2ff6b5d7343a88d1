// Waits with a limit, for tests that wait on a child process or a descriptor: a hang fails the test with
// what it was waiting for, well before CTest's own time limit ends the whole test program.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <string>

#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tazen::test {

// Only against a hang: nothing a test waits for is expected to take more than a fraction of this.
inline constexpr std::chrono::milliseconds kHangGuard = std::chrono::seconds(30);

// Polls fds until one has an event or the deadline passes; false (and a failure naming what) on the deadline.
inline bool PollUntil(pollfd* fds, nfds_t count, std::chrono::steady_clock::time_point deadline,
                      const std::string& what)
{
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        const int ready = ::poll(fds, count, left.count() > 0 ? static_cast<int>(left.count()) : 0);
        if (ready > 0)
            return true;
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0)
            ADD_FAILURE() << "poll failed while waiting for " << what;
        else
            ADD_FAILURE() << "timed out waiting for " << what;
        return false;
    }
}

// Waits until fd can be read (data, or its end), at most limit.
inline bool WaitReadable(int fd, const std::string& what, std::chrono::milliseconds limit = kHangGuard)
{
    pollfd one{fd, POLLIN, 0};
    return PollUntil(&one, 1, std::chrono::steady_clock::now() + limit, what);
}

// Everything fd delivers up to its end, within the limit.
inline std::string ReadToEnd(int fd, const std::string& what, std::chrono::milliseconds limit = kHangGuard)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    std::string bytes;
    char buffer[4096];
    for (pollfd one{fd, POLLIN, 0}; PollUntil(&one, 1, deadline, what);) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    return bytes;
}

// The wait status of child once it has ended. One that is still there after the limit is killed, and the
// test fails naming what it was doing.
inline int ReapChild(pid_t child, const std::string& what, std::chrono::milliseconds limit = kHangGuard)
{
    const int handle = static_cast<int>(::syscall(SYS_pidfd_open, child, 0));
    if (handle >= 0) {
        pollfd ended{handle, POLLIN, 0};
        if (!PollUntil(&ended, 1, std::chrono::steady_clock::now() + limit, what))
            ::kill(child, SIGKILL);
        ::close(handle);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

} // namespace tazen::test
