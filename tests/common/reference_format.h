// The .TaZEN format computed from OpenSSL's primitives alone, as an independent yardstick for the engine.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/bytes.h"

#include <openssl/blowfish.h>
#include <openssl/sha.h>

#include <cstring>
#include <optional>
#include <string>

namespace tazen::test {

namespace detail {

// The 256-bit key (SHA-1 of the password bytes, twelve 0xFF) and the initial vector E(FF..FF).
inline void referenceKey(const std::string& passwordBytes, BF_KEY& schedule, std::uint8_t key[32], std::uint8_t iv[8])
{
    std::memset(key, 0xFF, 32);
    SHA1(reinterpret_cast<const unsigned char*>(passwordBytes.data()), passwordBytes.size(), key);
    BF_set_key(&schedule, 32, key);
    std::memset(iv, 0xFF, 8);
    BF_ecb_encrypt(iv, iv, &schedule, BF_ENCRYPT);
}

} // namespace detail

// The file written for a password and a plain text, computed with OpenSSL alone: SHA-1 of the password
// bytes plus twelve 0xFF as a 256-bit key, the initial vector E(FF..FF), the key block in CBC as the check
// block, the plain text in CBC from the initial vector, and a tail xored with E(last cipher block).
inline Bytes referenceFile(const std::string& passwordBytes, const Bytes& plain)
{
    std::uint8_t key[32];
    std::uint8_t iv[8];
    BF_KEY schedule;
    detail::referenceKey(passwordBytes, schedule, key, iv);

    Bytes file(32 + plain.size());
    std::uint8_t chain[8];
    std::memcpy(chain, iv, 8);
    BF_cbc_encrypt(key, file.data(), 32, &schedule, chain, BF_ENCRYPT);

    const std::size_t whole = plain.size() / 8 * 8;
    std::memcpy(chain, iv, 8);
    BF_cbc_encrypt(plain.data(), file.data() + 32, static_cast<long>(whole), &schedule, chain, BF_ENCRYPT);
    std::uint8_t pad[8];
    BF_ecb_encrypt(chain, pad, &schedule, BF_ENCRYPT);
    for (std::size_t i = whole; i < plain.size(); ++i)
        file[32 + i] = plain[i] ^ pad[i - whole];
    return file;
}

// A self-extracting executable as any extractor makes one: the program's bytes, then the file.
inline Bytes referenceExecutable(Bytes program, const std::string& passwordBytes, const Bytes& plain)
{
    const Bytes file = referenceFile(passwordBytes, plain);
    program.insert(program.end(), file.begin(), file.end());
    return program;
}

// The plain text behind a file, or nothing when the check block does not match the password.
inline std::optional<Bytes> referenceDecrypt(const std::string& passwordBytes, const Bytes& file)
{
    if (file.size() < 32)
        return std::nullopt;
    std::uint8_t key[32];
    std::uint8_t iv[8];
    BF_KEY schedule;
    detail::referenceKey(passwordBytes, schedule, key, iv);
    std::uint8_t check[32];
    std::uint8_t chain[8];
    std::memcpy(chain, iv, 8);
    BF_cbc_encrypt(key, check, 32, &schedule, chain, BF_ENCRYPT);
    if (std::memcmp(check, file.data(), 32) != 0)
        return std::nullopt;

    const std::size_t length = file.size() - 32;
    const std::size_t whole = length / 8 * 8;
    Bytes plain(length);
    std::memcpy(chain, iv, 8);
    BF_cbc_encrypt(file.data() + 32, plain.data(), static_cast<long>(whole), &schedule, chain, BF_DECRYPT);
    // The tail: xored with E(last cipher block), or E(iv) when there is no whole block.
    const std::uint8_t* last = whole >= 8 ? file.data() + 32 + whole - 8 : iv;
    std::uint8_t pad[8];
    std::memcpy(pad, last, 8);
    BF_ecb_encrypt(pad, pad, &schedule, BF_ENCRYPT);
    for (std::size_t i = whole; i < length; ++i)
        plain[i] = file[32 + i] ^ pad[i - whole];
    return plain;
}

} // namespace tazen::test
