// The Windows console: hidden password entry and yes/no questions read as UTF-16, text written so the
// console shows every character, the standard input's first line as bytes, Ctrl+C turned into a flag that
// long work polls, and the window a double click opened kept until Enter is pressed.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/error.h"
#include "base/lines.h"
#include "cipher/secret.h"

#include <cstddef>
#include <string>

namespace tazen::platform::windows {

// From now on Ctrl+C and Ctrl+Break only note the event, so the work in progress can stop cleanly and remove
// what it had begun; a console read they interrupt fails with EINTR. A second one ends the process as if no
// handler were there. Closing the console window (or shutting Windows down) is noted the same way, and the
// process is given the seconds Windows allows to stop.
void CatchInterrupts();
// 2 (SIGINT's number, so an interrupted run ends with the same 130 as on Linux) once one was caught, else 0.
int InterruptSignal();

// UTF-8 text to standard output or error: as UTF-16 onto a console, whatever its code page; as the bytes
// themselves into a file or a pipe.
void WriteText(bool toError, const std::string& utf8);

// The first line of standard input as bytes (typed on a console, in UTF-8), without its "\n" or a "\r" before that;
// by the one line rule (ReadLineWith); ENODATA when the input ends before any byte, EMSGSIZE for a line longer
// than kLongestLine.
ErrorCode ReadInputLine(SecretString& line);

// The process's console (CONIN$ and CONOUT$), which is there even when the standard streams are redirected;
// closes itself.
class Console
{
public:
    Console() = default;
    Console(const Console&) = delete;
    Console& operator=(const Console&) = delete;
    ~Console();

    // Fails when the process has no console.
    ErrorCode Open();
    // Shows the prompt and reads a line with echo switched off, as UTF-16 turned into UTF-8; the echo comes
    // back on every way out.
    ErrorCode ReadHidden(const std::string& prompt, SecretString& line);
    // Shows the question and reads the answer; yes only for "y" or "yes", in any letter case.
    ErrorCode Ask(const std::string& question, bool& yes);
    // Shows the text and waits for Enter.
    void WaitForEnter(const std::string& text);

private:
    void write(const std::string& utf8);

    void* input_ = nullptr;
    void* output_ = nullptr;
};

// Whether the console window is being closed: nobody is left to read the outcome.
bool ConsoleClosing();

// Whether this process is the only one on its console: the console was made for it, as when it was started
// by a double click, and goes with it when it ends.
bool OwnsConsole();

} // namespace tazen::platform::windows
