// Hidden password entry on the controlling terminal, questions, line reading, printable text, and interrupt
// signals.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/terminal.h"

#include "base/ascii.h"

#include <fcntl.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iterator>

namespace tazen::platform {

namespace {

volatile sig_atomic_t caughtSignal = 0;
// The terminal whose echo is off, or -1; the settings and the prompt are complete before this is set.
volatile sig_atomic_t hiddenTerminal = -1;
struct termios savedSettings;
struct termios hiddenSettings;
const char* hiddenPrompt = nullptr;
std::size_t hiddenPromptLength = 0;
volatile sig_atomic_t promptShown = 0;
// Set while the process stops itself from a handler, which then hides the input again itself.
volatile sig_atomic_t stoppingHere = 0;

// The signals that stop or quit a process from its terminal, and SIGCONT, handled during a hidden read.
constexpr int kJobSignals[] = {SIGTSTP, SIGTTIN, SIGTTOU, SIGQUIT, SIGCONT};
struct sigaction jobActionsBefore[std::size(kJobSignals)];

void onInterrupt(int signal)
{
    if (caughtSignal == 0)
        caughtSignal = signal;
    // tcsetattr is async-signal-safe: a program killed by a second signal leaves no terminal without echo.
    const int terminal = hiddenTerminal;
    if (terminal >= 0)
        ::tcsetattr(terminal, TCSANOW, &savedSettings);
}

// Switches the echo off again, dropping what was typed meanwhile, and shows the prompt for a fresh start.
void hideAgain()
{
    const int terminal = hiddenTerminal;
    if (terminal < 0)
        return;
    ::tcsetattr(terminal, TCSAFLUSH, &hiddenSettings);
    if (promptShown != 0)
        while (::write(terminal, hiddenPrompt, hiddenPromptLength) < 0 && errno == EINTR) {
        }
}

void onContinue(int)
{
    const int savedErrno = errno;
    if (stoppingHere == 0)
        hideAgain();
    errno = savedErrno;
}

void installJobHandler(int signal, struct sigaction* before);

// Gives the echo back, then stops or quits as the signal would without a handler. A process that comes back
// (fg, or a stop the system ignored because no shell could continue it) hides the input again.
void onStopOrQuit(int signal)
{
    const int savedErrno = errno;
    const int terminal = hiddenTerminal;
    if (terminal >= 0)
        ::tcsetattr(terminal, TCSANOW, &savedSettings);
    struct sigaction standard;
    std::memset(&standard, 0, sizeof standard);
    standard.sa_handler = SIG_DFL;
    sigemptyset(&standard.sa_mask);
    ::sigaction(signal, &standard, nullptr);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    stoppingHere = 1;
    ::raise(signal);
    ::sigprocmask(SIG_UNBLOCK, &only, nullptr);
    stoppingHere = 0;
    installJobHandler(signal, nullptr);
    hideAgain();
    errno = savedErrno;
}

void installJobHandler(int signal, struct sigaction* before)
{
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = signal == SIGCONT ? onContinue : onStopOrQuit;
    // The handlers touch the terminal's settings one at a time; the read goes on after them. SIGCONT stays
    // open during a stop, so that its handler sees the stop as one the stopping handler looks after.
    sigemptyset(&action.sa_mask);
    for (const int other : {SIGTSTP, SIGTTIN, SIGTTOU, SIGQUIT, SIGINT, SIGTERM, SIGHUP})
        sigaddset(&action.sa_mask, other);
    if (signal == SIGCONT)
        sigaddset(&action.sa_mask, SIGCONT);
    action.sa_flags = SA_RESTART;
    ::sigaction(signal, &action, before);
}

} // namespace

ErrorCode CatchInterrupts()
{
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a blocked read returns, so the program notices at once.
    action.sa_flags = SA_RESETHAND;
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        if (::sigaction(signal, &action, nullptr) != 0)
            return errno;
    return 0;
}

int InterruptSignal()
{
    return caughtSignal;
}

ErrorCode ReadByte(int descriptor, char& byte)
{
    for (;;) {
        if (caughtSignal != 0)
            return EINTR;
        const ssize_t n = ::read(descriptor, &byte, 1);
        if (n == 1)
            return 0;
        if (n == 0)
            return ENODATA;
        if (errno != EINTR)
            return errno;
    }
}

Terminal::~Terminal() = default;

ErrorCode Terminal::Open()
{
    const int descriptor = ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0)
        return errno;
    descriptor_.Reset(descriptor);
    return 0;
}

void Terminal::write(const std::string& text)
{
    // A prompt that cannot be shown shows in the read that follows, which fails too.
    static_cast<void>(WriteFully(descriptor_.Get(), text, OnInterrupt::StopWhenCaught));
}

ErrorCode Terminal::hide(const std::string& prompt)
{
    if (::tcgetattr(descriptor_.Get(), &savedSettings) != 0)
        return errno;
    hiddenSettings = savedSettings;
    hiddenSettings.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    hiddenPrompt = prompt.data();
    hiddenPromptLength = prompt.size();
    promptShown = 0;
    for (std::size_t i = 0; i < std::size(kJobSignals); ++i)
        installJobHandler(kJobSignals[i], &jobActionsBefore[i]);
    hiddenTerminal = descriptor_.Get();
    // The echo goes off before the prompt shows, so nothing typed after the prompt can appear.
    if (::tcsetattr(descriptor_.Get(), TCSAFLUSH, &hiddenSettings) != 0) {
        const ErrorCode error = errno;
        show();
        return error;
    }
    promptShown = 1;
    write(prompt);
    return 0;
}

void Terminal::show()
{
    ::tcsetattr(descriptor_.Get(), TCSANOW, &savedSettings);
    hiddenTerminal = -1;
    for (std::size_t i = 0; i < std::size(kJobSignals); ++i)
        ::sigaction(kJobSignals[i], &jobActionsBefore[i], nullptr);
    // The Enter that ended the line was not echoed either.
    write("\n");
}

ErrorCode Terminal::Ask(const std::string& question, bool& yes)
{
    yes = false;
    write(question);
    std::string answer;
    if (const ErrorCode error = ReadLine(descriptor_.Get(), answer))
        return error;
    yes = EqualIgnoringAsciiCase(answer, "y") || EqualIgnoringAsciiCase(answer, "yes");
    return 0;
}

} // namespace tazen::platform
