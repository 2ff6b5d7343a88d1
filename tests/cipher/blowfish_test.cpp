// Blowfish: published known answers, key schedule rules, chaining rules and states.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cipher/blowfish.h"

#include "common/kat.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <random>
#include <vector>

namespace tazen {
namespace {

using test::Bytes;
using test::fromHex;
using test::KatRecord;
using test::randomBytes;

Bytes block(const TBlowfish::Vector& v)
{
    return Bytes(v.begin(), v.end());
}

void keyed(TBlowfish& cipher, const Bytes& key)
{
    cipher.SetKey(key.data(), static_cast<int>(key.size() * 8));
}

class BlowfishEcbKnownAnswer : public ::testing::TestWithParam<KatRecord>
{
};

TEST_P(BlowfishEcbKnownAnswer, EncryptsAndDecryptsBothInPlaceAndApart)
{
    const KatRecord& r = GetParam();
    TBlowfish cipher;
    keyed(cipher, fromHex(r["Key"]));
    const Bytes plain = fromHex(r["In"]);
    const Bytes expected = fromHex(r["Out"]);

    Bytes out(8);
    cipher.EcbEncrypt(plain.data(), out.data());
    EXPECT_EQ(out, expected);
    Bytes back(8);
    cipher.EcbDecrypt(out.data(), back.data());
    EXPECT_EQ(back, plain);

    Bytes inPlace = plain;
    cipher.EcbEncrypt(inPlace.data(), inPlace.data());
    EXPECT_EQ(inPlace, expected);
    cipher.EcbDecrypt(inPlace.data(), inPlace.data());
    EXPECT_EQ(inPlace, plain);
}

INSTANTIATE_TEST_SUITE_P(Published, BlowfishEcbKnownAnswer, ::testing::ValuesIn(test::loadKat("blowfish_ecb.txt")));

TEST(BlowfishCbc, ReproducesThePublishedChainingAnswerWithAGivenVector)
{
    for (const KatRecord& r : test::loadKat("blowfish_cbc.txt")) {
        SCOPED_TRACE(r);
        const Bytes key = fromHex(r["Key"]);
        const Bytes iv = fromHex(r["IV"]);
        const Bytes plain = fromHex(r["In"]);
        TBlowfish cipher;
        cipher.SetKey(key.data(), static_cast<int>(key.size() * 8), iv.data());
        EXPECT_EQ(block(cipher.InitialVector()), iv);

        Bytes data = plain;
        cipher.CbcEncrypt(data.data(), data.data(), static_cast<std::int64_t>(data.size()));
        EXPECT_EQ(data, fromHex(r["Out"]));
        cipher.ResetVector();
        cipher.CbcDecrypt(data.data(), data.data(), static_cast<std::int64_t>(data.size()));
        EXPECT_EQ(data, plain);
    }
}

TEST(BlowfishKeySchedule, RefusesSizesOutsideOneTo56WholeBytes)
{
    const Bytes key(64, 0x5A);
    for (const int bits : {0, -8, 12, 456, 449, 7}) {
        TBlowfish cipher;
        keyed(cipher, Bytes(8, 1));
        try {
            cipher.SetKey(key.data(), bits);
            ADD_FAILURE() << "accepted " << bits << " bits";
        } catch (const Exception& e) {
            EXPECT_EQ(std::string(e.what()), "Blowfish: Invalid key size - " + std::to_string(bits));
        }
        EXPECT_FALSE(cipher.Initialized()) << bits;
        EXPECT_TRUE(std::all_of(cipher.PArray().begin(), cipher.PArray().end(), [](std::uint32_t w) {
            return w == 0xFFFFFFFF;
        })) << "a refused key leaves the component wiped";
    }
    for (const int bits : {8, 448}) {
        TBlowfish cipher;
        EXPECT_NO_THROW(cipher.SetKey(key.data(), bits));
        EXPECT_TRUE(cipher.Initialized());
    }
}

TEST(BlowfishKeySchedule, UsesKeyBytesCyclically)
{
    const Bytes four = {0xDE, 0xAD, 0xBE, 0xEF};
    const Bytes eight = {0xDE, 0xAD, 0xBE, 0xEF, 0xDE, 0xAD, 0xBE, 0xEF};
    TBlowfish a;
    TBlowfish b;
    keyed(a, four);
    keyed(b, eight);
    EXPECT_EQ(a.PArray(), b.PArray());
    EXPECT_EQ(a.SBoxes(), b.SBoxes());

    // One key byte fills every key word; a different byte gives a different schedule.
    TBlowfish one;
    TBlowfish same;
    keyed(one, {0x42});
    keyed(same, Bytes(56, 0x42));
    EXPECT_EQ(one.PArray(), same.PArray());
    keyed(same, {0x43});
    EXPECT_NE(one.PArray(), same.PArray());
}

TEST(BlowfishKeySchedule, SetsTheInitialVector)
{
    TBlowfish cipher;
    keyed(cipher, {1, 2, 3, 4, 5, 6, 7, 8});
    const Bytes ones(8, 0xFF);
    Bytes encryptedOnes(8);
    cipher.EcbEncrypt(ones.data(), encryptedOnes.data());
    EXPECT_EQ(block(cipher.InitialVector()), encryptedOnes);
    EXPECT_EQ(cipher.ChainVector(), cipher.InitialVector());

    const Bytes given = {9, 8, 7, 6, 5, 4, 3, 2};
    cipher.SetKey(ones.data(), 64, given.data());
    EXPECT_EQ(block(cipher.InitialVector()), given);
    EXPECT_EQ(block(cipher.ChainVector()), given);
}

bool allFF(const TBlowfish& c)
{
    auto ff = [](auto x) { return x == static_cast<decltype(x)>(~decltype(x){}); };
    return std::all_of(c.SBoxes().begin(), c.SBoxes().end(), ff) &&
           std::all_of(c.PArray().begin(), c.PArray().end(), ff) &&
           std::all_of(c.InitialVector().begin(), c.InitialVector().end(), ff) &&
           std::all_of(c.ChainVector().begin(), c.ChainVector().end(), ff);
}

TEST(BlowfishState, NewAndWipedComponentsHoldOnly0xFFAndRefuseWork)
{
    TBlowfish cipher;
    EXPECT_FALSE(cipher.Initialized());
    EXPECT_TRUE(allFF(cipher));
    EXPECT_NO_THROW(cipher.ResetVector());
    EXPECT_NO_THROW(cipher.Wipe());

    keyed(cipher, {1, 2, 3});
    EXPECT_FALSE(allFF(cipher));
    cipher.Wipe();
    EXPECT_FALSE(cipher.Initialized());
    EXPECT_TRUE(allFF(cipher));

    const Bytes in(16, 0x11);
    Bytes out(16, 0x77);
    const Bytes untouched = out;
    auto expectRefused = [&](auto operation) {
        try {
            operation();
            ADD_FAILURE() << "worked without a key";
        } catch (const Exception& e) {
            EXPECT_STREQ(e.what(), "Blowfish: Not initialized");
        }
        EXPECT_EQ(out, untouched);
        EXPECT_TRUE(allFF(cipher));
    };
    expectRefused([&] { cipher.EcbEncrypt(in.data(), out.data()); });
    expectRefused([&] { cipher.EcbDecrypt(in.data(), out.data()); });
    expectRefused([&] { cipher.CbcEncrypt(in.data(), out.data(), 16); });
    expectRefused([&] { cipher.CbcDecrypt(in.data(), out.data(), 16); });
    expectRefused([&] { cipher.CfbEncrypt(in.data(), out.data(), 16); });
    expectRefused([&] { cipher.CfbDecrypt(in.data(), out.data(), 0); });
}

class BlowfishChaining : public ::testing::Test
{
protected:
    void SetUp() override { keyed(cipher, {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF, 0xF0, 0xE1}); }

    Bytes encryptBlock(const Bytes& in)
    {
        Bytes out(8);
        cipher.EcbEncrypt(in.data(), out.data());
        return out;
    }

    TBlowfish cipher;
    std::mt19937 rng{20261208};
};

TEST_F(BlowfishChaining, CbcTailIsXoredWithTheEncryptedLastBlockAndLeavesTheChain)
{
    const Bytes plain = randomBytes(rng, 13);
    Bytes data = plain;
    cipher.CbcEncrypt(data.data(), data.data(), 13);

    const Bytes c1(data.begin(), data.begin() + 8);
    Bytes firstIn(plain.begin(), plain.begin() + 8);
    for (int i = 0; i < 8; ++i)
        firstIn[i] ^= cipher.InitialVector()[i];
    EXPECT_EQ(c1, encryptBlock(firstIn));
    EXPECT_EQ(block(cipher.ChainVector()), c1);
    const Bytes pad = encryptBlock(c1);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(data[8 + i], plain[8 + i] ^ pad[i]) << i;

    cipher.ResetVector();
    cipher.CbcDecrypt(data.data(), data.data(), 13);
    EXPECT_EQ(data, plain);
}

TEST_F(BlowfishChaining, ShortCbcBufferLeavesTheChainSoItRepeats)
{
    const Bytes plain = {1, 2, 3, 4, 5};
    const Bytes pad = encryptBlock(block(cipher.InitialVector()));
    Bytes first(5);
    Bytes second(5);
    cipher.CbcEncrypt(plain.data(), first.data(), 5);
    cipher.CbcEncrypt(plain.data(), second.data(), 5);
    EXPECT_EQ(first, second);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(first[i], plain[i] ^ pad[i]);
    EXPECT_EQ(cipher.ChainVector(), cipher.InitialVector());
}

TEST_F(BlowfishChaining, PiecesGiveTheSameStreamAsOneCall)
{
    for (const std::size_t total : {16u, 40u, 64u, 77u, 8193u}) {
        const Bytes plain = randomBytes(rng, total);
        Bytes whole = plain;
        cipher.ResetVector();
        cipher.CbcEncrypt(whole.data(), whole.data(), static_cast<std::int64_t>(total));

        // Pieces of multiples of 8, of varying lengths, the remainder last.
        Bytes pieces = plain;
        cipher.ResetVector();
        std::size_t at = 0;
        for (std::size_t step = 8; at + step < total; at += step, step = step % 48 + 8)
            cipher.CbcEncrypt(pieces.data() + at, pieces.data() + at, static_cast<std::int64_t>(step));
        cipher.CbcEncrypt(pieces.data() + at, pieces.data() + at, static_cast<std::int64_t>(total - at));
        EXPECT_EQ(pieces, whole) << total;

        // Decryption in different pieces than encryption.
        cipher.ResetVector();
        at = 0;
        for (std::size_t step = 24; at + step < total; at += step, step = step % 40 + 8)
            cipher.CbcDecrypt(pieces.data() + at, pieces.data() + at, static_cast<std::int64_t>(step));
        cipher.CbcDecrypt(pieces.data() + at, pieces.data() + at, static_cast<std::int64_t>(total - at));
        EXPECT_EQ(pieces, plain) << total;
    }

    const Bytes plain = randomBytes(rng, 10);
    Bytes whole(10);
    Bytes split(10);
    cipher.ResetVector();
    cipher.CfbEncrypt(plain.data(), whole.data(), 10);
    cipher.ResetVector();
    cipher.CfbEncrypt(plain.data(), split.data(), 3);
    cipher.CfbEncrypt(plain.data() + 3, split.data() + 3, 7);
    EXPECT_EQ(split, whole);
    cipher.ResetVector();
    cipher.CfbDecrypt(split.data(), split.data(), 4);
    cipher.CfbDecrypt(split.data() + 4, split.data() + 4, 6);
    EXPECT_EQ(split, plain);
}

TEST_F(BlowfishChaining, InPlaceEqualsSeparateBuffers)
{
    using Operation = void (TBlowfish::*)(const void*, void*, std::int64_t);
    const Operation operations[] = {&TBlowfish::CbcEncrypt, &TBlowfish::CbcDecrypt, &TBlowfish::CfbEncrypt,
                                    &TBlowfish::CfbDecrypt};
    for (const Operation op : operations) {
        for (const std::size_t size : {1u, 8u, 13u, 32u, 39u, 72u, 100u}) {
            const Bytes in = randomBytes(rng, size);
            Bytes apart(size);
            cipher.ResetVector();
            (cipher.*op)(in.data(), apart.data(), static_cast<std::int64_t>(size));
            const auto chainApart = cipher.ChainVector();

            Bytes inPlace = in;
            cipher.ResetVector();
            (cipher.*op)(inPlace.data(), inPlace.data(), static_cast<std::int64_t>(size));
            EXPECT_EQ(inPlace, apart) << size;
            EXPECT_EQ(cipher.ChainVector(), chainApart) << size;
        }
    }
}

TEST_F(BlowfishChaining, SizeZeroOrLessWritesNothingAndKeepsTheChain)
{
    const Bytes in = randomBytes(rng, 16);
    Bytes first(16);
    cipher.CbcEncrypt(in.data(), first.data(), 16);
    const auto chain = cipher.ChainVector();

    Bytes out(16, 0xAB);
    const Bytes untouched = out;
    cipher.CbcEncrypt(in.data(), out.data(), 0);
    cipher.CbcDecrypt(in.data(), out.data(), 0);
    cipher.CfbEncrypt(in.data(), out.data(), 0);
    cipher.CfbDecrypt(in.data(), out.data(), -1);
    cipher.CbcEncrypt(in.data(), out.data(), -8);
    EXPECT_EQ(out, untouched);
    EXPECT_EQ(cipher.ChainVector(), chain);
}

TEST_F(BlowfishChaining, CfbFeedsTheCiphertextBytesBack)
{
    const Bytes plain = randomBytes(rng, 12);
    Bytes cipherText(12);
    const Bytes pad = encryptBlock(block(cipher.InitialVector()));
    cipher.CfbEncrypt(plain.data(), cipherText.data(), 12);
    EXPECT_EQ(cipherText[0], plain[0] ^ pad[0]);
    // After at least eight bytes the register holds the last eight ciphertext bytes.
    EXPECT_EQ(block(cipher.ChainVector()), Bytes(cipherText.end() - 8, cipherText.end()));

    Bytes back(12);
    cipher.ResetVector();
    cipher.CfbDecrypt(cipherText.data(), back.data(), 12);
    EXPECT_EQ(back, plain);
    EXPECT_EQ(block(cipher.ChainVector()), Bytes(cipherText.end() - 8, cipherText.end()));
}

} // namespace
} // namespace tazen
