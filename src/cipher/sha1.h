// The SHA-1 message digest of FIPS 180-1, used to turn a password into a key.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cipher/cryptbase.h"

#include <array>
#include <cstdint>

namespace tazen {

class TSha1 final : public THash
{
public:
    static constexpr int kDigestSize = 20;

    TSha1();
    ~TSha1() override;

    void HashInit() override;
    // Zeroes the counts, the chaining words and the block buffer, and leaves the initialized state.
    void HashWipe() override;
    void HashUpdate(const void* buffer, std::int64_t size) override;
    // Writes the 20-byte digest, then wipes.
    void HashFinal(void* digest) override;

    std::uint32_t BitCountHigh() const noexcept { return bitCountHigh_; }
    std::uint32_t BitCountLow() const noexcept { return bitCountLow_; }
    int BufferIndex() const noexcept { return bufferIndex_; }
    const std::array<std::uint32_t, 5>& ChainWords() const noexcept { return chainWords_; }
    const std::array<std::uint8_t, 64>& BlockBuffer() const noexcept { return blockBuffer_; }

private:
    void requireInitialized() const;
    void addBitCount(std::uint64_t bytes) noexcept;
    void compressBlock() noexcept;

    std::uint32_t bitCountHigh_ = 0;
    std::uint32_t bitCountLow_ = 0;
    int bufferIndex_ = 0;
    std::array<std::uint32_t, 5> chainWords_{};
    // Every byte at or after bufferIndex_ is zero; the final padding relies on it.
    std::array<std::uint8_t, 64> blockBuffer_{};
};

} // namespace tazen
