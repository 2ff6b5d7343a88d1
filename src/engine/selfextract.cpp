// Self-extracting executables: the extractor program's bytes followed by the encrypted file.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/crypto.h"

#include "engine/readback.h"
#include "engine/settings.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "platform/inifile.h"

#include <algorithm>
#include <cerrno>
#include <memory>
#include <optional>

namespace tazen {

namespace {

using platform::ErrorCode;
using platform::File;

constexpr std::int64_t kCopyBufferSize = std::int64_t{1} << 20;

} // namespace

bool SelfExtractingWanted(Frontend& frontend)
{
    if (const std::optional<bool> chosen = frontend.SettingsControls().SelfExtractOverride())
        return *chosen;
    const std::string path = SettingsFilePath();
    if (platform::ExistsAsFile(path))
        return platform::TIniFile(path).ReadBool(kSectionFiles, kKeyMakeSelfExtracting, false);
    return frontend.SettingsControls().SelfExtractChecked();
}

namespace {

// Copies exactly size bytes; a file that ends early counts as a failed read. check, when given, takes them.
bool copyInto(File& from, std::int64_t size, File& to, std::uint8_t* buffer, std::int64_t& overall, std::int64_t total,
              Frontend& frontend, ReadBackCheck* check)
{
    GaugePort& gauge = frontend.shredDialog().gaugePass();
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
        gauge.SetProgress(GaugePercent(static_cast<std::uint64_t>(overall), static_cast<std::uint64_t>(total), ~0ULL));
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

} // namespace

std::string SelfExtractorPath()
{
    std::string folder = platform::ExecutableFolder();
    while (!folder.empty() && folder.back() == '/')
        folder.pop_back();
    return folder + "/extractor";
}

int MakeSelfExtractingFile(const std::string& encryptedName, Frontend& frontend)
{
    platform::Entry encrypted;
    if (!SelfExtractingWanted(frontend))
        return 0;
    if (platform::Entry::Open(encryptedName, encrypted) != 0)
        return 2;
    return MakeSelfExtractingFile(encrypted, frontend, true);
}

int MakeSelfExtractingFile(const platform::Entry& encrypted, Frontend& frontend, bool mayReplace,
                           ErrorCode* readBackError)
{
    if (!SelfExtractingWanted(frontend))
        return 0;
    const std::string extractorPath = SelfExtractorPath();
    if (!platform::ExistsAsFile(extractorPath))
        return 2;
    bool notProven = false;
    if (BuildExecutable(encrypted.WithSuffix(".exe"), extractorPath, encrypted, frontend, mayReplace, &notProven,
                        readBackError))
        return 0;
    return notProven ? kExecutableNotProven : 2;
}

bool BuildExecutable(const std::string& outputName, const std::string& extractorPath, const std::string& encryptedName,
                     Frontend& frontend)
{
    platform::Entry output;
    platform::Entry encrypted;
    if (platform::Entry::Open(outputName, output) != 0 || platform::Entry::Open(encryptedName, encrypted) != 0)
        return false;
    return BuildExecutable(output, extractorPath, encrypted, frontend, true);
}

bool BuildExecutable(const platform::Entry& outputEntry, const std::string& extractorPath,
                     const platform::Entry& encryptedEntry, Frontend& frontend, bool mayReplace, bool* notProven,
                     ErrorCode* readBackError)
{
    if (notProven)
        *notProven = false;
    const std::string& outputName = outputEntry.Path();
    platform::PendingFile output;
    File extractor;
    File encrypted;
    std::int64_t extractorSize = 0;
    platform::FileState encryptedState;
    if (platform::PendingFile::Create(outputEntry, output) != 0 ||
        platform::OpenForReading(extractorPath, extractor) != 0 ||
        platform::OpenForReading(encryptedEntry, encrypted) != 0 || extractor.Size(extractorSize) != 0 ||
        encrypted.State(encryptedState) != 0)
        return false;
    const std::int64_t encryptedSize = encryptedState.size;
    const std::int64_t total = extractorSize + encryptedSize;
    output.Output().Preallocate(total);

    ShredDialogPort& dialog = frontend.shredDialog();
    dialog.SetCaption("Creating executable file");
    dialog.lblHead().SetCaption("Creating the executable file: ");
    dialog.lblFileName().SetCaption(outputName);
    dialog.Show();
    frontend.ProcessMessages();
    dialog.gaugePass().SetProgress(0);

    // The build ignores Cancel: it always runs to its end or fails.
    const auto buffer = std::make_unique<std::uint8_t[]>(kCopyBufferSize);
    std::int64_t overall = 0;
    // The encrypted file goes, and a file of the name is replaced, once the whole executable has been read
    // back from the device as the bytes copied into it.
    std::optional<ReadBackCheck> check;
    if (frontend.SettingsControls().VerifyBeforeDisposal()) {
        check.emplace();
        check->Start(output);
    }
    ReadBackCheck* const proof = check ? &*check : nullptr;
    bool built = copyInto(extractor, extractorSize, output.Output(), buffer.get(), overall, total, frontend, proof) &&
                 copyInto(encrypted, encryptedSize, output.Output(), buffer.get(), overall, total, frontend, proof);
    // Both were only read.
    static_cast<void>(extractor.Close());
    static_cast<void>(encrypted.Close());
    built = built && output.Flush(executablePermissions(encryptedState.PermissionBits()), &encryptedState) == 0;
    if (built && check && !check->Finish()) {
        built = false;
        if (notProven)
            *notProven = true;
        if (readBackError)
            *readBackError = check->ReadError();
    }
    if (built) {
        ErrorCode error = output.CommitFlushed(mayReplace);
        // A file of the name that appeared during the build goes only when the frontend allows it.
        if (error == EEXIST && !mayReplace && frontend.MayReplace(outputName))
            error = output.CommitFlushed(true);
        built = error == 0;
    }
    output.Abandon();
    // Only the executable remains; if the encrypted file cannot go, the executable goes instead, so the
    // failure that is reported matches what is on disk.
    if (built && platform::DeleteFile(encryptedEntry, &encryptedState) != 0) {
        static_cast<void>(platform::DeleteFile(outputEntry)); // nothing is lost if it stays
        built = false;
    }
    dialog.Hide();
    return built;
}

} // namespace tazen
