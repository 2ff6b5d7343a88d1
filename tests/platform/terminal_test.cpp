// Hidden password entry on a pseudo-terminal under job control: Ctrl+Z gives the echo back to the shell, and fg
// takes it away again before anything more is typed; what may be printed to a terminal.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/terminal.h"

#include "common/bounded_wait.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <string>

namespace tazen::platform {
namespace {

// Reads from descriptor until got holds text, for at most ten seconds.
bool readUntil(int descriptor, std::string& got, const std::string& text)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (got.find(text) == std::string::npos) {
        pollfd entry{descriptor, POLLIN, 0};
        char buffer[256];
        ssize_t n = 0;
        if (!test::PollUntil(&entry, 1, deadline, "\"" + text + "\" from the terminal") ||
            (n = ::read(descriptor, buffer, sizeof buffer)) <= 0)
            return false;
        got.append(buffer, static_cast<std::size_t>(n));
    }
    return true;
}

bool echoOn(int terminal)
{
    termios settings{};
    return ::tcgetattr(terminal, &settings) == 0 && (settings.c_lflag & ECHO) != 0;
}

void put(int descriptor, const std::string& text)
{
    if (::write(descriptor, text.data(), text.size()) != static_cast<ssize_t>(text.size()))
        ADD_FAILURE() << "cannot write " << text;
}

// A session leader on the terminal acting as a job-control shell: the reader is its foreground job. When the job
// stops, it reports "S" and whether the echo was on, turns the echo on for itself as a shell does, and on a byte
// from the test continues the job in the foreground (fg). When the job ends it reports "X".
[[noreturn]] void runShell(const char* terminalName, int commands, int reports, int result)
{
    ::setsid();
    const int terminal = ::open(terminalName, O_RDWR); // the controlling terminal from now on
    ::signal(SIGTTOU, SIG_IGN);
    const pid_t reader = ::fork();
    if (reader == 0) {
        ::setpgid(0, 0);
        ::tcsetpgrp(terminal, ::getpid());
        ::signal(SIGTTOU, SIG_DFL);
        Terminal hidden;
        std::string line;
        const ErrorCode error = hidden.Open() != 0 ? ErrorCode(ENXIO) : hidden.ReadHidden("Password: ", line);
        put(result, error == 0 ? line : "error " + std::to_string(error));
        ::_exit(0);
    }
    int status = 0;
    while (::waitpid(reader, &status, WUNTRACED) == reader && WIFSTOPPED(status)) {
        put(reports, echoOn(terminal) ? "S1" : "S0");
        termios settings{};
        ::tcgetattr(terminal, &settings);
        settings.c_lflag |= ECHO;
        ::tcsetattr(terminal, TCSANOW, &settings);
        char command = 0;
        if (::read(commands, &command, 1) != 1)
            break;
        ::tcsetpgrp(terminal, reader);
        ::kill(-reader, SIGCONT);
    }
    put(reports, "X");
    ::_exit(0);
}

TEST(Terminal, AHiddenPromptGivesTheEchoBackWhileStoppedAndHidesInputAgainAfterFg)
{
#ifdef __SANITIZE_THREAD__
    // ThreadSanitizer runs signal handlers late, at points of its own, so a stop never happens in the handler.
    GTEST_SKIP() << "job-control signals are not delivered as a terminal delivers them under ThreadSanitizer";
#endif
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_TRUE(master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0);
    const std::string terminalName = ::ptsname(master);
    int commands[2], reports[2], result[2];
    ASSERT_EQ(::pipe2(commands, O_CLOEXEC) | ::pipe2(reports, O_CLOEXEC) | ::pipe2(result, O_CLOEXEC), 0);
    const pid_t shell = ::fork();
    ASSERT_GE(shell, 0);
    if (shell == 0)
        runShell(terminalName.c_str(), commands[0], reports[1], result[1]);
    for (const int end : {commands[0], reports[1], result[1]})
        ::close(end);
    // Whatever fails, the session ends with the test: without its master the terminal hangs up on the job.
    struct Cleanup
    {
        pid_t shell;
        int descriptors[4];
        ~Cleanup()
        {
            for (const int descriptor : descriptors)
                ::close(descriptor);
            ::kill(shell, SIGKILL);
            ::waitpid(shell, nullptr, 0);
        }
    } cleanup{shell, {master, commands[1], reports[0], result[0]}};

    std::string screen, told, line;
    ASSERT_TRUE(readUntil(master, screen, "Password: ")) << screen;
    EXPECT_FALSE(echoOn(master));
    put(master, "\x1a");                           // Ctrl+Z
    ASSERT_TRUE(readUntil(reports[0], told, "S")); // with the echo state, in one write
    EXPECT_EQ(told, "S1");

    put(commands[1], "f");
    screen.clear();
    ASSERT_TRUE(readUntil(master, screen, "Password: ")) << screen;
    EXPECT_FALSE(echoOn(master));
    screen.clear();
    put(master, "hidden\n");
    ASSERT_TRUE(readUntil(reports[0], told, "X"));
    ASSERT_TRUE(readUntil(result[0], line, "hidden"));
    EXPECT_EQ(line, "hidden");
    EXPECT_TRUE(echoOn(master));
    // The line end the reader writes after the password comes after anything the terminal echoed.
    readUntil(master, screen, "\n");
    EXPECT_EQ(screen.find("hidden"), std::string::npos) << screen;
}

TEST(Terminal, PrintableEscapesControlsC1AndBrokenUtf8AndKeepsPrintableUtf8)
{
    const struct
    {
        const char* what;
        std::string text;
        std::string shown;
    } cases[] = {
        {"escape", "a\x1b[2Jb", "a\\x1B[2Jb"},
        {"line ends and tab", "a\nb\rc\td", "a\\nb\\rc\\td"},
        {"delete and zero", std::string("\x7f\0", 2), "\\x7F\\x00"},
        {"C1 controls",
         "\xc2\x80x\xc2\x9b"
         "2J\xc2\x9f",
         "\\xC2\\x80x\\xC2\\x9B2J\\xC2\\x9F"},
        {"stray continuation bytes", "a\x80\xbf", "a\\x80\\xBF"},
        {"overlong forms", "\xc0\xaf\xc1\xbf\xe0\x80\xaf\xf0\x80\x80\xaf",
         "\\xC0\\xAF\\xC1\\xBF\\xE0\\x80\\xAF\\xF0\\x80\\x80\\xAF"},
        {"surrogates", "\xed\xa0\x80\xed\xbf\xbf", "\\xED\\xA0\\x80\\xED\\xBF\\xBF"},
        {"past U+10FFFF", "\xf4\x90\x80\x80", "\\xF4\\x90\\x80\\x80"},
        {"cut short, then a whole character", "\xe6\x97\xe6\x97\xa5", "\\xE6\\x97\xe6\x97\xa5"},
        {"cut short at the end", "x\xf0\x9f\x98", "x\\xF0\\x9F\\x98"},
        {"bytes that never occur", "\xf5\xfe\xff", "\\xF5\\xFE\\xFF"},
        {"printable UTF-8", "\xc3\xa4 \xc2\xa0 \xe6\x97\xa5\xe6\x9c\xac \xf0\x9f\x98\x80 \xf4\x8f\xbf\xbf ~",
         "\xc3\xa4 \xc2\xa0 \xe6\x97\xa5\xe6\x9c\xac \xf0\x9f\x98\x80 \xf4\x8f\xbf\xbf ~"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Printable(c.text), c.shown) << c.what;
}

} // namespace
} // namespace tazen::platform
