// The system's version and memory for the about box, read from uname, os-release and /proc/meminfo.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/sysinfo.h"

#include <cerrno>
#include <fstream>
#include <iterator>
#include <limits>

#include <sched.h>
#include <sys/utsname.h>

namespace tazen::platform {

namespace {

// The whole file, or nullopt when it cannot be opened. /proc files report no size, so they are read until
// their end rather than by their length.
std::optional<std::string> readText(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad())
        return std::nullopt;
    return text;
}

std::string_view trimmed(std::string_view text)
{
    constexpr std::string_view blanks = " \t\r";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    const std::size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

// Leading decimal digits of text, consumed; nullopt when there are none or they overflow.
template <typename Number> std::optional<Number> takeNumber(std::string_view& text)
{
    std::size_t used = 0;
    Number value = 0;
    while (used < text.size() && text[used] >= '0' && text[used] <= '9') {
        const auto digit = static_cast<Number>(text[used] - '0');
        if (value > (std::numeric_limits<Number>::max() - digit) / 10)
            return std::nullopt;
        value = static_cast<Number>(value * 10 + digit);
        ++used;
    }
    if (used == 0)
        return std::nullopt;
    text.remove_prefix(used);
    return value;
}

// An os-release value: shell-style, so it may be quoted and, inside double quotes, escaped with '\'.
std::string unquoted(std::string_view value)
{
    if (value.size() >= 2 && value.front() == '\'' && value.back() == '\'')
        return std::string(value.substr(1, value.size() - 2));
    if (value.size() < 2 || value.front() != '"' || value.back() != '"')
        return std::string(value);
    value = value.substr(1, value.size() - 2);
    std::string result;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size())
            ++i;
        result += value[i];
    }
    return result;
}

} // namespace

bool ParseKernelRelease(std::string_view text, unsigned& major, unsigned& minor, unsigned& build)
{
    unsigned* const parts[] = {&major, &minor, &build};
    for (unsigned* part : parts)
        *part = 0;
    for (std::size_t i = 0; i < 3; ++i) {
        if (i > 0) {
            if (text.empty() || text.front() != '.')
                break;
            text.remove_prefix(1);
        }
        const std::optional<unsigned> number = takeNumber<unsigned>(text);
        if (!number)
            return i > 0;
        *parts[i] = *number;
    }
    return true;
}

std::string ParseOsReleasePrettyName(std::string_view text)
{
    constexpr std::string_view key = "PRETTY_NAME=";
    // As the shell would source it: a later assignment wins.
    std::string name;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = trimmed(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.starts_with(key))
            name = unquoted(trimmed(line.substr(key.size())));
    }
    return name;
}

std::optional<MemoryStatus> ParseMemInfo(std::string_view text)
{
    std::optional<std::uint64_t> total;
    std::optional<std::uint64_t> available;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos)
            continue;
        const std::string_view name = line.substr(0, colon);
        std::optional<std::uint64_t>* target = name == "MemTotal"       ? &total
                                               : name == "MemAvailable" ? &available
                                                                        : nullptr;
        if (!target)
            continue;
        std::string_view rest = trimmed(line.substr(colon + 1));
        const std::optional<std::uint64_t> number = takeNumber<std::uint64_t>(rest);
        if (!number)
            continue;
        const bool kilobytes = trimmed(rest) == "kB";
        if (kilobytes && *number > std::numeric_limits<std::uint64_t>::max() / 1024)
            continue;
        *target = kilobytes ? *number * 1024 : *number;
    }
    if (!total || !available)
        return std::nullopt;
    return MemoryStatus{*total, *available};
}

int UsableProcessors()
{
    cpu_set_t set;
    CPU_ZERO(&set);
    if (::sched_getaffinity(0, sizeof set, &set) != 0)
        return 1;
    const int count = CPU_COUNT(&set);
    return count > 0 ? count : 1;
}

SystemVersion GetSystemVersion()
{
    SystemVersion version;
    version.family = "Linux";
    struct utsname names
    {
    };
    if (::uname(&names) == 0)
        ParseKernelRelease(names.release, version.major, version.minor, version.build);
    std::optional<std::string> osRelease = readText("/etc/os-release");
    if (!osRelease)
        osRelease = readText("/usr/lib/os-release");
    if (osRelease)
        version.additional = ParseOsReleasePrettyName(*osRelease);
    return version;
}

ErrorCode GetMemoryStatus(MemoryStatus& status)
{
    errno = 0;
    const std::optional<std::string> text = readText("/proc/meminfo");
    if (!text)
        return errno != 0 ? errno : EIO;
    const std::optional<MemoryStatus> parsed = ParseMemInfo(*text);
    if (!parsed)
        return ENODATA;
    status = *parsed;
    return 0;
}

} // namespace tazen::platform
