// The controlling terminal for hidden password entry and yes/no questions, text made safe to print on a
// terminal, the standard streams' lines, and interrupt signals turned into a flag that long work
// polls.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/files.h"
#include "platform/printable.h"

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <string>

namespace tazen::platform {

// From now on SIGINT, SIGTERM and SIGHUP only note the signal (and give back the echo of a terminal that is
// reading a password), so the work in progress can stop cleanly and remove what it had begun. System calls
// they interrupt fail with EINTR instead of going on. A second signal of the same kind acts as if no handler
// were installed: a program that does not stop can still be stopped.
ErrorCode CatchInterrupts();
// The first signal caught, or 0.
int InterruptSignal();

// Lines longer than this are refused: no password or answer comes near it, and a file without line ends (or
// /dev/zero) must not be read into memory whole.
inline constexpr std::size_t kLongestLine = 64 * 1024;

// The next byte: 0, ENODATA at the end of the input, or the read's error. Once an interrupt was caught it
// gives EINTR without reading, also where a read would never block.
ErrorCode ReadByte(int descriptor, char& byte);

// Reads one line without consuming anything after it, and without its "\n" or a "\r" before that. A last line
// without a line end counts; ENODATA when the input ends before any byte; EMSGSIZE, as soon as it is clear, for
// a line longer than kLongestLine. A line that may be a password goes into a string whose allocator wipes the
// buffers it outgrows.
template <typename Text> ErrorCode ReadLine(int descriptor, Text& line)
{
    line.clear();
    bool any = false;
    for (;;) {
        char c = 0;
        const ErrorCode error = ReadByte(descriptor, c);
        if (error == ENODATA)
            break;
        if (error != 0)
            return error;
        any = true;
        if (c == '\n')
            break;
        // One byte over, for a "\r" before the line end.
        if (line.size() > kLongestLine)
            return EMSGSIZE;
        line.push_back(c);
    }
    if (!any)
        return ENODATA;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line.size() > kLongestLine ? EMSGSIZE : 0;
}

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
    bool IsOpen() const { return descriptor_.IsOpen(); }

    // Shows the prompt and reads a line with echo switched off; the echo comes back on every way out. Stopped
    // (Ctrl+Z) it gives the echo back while it waits; continued (fg) it switches the echo off again, drops
    // what was typed before and shows the prompt anew.
    template <typename Text> ErrorCode ReadHidden(const std::string& prompt, Text& line)
    {
        ErrorCode error = hide(prompt);
        if (error == 0) {
            error = ReadLine(descriptor_.Get(), line);
            show();
        }
        return error;
    }
    // Shows the question and reads the answer; yes only for "y" or "yes", in any letter case.
    ErrorCode Ask(const std::string& question, bool& yes);

private:
    ErrorCode hide(const std::string& prompt);
    void show();
    void write(const std::string& text);

    Descriptor descriptor_;
};

} // namespace tazen::platform
