// Runs a program as a child process in a session of its own, so it has no controlling terminal unless the
// test gives it a pseudo-terminal; feeds its standard input and collects its output and exit status.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/bounded_wait.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

namespace tazen::test {

struct Finished
{
    int exitCode = -1; // -1 when a signal ended it
    std::string out;
    std::string err;
};

class ChildProcess
{
public:
    struct Setup
    {
        std::string input;         // written to standard input, which is then closed
        bool progressPipe = false; // a pipe on descriptor 3, read with ProgressLine
        bool terminal = false;     // a pseudo-terminal as controlling terminal, driven by WaitFor and Type
        std::string folder;        // working folder, when not empty
        // "NAME=value" entries over the test's environment, which reaches the child without a display, so a
        // program started without a terminal never opens a window on the developer's desktop.
        std::vector<std::string> environment;
    };

    ChildProcess(const std::string& program, const std::vector<std::string>& arguments, const Setup& setup)
    {
        int in[2], out[2], err[2], progress[2] = {-1, -1};
        if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0 ||
            (setup.progressPipe && ::pipe2(progress, O_CLOEXEC) != 0))
            throw std::runtime_error("pipe failed");
        std::string terminalName;
        if (setup.terminal) {
            master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
            if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0)
                throw std::runtime_error("no pseudo-terminal");
            terminalName = ::ptsname(master_);
        }
        std::vector<std::string> all{program};
        all.insert(all.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (std::string& a : all)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        std::vector<std::string> variables;
        for (char** entry = environ; *entry != nullptr; ++entry) {
            const std::string variable = *entry;
            const std::string name = variable.substr(0, variable.find('='));
            const auto given = [&name](const std::string& e) { return e.rfind(name + "=", 0) == 0; };
            if (name != "DISPLAY" && name != "WAYLAND_DISPLAY" &&
                std::none_of(setup.environment.begin(), setup.environment.end(), given))
                variables.push_back(variable);
        }
        variables.insert(variables.end(), setup.environment.begin(), setup.environment.end());
        std::vector<char*> envp;
        for (std::string& v : variables)
            envp.push_back(v.data());
        envp.push_back(nullptr);

        pid_ = ::fork();
        if (pid_ < 0)
            throw std::runtime_error("fork failed");
        if (pid_ == 0) {
            // Only async-signal-safe calls from here on.
            ::setsid();
            if (setup.terminal) {
                const int slave = ::open(terminalName.c_str(), O_RDWR); // becomes the controlling terminal
                if (slave < 0)
                    ::_exit(126);
            }
            ::dup2(in[0], 0);
            ::dup2(out[1], 1);
            ::dup2(err[1], 2);
            if (setup.progressPipe)
                ::dup2(progress[1], 3);
            if (!setup.folder.empty() && ::chdir(setup.folder.c_str()) != 0)
                ::_exit(126);
            ::execve(argv[0], argv.data(), envp.data());
            ::_exit(127);
        }
        ::close(in[0]);
        ::close(out[1]);
        ::close(err[1]);
        out_ = out[0];
        err_ = err[0];
        if (setup.progressPipe) {
            ::close(progress[1]);
            progress_ = progress[0];
        }
        ::signal(SIGPIPE, SIG_IGN);
        // A child that ends without reading its input (a usage error, say) may have closed the pipe already.
        if (!setup.input.empty() && ::write(in[1], setup.input.data(), setup.input.size()) < 0 && errno != EPIPE)
            ADD_FAILURE() << "cannot write the child's input";
        ::close(in[1]);
    }

    ~ChildProcess()
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        for (int fd : {out_, err_, progress_, master_})
            if (fd >= 0)
                ::close(fd);
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // The next line the child wrote on descriptor 3, without its line end; empty at the end.
    std::string ProgressLine()
    {
        std::string line;
        char c;
        while (WaitReadable(progress_, "a progress line") && ::read(progress_, &c, 1) == 1 && c != '\n')
            line += c;
        return line;
    }

    // Reads the terminal until the text has appeared; false when the child closed it first.
    bool WaitFor(const std::string& text)
    {
        while (screen_.find(text, seen_) == std::string::npos) {
            char buffer[256];
            if (!WaitReadable(master_, "\"" + text + "\" on the terminal"))
                return false;
            const ssize_t n = ::read(master_, buffer, sizeof buffer);
            if (n <= 0)
                return false;
            screen_.append(buffer, static_cast<std::size_t>(n));
        }
        seen_ = screen_.find(text, seen_) + text.size();
        return true;
    }
    void Type(const std::string& text)
    {
        if (::write(master_, text.data(), text.size()) != static_cast<ssize_t>(text.size()))
            ADD_FAILURE() << "cannot type on the terminal";
    }
    // What the terminal showed so far.
    const std::string& Screen() const { return screen_; }

    void Signal(int signal) { ::kill(pid_, signal); }

    // Collects the rest of the output and the exit status.
    Finished Wait()
    {
        Finished result;
        std::vector<pollfd> open{{out_, POLLIN, 0}, {err_, POLLIN, 0}};
        if (progress_ >= 0)
            open.push_back({progress_, POLLIN, 0});
        const auto deadline = std::chrono::steady_clock::now() + kHangGuard;
        while (!open.empty()) {
            if (!PollUntil(open.data(), open.size(), deadline, "the program to close its output")) {
                ::kill(pid_, SIGKILL);
                break;
            }
            for (std::size_t i = 0; i < open.size();) {
                char buffer[4096];
                const ssize_t n = open[i].revents ? ::read(open[i].fd, buffer, sizeof buffer) : 1;
                if (n > 0 && open[i].revents) {
                    if (open[i].fd == out_)
                        result.out.append(buffer, static_cast<std::size_t>(n));
                    else if (open[i].fd == err_)
                        result.err.append(buffer, static_cast<std::size_t>(n));
                }
                if (n <= 0)
                    open.erase(open.begin() + static_cast<std::ptrdiff_t>(i));
                else
                    ++i;
            }
        }
        const int status = ReapChild(pid_, "the program to end");
        pid_ = -1;
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return result;
    }

private:
    pid_t pid_ = -1;
    int out_ = -1;
    int err_ = -1;
    int progress_ = -1;
    int master_ = -1;
    std::string screen_;
    std::size_t seen_ = 0;
};

inline Finished RunToEnd(const std::string& program, const std::vector<std::string>& arguments,
                         const ChildProcess::Setup& setup = {})
{
    return ChildProcess(program, arguments, setup).Wait();
}

} // namespace tazen::test
