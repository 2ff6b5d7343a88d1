// Memory for secrets: passwords, keys and plain bytes held where the system keeps them out of core files and
// swap, and overwritten before it is given back, in a way the optimiser may not drop.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace tazen {

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

} // namespace tazen
