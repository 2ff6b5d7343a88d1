// Self-extracting executables: the extractor program's bytes followed by the encrypted file.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/selfextract.h"

#include "engine/crypto.h"
#include "engine/readback.h"
#include "engine/settings.h"
#include "platform/files.h"
#include "platform/folders.h"

#include <algorithm>
#include <cerrno>
#include <memory>
#include <optional>

namespace tazen {

namespace {

using platform::File;

constexpr std::int64_t kCopyBufferSize = std::int64_t{1} << 20;

} // namespace

bool SelfExtractingWanted(const Frontend& frontend)
{
    return SelfExtractSetting(frontend.SettingsControls());
}

namespace {

// Copies exactly size bytes; a file that ends early counts as a failed read. check, when given, takes them.
bool copyInto(File& from, std::int64_t size, File& to, std::uint8_t* buffer, std::int64_t& overall, std::int64_t total,
              Frontend& frontend, ReadBackCheck* check)
{
    for (std::int64_t copied = 0; copied < size;) {
        std::int64_t got = 0;
        if (from.Read(buffer, std::min(kCopyBufferSize, size - copied), got) != 0 || got == 0)
            return false;
        if (check)
            check->AddPlain(buffer, got);
        if (to.Write(buffer, got) != 0)
            return false;
        to.StartWriteback();
        if (check)
            check->Allow(to.Flushed());
        copied += got;
        overall += got;
        frontend.ExecutableProgress(
            GaugePercent(static_cast<std::uint64_t>(overall), static_cast<std::uint64_t>(total), ~0ULL));
        frontend.ProcessMessages();
    }
    return true;
}

// Whoever may read the encrypted file may run the executable; a program nobody else may change.
mode_t executablePermissions(mode_t bits)
{
    constexpr mode_t kGroupAndOthersWrite = 0022;
    return (bits | ((bits & 0444) >> 2)) & ~kGroupAndOthersWrite;
}

// The files an executable is made of, open, and the new file it goes into.
struct BuildFiles
{
    platform::PendingFile output;
    File extractor;
    File encrypted;
    std::int64_t extractorSize = 0;
    platform::FileState encryptedState;
};

ErrorCode openBuildFiles(const platform::Entry& outputEntry, const std::string& extractorPath,
                         const platform::Entry& encryptedEntry, BuildFiles& files)
{
    ErrorCode error = platform::PendingFile::Create(outputEntry, files.output);
    if (error == 0)
        error = platform::OpenForReading(extractorPath, files.extractor);
    if (error == 0)
        error = platform::OpenForReading(encryptedEntry, files.encrypted);
    if (error == 0)
        error = files.extractor.Size(files.extractorSize);
    if (error == 0)
        error = files.encrypted.State(files.encryptedState);
    return error;
}

// Copies both files into the new one and flushes it; with check, it is proven there. The build ignores Cancel:
// it always runs to its end or fails.
ExecutableOutcome copyBoth(BuildFiles& files, Frontend& frontend, bool verify)
{
    const std::int64_t total = files.extractorSize + files.encryptedState.size;
    const auto buffer = std::make_unique<std::uint8_t[]>(kCopyBufferSize);
    std::int64_t overall = 0;
    // The encrypted file goes, and a file of the name is replaced, once the whole executable has been read
    // back from the device as the bytes copied into it.
    std::optional<ReadBackCheck> check;
    if (verify) {
        check.emplace();
        check->Start(files.output);
    }
    ReadBackCheck* const proof = check ? &*check : nullptr;
    File& out = files.output.Output();
    bool built =
        copyInto(files.extractor, files.extractorSize, out, buffer.get(), overall, total, frontend, proof) &&
        copyInto(files.encrypted, files.encryptedState.size, out, buffer.get(), overall, total, frontend, proof);
    // Both were only read.
    static_cast<void>(files.extractor.Close());
    static_cast<void>(files.encrypted.Close());
    // The encrypted file's dates, which are its plain file's, as they were before the build read it.
    files.output.KeepDates(files.encryptedState);
    built = built && files.output.Flush(executablePermissions(files.encryptedState.PermissionBits()),
                                        &files.encryptedState) == 0;
    if (built && check && !check->Finish())
        return {ExecutableNotProven, check->ReadError()};
    return {built ? ExecutableDone : ExecutableFailed, 0};
}

} // namespace

std::string SelfExtractorPath(RecipientSystem system)
{
    std::string folder = platform::ExecutableFolder();
    while (!folder.empty() && folder.back() == '/')
        folder.pop_back();
    return folder + "/" + (system == RecipientSystem::Linux ? kLinuxExtractorName : kWindowsExtractorName);
}

ExecutableResult MakeSelfExtractingFile(const std::string& encryptedName, Frontend& frontend)
{
    platform::Entry encrypted;
    if (!SelfExtractingWanted(frontend))
        return ExecutableDone;
    if (platform::Entry::Open(encryptedName, encrypted) != 0)
        return ExecutableFailed;
    return MakeSelfExtractingFile(encrypted, frontend, true).result;
}

ExecutableOutcome MakeSelfExtractingFile(const platform::Entry& encrypted, Frontend& frontend, bool mayReplace)
{
    if (!SelfExtractingWanted(frontend))
        return {};
    // The name stays the encrypted file's + ".exe" for either system, as the original program names it.
    const std::string extractorPath = SelfExtractorPath(RecipientSystemSetting(frontend.SettingsControls()));
    if (!platform::ExistsAsFile(extractorPath))
        return {ExecutableFailed, 0};
    return BuildExecutable(encrypted.WithSuffix(".exe"), extractorPath, encrypted, frontend, mayReplace);
}

ExecutableOutcome BuildExecutable(const std::string& outputName, const std::string& extractorPath,
                                  const std::string& encryptedName, Frontend& frontend)
{
    platform::Entry output;
    platform::Entry encrypted;
    if (platform::Entry::Open(outputName, output) != 0 || platform::Entry::Open(encryptedName, encrypted) != 0)
        return {ExecutableFailed, 0};
    return BuildExecutable(output, extractorPath, encrypted, frontend, true);
}

ExecutableOutcome BuildExecutable(const platform::Entry& outputEntry, const std::string& extractorPath,
                                  const platform::Entry& encryptedEntry, Frontend& frontend, bool mayReplace)
{
    const std::string& outputName = outputEntry.Path();
    BuildFiles files;
    if (openBuildFiles(outputEntry, extractorPath, encryptedEntry, files) != 0)
        return {ExecutableFailed, 0};
    files.output.Output().Preallocate(files.extractorSize + files.encryptedState.size);

    frontend.ExecutableStarted(outputName);
    frontend.ProcessMessages();
    frontend.ExecutableProgress(0);
    ExecutableOutcome outcome = copyBoth(files, frontend, frontend.SettingsControls().VerifyBeforeDisposal());
    if (outcome.result == ExecutableDone) {
        ErrorCode error = files.output.CommitFlushed(mayReplace);
        // A file of the name that appeared during the build goes only when the frontend allows it.
        if (error == EEXIST && !mayReplace && frontend.MayReplace(outputName))
            error = files.output.CommitFlushed(true);
        if (error != 0)
            outcome.result = ExecutableFailed;
    }
    files.output.Abandon();
    // Only the executable remains; if the encrypted file cannot go, the executable goes instead, so the
    // failure that is reported matches what is on disk.
    if (outcome.result == ExecutableDone && platform::DeleteFile(encryptedEntry, &files.encryptedState) != 0) {
        static_cast<void>(platform::DeleteFile(outputEntry)); // nothing is lost if it stays
        outcome.result = ExecutableFailed;
    }
    frontend.ExecutableEnded();
    return outcome;
}

} // namespace tazen
