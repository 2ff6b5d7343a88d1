// Keying and every block and chaining operation run without touching the heap.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cipher/blowfish.h"
#include "cipher/sha1.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

namespace {

// Counts the heap allocations this thread makes while counting is on.
thread_local bool counting = false;
thread_local int allocations = 0;

} // namespace

void* operator new(std::size_t size)
{
    if (counting)
        ++allocations;
    if (void* p = std::malloc(size != 0 ? size : 1))
        return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

namespace tazen {
namespace {

TEST(NoAllocation, KeyingEncryptingAndHashing)
{
    static std::uint8_t buffer[8192 + 5];
    static std::uint8_t key[32] = {1, 2, 3};
    static std::uint8_t digest[20];
    TBlowfish cipher;
    TSha1 hash;

    counting = true;
    allocations = 0;
    cipher.SetKey(key, 256);
    cipher.EcbEncrypt(buffer, buffer);
    cipher.EcbDecrypt(buffer, buffer);
    cipher.CbcEncrypt(buffer, buffer, sizeof buffer);
    cipher.ResetVector();
    cipher.CbcDecrypt(buffer, buffer, sizeof buffer);
    cipher.CfbEncrypt(buffer, buffer, 100);
    cipher.CfbDecrypt(buffer, buffer, 100);
    cipher.Wipe();
    hash.HashInit();
    hash.HashUpdate(buffer, sizeof buffer);
    hash.HashFinal(digest);
    counting = false;

    EXPECT_EQ(allocations, 0);
}

} // namespace
} // namespace tazen
