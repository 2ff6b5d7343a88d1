// tazen-cli as a filter: the .TaZEN format streamed through one buffer, so memory stays flat for any length.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/pipeline.h"

#include "cli/options.h"

#include "cipher/blowfish.h"
#include "engine/fileformat.h"
#include "engine/parallelcbc.h"
#include "platform/files.h"
#include "platform/sysinfo.h"
#include "platform/terminal.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

namespace tazen::cli {

namespace {

using platform::ErrorCode;

// A multiple of the block size: a full buffer never holds the stream's last part block, so it can be
// transformed whole whatever follows.
constexpr std::int64_t kStreamChunk = std::int64_t{1} << 20;

const std::string kInputName = "standard input";

int fail(const std::string& text)
{
    std::fputs(("tazen-cli: " + text + "\n").c_str(), stderr);
    return platform::InterruptSignal() != 0 ? 128 + platform::InterruptSignal() : kExitFailed;
}

// A descriptor of its own, so closing it leaves standard input and output to the process.
platform::File duplicated(int descriptor, const std::string& name)
{
    return platform::File(::fcntl(descriptor, F_DUPFD_CLOEXEC, 0), name);
}

int readFailure(ErrorCode error)
{
    return fail("cannot read standard input: " + platform::ErrorText(error));
}

int writeFailure(ErrorCode error)
{
    return fail("cannot write standard output: " + platform::ErrorText(error) + "; what was written is incomplete");
}

} // namespace

int RunPipeline(const std::string& command, Secret& password)
{
    TBlowfish cipher;
    const RunKey key(cipher, password.value);
    password.Wipe();
    platform::File input = duplicated(STDIN_FILENO, kInputName);
    if (!input.IsOpen())
        return fail("cannot read standard input: " + platform::ErrorText(errno));

    std::uint8_t head[kCheckBlockSize];
    std::int64_t got = 0;
    if (command != "encrypt") {
        if (const ErrorCode error = input.Read(head, kCheckBlockSize, got))
            return readFailure(error);
        if (got != kCheckBlockSize)
            return fail("The file is too short to be a TaZEN encrypted file: " + kInputName);
        if (!CheckBlockMatches(key.Check(), head))
            return fail("Wrong password for the file: " + kInputName);
        if (command == "check") {
            std::printf("%s: the password matches\n", kInputName.c_str());
            return kExitDone;
        }
    }
    if (::isatty(STDOUT_FILENO))
        return fail(std::string("standard output is a terminal; the ") +
                    (command == "encrypt" ? "encrypted" : "decrypted") + " bytes go only to a file or a pipe");
    platform::File output = duplicated(STDOUT_FILENO, "standard output");
    if (!output.IsOpen())
        return writeFailure(errno);

    key.KeyCipher(cipher);
    const bool encrypting = command == "encrypt";
    if (encrypting)
        if (const ErrorCode error = output.Write(key.Check().data(), kCheckBlockSize))
            return writeFailure(error);
    ParallelDecryption parallel(cipher, key, encrypting ? 1 : platform::UsableProcessors());
    SecretBuffer buffer(static_cast<std::size_t>(kStreamChunk));
    for (;;) {
        if (const ErrorCode error = input.Read(buffer.data(), kStreamChunk, got))
            return readFailure(error);
        if (platform::InterruptSignal() != 0)
            return fail("interrupted; what was written is incomplete");
        if (encrypting) {
            TransformPayload(cipher, PayloadDirection::Encrypt, buffer.data(), got);
        } else {
            parallel.Decrypt(cipher, buffer.data(), got);
        }
        if (const ErrorCode error = output.Write(buffer.data(), got))
            return writeFailure(error);
        if (got < kStreamChunk)
            break;
    }
    if (const ErrorCode error = output.Close())
        return writeFailure(error);
    return kExitDone;
}

} // namespace tazen::cli
