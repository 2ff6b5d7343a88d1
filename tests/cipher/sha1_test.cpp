// SHA-1: the FIPS 180-1 answers, block boundaries, states and wiping.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cipher/sha1.h"

#include "common/kat.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>

namespace tazen {
namespace {

using Digest = std::array<std::uint8_t, TSha1::kDigestSize>;

Digest digestOf(const std::string& message)
{
    TSha1 hash;
    hash.HashInit();
    hash.HashUpdateText(message);
    Digest d;
    hash.HashFinal(d.data());
    return d;
}

class Sha1KnownAnswer : public ::testing::TestWithParam<test::KatRecord>
{
};

TEST_P(Sha1KnownAnswer, GivesThePublishedDigest)
{
    const test::KatRecord& r = GetParam();
    const int repeat = r.has("Repeat") ? std::stoi(r["Repeat"]) : 1;
    TSha1 hash;
    hash.HashInit();
    if (r["Text"].size() == 1) {
        // A million single letters: fed in large pieces, as a file would be.
        const std::string chunk(1000, r["Text"][0]);
        for (int i = 0; i < repeat / 1000; ++i)
            hash.HashUpdateText(chunk);
        hash.HashUpdateText(std::string(static_cast<std::size_t>(repeat % 1000), r["Text"][0]));
    } else {
        for (int i = 0; i < repeat; ++i)
            hash.HashUpdateText(r["Text"]);
    }
    Digest d;
    hash.HashFinal(d.data());
    EXPECT_EQ(test::toHex(d), r["Digest"]);
}

INSTANTIATE_TEST_SUITE_P(Published, Sha1KnownAnswer, ::testing::ValuesIn(test::loadKat("sha1.txt")));

TEST(Sha1, PiecesAroundTheBlockBoundaryGiveTheSameDigest)
{
    for (const std::size_t length : {55u, 56u, 63u, 64u, 65u, 119u, 128u}) {
        std::string message(length, '\0');
        for (std::size_t i = 0; i < length; ++i)
            message[i] = static_cast<char>('a' + i % 26);
        const Digest whole = digestOf(message);

        TSha1 hash;
        hash.HashInit();
        for (const char c : message)
            hash.HashUpdate(&c, 1);
        Digest bytewise;
        hash.HashFinal(bytewise.data());
        EXPECT_EQ(bytewise, whole) << length;

        const std::size_t cut = std::min<std::size_t>(63, length);
        hash.HashInit();
        hash.HashUpdateText(message.substr(0, cut));
        hash.HashUpdate(nullptr, 0);
        hash.HashUpdateText(message.substr(cut));
        Digest split;
        hash.HashFinal(split.data());
        EXPECT_EQ(split, whole) << length;
    }
}

TEST(Sha1, RefusesWorkUntilInitializedAndWritesNothing)
{
    TSha1 hash;
    Digest d;
    d.fill(0x5C);
    const Digest untouched = d;
    EXPECT_THROW(hash.HashUpdate("x", 0), Exception);
    try {
        hash.HashFinal(d.data());
        ADD_FAILURE() << "HashFinal without HashInit";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "SHA1: Not initialized");
    }
    EXPECT_EQ(d, untouched);

    hash.HashInit();
    hash.HashUpdateText("abc");
    hash.HashFinal(d.data());
    EXPECT_THROW(hash.HashFinal(d.data()), Exception);
    EXPECT_THROW(hash.HashUpdateText("more"), Exception);
}

TEST(Sha1, HashInitDiscardsADigestInProgress)
{
    TSha1 hash;
    hash.HashInit();
    hash.HashUpdateText("something else entirely");
    hash.HashInit();
    hash.HashUpdateText("abc");
    Digest d;
    hash.HashFinal(d.data());
    EXPECT_EQ(test::toHex(d), "A9993E364706816ABA3E25717850C26C9CD0D89D");
}

TEST(Sha1, KeepsNothingOfTheMessage)
{
    TSha1 hash;
    hash.HashInit();
    hash.HashUpdateText("secret password");
    // Bytes beyond the waiting ones stay zero: the final padding relies on it.
    const auto& buffer = hash.BlockBuffer();
    EXPECT_EQ(hash.BufferIndex(), 15);
    EXPECT_TRUE(std::all_of(buffer.begin() + 15, buffer.end(), [](std::uint8_t b) { return b == 0; }));
    EXPECT_EQ(hash.BitCountLow(), 15u * 8);

    Digest d;
    hash.HashFinal(d.data());
    EXPECT_FALSE(hash.Initialized());
    EXPECT_EQ(hash.BufferIndex(), 0);
    EXPECT_EQ(hash.BitCountLow(), 0u);
    EXPECT_EQ(hash.BitCountHigh(), 0u);
    EXPECT_TRUE(std::all_of(buffer.begin(), buffer.end(), [](std::uint8_t b) { return b == 0; }));
    EXPECT_TRUE(
        std::all_of(hash.ChainWords().begin(), hash.ChainWords().end(), [](std::uint32_t w) { return w == 0; }));
}

} // namespace
} // namespace tazen
