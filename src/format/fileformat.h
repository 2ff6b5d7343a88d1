// The .TaZEN file: a 32-byte password check block, then the plain bytes in Blowfish CBC, nothing else.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cipher/cryptbase.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tazen {

inline constexpr std::string_view kEncryptedExtension = ".TaZEN";
// A self-extracting executable's ending: the encrypted file's name + ".exe".
inline constexpr std::string_view kExecutableEnding = ".TaZEN.exe";
inline constexpr int kCheckBlockSize = 32;
// The unit in which the runs encrypt, update their gauges and poll Cancel; a multiple of the block size,
// so the chain runs on unbroken from piece to piece.
inline constexpr int kPieceSize = 8192;

using KeyBlock = std::array<std::uint8_t, kCheckBlockSize>;
using CheckBlock = std::array<std::uint8_t, kCheckBlockSize>;

// report.doc -> report.doc.TaZEN, in the same folder, every dot kept.
std::string EncryptedName(std::string_view plainName);
// An executable's name less its ".TaZEN.exe"; any other name less its last six bytes, unlooked at: callers
// hand names that end in the extension.
std::string PlainName(std::string_view encryptedName);
// Byte for byte, letter case included.
bool HasEncryptedExtension(std::string_view name);
// With letter case disregarded, as a drop decides its mode.
bool HasEncryptedExtensionIgnoringCase(std::string_view name);
// Ends in ".TaZEN.exe" with ASCII letter case disregarded, since download tools change it: an executable
// whose attached .TaZEN file is found by searching for its check block.
bool IsExecutableName(std::string_view name);
// A name decryption takes: the exact extension, or an executable's ending.
bool IsEncryptedName(std::string_view name);
// The same with the extension's letter case disregarded too, as a drop decides its mode.
bool IsEncryptedNameIgnoringCase(std::string_view name);

// The plain length behind an encrypted file of the given size; negative when the file is too short.
inline std::int64_t PayloadSize(std::int64_t encryptedSize)
{
    return encryptedSize - kCheckBlockSize;
}

// The key size the format uses with a cipher: 256 bits, or less for a cipher that cannot take them.
inline int FormatKeySize(const TBlockCipher& cipher)
{
    return std::min(cipher.MaxKeySize(), 256);
}

// SHA-1 of the password's bytes, then twelve 0xFF bytes. The password is UTF-8 as typed; it is hashed
// in the Windows-1252 code page where it can be, so files made on Windows open with the same password.
KeyBlock MakeKeyBlock(std::string_view password);

// Keys the cipher from the password and returns the check block; the chain is reset to the initial
// vector, ready for the payload. The caller wipes the cipher when done with the file.
CheckBlock KeyCipher(TBlockCipher& cipher, std::string_view password);

// A password's key block and check block under one cipher, made once for a whole run, so the password need not be
// kept while the run works; held as secret memory and wiped when it goes.
class RunKey
{
public:
    // Leaves the cipher wiped.
    RunKey(TBlockCipher& cipher, std::string_view password);
    ~RunKey();
    RunKey(const RunKey&) = delete;
    RunKey& operator=(const RunKey&) = delete;

    // Keys the cipher for one file, the chain reset to the initial vector, as KeyCipher does.
    void KeyCipher(TBlockCipher& cipher) const;
    const CheckBlock& Check() const noexcept { return check_; }

private:
    KeyBlock key_;
    CheckBlock check_;
};

// Compares a file's first 32 bytes with the expected check block in time independent of where they differ.
bool CheckBlockMatches(const CheckBlock& expected, const std::uint8_t* fileHead);

// Which way a run, a stream or a command goes.
enum class Direction
{
    Encrypt,
    Decrypt
};

// Encrypts or decrypts a stretch of payload in place, kPieceSize bytes at a time, and after each piece
// calls afterPiece(bytesOfThatPiece); a false answer stops at once and the count done so far is returned.
// A stretch whose length is not a multiple of 8 must be the end of the payload.
template <typename AfterPiece>
std::int64_t TransformPayload(TBlockCipher& cipher, Direction direction, std::uint8_t* data, std::int64_t size,
                              AfterPiece&& afterPiece)
{
    std::int64_t done = 0;
    while (done < size) {
        const std::int64_t piece = std::min<std::int64_t>(kPieceSize, size - done);
        if (direction == Direction::Encrypt)
            cipher.CbcEncrypt(data + done, data + done, piece);
        else
            cipher.CbcDecrypt(data + done, data + done, piece);
        done += piece;
        if (!afterPiece(piece))
            break;
    }
    return done;
}

inline void TransformPayload(TBlockCipher& cipher, Direction direction, std::uint8_t* data, std::int64_t size)
{
    TransformPayload(cipher, direction, data, size, [](std::int64_t) { return true; });
}

} // namespace tazen
