// Blowfish and SHA-1 against OpenSSL's libcrypto, an independent implementation, on random input.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cipher/blowfish.h"
#include "cipher/sha1.h"

#include "common/bytes.h"

#include <openssl/blowfish.h>
#include <openssl/sha.h>

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

namespace tazen {
namespace {

using test::Bytes;
using test::randomBytes;

struct Reference
{
    explicit Reference(const Bytes& key) { BF_set_key(&schedule, static_cast<int>(key.size()), key.data()); }

    Bytes encryptBlock(const std::uint8_t* in)
    {
        Bytes out(8);
        BF_ecb_encrypt(in, out.data(), &schedule, BF_ENCRYPT);
        return out;
    }

    BF_KEY schedule;
};

TEST(OpenSslBlowfish, AgreesForEveryKeySizeInEcbAndCbc)
{
    std::mt19937 rng(448);
    for (int keyBytes = 1; keyBytes <= 56; ++keyBytes) {
        SCOPED_TRACE(keyBytes);
        const Bytes key = randomBytes(rng, static_cast<std::size_t>(keyBytes));
        Reference ref(key);
        TBlowfish cipher;
        cipher.SetKey(key.data(), keyBytes * 8);

        const Bytes in = randomBytes(rng, 8);
        Bytes ours(8);
        cipher.EcbEncrypt(in.data(), ours.data());
        ASSERT_EQ(ours, ref.encryptBlock(in.data()));
        Bytes theirs(8);
        BF_ecb_encrypt(in.data(), theirs.data(), &ref.schedule, BF_DECRYPT);
        cipher.EcbDecrypt(in.data(), ours.data());
        ASSERT_EQ(ours, theirs);

        // Whole blocks in CBC, long enough for the interleaved decryption and its remainder.
        const std::size_t size = 8 * (1 + rng() % 40);
        const Bytes plain = randomBytes(rng, size);
        Bytes iv(cipher.InitialVector().begin(), cipher.InitialVector().end());
        Bytes expected(size);
        BF_cbc_encrypt(plain.data(), expected.data(), static_cast<long>(size), &ref.schedule, iv.data(), BF_ENCRYPT);
        Bytes data = plain;
        cipher.CbcEncrypt(data.data(), data.data(), static_cast<std::int64_t>(size));
        ASSERT_EQ(data, expected);
        ASSERT_EQ(Bytes(cipher.ChainVector().begin(), cipher.ChainVector().end()), iv) << "chain = last block";

        iv.assign(cipher.InitialVector().begin(), cipher.InitialVector().end());
        Bytes decrypted(size);
        BF_cbc_encrypt(expected.data(), decrypted.data(), static_cast<long>(size), &ref.schedule, iv.data(),
                       BF_DECRYPT);
        cipher.ResetVector();
        cipher.CbcDecrypt(data.data(), data.data(), static_cast<std::int64_t>(size));
        ASSERT_EQ(data, decrypted);
        ASSERT_EQ(data, plain);
    }
}

TEST(OpenSslBlowfish, AgreesOnTheCbcTailAndOnEightBitCfb)
{
    std::mt19937 rng(8);
    for (int round = 0; round < 50; ++round) {
        const Bytes key = randomBytes(rng, 32);
        Reference ref(key);
        TBlowfish cipher;
        cipher.SetKey(key.data(), 256);
        const std::size_t size = rng() % 100;
        const Bytes plain = randomBytes(rng, size);

        // CBC: the whole blocks by OpenSSL, the tail xored with OpenSSL's encryption of the last one.
        const std::size_t whole = size / 8 * 8;
        Bytes chain(cipher.InitialVector().begin(), cipher.InitialVector().end());
        Bytes expected(size);
        BF_cbc_encrypt(plain.data(), expected.data(), static_cast<long>(whole), &ref.schedule, chain.data(),
                       BF_ENCRYPT);
        const Bytes pad = ref.encryptBlock(chain.data());
        for (std::size_t i = whole; i < size; ++i)
            expected[i] = plain[i] ^ pad[i - whole];
        Bytes ours = plain;
        cipher.CbcEncrypt(ours.data(), ours.data(), static_cast<std::int64_t>(size));
        ASSERT_EQ(ours, expected) << size;

        // 8-bit CFB from its definition over OpenSSL's block encryption.
        Bytes reg(cipher.InitialVector().begin(), cipher.InitialVector().end());
        for (std::size_t i = 0; i < size; ++i) {
            expected[i] = plain[i] ^ ref.encryptBlock(reg.data())[0];
            reg.erase(reg.begin());
            reg.push_back(expected[i]);
        }
        cipher.ResetVector();
        cipher.CfbEncrypt(plain.data(), ours.data(), static_cast<std::int64_t>(size));
        ASSERT_EQ(ours, expected) << size;
    }
}

TEST(OpenSslSha1, AgreesOnRandomMessagesFedInRandomPieces)
{
    std::mt19937 rng(180);
    for (std::size_t length = 0; length <= 300; ++length) {
        const Bytes message = randomBytes(rng, length);
        std::uint8_t expected[SHA_DIGEST_LENGTH];
        SHA1(message.data(), message.size(), expected);

        TSha1 hash;
        hash.HashInit();
        for (std::size_t at = 0; at < length;) {
            const std::size_t piece = std::min<std::size_t>(length - at, rng() % 80);
            hash.HashUpdate(message.data() + at, static_cast<std::int64_t>(piece));
            at += piece;
        }
        std::uint8_t ours[TSha1::kDigestSize];
        hash.HashFinal(ours);
        ASSERT_EQ(std::memcmp(ours, expected, sizeof ours), 0) << length;
    }
}

} // namespace
} // namespace tazen
