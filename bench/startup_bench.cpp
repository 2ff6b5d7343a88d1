// Start-up and hand-over, timed from outside as a user meets them.
//
// Start-up: from starting the program to the first answer of its endpoint. The endpoint is served by the
// event loop, so the answer comes once the window is shown and the loop is idle. TaZEN is timed against
// bare_window, the first TaZEN window with the same endpoint, started alternately with it, and against the
// same window showing one line of text, which adds what any window with text pays: loading the system's
// font configuration.
// Hand-over: a second start of TaZEN with a file name, from starting it to its exit, while a first runs.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/instance.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr int kStarts = 20;
constexpr int kHandOvers = 10;

[[noreturn]] void fail(const std::string& why)
{
    std::fprintf(stderr, "tazen_startup_bench: %s\n", why.c_str());
    std::exit(1);
}

double milliseconds(Clock::duration duration)
{
    return std::chrono::duration<double, std::milli>(duration).count();
}

pid_t spawn(const std::string& program, const std::vector<std::string>& arguments)
{
    std::vector<std::string> all{program};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : all)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // The offscreen platform remarks on every raise(); that is not what is measured.
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) != 0)
        fail("cannot start " + program);
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

int waitForExit(pid_t pid)
{
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Starts program and returns once its endpoint has answered; the time that took.
Clock::duration startUntilIdle(const std::string& program, const std::string& endpoint, pid_t& pid,
                               const std::vector<std::string>& arguments = {})
{
    const Clock::time_point start = Clock::now();
    pid = spawn(program, arguments);
    for (;;) {
        tazen::platform::EndpointClient client;
        std::uint32_t result = 0;
        if (client.Connect(endpoint) == 0 && client.Send(tazen::platform::kMessageBringToFront, 0, {}, 10s, result) ==
                                                 tazen::platform::EndpointClient::Outcome::Answered)
            return Clock::now() - start;
        if (::waitpid(pid, nullptr, WNOHANG) == pid)
            fail(program + " ended before it answered");
        std::this_thread::sleep_for(200us);
    }
}

void stop(pid_t pid)
{
    ::kill(pid, SIGTERM);
    waitForExit(pid);
}

struct Summary
{
    double median, fastest, slowest;
};

Summary summarise(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    return {median, values.front(), values.back()};
}

void report(const char* what, const Summary& s)
{
    std::printf("%-44s median %7.1f ms   fastest %7.1f ms   slowest %7.1f ms\n", what, s.median, s.fastest, s.slowest);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s BIN_DIR\n", argv[0]);
        return 2;
    }
    const std::string bin = argv[1];
    const std::string tazen = bin + "/tazen";
    const std::string bare = bin + "/bare_window";

    char runtimeTemplate[] = "/tmp/tazen-startup-XXXXXX";
    char filesTemplate[] = "/tmp/tazen-handover-XXXXXX";
    if (!::mkdtemp(runtimeTemplate) || !::mkdtemp(filesTemplate))
        fail("cannot make a temporary folder");
    const std::string runtime = runtimeTemplate;
    ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !std::getenv("QT_QPA_PLATFORM"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    std::printf("platform: %s\n", platform ? platform : std::getenv("WAYLAND_DISPLAY") ? "wayland" : "xcb");
    const std::string endpoint = runtime + "/TForm1";

    std::vector<double> bareTimes, labelTimes, tazenTimes;
    pid_t pid = 0;
    // Once each first, so all start from a warm disk cache.
    stop((startUntilIdle(bare, endpoint, pid), pid));
    stop((startUntilIdle(bare, endpoint, pid, {"--label"}), pid));
    stop((startUntilIdle(tazen, endpoint, pid), pid));
    for (int i = 0; i < kStarts; ++i) {
        bareTimes.push_back(milliseconds(startUntilIdle(bare, endpoint, pid)));
        stop(pid);
        labelTimes.push_back(milliseconds(startUntilIdle(bare, endpoint, pid, {"--label"})));
        stop(pid);
        tazenTimes.push_back(milliseconds(startUntilIdle(tazen, endpoint, pid)));
        stop(pid);
    }
    const Summary bareSummary = summarise(bareTimes);
    const Summary labelSummary = summarise(labelTimes);
    const Summary tazenSummary = summarise(tazenTimes);
    report("bare Qt window, start to shown and idle", bareSummary);
    report("the same with one line of text", labelSummary);
    report("TaZEN, start to shown and idle", tazenSummary);
    std::printf("TaZEN adds %.0f %% to the bare window's start, %.0f %% to the one with text (medians of %d "
                "starts each)\n",
                (tazenSummary.median / bareSummary.median - 1) * 100,
                (tazenSummary.median / labelSummary.median - 1) * 100, kStarts);

    pid_t first = 0;
    startUntilIdle(tazen, endpoint, first);
    std::vector<double> handOvers;
    for (int i = 0; i < kHandOvers; ++i) {
        const std::string name = std::string(filesTemplate) + "/file-" + std::to_string(i) + ".txt";
        const Clock::time_point start = Clock::now();
        const int code = waitForExit(spawn(tazen, {name}));
        handOvers.push_back(milliseconds(Clock::now() - start));
        if (code != 0)
            fail("a second start ended with " + std::to_string(code));
    }
    stop(first);
    report("second start with a file name, start to exit", summarise(handOvers));

    std::string cleanup = "rm -rf '" + runtime + "' '" + filesTemplate + "'";
    return std::system(cleanup.c_str()) == 0 ? 0 : 1;
}
