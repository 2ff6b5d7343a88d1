// The system's version and memory for the about box, read from uname, os-release and /proc/meminfo.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/error.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tazen::platform {

struct SystemVersion
{
    std::string family;     // "Linux"
    unsigned major = 0;     // of the kernel release
    unsigned minor = 0;     //
    unsigned build = 0;     // the release's third number
    std::string additional; // the distribution's PRETTY_NAME, or empty
};

struct MemoryStatus
{
    std::uint64_t totalBytes = 0;
    std::uint64_t availableBytes = 0;
};

// How many processors this process may run on (its affinity mask), at least 1.
int UsableProcessors();

// The running system's version; its numbers stay 0 where the kernel release does not give them.
SystemVersion GetSystemVersion();

// ENODATA when /proc/meminfo lacks either figure, or the reason it cannot be read.
tazen::ErrorCode GetMemoryStatus(MemoryStatus& status);

// "6.1.0-13-amd64" gives 6, 1 and 0; numbers the text lacks stay 0. False when it does not begin with a
// number.
bool ParseKernelRelease(std::string_view text, unsigned& major, unsigned& minor, unsigned& build);

// The value of PRETTY_NAME in an os-release text, without its quotes; empty when there is none.
std::string ParseOsReleasePrettyName(std::string_view text);

// MemTotal and MemAvailable of a /proc/meminfo text (given there in kB).
std::optional<MemoryStatus> ParseMemInfo(std::string_view text);

} // namespace tazen::platform
