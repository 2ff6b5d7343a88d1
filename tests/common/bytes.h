// Byte buffers in tests: from and to hexadecimal, and reproducible random content.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace tazen::test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes randomBytes(std::mt19937& rng, std::size_t size)
{
    Bytes bytes(size);
    for (auto& b : bytes)
        b = static_cast<std::uint8_t>(rng());
    return bytes;
}

inline Bytes fromHex(const std::string& hex)
{
    if (hex.size() % 2 != 0)
        throw std::runtime_error("odd hex length: " + hex);
    Bytes bytes(hex.size() / 2);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(std::stoi(hex.substr(2 * i, 2), nullptr, 16));
    return bytes;
}

template <typename Bytes> std::string toHex(const Bytes& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string hex;
    for (const auto b : bytes) {
        hex += digits[static_cast<std::uint8_t>(b) >> 4];
        hex += digits[static_cast<std::uint8_t>(b) & 15];
    }
    return hex;
}

} // namespace tazen::test
