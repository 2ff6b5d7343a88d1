// tazen-cli as a filter: the .TaZEN format streamed through one buffer, so memory stays flat for any length.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/pipeline.h"

#include "cli/options.h"
#include "cli/terminalfrontend.h"

#include "cipher/blowfish.h"
#include "engine/crypto.h"
#include "format/fileformat.h"
#include "format/stream.h"
#include "platform/files.h"
#include "platform/sysinfo.h"
#include "platform/terminal.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace tazen::cli {

namespace {

using platform::ErrorCode;

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

// A filter's stream stops at Ctrl+C, and tells --progress-fd its percentage after each chunk written.
class FilterHooks : public PayloadHooks
{
public:
    FilterHooks(ProgressLines& progress, std::int64_t done, std::int64_t whole)
        : progress_(progress), done_(done), whole_(whole)
    {
    }
    bool CancelAsked() override { return platform::InterruptSignal() != 0; }
    void ChunkWritten(std::int64_t size) override { Advance(size); }
    void Advance(std::int64_t bytes)
    {
        done_ += bytes;
        if (whole_ >= 0)
            progress_.Percent(GaugePercent(static_cast<std::uint64_t>(done_), static_cast<std::uint64_t>(whole_),
                                           kTotalGaugeThreshold));
    }

private:
    ProgressLines& progress_;
    std::int64_t done_;
    std::int64_t whole_;
};

// The bytes to come on standard input when it is a regular file, from where it stands in it; else -1.
std::int64_t lengthToCome(const platform::File& input)
{
    platform::FileState state;
    std::int64_t offset = -1;
    if (input.State(state) != 0 || !state.IsRegular() || platform::StreamOffset(platform::kStandardInput, offset) != 0)
        return -1;
    return std::max<std::int64_t>(0, state.size - offset);
}

// The exit code of a filter's stream.
int streamResult(const StreamOutcome& outcome)
{
    if (outcome.failure == StreamFailure::Read)
        return readFailure(outcome.error);
    if (outcome.cancelled)
        return fail("interrupted; what was written is incomplete");
    if (outcome.failure == StreamFailure::Write)
        return writeFailure(outcome.error);
    return kExitDone;
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
        if (!options.passwordFiles.empty() && nameWrittenInto(options.passwordFiles[0], state))
            refused.push_back(options.passwordFiles[0]);
        if (options.passwordDescriptor >= 0 && descriptorWrittenInto(options.passwordDescriptor, state))
            refused.push_back("file descriptor " + std::to_string(options.passwordDescriptor));
    } else if (options.verb == Command::Check) {
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
    const Command command = options.verb;
    const bool encrypting = command == Command::Encrypt;
    TBlowfish cipher;
    const RunKey key(cipher, password.value);
    password.Wipe();
    ErrorCode duplicateError = 0;
    platform::File input = duplicated(platform::kStandardInput, kInputName, &duplicateError);
    if (!input.IsOpen())
        return fail("cannot read standard input: " + platform::ErrorText(duplicateError));
    const std::int64_t whole = lengthToCome(input);
    TazenWriter writer(cipher, key);
    TazenReader reader(cipher, key);
    if (!encrypting) {
        switch (const CheckOutcome head = reader.ReadCheckBlock(input); head.result) {
        case CheckResult::ReadFailed:
            return readFailure(head.error);
        case CheckResult::TooShort:
            return fail("The file is too short to be a TaZEN encrypted file: " + kInputName);
        case CheckResult::WrongPassword:
            return fail("Wrong password for the file: " + kInputName);
        case CheckResult::Matches:
            break;
        }
        if (command == Command::Check) {
            std::printf("%s: the password matches\n", kInputName.c_str());
            return kExitDone;
        }
    }
    if (platform::IsTerminal(platform::kStandardOutput))
        return fail(std::string("standard output is a terminal; the ") + (encrypting ? "encrypted" : "decrypted") +
                    " bytes go only to a file or a pipe");
    platform::File output = duplicated(platform::kStandardOutput, "standard output", &duplicateError);
    if (!output.IsOpen())
        return writeFailure(duplicateError);

    ProgressLines progress(options.progressDescriptor);
    FilterHooks hooks(progress, encrypting ? 0 : kCheckBlockSize, whole);
    progress.Text((encrypting ? "Encrypting " : "Decrypting ") + kInputName);
    hooks.Advance(0);
    if (encrypting)
        if (const ErrorCode error = writer.Begin(output))
            return writeFailure(error);
    if (!encrypting)
        reader.KeyCipher();
    // -j caps the threads of the decryption, as it does for a file's.
    const int threads = options.jobs > 0 ? options.jobs : platform::UsableProcessors();
    const StreamOutcome outcome =
        encrypting ? writer.Encrypt(input, output, hooks) : reader.Decrypt(input, output, hooks, threads);
    cipher.Wipe();
    if (const int code = streamResult(outcome); code != kExitDone)
        return code;
    if (const ErrorCode error = output.Close())
        return writeFailure(error);
    // Done, whatever the length of the file became while it was read.
    if (whole >= 0)
        progress.Percent(100);
    return kExitDone;
}

} // namespace tazen::cli
