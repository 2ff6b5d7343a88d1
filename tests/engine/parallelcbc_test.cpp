// One stretch's CBC decryption shared with helper threads gives the bytes, and leaves the chain, of doing it
// alone.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/parallelcbc.h"

#include "cipher/blowfish.h"

#include "common/bytes.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace tazen {
namespace {

using test::Bytes;

TEST(ParallelDecryption, SharedStretchesDecryptAsOneThreadDoes)
{
    TBlowfish cipher;
    const RunKey key(cipher, "pieces");
    std::mt19937 rng(21);
    Bytes plain(3 * kPieceSize + 5);
    for (std::uint8_t& byte : plain)
        byte = static_cast<std::uint8_t>(rng());
    key.KeyCipher(cipher);
    Bytes encrypted = plain;
    TransformPayload(cipher, PayloadDirection::Encrypt, encrypted.data(), static_cast<std::int64_t>(plain.size()));

    struct Case
    {
        int threads;
        std::int64_t first;  // the first stretch; the second is the rest
        std::int64_t claims; // pieces the caller claims per stretch at most; helpers must do the rest
    };
    const Case cases[] = {
        {2, 2 * kPieceSize, 1},     {2, 2 * kPieceSize, 99}, {3, kPieceSize + 8, 1},
        {2, 8, 1},                  {4, 3 * kPieceSize, 1},  {2, static_cast<std::int64_t>(plain.size()), 2},
        {1, 2 * kPieceSize + 16, 99}};
    for (const Case& c : cases) {
        SCOPED_TRACE("threads " + std::to_string(c.threads) + ", first stretch " + std::to_string(c.first) +
                     ", caller's claims " + std::to_string(c.claims));
        key.KeyCipher(cipher);
        ParallelDecryption parallel(cipher, key, c.threads);
        EXPECT_EQ(parallel.Helps(), c.threads > 1);
        Bytes data = encrypted;
        const auto whole = static_cast<std::int64_t>(data.size());
        for (const std::int64_t from : {std::int64_t{0}, c.first}) {
            const std::int64_t size = (from == 0 ? c.first : whole) - from;
            parallel.Begin(data.data() + from, size);
            for (std::int64_t i = 0; i < c.claims && i * kPieceSize < size && parallel.Claim(i); ++i)
                cipher.CbcDecrypt(data.data() + from + i * kPieceSize, data.data() + from + i * kPieceSize,
                                  std::min<std::int64_t>(kPieceSize, size - i * kPieceSize));
            parallel.Finish(cipher);
        }
        EXPECT_EQ(data, plain);
    }
}

} // namespace
} // namespace tazen
