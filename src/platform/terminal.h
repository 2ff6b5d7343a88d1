// The controlling terminal for hidden password entry and yes/no questions, lines read from a descriptor,
// and interrupt signals turned into a flag that long work polls.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/files.h"

#include <string>

namespace tazen::platform {

// From now on SIGINT, SIGTERM and SIGHUP only note the signal (and give back the echo of a terminal that is
// reading a password), so the work in progress can stop cleanly and remove what it had begun. System calls
// they interrupt fail with EINTR instead of going on. A second signal of the same kind acts as if no handler
// were installed: a program that does not stop can still be stopped.
void CatchInterrupts();
// The first signal caught, or 0.
int InterruptSignal();

// The text with its control characters written out (\n, \r, \t, \xHH), so that a file name shown on a
// terminal can neither break a message into lines of its own nor drive the terminal.
std::string Printable(const std::string& text);

// Reads one line without consuming anything after it, and without its "\n" or a "\r" before that. A
// last line without a line end counts; ENODATA when the input ends before any byte. The line's earlier
// buffers are wiped as it grows, since a line may be a password. EINTR once an interrupt was caught.
ErrorCode ReadLine(int descriptor, std::string& line);

// The process's controlling terminal (/dev/tty), which is there even when standard input and output are
// redirected; closes itself.
class Terminal
{
public:
    Terminal() = default;
    Terminal(const Terminal&) = delete;
    Terminal& operator=(const Terminal&) = delete;
    ~Terminal();

    // ENXIO (or the like) when the process has no controlling terminal.
    ErrorCode Open();
    bool IsOpen() const { return descriptor_ >= 0; }

    // Shows the prompt and reads a line with echo switched off; the echo comes back on every way out.
    ErrorCode ReadHidden(const std::string& prompt, std::string& line);
    // Shows the question and reads the answer; yes only for "y" or "yes", in any letter case.
    ErrorCode Ask(const std::string& question, bool& yes);

private:
    void write(const std::string& text);

    int descriptor_ = -1;
};

} // namespace tazen::platform
