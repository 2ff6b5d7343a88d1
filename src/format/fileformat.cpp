// The .TaZEN file format: names, key block, check block.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "format/fileformat.h"

#include "base/ascii.h"
#include "cipher/sha1.h"
#include "format/password.h"

#include <algorithm>

namespace tazen {

std::string EncryptedName(std::string_view plainName)
{
    std::string name(plainName);
    name += kEncryptedExtension;
    return name;
}

std::string PlainName(std::string_view encryptedName)
{
    const std::size_t ending = IsExecutableName(encryptedName) ? kExecutableEnding.size() : kEncryptedExtension.size();
    const std::size_t keep = encryptedName.size() > ending ? encryptedName.size() - ending : 0;
    return std::string(encryptedName.substr(0, keep));
}

bool HasEncryptedExtension(std::string_view name)
{
    return name.ends_with(kEncryptedExtension);
}

bool HasEncryptedExtensionIgnoringCase(std::string_view name)
{
    return EndsWithIgnoringAsciiCase(name, kEncryptedExtension);
}

bool IsExecutableName(std::string_view name)
{
    return EndsWithIgnoringAsciiCase(name, kExecutableEnding);
}

bool IsEncryptedName(std::string_view name)
{
    return HasEncryptedExtension(name) || IsExecutableName(name);
}

bool IsEncryptedNameIgnoringCase(std::string_view name)
{
    return HasEncryptedExtensionIgnoringCase(name) || IsExecutableName(name);
}

KeyBlock MakeKeyBlock(std::string_view password)
{
    KeyBlock key;
    key.fill(0xFF);
    std::string bytes = PasswordBytes(password);
    TSha1 hash;
    hash.HashInit();
    hash.HashUpdateText(bytes);
    hash.HashFinal(key.data());
    SecureFill(bytes.data(), 0, bytes.size());
    return key;
}

CheckBlock KeyCipher(TBlockCipher& cipher, std::string_view password)
{
    KeyBlock block = MakeKeyBlock(password);
    cipher.SetKey(block.data(), FormatKeySize(cipher));
    cipher.CbcEncrypt(block.data(), block.data(), static_cast<std::int64_t>(block.size()));
    cipher.ResetVector();
    return block;
}

RunKey::RunKey(TBlockCipher& cipher, std::string_view password) : key_(MakeKeyBlock(password))
{
    HoldSecretMemory(this, sizeof *this);
    KeyCipher(cipher);
    check_ = key_;
    cipher.CbcEncrypt(check_.data(), check_.data(), static_cast<std::int64_t>(check_.size()));
    cipher.Wipe();
}

RunKey::~RunKey()
{
    SecureFill(key_.data(), 0, key_.size());
    SecureFill(check_.data(), 0, check_.size());
    ReleaseSecretMemory(this, sizeof *this);
}

void RunKey::KeyCipher(TBlockCipher& cipher) const
{
    cipher.SetKey(key_.data(), FormatKeySize(cipher));
}

bool CheckBlockMatches(const CheckBlock& expected, const std::uint8_t* fileHead)
{
    unsigned difference = 0;
    for (std::size_t i = 0; i < expected.size(); ++i)
        difference |= static_cast<unsigned>(expected[i] ^ fileHead[i]);
    return difference == 0;
}

} // namespace tazen
