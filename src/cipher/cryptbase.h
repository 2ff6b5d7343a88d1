// Base classes of the block-cipher and hash components, and the helpers they share; the secret memory they
// keep keys in has a header of its own.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cipher/secret.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

namespace tazen {

// What the cipher and hash components raise; what() is the message text, which begins with the
// algorithm's name ("Blowfish: Not initialized").
class Exception : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Rotates value left by count bits, count taken modulo 32.
std::uint32_t RotateLeft(std::uint32_t value, std::uint8_t count);

// out[i] := a[i] xor b[i] for i from 0 to count - 1 in ascending order; out may be a or b.
void XorBytes(const void* a, const void* b, void* out, std::int64_t count);

// A block cipher keyed from bytes that transforms single blocks or whole buffers in a chaining mode.
// Buffer sizes are 64-bit; a size of zero or less writes nothing.
class TBlockCipher
{
public:
    TBlockCipher(const TBlockCipher&) = delete;
    TBlockCipher& operator=(const TBlockCipher&) = delete;
    virtual ~TBlockCipher() = default;

    int AlgorithmId() const noexcept { return algorithmId_; }
    bool Initialized() const noexcept { return initialized_; }

    // Published properties, read-only in effect: a stored form assigns them, and that changes nothing.
    const std::string& Algorithm() const noexcept { return algorithm_; }
    void SetAlgorithm(const std::string& value) { discardedName_ = value; }
    int BlockSize() const noexcept { return blockSize_; }
    void SetBlockSize(int value) noexcept { discardedNumber_ = value; }
    int MaxKeySize() const noexcept { return maxKeySize_; }
    void SetMaxKeySize(int value) noexcept { discardedNumber_ = value; }

    // Reads sizeBits / 8 key bytes; without an initial vector the vector becomes the encryption of
    // eight 0xFF bytes under the new key.
    virtual void SetKey(const void* key, int sizeBits, const void* initialVector = nullptr) = 0;
    virtual void Wipe() = 0;
    virtual void ResetVector() = 0;
    virtual void EcbEncrypt(const void* in, void* out) = 0;
    virtual void EcbDecrypt(const void* in, void* out) = 0;
    virtual void CbcEncrypt(const void* in, void* out, std::int64_t size) = 0;
    virtual void CbcDecrypt(const void* in, void* out, std::int64_t size) = 0;
    virtual void CfbEncrypt(const void* in, void* out, std::int64_t size) = 0;
    virtual void CfbDecrypt(const void* in, void* out, std::int64_t size) = 0;
    // A new, unkeyed cipher of the same algorithm, for work on another thread; null where there is none.
    virtual std::unique_ptr<TBlockCipher> NewOfSameKind() const { return nullptr; }

protected:
    TBlockCipher(int algorithmId, std::string algorithm, int blockSize, int maxKeySize)
        : algorithmId_(algorithmId), algorithm_(std::move(algorithm)), blockSize_(blockSize), maxKeySize_(maxKeySize)
    {
    }

    int algorithmId_;
    bool initialized_ = false;
    std::string algorithm_;
    int blockSize_;
    int maxKeySize_;
    std::string discardedName_;
    int discardedNumber_ = 0;
};

// A message digest fed in pieces: HashInit, any number of updates, HashFinal.
class THash
{
public:
    THash(const THash&) = delete;
    THash& operator=(const THash&) = delete;
    virtual ~THash() = default;

    int AlgorithmId() const noexcept { return algorithmId_; }
    bool Initialized() const noexcept { return initialized_; }

    // Published properties, read-only in effect.
    const std::string& Algorithm() const noexcept { return algorithm_; }
    void SetAlgorithm(const std::string& value) { discardedName_ = value; }
    int HashSize() const noexcept { return hashSize_; }
    void SetHashSize(int value) { IgnoreHashSize(value); }

    virtual void IgnoreHashSize(int /*value*/) {}
    virtual void HashInit() = 0;
    virtual void HashWipe() = 0;
    virtual void HashUpdate(const void* buffer, std::int64_t size) = 0;
    // Writes HashSize / 8 bytes and leaves the component wiped and not initialized.
    virtual void HashFinal(void* digest) = 0;

    // Hashes the text's bytes: no terminator, no length prefix.
    void HashUpdateText(std::string_view text) { HashUpdate(text.data(), static_cast<std::int64_t>(text.size())); }

protected:
    THash(int algorithmId, std::string algorithm, int hashSize)
        : algorithmId_(algorithmId), algorithm_(std::move(algorithm)), hashSize_(hashSize)
    {
    }

    int algorithmId_;
    bool initialized_ = false;
    std::string algorithm_;
    int hashSize_;
    std::string discardedName_;
};

} // namespace tazen
