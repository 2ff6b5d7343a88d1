// The Blowfish block cipher with CBC (partial final block) and 8-bit CFB chaining.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cipher/blowfish.h"

#include "cipher/bigendian.h"

#include <cstring>
#include <string>

namespace tazen {

namespace blowfish_tables {
extern const std::uint32_t kInitialP[18];
extern const std::uint32_t kInitialS[1024];
} // namespace blowfish_tables

namespace {

constexpr int kRounds = 16;
// CBC decryption has no chain between blocks, so this many run interleaved to hide the table latency.
constexpr int kLanes = 8;

inline std::uint32_t roundF(const std::uint32_t* s, std::uint32_t x) noexcept
{
    // Byte extraction and box offsets kept simple enough to fold into the loads' addressing.
    const std::uint32_t* s2 = s + 512;
    return ((s[x >> 24] + s[256 + ((x >> 16) & 0xFF)]) ^ s2[static_cast<std::uint8_t>(x >> 8)]) + s[768 + (x & 0xFF)];
}

// One block; on return left and right hold the output block's halves (the final swap is folded in).
inline void encryptWords(const std::uint32_t* p, const std::uint32_t* s, std::uint32_t& left,
                         std::uint32_t& right) noexcept
{
    std::uint32_t l = left ^ p[0];
    std::uint32_t r = right;
#pragma GCC unroll 8
    for (int i = 1; i < kRounds; i += 2) {
        // The P word joins first: it is ready early, so the chain waits on F alone.
        r = (r ^ p[i]) ^ roundF(s, l);
        l = (l ^ p[i + 1]) ^ roundF(s, r);
    }
    left = r ^ p[kRounds + 1];
    right = l;
}

// Decrypts n independent blocks side by side, the P-array taken from the end.
template <int n>
inline void decryptWords(const std::uint32_t* p, const std::uint32_t* s, std::uint32_t* left,
                         std::uint32_t* right) noexcept
{
    std::uint32_t l[n];
    std::uint32_t r[n];
    for (int k = 0; k < n; ++k) {
        l[k] = left[k] ^ p[kRounds + 1];
        r[k] = right[k];
    }
#pragma GCC unroll 8
    for (int i = kRounds; i > 0; i -= 2) {
#pragma GCC unroll 8
        for (int k = 0; k < n; ++k)
            r[k] = (r[k] ^ p[i]) ^ roundF(s, l[k]);
#pragma GCC unroll 8
        for (int k = 0; k < n; ++k)
            l[k] = (l[k] ^ p[i - 1]) ^ roundF(s, r[k]);
    }
    for (int k = 0; k < n; ++k) {
        left[k] = r[k] ^ p[0];
        right[k] = l[k];
    }
}

// A final 1 to 7 bytes of CBC, the same both ways: xored with the encryption of the chain, which stays.
inline void xorTail(const std::uint32_t* p, const std::uint32_t* s, std::uint32_t chainLeft, std::uint32_t chainRight,
                    const std::uint8_t* src, std::uint8_t* dst, int tail) noexcept
{
    if (tail == 0)
        return;
    std::uint8_t scratch[8];
    encryptWords(p, s, chainLeft, chainRight);
    storeBigEndian(scratch, chainLeft);
    storeBigEndian(scratch + 4, chainRight);
    XorBytes(src, scratch, dst, tail);
    SecureFill(scratch, 0xFF, sizeof scratch);
}

// The CFB register as one big-endian 64-bit word: shifting in a byte drops byte 0 and appends at byte 7.
inline std::uint64_t loadRegister(const TBlowfish::Vector& v) noexcept
{
    return (std::uint64_t{loadBigEndian(v.data())} << 32) | loadBigEndian(v.data() + 4);
}

inline void storeRegister(TBlowfish::Vector& v, std::uint64_t reg) noexcept
{
    storeBigEndian(v.data(), static_cast<std::uint32_t>(reg >> 32));
    storeBigEndian(v.data() + 4, static_cast<std::uint32_t>(reg));
}

} // namespace

TBlowfish::TBlowfish() : TBlockCipher(5, "Blowfish", 64, 448)
{
    Wipe();
}

TBlowfish::~TBlowfish()
{
    if (initialized_)
        Wipe();
}

void TBlowfish::requireInitialized() const
{
    if (!initialized_)
        throw Exception("Blowfish: Not initialized");
}

void TBlowfish::encryptBlock(std::uint32_t& left, std::uint32_t& right) const noexcept
{
    encryptWords(pArray_.data(), sBoxes_.data(), left, right);
}

void TBlowfish::SetKey(const void* key, int sizeBits, const void* initialVector)
{
    if (initialized_)
        Wipe();
    if (sizeBits > maxKeySize_ || sizeBits <= 0 || sizeBits % 8 != 0)
        throw Exception("Blowfish: Invalid key size - " + std::to_string(sizeBits));

    // The key schedule is as secret as the key, from here until Wipe.
    HoldSecretMemory(this, sizeof *this);
    const auto* k = static_cast<const std::uint8_t*>(key);
    const int n = sizeBits / 8;
    std::memcpy(pArray_.data(), blowfish_tables::kInitialP, sizeof pArray_);
    std::memcpy(sBoxes_.data(), blowfish_tables::kInitialS, sizeof sBoxes_);

    int j = 0;
    for (auto& word : pArray_) {
        std::uint32_t keyWord = 0;
        for (int b = 0; b < 4; ++b) {
            keyWord = (keyWord << 8) | k[j];
            j = (j + 1) % n;
        }
        word ^= keyWord;
    }

    // Each encryption uses the tables as far as they have been replaced.
    std::uint32_t l = 0;
    std::uint32_t r = 0;
    for (std::size_t i = 0; i < pArray_.size(); i += 2) {
        encryptBlock(l, r);
        pArray_[i] = l;
        pArray_[i + 1] = r;
    }
    for (std::size_t i = 0; i < sBoxes_.size(); i += 2) {
        encryptBlock(l, r);
        sBoxes_[i] = l;
        sBoxes_[i + 1] = r;
    }

    if (initialVector != nullptr) {
        std::memcpy(initialVector_.data(), initialVector, initialVector_.size());
    } else {
        std::uint32_t vl = 0xFFFFFFFF;
        std::uint32_t vr = 0xFFFFFFFF;
        encryptBlock(vl, vr);
        storeBigEndian(initialVector_.data(), vl);
        storeBigEndian(initialVector_.data() + 4, vr);
    }
    chainVector_ = initialVector_;
    initialized_ = true;
}

void TBlowfish::Wipe()
{
    SecureFill(sBoxes_.data(), 0xFF, sizeof sBoxes_);
    SecureFill(pArray_.data(), 0xFF, sizeof pArray_);
    SecureFill(initialVector_.data(), 0xFF, initialVector_.size());
    SecureFill(chainVector_.data(), 0xFF, chainVector_.size());
    if (initialized_)
        ReleaseSecretMemory(this, sizeof *this);
    initialized_ = false;
}

void TBlowfish::ResetVector()
{
    chainVector_ = initialVector_;
}

void TBlowfish::EcbEncrypt(const void* in, void* out)
{
    requireInitialized();
    const auto* src = static_cast<const std::uint8_t*>(in);
    auto* dst = static_cast<std::uint8_t*>(out);
    std::uint32_t l = loadBigEndian(src);
    std::uint32_t r = loadBigEndian(src + 4);
    encryptBlock(l, r);
    storeBigEndian(dst, l);
    storeBigEndian(dst + 4, r);
}

void TBlowfish::EcbDecrypt(const void* in, void* out)
{
    requireInitialized();
    const auto* src = static_cast<const std::uint8_t*>(in);
    auto* dst = static_cast<std::uint8_t*>(out);
    std::uint32_t l = loadBigEndian(src);
    std::uint32_t r = loadBigEndian(src + 4);
    decryptWords<1>(pArray_.data(), sBoxes_.data(), &l, &r);
    storeBigEndian(dst, l);
    storeBigEndian(dst + 4, r);
}

void TBlowfish::CbcEncrypt(const void* in, void* out, std::int64_t size)
{
    requireInitialized();
    if (size <= 0)
        return;
    const auto* src = static_cast<const std::uint8_t*>(in);
    auto* dst = static_cast<std::uint8_t*>(out);
    const std::uint32_t* p = pArray_.data();
    const std::uint32_t* s = sBoxes_.data();

    std::uint32_t chainLeft = loadBigEndian(chainVector_.data());
    std::uint32_t chainRight = loadBigEndian(chainVector_.data() + 4);
    for (std::int64_t blocks = size / 8; blocks > 0; --blocks, src += 8, dst += 8) {
        chainLeft ^= loadBigEndian(src);
        chainRight ^= loadBigEndian(src + 4);
        encryptWords(p, s, chainLeft, chainRight);
        storeBigEndian(dst, chainLeft);
        storeBigEndian(dst + 4, chainRight);
    }
    storeBigEndian(chainVector_.data(), chainLeft);
    storeBigEndian(chainVector_.data() + 4, chainRight);

    xorTail(p, s, chainLeft, chainRight, src, dst, static_cast<int>(size % 8));
}

void TBlowfish::CbcDecrypt(const void* in, void* out, std::int64_t size)
{
    requireInitialized();
    if (size <= 0)
        return;
    const auto* src = static_cast<const std::uint8_t*>(in);
    auto* dst = static_cast<std::uint8_t*>(out);
    const std::uint32_t* p = pArray_.data();
    const std::uint32_t* s = sBoxes_.data();

    std::uint32_t chainLeft = loadBigEndian(chainVector_.data());
    std::uint32_t chainRight = loadBigEndian(chainVector_.data() + 4);
    std::int64_t blocks = size / 8;

    // All lanes are loaded before any is stored, so in and out may be the same buffer.
    for (; blocks >= kLanes; blocks -= kLanes, src += 8 * kLanes, dst += 8 * kLanes) {
        std::uint32_t cipherLeft[kLanes];
        std::uint32_t cipherRight[kLanes];
        std::uint32_t l[kLanes];
        std::uint32_t r[kLanes];
        for (int k = 0; k < kLanes; ++k) {
            l[k] = cipherLeft[k] = loadBigEndian(src + 8 * k);
            r[k] = cipherRight[k] = loadBigEndian(src + 8 * k + 4);
        }
        decryptWords<kLanes>(p, s, l, r);
        for (int k = 0; k < kLanes; ++k) {
            storeBigEndian(dst + 8 * k, l[k] ^ chainLeft);
            storeBigEndian(dst + 8 * k + 4, r[k] ^ chainRight);
            chainLeft = cipherLeft[k];
            chainRight = cipherRight[k];
        }
    }
    for (; blocks > 0; --blocks, src += 8, dst += 8) {
        const std::uint32_t cipherLeft = loadBigEndian(src);
        const std::uint32_t cipherRight = loadBigEndian(src + 4);
        std::uint32_t l = cipherLeft;
        std::uint32_t r = cipherRight;
        decryptWords<1>(p, s, &l, &r);
        storeBigEndian(dst, l ^ chainLeft);
        storeBigEndian(dst + 4, r ^ chainRight);
        chainLeft = cipherLeft;
        chainRight = cipherRight;
    }
    storeBigEndian(chainVector_.data(), chainLeft);
    storeBigEndian(chainVector_.data() + 4, chainRight);

    xorTail(p, s, chainLeft, chainRight, src, dst, static_cast<int>(size % 8));
}

template <bool decrypting> void TBlowfish::cfb(const void* in, void* out, std::int64_t size)
{
    requireInitialized();
    const auto* src = static_cast<const std::uint8_t*>(in);
    auto* dst = static_cast<std::uint8_t*>(out);
    std::uint64_t reg = loadRegister(chainVector_);
    for (std::int64_t i = 0; i < size; ++i) {
        std::uint32_t l = static_cast<std::uint32_t>(reg >> 32);
        std::uint32_t r = static_cast<std::uint32_t>(reg);
        encryptBlock(l, r);
        // The ciphertext byte feeds back: the input when decrypting, the output when encrypting.
        const std::uint8_t input = src[i];
        const auto output = static_cast<std::uint8_t>(input ^ (l >> 24));
        dst[i] = output;
        reg = (reg << 8) | (decrypting ? input : output);
    }
    storeRegister(chainVector_, reg);
}

void TBlowfish::CfbEncrypt(const void* in, void* out, std::int64_t size)
{
    cfb<false>(in, out, size);
}

void TBlowfish::CfbDecrypt(const void* in, void* out, std::int64_t size)
{
    cfb<true>(in, out, size);
}

} // namespace tazen
