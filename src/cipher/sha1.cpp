// The SHA-1 message digest of FIPS 180-1.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cipher/sha1.h"

#include "cipher/bigendian.h"

#include <cstring>

namespace tazen {

namespace {

constexpr std::array<std::uint32_t, 5> kInitialChain = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0};

} // namespace

TSha1::TSha1() : THash(2, "SHA1", 160) {}

TSha1::~TSha1()
{
    if (initialized_)
        HashWipe();
}

void TSha1::requireInitialized() const
{
    if (!initialized_)
        throw Exception("SHA1: Not initialized");
}

void TSha1::HashWipe()
{
    bitCountHigh_ = 0;
    bitCountLow_ = 0;
    bufferIndex_ = 0;
    SecureFill(blockBuffer_.data(), 0, blockBuffer_.size());
    SecureFill(chainWords_.data(), 0, sizeof chainWords_);
    initialized_ = false;
}

void TSha1::HashInit()
{
    HashWipe();
    chainWords_ = kInitialChain;
    initialized_ = true;
}

void TSha1::addBitCount(std::uint64_t bytes) noexcept
{
    // The two halves hold the message length in bits modulo 2^64.
    const auto lowBits = static_cast<std::uint32_t>(bytes << 3);
    bitCountLow_ += lowBits;
    if (bitCountLow_ < lowBits)
        ++bitCountHigh_;
    bitCountHigh_ += static_cast<std::uint32_t>(bytes >> 29);
}

void TSha1::HashUpdate(const void* buffer, std::int64_t size)
{
    requireInitialized();
    if (size <= 0)
        return;
    addBitCount(static_cast<std::uint64_t>(size));
    const auto* in = static_cast<const std::uint8_t*>(buffer);
    while (size > 0) {
        const int free = 64 - bufferIndex_;
        if (size < free) {
            std::memcpy(blockBuffer_.data() + bufferIndex_, in, static_cast<std::size_t>(size));
            bufferIndex_ += static_cast<int>(size);
            return;
        }
        std::memcpy(blockBuffer_.data() + bufferIndex_, in, static_cast<std::size_t>(free));
        in += free;
        size -= free;
        compressBlock();
    }
}

void TSha1::compressBlock() noexcept
{
    bufferIndex_ = 0;
    std::uint32_t w[80];
    for (int t = 0; t < 16; ++t)
        w[t] = loadBigEndian(blockBuffer_.data() + 4 * t);
    for (int t = 16; t < 80; ++t)
        w[t] = RotateLeft(w[t - 3] ^ w[t - 8] ^ w[t - 14] ^ w[t - 16], 1);

    std::uint32_t a = chainWords_[0];
    std::uint32_t b = chainWords_[1];
    std::uint32_t c = chainWords_[2];
    std::uint32_t d = chainWords_[3];
    std::uint32_t e = chainWords_[4];
    auto step = [&](std::uint32_t f, std::uint32_t k, std::uint32_t wt) {
        const std::uint32_t next = RotateLeft(a, 5) + f + e + wt + k;
        e = d;
        d = c;
        c = RotateLeft(b, 30);
        b = a;
        a = next;
    };
    for (int t = 0; t < 20; ++t)
        step((b & c) | (~b & d), 0x5A827999, w[t]);
    for (int t = 20; t < 40; ++t)
        step(b ^ c ^ d, 0x6ED9EBA1, w[t]);
    for (int t = 40; t < 60; ++t)
        step((b & c) | (b & d) | (c & d), 0x8F1BBCDC, w[t]);
    for (int t = 60; t < 80; ++t)
        step(b ^ c ^ d, 0xCA62C1D6, w[t]);

    chainWords_[0] += a;
    chainWords_[1] += b;
    chainWords_[2] += c;
    chainWords_[3] += d;
    chainWords_[4] += e;

    SecureFill(w, 0, sizeof w);
    SecureFill(blockBuffer_.data(), 0, blockBuffer_.size());
}

void TSha1::HashFinal(void* digest)
{
    requireInitialized();
    blockBuffer_[static_cast<std::size_t>(bufferIndex_)] = 0x80;
    if (bufferIndex_ >= 56)
        compressBlock();
    storeBigEndian(blockBuffer_.data() + 56, bitCountHigh_);
    storeBigEndian(blockBuffer_.data() + 60, bitCountLow_);
    compressBlock();

    auto* out = static_cast<std::uint8_t*>(digest);
    for (std::size_t i = 0; i < chainWords_.size(); ++i)
        storeBigEndian(out + 4 * i, chainWords_[i]);
    HashWipe();
}

} // namespace tazen
