// A file's access and modification times, set and read for the tests of what keeps them.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdint>
#include <ctime>
#include <ostream>
#include <string>
#include <utility>

namespace tazen::test {

// Seconds and nanoseconds since 1970.
using Stamp = std::pair<std::int64_t, long>;

struct Dates
{
    Stamp accessed;
    Stamp modified;
    bool operator==(const Dates&) const = default;
};

inline void PrintTo(const Dates& dates, std::ostream* out)
{
    *out << "accessed " << dates.accessed.first << "." << dates.accessed.second << ", modified " << dates.modified.first
         << "." << dates.modified.second;
}

// Years before any test runs, nanoseconds in whole 100 ns steps as Windows keeps them: 2001-02-03 04:05:06 and
// 2002-03-04 05:06:07 UTC.
inline constexpr Stamp kFirstDate{981173106, 123456700};
inline constexpr Stamp kSecondDate{1015218367, 765432100};

// False when the system refused.
inline bool SetDates(const std::string& name, const Dates& dates)
{
    const timespec times[2] = {{static_cast<time_t>(dates.accessed.first), dates.accessed.second},
                               {static_cast<time_t>(dates.modified.first), dates.modified.second}};
    return ::utimensat(AT_FDCWD, name.c_str(), times, 0) == 0;
}

inline Dates DatesOf(const std::string& name)
{
    struct stat info = {};
    if (::stat(name.c_str(), &info) != 0)
        return {};
    return {{info.st_atim.tv_sec, info.st_atim.tv_nsec}, {info.st_mtim.tv_sec, info.st_mtim.tv_nsec}};
}

} // namespace tazen::test
