// The Blowfish block cipher (64-bit block, 16 rounds, keys of 8 to 448 bits) with its chaining modes.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cipher/cryptbase.h"

#include <array>
#include <cstdint>
#include <memory>

namespace tazen {

class TBlowfish final : public TBlockCipher
{
public:
    using Vector = std::array<std::uint8_t, 8>;

    TBlowfish();
    ~TBlowfish() override;

    // Accepts 8 to 448 bits in steps of 8; key bytes are used cyclically, as Blowfish prescribes.
    void SetKey(const void* key, int sizeBits, const void* initialVector = nullptr) override;
    // Fills the tables and both vectors with 0xFF bytes.
    void Wipe() override;
    void ResetVector() override;
    void EcbEncrypt(const void* in, void* out) override;
    void EcbDecrypt(const void* in, void* out) override;
    // A final partial block is xored with the encryption of the chain vector and leaves the chain as it
    // was, so only the last piece of a stream may have a length that is not a multiple of 8.
    void CbcEncrypt(const void* in, void* out, std::int64_t size) override;
    void CbcDecrypt(const void* in, void* out, std::int64_t size) override;
    // 8-bit cipher feedback: one block encryption per byte.
    void CfbEncrypt(const void* in, void* out, std::int64_t size) override;
    void CfbDecrypt(const void* in, void* out, std::int64_t size) override;
    std::unique_ptr<TBlockCipher> NewOfSameKind() const override { return std::make_unique<TBlowfish>(); }

    const Vector& InitialVector() const noexcept { return initialVector_; }
    const Vector& ChainVector() const noexcept { return chainVector_; }
    const std::array<std::uint32_t, 4 * 256>& SBoxes() const noexcept { return sBoxes_; }
    const std::array<std::uint32_t, 18>& PArray() const noexcept { return pArray_; }

private:
    void requireInitialized() const;
    void encryptBlock(std::uint32_t& left, std::uint32_t& right) const noexcept;
    template <bool decrypting> void cfb(const void* in, void* out, std::int64_t size);

    Vector initialVector_;
    Vector chainVector_;
    std::array<std::uint32_t, 4 * 256> sBoxes_;
    std::array<std::uint32_t, 18> pArray_;
};

} // namespace tazen
