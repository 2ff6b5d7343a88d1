// A fast digest of a byte stream, for proving that bytes came back unchanged.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "format/digest.h"

#include <algorithm>
#include <cstring>

namespace tazen {

namespace {

constexpr std::uint64_t kPrime1 = 0x9E3779B185EBCA87ULL;
constexpr std::uint64_t kPrime2 = 0xC2B2AE3D27D4EB4FULL;
constexpr std::uint64_t kPrime3 = 0x165667B19E3779F9ULL;

std::uint64_t rotated(std::uint64_t value, int bits)
{
    return (value << bits) | (value >> (64 - bits));
}

std::uint64_t mixRound(std::uint64_t lane, std::uint64_t word)
{
    return rotated(lane + word * kPrime2, 31) * kPrime1;
}

std::uint64_t loadWord(const std::uint8_t* data)
{
    std::uint64_t value;
    std::memcpy(&value, data, sizeof value);
    return value;
}

} // namespace

StreamDigest::StreamDigest() : lanes_{kPrime1 + kPrime2, kPrime2, 0, 0 - kPrime1} {}

void StreamDigest::stripe(const std::uint8_t* data)
{
    for (int i = 0; i < 4; ++i)
        lanes_[i] = mixRound(lanes_[i], loadWord(data + 8 * i));
}

void StreamDigest::Update(const std::uint8_t* data, std::int64_t size)
{
    length_ += static_cast<std::uint64_t>(size);
    if (pendingSize_ > 0) {
        const auto taken = static_cast<int>(std::min<std::int64_t>(32 - pendingSize_, size));
        std::memcpy(pending_ + pendingSize_, data, static_cast<std::size_t>(taken));
        pendingSize_ += taken;
        data += taken;
        size -= taken;
        if (pendingSize_ < 32)
            return;
        stripe(pending_);
        pendingSize_ = 0;
    }
    for (; size >= 32; data += 32, size -= 32)
        stripe(data);
    std::memcpy(pending_, data, static_cast<std::size_t>(size));
    pendingSize_ = static_cast<int>(size);
}

std::uint64_t StreamDigest::Final() const
{
    std::uint64_t value =
        rotated(lanes_[0], 1) + rotated(lanes_[1], 7) + rotated(lanes_[2], 12) + rotated(lanes_[3], 18);
    for (const std::uint64_t lane : lanes_)
        value = (value ^ mixRound(0, lane)) * kPrime1 + kPrime3;
    value += length_;
    for (int i = 0; i < pendingSize_; ++i)
        value = rotated(value ^ (pending_[i] * kPrime3), 11) * kPrime1;
    value ^= value >> 33;
    value *= kPrime2;
    value ^= value >> 29;
    value *= kPrime3;
    return value ^ (value >> 32);
}

} // namespace tazen
