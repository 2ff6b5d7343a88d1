// tazen-cli as a filter: the .TaZEN format streamed through one buffer, so memory stays flat for any length.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/pipeline.h"

#include "cli/options.h"
#include "cli/terminal_frontend.h"

#include "cipher/blowfish.h"
#include "engine/crypto.h"
#include "engine/fileformat.h"
#include "engine/parallelcbc.h"
#include "platform/files.h"
#include "platform/sysinfo.h"
#include "platform/terminal.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace tazen::cli {

namespace {

using platform::ErrorCode;

// A multiple of the block size: a full buffer never holds the stream's last part block, so it can be
// transformed whole whatever follows.
constexpr std::int64_t kStreamChunk = std::int64_t{1} << 20;

const std::string kInputName = "standard input";

int fail(const std::string& text)
{
    std::fputs(("tazen-cli: " + platform::Printable(text) + "\n").c_str(), stderr);
    return platform::InterruptSignal() != 0 ? 128 + platform::InterruptSignal() : kExitFailed;
}

// A descriptor of its own, so closing it leaves standard input and output to the process.
platform::File duplicated(int descriptor, const std::string& name, ErrorCode* failure = nullptr)
{
    platform::File file;
    const ErrorCode error = platform::Duplicate(descriptor, name, file);
    if (failure != nullptr)
        *failure = error;
    return file;
}

int readFailure(ErrorCode error)
{
    return fail("cannot read standard input: " + platform::ErrorText(error));
}

int writeFailure(ErrorCode error)
{
    return fail("cannot write standard output: " + platform::ErrorText(error) + "; what was written is incomplete");
}

// Whether bytes written to output would land in the file read as input: the same regular file or block
// device. A socket or a terminal may be standard input and output at once without harm.
bool writesInto(const platform::FileState& output, const platform::FileState& input)
{
    return output.device == input.device && output.inode == input.inode && (input.IsRegular() || input.IsBlockDevice());
}

bool descriptorWrittenInto(int descriptor, const platform::FileState& output)
{
    const platform::File file = duplicated(descriptor, {});
    platform::FileState state;
    return file.IsOpen() && file.State(state) == 0 && writesInto(output, state);
}

bool nameWrittenInto(const std::string& name, const platform::FileState& output)
{
    platform::FileState state;
    return platform::StateOf(name, state) == 0 && writesInto(output, state);
}

} // namespace

int RefuseOutputIntoInput(const Options& options)
{
    const platform::File output = duplicated(platform::kStandardOutput, "standard output");
    platform::FileState state;
    if (!output.IsOpen() || output.State(state) != 0)
        return -1;
    std::vector<std::string> refused;
    if (options.pipeline) {
        if (descriptorWrittenInto(platform::kStandardInput, state))
            refused.push_back(kInputName);
        // The password was read from it, but it may be the only place the password is written down.
        if (options.passwordFile && nameWrittenInto(*options.passwordFile, state))
            refused.push_back(*options.passwordFile);
        if (options.passwordDescriptor >= 0 && descriptorWrittenInto(options.passwordDescriptor, state))
            refused.push_back("file descriptor " + std::to_string(options.passwordDescriptor));
    } else if (options.command == "check") {
        for (const std::string& name : options.files)
            if (nameWrittenInto(name, state))
                refused.push_back(name);
    }
    for (const std::string& name : refused)
        fail(name + ": input file is output file");
    return refused.empty() ? -1 : kExitFailed;
}

int RunPipeline(const Options& options, Secret& password)
{
    const std::string& command = options.command;
    TBlowfish cipher;
    const RunKey key(cipher, password.value);
    password.Wipe();
    ErrorCode duplicateError = 0;
    platform::File input = duplicated(platform::kStandardInput, kInputName, &duplicateError);
    if (!input.IsOpen())
        return fail("cannot read standard input: " + platform::ErrorText(duplicateError));
    platform::FileState inputState;
    const bool inputKnown = input.State(inputState) == 0;
    // A regular file's length tells how much is to come, from where standard input stands in it.
    std::int64_t whole = -1;
    if (std::int64_t offset = -1;
        inputKnown && inputState.IsRegular() && platform::StreamOffset(platform::kStandardInput, offset) == 0)
        whole = std::max<std::int64_t>(0, inputState.size - offset);

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
    if (platform::IsTerminal(platform::kStandardOutput))
        return fail(std::string("standard output is a terminal; the ") +
                    (command == "encrypt" ? "encrypted" : "decrypted") + " bytes go only to a file or a pipe");
    platform::File output = duplicated(platform::kStandardOutput, "standard output", &duplicateError);
    if (!output.IsOpen())
        return writeFailure(duplicateError);

    key.KeyCipher(cipher);
    const bool encrypting = command == "encrypt";
    ProgressLines progress(options.progressDescriptor);
    std::int64_t done = encrypting ? 0 : kCheckBlockSize;
    const auto advance = [&](std::int64_t bytes) {
        done += bytes;
        if (whole >= 0)
            progress.Percent(GaugePercent(static_cast<std::uint64_t>(done), static_cast<std::uint64_t>(whole),
                                          kTotalGaugeThreshold));
    };
    progress.Text((encrypting ? "Encrypting " : "Decrypting ") + kInputName);
    advance(0);
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
            TransformPayload(cipher, Direction::Encrypt, buffer.data(), got);
        } else {
            parallel.Decrypt(cipher, buffer.data(), got);
        }
        if (const ErrorCode error = output.Write(buffer.data(), got))
            return writeFailure(error);
        advance(got);
        if (got < kStreamChunk)
            break;
    }
    if (const ErrorCode error = output.Close())
        return writeFailure(error);
    // Done, whatever the length of the file became while it was read.
    if (whole >= 0)
        progress.Percent(100);
    return kExitDone;
}

} // namespace tazen::cli
