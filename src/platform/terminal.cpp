// Hidden password entry on the controlling terminal, questions, line reading, and interrupt signals.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/terminal.h"

#include <fcntl.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tazen::platform {

namespace {

volatile sig_atomic_t caughtSignal = 0;
// The terminal whose echo is off, or -1; savedSettings is complete before this is set.
volatile sig_atomic_t hiddenTerminal = -1;
struct termios savedSettings;

void onInterrupt(int signal)
{
    if (caughtSignal == 0)
        caughtSignal = signal;
    // tcsetattr is async-signal-safe: a program killed by a second signal leaves no terminal without echo.
    const int terminal = hiddenTerminal;
    if (terminal >= 0)
        ::tcsetattr(terminal, TCSANOW, &savedSettings);
}

// Wipes the old buffer whenever the line moves to a larger one.
void appendWiping(std::string& line, char c)
{
    if (line.size() == line.capacity()) {
        std::string larger;
        larger.reserve(line.capacity() * 2 + 64);
        larger = line;
        line.resize(line.capacity());
        std::memset(line.data(), 0, line.size());
        line.swap(larger);
    }
    line.push_back(c);
}

} // namespace

void CatchInterrupts()
{
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a blocked read returns, so the program notices at once.
    action.sa_flags = SA_RESETHAND;
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        ::sigaction(signal, &action, nullptr);
}

int InterruptSignal()
{
    return caughtSignal;
}

std::string Printable(const std::string& text)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string printable;
    printable.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7F) {
            printable += c;
        } else if (c == '\n') {
            printable += "\\n";
        } else if (c == '\r') {
            printable += "\\r";
        } else if (c == '\t') {
            printable += "\\t";
        } else {
            printable += "\\x";
            printable += kDigits[byte >> 4];
            printable += kDigits[byte & 15];
        }
    }
    return printable;
}

ErrorCode ReadLine(int descriptor, std::string& line)
{
    line.clear();
    bool any = false;
    for (;;) {
        char c;
        const ssize_t n = ::read(descriptor, &c, 1);
        if (n < 0) {
            if (errno == EINTR && caughtSignal == 0)
                continue;
            return errno;
        }
        if (n == 0)
            break;
        any = true;
        if (c == '\n')
            break;
        appendWiping(line, c);
    }
    if (!any)
        return ENODATA;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return 0;
}

Terminal::~Terminal()
{
    if (descriptor_ >= 0)
        ::close(descriptor_);
}

ErrorCode Terminal::Open()
{
    descriptor_ = ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
    return descriptor_ < 0 ? errno : 0;
}

void Terminal::write(const std::string& text)
{
    const char* bytes = text.data();
    std::size_t left = text.size();
    while (left > 0) {
        const ssize_t n = ::write(descriptor_, bytes, left);
        if (n < 0 && errno == EINTR && caughtSignal == 0)
            continue;
        if (n <= 0)
            return;
        bytes += n;
        left -= static_cast<std::size_t>(n);
    }
}

ErrorCode Terminal::ReadHidden(const std::string& prompt, std::string& line)
{
    // The echo goes off before the prompt shows, so nothing typed after the prompt can appear.
    struct termios settings;
    if (::tcgetattr(descriptor_, &settings) != 0)
        return errno;
    savedSettings = settings;
    hiddenTerminal = descriptor_;
    settings.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    ErrorCode error = ::tcsetattr(descriptor_, TCSAFLUSH, &settings) == 0 ? 0 : errno;
    if (error == 0) {
        write(prompt);
        error = ReadLine(descriptor_, line);
    }
    ::tcsetattr(descriptor_, TCSANOW, &savedSettings);
    hiddenTerminal = -1;
    // The Enter that ended the line was not echoed either.
    write("\n");
    return error;
}

ErrorCode Terminal::Ask(const std::string& question, bool& yes)
{
    yes = false;
    write(question);
    std::string answer;
    if (const ErrorCode error = ReadLine(descriptor_, answer))
        return error;
    for (char& c : answer)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    yes = answer == "y" || answer == "yes";
    return 0;
}

} // namespace tazen::platform
