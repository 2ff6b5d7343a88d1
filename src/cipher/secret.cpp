// Secret memory: the wipe that is never dropped, and the hooks through which the platform keeps secrets out of
// core files and swap.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cipher/secret.h"

#include <cstring>

namespace tazen {

namespace {

SecretMemoryHooks secretMemoryHooks;

} // namespace

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
