// Helpers and read-only properties of the cipher and hash components.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cipher/blowfish.h"
#include "cipher/cryptbase.h"
#include "cipher/sha1.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>

namespace tazen {
namespace {

TEST(RotateLeft, RotatesAndTakesTheCountModulo32)
{
    EXPECT_EQ(RotateLeft(0x80000001u, 1), 0x00000003u);
    EXPECT_EQ(RotateLeft(0x12345678u, 8), 0x34567812u);
    EXPECT_EQ(RotateLeft(0x12345678u, 0), 0x12345678u);
    EXPECT_EQ(RotateLeft(0x12345678u, 32), 0x12345678u);
    EXPECT_EQ(RotateLeft(0x12345678u, 36), RotateLeft(0x12345678u, 4));
    EXPECT_EQ(RotateLeft(0x12345678u, 255), RotateLeft(0x12345678u, 31));
}

TEST(XorBytes, CombinesInAscendingOrderAndMayWriteOntoAnInput)
{
    const std::array<std::uint8_t, 4> a = {0x0F, 0xF0, 0xAA, 0x55};
    const std::array<std::uint8_t, 4> b = {0xFF, 0xFF, 0x0F, 0x55};
    std::array<std::uint8_t, 4> out{};
    XorBytes(a.data(), b.data(), out.data(), 4);
    EXPECT_EQ(out, (std::array<std::uint8_t, 4>{0xF0, 0x0F, 0xA5, 0x00}));

    auto inPlace = a;
    XorBytes(inPlace.data(), b.data(), inPlace.data(), 3);
    EXPECT_EQ(inPlace, (std::array<std::uint8_t, 4>{0xF0, 0x0F, 0xA5, 0x55}));

    auto untouched = a;
    XorBytes(a.data(), b.data(), untouched.data(), 0);
    XorBytes(b.data(), b.data(), untouched.data(), -5);
    EXPECT_EQ(untouched, a);
}

// What the components tell about themselves; the file format takes its key size from MaxKeySize.
TEST(PublishedProperties, NameTheAlgorithmAndItsSizes)
{
    TBlowfish cipher;
    EXPECT_EQ(cipher.Algorithm(), "Blowfish");
    EXPECT_EQ(cipher.AlgorithmId(), 5);
    EXPECT_EQ(cipher.BlockSize(), 64);
    EXPECT_EQ(cipher.MaxKeySize(), 448);

    TSha1 hash;
    EXPECT_EQ(hash.Algorithm(), "SHA1");
    EXPECT_EQ(hash.AlgorithmId(), 2);
    EXPECT_EQ(hash.HashSize(), 160);
}

} // namespace
} // namespace tazen
