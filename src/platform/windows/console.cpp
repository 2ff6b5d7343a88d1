// The Windows console through its wide-character calls.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/windows/console.h"

#include "platform/windows/text.h"

#include "base/ascii.h"

#include <windows.h>

#include <atomic>
#include <cerrno>
#include <string_view>

namespace tazen::platform::windows {

namespace {

std::atomic<int> caught{0};
// A console read is waiting for a line.
std::atomic<bool> reading{false};

// ReadConsoleW marked as waiting while it waits.
BOOL readConsole(HANDLE input, wchar_t* buffer, DWORD size, DWORD& got)
{
    reading = true;
    const BOOL read = ::ReadConsoleW(input, buffer, size, &got, nullptr);
    reading = false;
    return read;
}

// The console window is being closed, or Windows shut down.
std::atomic<bool> closing{false};

BOOL WINAPI onControl(DWORD event)
{
    if (event == CTRL_CLOSE_EVENT || event == CTRL_SHUTDOWN_EVENT) {
        // Windows ends the process when this returns, or after five seconds: until then the work stops and
        // removes what it had begun, and the process ends by itself when it is done.
        closing = true;
        int none = 0;
        caught.compare_exchange_strong(none, 2);
        for (int waited = 0; waited < 4500; waited += 50)
            ::Sleep(50);
        return FALSE;
    }
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        return FALSE;
    int none = 0;
    // The second one gets the default handler, which ends the process.
    if (!caught.compare_exchange_strong(none, 2))
        return FALSE;
    // A console read in progress does not always end with it (Wine's does not): an Enter ends the read, which
    // then sees the flag.
    if (!reading)
        return TRUE;
    const HANDLE input = ::CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                       nullptr, OPEN_EXISTING, 0, nullptr);
    if (input != INVALID_HANDLE_VALUE) {
        INPUT_RECORD enter[2] = {};
        for (int i = 0; i < 2; ++i) {
            enter[i].EventType = KEY_EVENT;
            enter[i].Event.KeyEvent.bKeyDown = i == 0;
            enter[i].Event.KeyEvent.wRepeatCount = 1;
            enter[i].Event.KeyEvent.wVirtualKeyCode = VK_RETURN;
            enter[i].Event.KeyEvent.uChar.UnicodeChar = L'\r';
        }
        DWORD written = 0;
        ::WriteConsoleInputW(input, enter, 2, &written);
        ::CloseHandle(input);
    }
    return TRUE;
}

using WideSecret = std::basic_string<wchar_t, std::char_traits<wchar_t>, SecretAllocator<wchar_t>>;

bool isConsole(HANDLE handle)
{
    DWORD mode = 0;
    return handle != nullptr && handle != INVALID_HANDLE_VALUE && ::GetConsoleMode(handle, &mode) != 0;
}

void writeAll(HANDLE handle, const std::string& utf8)
{
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE || utf8.empty())
        return;
    if (isConsole(handle)) {
        const std::wstring wide = Wide(utf8);
        DWORD written = 0;
        for (std::size_t at = 0; at < wide.size(); at += written)
            if (!::WriteConsoleW(handle, wide.data() + at, static_cast<DWORD>(wide.size() - at), &written, nullptr) ||
                written == 0)
                return;
        return;
    }
    DWORD written = 0;
    for (std::size_t at = 0; at < utf8.size(); at += written)
        if (!::WriteFile(handle, utf8.data() + at, static_cast<DWORD>(utf8.size() - at), &written, nullptr) ||
            written == 0)
            return;
}

} // namespace

void CatchInterrupts()
{
    ::SetConsoleCtrlHandler(&onControl, TRUE);
}

int InterruptSignal()
{
    return caught.load();
}

void WriteText(bool toError, const std::string& utf8)
{
    writeAll(::GetStdHandle(toError ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE), utf8);
}

namespace {

// A line from a console as UTF-16, in UTF-8.
ErrorCode readConsoleLine(HANDLE input, SecretString& line)
{
    line.clear();
    WideSecret wide;
    WipeOnExit<WideSecret> wipe(wide);
    wchar_t buffer[256];
    for (;;) {
        DWORD got = 0;
        const BOOL read = readConsole(input, buffer, static_cast<DWORD>(std::size(buffer)), got);
        const DWORD error = read ? ERROR_SUCCESS : ::GetLastError();
        if (caught.load() == 0 && (error == ERROR_OPERATION_ABORTED || (read && got == 0))) {
            // Windows may end the read at Ctrl+C before the handler, on a thread of its own, has noted it.
            ::Sleep(100);
        }
        if (caught.load() != 0) {
            SecureFill(buffer, 0, sizeof buffer);
            return EINTR;
        }
        if (!read)
            return FromSystemError(error);
        if (got == 0)
            return ENODATA;
        wide.append(buffer, got);
        SecureFill(buffer, 0, sizeof buffer);
        if (wide.size() > 2 * kLongestLine)
            return EMSGSIZE;
        if (const std::size_t end = wide.find(L'\n'); end != WideSecret::npos) {
            wide.resize(end);
            break;
        }
    }
    if (!wide.empty() && wide.back() == L'\r')
        wide.pop_back();
    AppendUtf8(wide.data(), wide.size(), line);
    return line.size() > kLongestLine ? EMSGSIZE : 0;
}

} // namespace

ErrorCode ReadInputLine(SecretString& line)
{
    line.clear();
    const HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
    if (input == nullptr || input == INVALID_HANDLE_VALUE)
        return ENODATA;
    // Typed on the console the bytes would come in its code page; as UTF-16 they come as typed.
    if (isConsole(input))
        return readConsoleLine(input, line);
    return ReadLineWith(
        [input](char& c) {
            DWORD got = 0;
            if (!::ReadFile(input, &c, 1, &got, nullptr)) {
                const DWORD error = ::GetLastError();
                return error == ERROR_BROKEN_PIPE || error == ERROR_HANDLE_EOF ? ErrorCode(ENODATA)
                                                                               : FromSystemError(error);
            }
            if (caught.load() != 0)
                return ErrorCode(EINTR);
            return got == 0 ? ErrorCode(ENODATA) : ErrorCode(0);
        },
        line);
}

Console::~Console()
{
    if (input_)
        ::CloseHandle(input_);
    if (output_)
        ::CloseHandle(output_);
}

ErrorCode Console::Open()
{
    const auto open = [](const wchar_t* name) {
        const HANDLE handle = ::CreateFileW(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                            nullptr, OPEN_EXISTING, 0, nullptr);
        return handle == INVALID_HANDLE_VALUE ? nullptr : handle;
    };
    input_ = open(L"CONIN$");
    output_ = open(L"CONOUT$");
    if (!isConsole(input_) || !isConsole(output_))
        return ENXIO;
    return 0;
}

void Console::write(const std::string& utf8)
{
    writeAll(output_, utf8);
}

ErrorCode Console::ReadHidden(const std::string& prompt, SecretString& line)
{
    DWORD mode = 0;
    if (!::GetConsoleMode(input_, &mode))
        return LastError();
    if (!::SetConsoleMode(input_, (mode | ENABLE_LINE_INPUT | ENABLE_PROCESSED_INPUT) & ~ENABLE_ECHO_INPUT))
        return LastError();
    write(prompt);
    const ErrorCode error = readConsoleLine(input_, line);
    ::SetConsoleMode(input_, mode);
    // The Enter that ended the line was not echoed either.
    write("\n");
    return error;
}

ErrorCode Console::Ask(const std::string& question, bool& yes)
{
    yes = false;
    write(question);
    SecretString answer;
    if (const ErrorCode error = readConsoleLine(input_, answer))
        return error;
    const std::string_view text(answer.data(), answer.size());
    yes = EqualIgnoringAsciiCase(text, "y") || EqualIgnoringAsciiCase(text, "yes");
    return 0;
}

void Console::WaitForEnter(const std::string& text)
{
    write(text);
    // Keys pressed while the program worked (and the Enter a Ctrl+C puts in) do not close the window unread.
    ::FlushConsoleInputBuffer(input_);
    wchar_t buffer[64];
    for (DWORD got = 0; readConsole(input_, buffer, static_cast<DWORD>(std::size(buffer)), got) && got > 0 &&
                        std::wstring_view(buffer, got).find(L'\n') == std::wstring_view::npos;) {
    }
}

bool ConsoleClosing()
{
    return closing;
}

bool OwnsConsole()
{
    DWORD processes[2];
    return ::GetConsoleProcessList(processes, 2) == 1;
}

} // namespace tazen::platform::windows
