// Base classes of the block-cipher and hash components, and the helpers they share.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

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

// Fills memory with a byte in a way the optimiser may not drop, even right before the memory dies.
void SecureFill(void* data, unsigned char value, std::size_t size);

// Overwrites a string's whole allocation, spare capacity included, then leaves it empty.
template <typename String> void WipeString(String& s)
{
    s.resize(s.capacity());
    SecureFill(s.data(), 0, s.size() * sizeof(typename String::value_type));
    s.clear();
}

// Wipes what it guards on every way out of a scope: a cipher or anything else with a Wipe, or a string.
template <typename T> class WipeOnExit
{
public:
    explicit WipeOnExit(T& guarded) : guarded_(guarded) {}
    ~WipeOnExit()
    {
        if constexpr (requires { guarded_.Wipe(); })
            guarded_.Wipe();
        else
            WipeString(guarded_);
    }
    WipeOnExit(const WipeOnExit&) = delete;
    WipeOnExit& operator=(const WipeOnExit&) = delete;

private:
    T& guarded_;
};

// Keeping secrets out of core files and swap takes the system, which this layer does not reach: the platform
// layer supplies the two functions (see platform/secrets.h). hold is told where a secret now lives, release that
// it has been wiped and is gone. Until they are set, secrets are only wiped.
struct SecretMemoryHooks
{
    void (*hold)(const void* data, std::size_t size) = nullptr;
    void (*release)(const void* data, std::size_t size) = nullptr;
};
void SetSecretMemoryHooks(SecretMemoryHooks hooks);
void HoldSecretMemory(const void* data, std::size_t size);
void ReleaseSecretMemory(const void* data, std::size_t size);

// Allocates memory that is held as secret and zeroed before it is given back, so a string that grows leaves
// no copy behind in the buffers it outgrew.
template <typename T> struct SecretAllocator
{
    using value_type = T;
    SecretAllocator() noexcept = default;
    template <typename U> SecretAllocator(const SecretAllocator<U>&) noexcept {}
    T* allocate(std::size_t count)
    {
        T* data = std::allocator<T>().allocate(count);
        HoldSecretMemory(data, count * sizeof(T));
        return data;
    }
    void deallocate(T* data, std::size_t count) noexcept
    {
        SecureFill(data, 0, count * sizeof(T));
        ReleaseSecretMemory(data, count * sizeof(T));
        std::allocator<T>().deallocate(data, count);
    }
    template <typename U> bool operator==(const SecretAllocator<U>&) const noexcept { return true; }
};

using SecretString = std::basic_string<char, std::char_traits<char>, SecretAllocator<char>>;

// A password or other secret text, overwritten (spare capacity included) when wiped and when it goes. The text
// is held as secret memory for as long as the object lives, short ones inside the object itself.
class Secret
{
public:
    Secret() { HoldSecretMemory(this, sizeof *this); }
    Secret(const Secret&) = delete;
    Secret& operator=(const Secret&) = delete;
    ~Secret()
    {
        Wipe();
        ReleaseSecretMemory(this, sizeof *this);
    }
    void Wipe() { WipeString(value); }
    SecretString value;
};

// A buffer for plain bytes or key material, held as secret memory and zeroed when it goes.
class SecretBuffer
{
public:
    explicit SecretBuffer(std::size_t size) : bytes_(std::make_unique<std::uint8_t[]>(size)), size_(size)
    {
        HoldSecretMemory(bytes_.get(), size_);
    }
    ~SecretBuffer()
    {
        SecureFill(bytes_.get(), 0, size_);
        ReleaseSecretMemory(bytes_.get(), size_);
    }
    SecretBuffer(const SecretBuffer&) = delete;
    SecretBuffer& operator=(const SecretBuffer&) = delete;
    std::uint8_t* data() noexcept { return bytes_.get(); }
    std::size_t size() const noexcept { return size_; }

private:
    std::unique_ptr<std::uint8_t[]> bytes_;
    std::size_t size_;
};

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
