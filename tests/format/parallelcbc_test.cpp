// One stretch's CBC decryption shared with helper threads gives the bytes, and leaves the chain, of doing it
// alone.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "format/parallelcbc.h"

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
    TransformPayload(cipher, Direction::Encrypt, encrypted.data(), static_cast<std::int64_t>(plain.size()));

    struct Case
    {
        int threads;
        std::int64_t first;  // the first stretch; the second is the rest
        std::int64_t claims; // pieces the caller claims per stretch at most; helpers must do the rest
        bool queued;         // both stretches begun before the first is claimed
    };
    const Case cases[] = {{2, 2 * kPieceSize, 1, false}, {2, 2 * kPieceSize, 99, false},
                          {3, kPieceSize + 8, 1, false}, {2, 8, 1, false},
                          {4, 3 * kPieceSize, 1, false}, {2, 2 * kPieceSize, 1, true},
                          {3, kPieceSize, 2, true},      {1, 2 * kPieceSize + 16, 99, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE("threads " + std::to_string(c.threads) + ", first stretch " + std::to_string(c.first) +
                     ", caller's claims " + std::to_string(c.claims) + (c.queued ? ", queued" : ""));
        key.KeyCipher(cipher);
        ParallelDecryption parallel(cipher, key, c.threads);
        EXPECT_EQ(parallel.Helps(), c.threads > 1);
        Bytes data = encrypted;
        const auto whole = static_cast<std::int64_t>(data.size());
        const std::int64_t starts[] = {0, c.first, whole};
        const auto begin = [&](int n) { parallel.Begin(data.data() + starts[n], starts[n + 1] - starts[n]); };
        for (int stretch = 0; stretch < 2; ++stretch) {
            if (!c.queued) {
                begin(stretch);
            } else if (stretch == 0) {
                begin(0);
                begin(1);
            }
            std::uint8_t* from = data.data() + starts[stretch];
            const std::int64_t size = starts[stretch + 1] - starts[stretch];
            for (std::int64_t i = 0; i < c.claims && i * kPieceSize < size && parallel.Claim(i); ++i)
                cipher.CbcDecrypt(from + i * kPieceSize, from + i * kPieceSize,
                                  std::min<std::int64_t>(kPieceSize, size - i * kPieceSize));
            parallel.Finish(cipher);
        }
        EXPECT_EQ(data, plain);
    }
}

} // namespace
} // namespace tazen
