// A start without a terminal from the desktop: the terminal window, the dialog program, or nothing.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktopstart.h"

#include "platform/descriptor.h"
#include "platform/terminal.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <vector>

extern char** environ;

namespace tazen::platform {

namespace {

bool hasTerminal()
{
    const int tty = ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (tty >= 0) {
        ::close(tty);
        return true;
    }
    return ::isatty(kStandardInput) == 1;
}

bool isSet(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

// The program's full name when a folder of PATH holds it as a file this process may run.
std::optional<std::string> onPath(const std::string& program)
{
    const char* path = std::getenv("PATH");
    if (path == nullptr)
        return std::nullopt;
    const std::string folders = path;
    for (std::size_t begin = 0; begin <= folders.size();) {
        std::size_t end = folders.find(':', begin);
        if (end == std::string::npos)
            end = folders.size();
        // An empty entry is the working folder, which a double click does not choose.
        if (end > begin) {
            const std::string candidate = folders.substr(begin, end - begin) + "/" + program;
            struct stat info;
            if (::stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
                ::access(candidate.c_str(), X_OK) == 0)
                return candidate;
        }
        begin = end + 1;
    }
    return std::nullopt;
}

struct Spawned
{
    pid_t pid = -1;
    ErrorCode error = 0;
};

// Starts the program with standard input from /dev/null and, when output is not -1, standard output into it.
Spawned spawn(const std::string& program, const std::vector<std::string>& arguments, char* const* environment,
              int output = -1)
{
    std::vector<std::string> all = arguments;
    std::vector<char*> argv;
    argv.reserve(all.size() + 1);
    for (std::string& argument : all)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, kStandardInput, "/dev/null", O_RDONLY, 0);
    if (output >= 0)
        posix_spawn_file_actions_adddup2(&actions, output, kStandardOutput);
    Spawned spawned;
    spawned.error = ::posix_spawn(&spawned.pid, program.c_str(), &actions, nullptr, argv.data(), environment);
    posix_spawn_file_actions_destroy(&actions);
    return spawned;
}

// The child's exit status, or -1 when a signal ended it.
int waitFor(pid_t pid)
{
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0)
        if (errno != EINTR)
            return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void waitForEnter()
{
    std::fflush(nullptr);
    const int tty = ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (tty < 0)
        return;
    static const char kPrompt[] = "\nPress Enter to close this window.";
    static_cast<void>(WriteFully(tty, kPrompt, sizeof kPrompt - 1)); // the window stays open either way
    char c = 0;
    for (;;) {
        const ssize_t got = ::read(tty, &c, 1);
        if (got == 1 && c != '\n')
            continue;
        if (got < 0 && errno == EINTR)
            continue;
        break;
    }
    ::close(tty);
}

// How each terminal program is told the command to run, in the order they are tried: the system's choice
// first, then the desktops' own, then the one nearly every system has.
struct TerminalProgram
{
    const char* name;
    const char* commandOption;
};
constexpr TerminalProgram kTerminals[] = {
    {"x-terminal-emulator", "-e"}, {"gnome-terminal", "--"}, {"kgx", "--"}, {"gnome-console", "--"}, {"konsole", "-e"},
    {"xfce4-terminal", "-x"},      {"xterm", "-e"},
};

std::optional<int> startInTerminal(const std::string& selfPath, int argc, const char* const* argv)
{
    std::vector<std::string> environment;
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry)
        environment.emplace_back(*entry);
    environment.push_back(std::string(kInTerminalMarker) + "=1");
    std::vector<char*> envp;
    envp.reserve(environment.size() + 1);
    for (std::string& entry : environment)
        envp.push_back(entry.data());
    envp.push_back(nullptr);

    for (const TerminalProgram& terminal : kTerminals) {
        const std::optional<std::string> program = onPath(terminal.name);
        if (!program)
            continue;
        std::vector<std::string> arguments{terminal.name, terminal.commandOption, selfPath};
        for (int i = 1; i < argc; ++i)
            arguments.emplace_back(argv[i]);
        const Spawned spawned = spawn(*program, arguments, envp.data());
        if (spawned.error != 0)
            continue;
        return waitFor(spawned.pid);
    }
    return std::nullopt;
}

std::string option(const char* name, const std::string& value)
{
    return std::string(name) + "=" + value;
}

// A terminal's message as a dialog's sentence: made printable, as on the terminal, and begun with a capital.
std::string sentence(const std::string& text)
{
    std::string shown = Printable(text);
    if (!shown.empty() && shown[0] >= 'a' && shown[0] <= 'z')
        shown[0] = static_cast<char>(shown[0] - 'a' + 'A');
    return shown;
}

// Starts the dialog program with the arguments after its name.
Spawned startDialog(DialogProgram program, const std::vector<std::string>& arguments, int output = -1)
{
    const char* const name = program == DialogProgram::Zenity ? "zenity" : "kdialog";
    const std::optional<std::string> path = onPath(name);
    if (!path)
        return {-1, ENOENT};
    std::vector<std::string> all{name};
    all.insert(all.end(), arguments.begin(), arguments.end());
    return spawn(*path, all, environ, output);
}

// The dialog program's exit status: 0 for OK or Yes, 1 for Cancel or No, anything else a failure.
int runDialog(DialogProgram program, const std::vector<std::string>& arguments)
{
    const Spawned spawned = startDialog(program, arguments);
    return spawned.error != 0 ? -1 : waitFor(spawned.pid);
}

} // namespace

DesktopStart StartFromDesktop(const std::string& selfPath, int argc, const char* const* argv)
{
    DesktopStart start;
    if (isSet(kInTerminalMarker)) {
        if (hasTerminal())
            std::atexit(waitForEnter);
        return start;
    }
    if (selfPath.empty() || hasTerminal() || (!isSet("DISPLAY") && !isSet("WAYLAND_DISPLAY")))
        return start;
    start.handedOff = startInTerminal(selfPath, argc, argv);
    if (start.handedOff)
        return start;
    if (onPath("zenity"))
        start.dialogs = DialogProgram::Zenity;
    else if (onPath("kdialog"))
        start.dialogs = DialogProgram::Kdialog;
    return start;
}

ErrorCode AskPasswordInDialog(DialogProgram program, const std::string& name, SecretString& password)
{
    const std::string title = Printable(name);
    password.clear();
    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) != 0)
        return errno;
    Descriptor reading(pipe[0]);
    Descriptor writing(pipe[1]);
    const std::vector<std::string> arguments = program == DialogProgram::Zenity
                                                   ? std::vector<std::string>{"--password", option("--title", title)}
                                                   : std::vector<std::string>{"--title", title, "--password", title};
    const Spawned spawned = startDialog(program, arguments, writing.Get());
    writing.Reset();
    if (spawned.error != 0)
        return EIO;
    ErrorCode error = ReadLine(reading.Get(), password);
    // The rest of the output, if any, is not the password's; the child must not block on a full pipe.
    char rest[256];
    while (::read(reading.Get(), rest, sizeof rest) > 0) {
    }
    const int status = waitFor(spawned.pid);
    if (status != 0 || error == ENODATA) {
        WipeString(password);
        return status == 1 ? ECANCELED : status != 0 ? EIO : 0;
    }
    if (error != 0)
        WipeString(password);
    return error;
}

ErrorCode AskInDialog(DialogProgram program, const std::string& name, const std::string& text, bool& yes)
{
    const std::string title = Printable(name);
    const std::string question = sentence(text);
    const int status =
        runDialog(program, program == DialogProgram::Zenity
                               ? std::vector<std::string>{"--question", "--no-markup", "--default-cancel",
                                                          option("--title", title), option("--text", question)}
                               : std::vector<std::string>{"--title", title, "--yesno", question});
    yes = status == 0;
    return status == 0 || status == 1 ? 0 : EIO;
}

void TellInDialog(DialogProgram program, bool failure, const std::string& name, const std::string& message)
{
    if (program == DialogProgram::None)
        return;
    const std::string title = Printable(name);
    const std::string text = sentence(message);
    const char* const kind =
        program == DialogProgram::Zenity ? (failure ? "--error" : "--info") : (failure ? "--error" : "--msgbox");
    // Nothing more can be told when the dialog does not come up; the text is on standard error as well.
    static_cast<void>(runDialog(
        program, program == DialogProgram::Zenity
                     ? std::vector<std::string>{kind, "--no-markup", option("--title", title), option("--text", text)}
                     : std::vector<std::string>{"--title", title, kind, text}));
}

} // namespace tazen::platform
