// Fuzzes decryption: any bytes as a .TaZEN file, decrypted with a fixed password. An input whose first byte
// is odd gets that password's check block in front of the rest, so payloads and tails of every length are
// reached, not only the password check.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "fuzz_support.h"

#include "cipher/blowfish.h"
#include "engine/crypto.h"
#include "engine/scripted_frontend.h"
#include "format/fileformat.h"

#include <sys/stat.h>

namespace {

using namespace tazen;

constexpr const char* kPassword = "fuzz";

const CheckBlock& expectedCheckBlock()
{
    static const CheckBlock block = [] {
        TBlowfish cipher;
        const CheckBlock check = KeyCipher(cipher, kPassword);
        cipher.Wipe();
        return check;
    }();
    return block;
}

// What the plain file must hold: the payload decrypted in memory, in one piece.
std::string decryptedPayload(const std::string& encrypted)
{
    std::string plain = encrypted.substr(kCheckBlockSize);
    TBlowfish cipher;
    KeyCipher(cipher, kPassword);
    TransformPayload(cipher, Direction::Decrypt, reinterpret_cast<std::uint8_t*>(plain.data()),
                     static_cast<std::int64_t>(plain.size()));
    cipher.Wipe();
    return plain;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string content;
    if (size > 0 && (data[0] & 1) != 0) {
        const CheckBlock& check = expectedCheckBlock();
        content.assign(check.begin(), check.end());
        content.append(reinterpret_cast<const char*>(data) + 1, size - 1);
    } else {
        content.assign(reinterpret_cast<const char*>(data), size);
    }

    const std::string& folder = fuzz::processFolder();
    fuzz::emptyFolder(folder);
    const std::string encryptedName = folder + "/x.TaZEN";
    const std::string plainName = folder + "/x";
    fuzz::writeBytes(encryptedName, content);
    ::chmod(encryptedName.c_str(), 0640);

    TBlowfish cipher;
    test::ScriptedFrontend frontend;
    std::string message;
    const int result = DecryptFiles(cipher, {encryptedName}, kPassword, message, frontend);

    const bool opens = content.size() >= static_cast<std::size_t>(kCheckBlockSize) &&
                       CheckBlockMatches(expectedCheckBlock(), reinterpret_cast<const std::uint8_t*>(content.data()));
    FUZZ_CHECK(result == (opens ? kAllFilesDone : 0));
    FUZZ_CHECK(frontend.messages.empty());
    if (opens) {
        FUZZ_CHECK(message.empty());
        FUZZ_CHECK(fuzz::listFolder(folder) == std::vector<std::string>{"x"});
        FUZZ_CHECK(fuzz::readBytes(plainName) == decryptedPayload(content));
        // The plain file takes the encrypted file's permission bits.
        struct stat info;
        FUZZ_CHECK(::stat(plainName.c_str(), &info) == 0 && (info.st_mode & 07777) == 0640);
        FUZZ_CHECK(!frontend.progress.events.empty() && frontend.progress.events.back() == "FinishProgress");
    } else {
        const bool tooShort = content.size() < static_cast<std::size_t>(kCheckBlockSize);
        FUZZ_CHECK(message == (tooShort ? "The file is too short to be a TaZEN encrypted file: "
                                        : "Wrong password for the file: ") +
                                  encryptedName);
        // Nothing was created and the file is as it was.
        FUZZ_CHECK(fuzz::listFolder(folder) == std::vector<std::string>{"x.TaZEN"});
        FUZZ_CHECK(fuzz::readBytes(encryptedName) == content);
        FUZZ_CHECK(!frontend.progress.events.empty() && frontend.progress.events.back() == "HideProgress");
    }
    FUZZ_CHECK(!cipher.Initialized());
    fuzz::emptyFolder(folder);
    return 0;
}
