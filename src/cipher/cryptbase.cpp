// Helpers shared by the cipher and hash components.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cipher/cryptbase.h"

#include <cstring>

namespace tazen {

namespace {

SecretMemoryHooks secretMemoryHooks;

} // namespace

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

void SecureFill(void* data, unsigned char value, std::size_t size)
{
    std::memset(data, value, size);
    // Tells the optimiser the bytes are read afterwards, so the fill is never treated as a dead store.
    asm volatile("" : : "r"(data) : "memory");
}

void SetSecretMemoryHooks(SecretMemoryHooks hooks)
{
    secretMemoryHooks = hooks;
}

void HoldSecretMemory(const void* data, std::size_t size)
{
    if (secretMemoryHooks.hold != nullptr)
        secretMemoryHooks.hold(data, size);
}

void ReleaseSecretMemory(const void* data, std::size_t size)
{
    if (secretMemoryHooks.release != nullptr)
        secretMemoryHooks.release(data, size);
}

} // namespace tazen
