// Random numbers from the kernel, for what must not be guessed.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/random.h"

#include <sys/random.h>

#include <cerrno>

namespace tazen::platform {

ErrorCode RandomBytes(void* buffer, std::size_t count)
{
    auto* bytes = static_cast<unsigned char*>(buffer);
    while (count > 0) {
        const ssize_t got = ::getrandom(bytes, count, 0);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        bytes += got;
        count -= static_cast<std::size_t>(got);
    }
    return 0;
}

ErrorCode RandomBelow(std::uint32_t bound, std::uint32_t& value)
{
    // Draws from the largest multiple of bound below 2^32 are kept, so no remainder is favoured.
    const std::uint32_t limit = UINT32_MAX - UINT32_MAX % bound;
    for (;;) {
        std::uint32_t drawn = 0;
        if (const ErrorCode error = RandomBytes(&drawn, sizeof drawn))
            return error;
        if (drawn < limit) {
            value = drawn % bound;
            return 0;
        }
    }
}

} // namespace tazen::platform
