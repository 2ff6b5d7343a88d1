// The controlling terminal for hidden password entry and yes/no questions, text made safe to print on a
// terminal, the standard streams' lines, and interrupt signals turned into a flag that long work
// polls.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/lines.h"
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

// The next byte: 0, ENODATA at the end of the input, or the read's error. Once an interrupt was caught it
// gives EINTR without reading, also where a read would never block.
ErrorCode ReadByte(int descriptor, char& byte);

// Reads one line without consuming anything after it, by the one line rule (ReadLineWith).
template <typename Text> ErrorCode ReadLine(int descriptor, Text& line)
{
    return ReadLineWith([descriptor](char& c) { return ReadByte(descriptor, c); }, line);
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
