// The one rule by which a password or an answer is read as a line, whatever the bytes come from.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/error.h"

#include <cerrno>
#include <cstddef>

namespace tazen {

// Lines longer than this are refused: no password or answer comes near it, and a file without line ends (or
// /dev/zero) must not be read into memory whole.
inline constexpr std::size_t kLongestLine = 64 * 1024;

// Reads one line through readByte (ErrorCode(char&): 0, ENODATA at the end of the input, or an error) without
// its "\n" or a "\r" before that. A last line without a line end counts; ENODATA when the input ends before any
// byte; EMSGSIZE, as soon as it is clear, for a line longer than kLongestLine. A line that may be a password
// goes into a string whose allocator wipes the buffers it outgrows.
template <typename ReadByte, typename Text> ErrorCode ReadLineWith(ReadByte&& readByte, Text& line)
{
    line.clear();
    bool any = false;
    for (;;) {
        char c = 0;
        const ErrorCode error = readByte(c);
        if (error == ENODATA)
            break;
        if (error != 0)
            return error;
        any = true;
        if (c == '\n')
            break;
        // One byte over, for a "\r" before the line end.
        if (line.size() > kLongestLine)
            return EMSGSIZE;
        line.push_back(c);
    }
    if (!any)
        return ENODATA;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line.size() > kLongestLine ? EMSGSIZE : 0;
}

} // namespace tazen
