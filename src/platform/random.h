// Random numbers from the kernel, for what must not be guessed.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/error.h"

#include <cstddef>
#include <cstdint>

namespace tazen::platform {

// Fills buffer with count bytes from getrandom, waiting for the kernel's pool at boot. 0 or errno.
tazen::ErrorCode RandomBytes(void* buffer, std::size_t count);

// A number in [0, bound), every one equally likely; bound above 0. 0 or errno.
tazen::ErrorCode RandomBelow(std::uint32_t bound, std::uint32_t& value);

} // namespace tazen::platform
