// Helpers shared by the cipher and hash components.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cipher/cryptbase.h"

namespace tazen {

std::uint32_t RotateLeft(std::uint32_t value, std::uint8_t count)
{
    const unsigned n = count & 31u;
    return (value << n) | (value >> ((32u - n) & 31u));
}

void XorBytes(const void* a, const void* b, void* out, std::int64_t count)
{
    const auto* pa = static_cast<const unsigned char*>(a);
    const auto* pb = static_cast<const unsigned char*>(b);
    auto* po = static_cast<unsigned char*>(out);
    for (std::int64_t i = 0; i < count; ++i)
        po[i] = static_cast<unsigned char>(pa[i] ^ pb[i]);
}

} // namespace tazen
