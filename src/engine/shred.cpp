// Disposal of an encrypted source: keep, delete, or overwrite 35 times after Gutmann and delete.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/crypto.h"

#include "engine/settings.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "platform/inifile.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <optional>
#include <random>

namespace tazen {

// clang-format off
const std::uint8_t ShredPatterns[kFixedShredPatterns][3] = {
    {0x55, 0x0A, 0x0A}, {0xAA, 0x0A, 0x0A}, {0x92, 0x49, 0x24}, {0x49, 0x24, 0x92}, {0x24, 0x92, 0x49},
    {0x00, 0x0A, 0x0A}, {0x11, 0x0A, 0x0A}, {0x22, 0x0A, 0x0A}, {0x33, 0x0A, 0x0A}, {0x44, 0x0A, 0x0A},
    {0x55, 0x0A, 0x0A}, {0x66, 0x0A, 0x0A}, {0x77, 0x0A, 0x0A}, {0x88, 0x0A, 0x0A}, {0x99, 0x0A, 0x0A},
    {0xAA, 0x0A, 0x0A}, {0xBB, 0x0A, 0x0A}, {0xCC, 0x0A, 0x0A}, {0xDD, 0x0A, 0x0A}, {0xEE, 0x0A, 0x0A},
    {0xFF, 0x0A, 0x0A}, {0x92, 0x49, 0x24}, {0x49, 0x24, 0x92}, {0x24, 0x92, 0x49}, {0x6D, 0xB6, 0xDB},
    {0xB6, 0xDB, 0x6D}, {0xDB, 0x6D, 0xB6},
};
// clang-format on

namespace {

using platform::ErrorCode;

// A whole number of three-byte units, so every write starts a pattern afresh.
constexpr std::int64_t kShredBufferSize = std::int64_t{3} << 18;

constexpr int kFirstFixedPass = 5;
constexpr int kFirstLateRandomPass = 32;

std::mt19937 generatorSeededFromClock()
{
    return std::mt19937(static_cast<std::uint32_t>(std::chrono::system_clock::now().time_since_epoch().count()));
}

struct Pattern
{
    std::uint8_t bytes[3];
    int size;
};

Pattern patternOfPass(int pass, std::mt19937& generator)
{
    if (pass < kFirstFixedPass || pass >= kFirstLateRandomPass) {
        const auto value = static_cast<std::uint8_t>(std::uniform_int_distribution<int>(0, 254)(generator));
        return {{value, value, value}, 1};
    }
    const std::uint8_t* row = ShredPatterns[pass - kFirstFixedPass];
    if (row[1] == 0x0A)
        return {{row[0], row[0], row[0]}, 1};
    return {{row[0], row[1], row[2]}, 3};
}

// The one setting that applies now: a value chosen for the run, else the settings file when there is one,
// else the dialog's control.
int sourceFilesChoice(Frontend& frontend)
{
    if (const std::optional<int> chosen = frontend.SettingsControls().SourceFilesOverride())
        return *chosen;
    const std::string path = SettingsFilePath();
    if (platform::ExistsAsFile(path))
        return platform::TIniFile(path).ReadInteger(kSectionFiles, kKeySourceFiles, kSourceFilesDefaultForDisposal);
    return frontend.SettingsControls().SourceFilesIndex();
}

} // namespace

bool DisposalWanted(Frontend& frontend)
{
    const int choice = sourceFilesChoice(frontend);
    return choice == 1 || choice == 2;
}

DisposalResult DisposeSourceFile(const std::string& fileName, Frontend& frontend, bool holdsWhatWasEncrypted,
                                 const platform::FileState* encrypted, std::string* reason)
{
    platform::Entry source;
    if (platform::Entry::Open(fileName, source) != 0) {
        const int choice = sourceFilesChoice(frontend);
        return choice == 1 ? NotDeleted : choice == 2 ? NotShredded : Done;
    }
    return DisposeSourceFile(source, frontend, holdsWhatWasEncrypted, encrypted, reason);
}

DisposalResult DisposeSourceFile(const platform::Entry& source, Frontend& frontend, bool holdsWhatWasEncrypted,
                                 const platform::FileState* encrypted, std::string* reason)
{
    const int choice = sourceFilesChoice(frontend);
    if (choice != 1 && choice != 2)
        return Done;
    const DisposalResult refused = choice == 1 ? NotDeleted : NotShredded;
    // Removing a link would leave the plain file it points to while reporting success; removing a file
    // that changed after it was read would lose what the encrypted file lacks; a name that leads to another
    // file by now is not the file that was encrypted.
    platform::FileState named;
    if (!holdsWhatWasEncrypted || platform::StateOf(source, named, false) != 0 || platform::IsSymbolicLink(named) ||
        (encrypted && named != *encrypted))
        return refused;
    // Deleting one name leaves the data under the others; overwriting it destroys what they hold.
    if (named.links > 1) {
        if (reason)
            *reason = kOtherLinksReason;
        return refused;
    }
    if (choice == 1)
        return platform::DeleteFile(source, &named) == 0 ? Done : NotDeleted;
    ShredReport report;
    const bool overwritten = ShredFile(source, frontend, &report, &named);
    if (report.otherLinks && reason)
        *reason = kOtherLinksReason;
    if (!overwritten)
        return NotShredded;
    if (!report.deleted)
        return NotDeleted;
    if (report.copyOnWrite) {
        if (reason)
            *reason = kCopyOnWriteReason;
        return NotShredded;
    }
    return Done;
}

bool ShredFile(const std::string& fileName, Frontend& frontend, ShredReport* report,
               const platform::FileState* expected)
{
    platform::Entry file;
    const platform::ErrorCode error = platform::Entry::Open(fileName, file);
    if (error != 0) {
        if (report)
            *report = {};
        frontend.shredDialog().Hide();
        frontend.ShowMessage(MessageKind::AbortError, "Could not over-write the file: " + fileName);
        return false;
    }
    return ShredFile(file, frontend, report, expected);
}

bool ShredFile(const platform::Entry& entry, Frontend& frontend, ShredReport* report,
               const platform::FileState* expected)
{
    ShredReport found;
    struct Deliver
    {
        ShredReport& found;
        ShredReport* report;
        ~Deliver()
        {
            if (report)
                *report = found;
        }
    } deliver{found, report};
    const std::string& fileName = entry.Path();
    ShredDialogPort& dialog = frontend.shredDialog();
    const auto failureExit = [&](int pass) {
        if (pass >= kFirstFixedPass)
            dialog.SetModalResult(kModalResultNone);
        dialog.Hide();
        frontend.ShowMessage(MessageKind::AbortError, "Could not over-write the file: " + fileName);
        return false;
    };

    // One handle for every pass: the passes overwrite the file's own blocks in place.
    platform::File file;
    std::int64_t size = 0;
    platform::FileState opened;
    if (platform::OpenForOverwrite(entry, file) != 0 || file.State(opened) != 0)
        return failureExit(0);
    // The name may have been given to another file since it was looked at; only the one opened counts.
    if (expected && opened != *expected)
        return failureExit(0);
    if (opened.links > 1) {
        found.otherLinks = true;
        return false;
    }
    // A file system that cannot be asked is taken to overwrite in place, as it was before the question.
    static_cast<void>(platform::KeepsEarlierCopies(file, found.copyOnWrite));
    size = opened.size;

    dialog.SetCaption("File shredding (Gutman pass-35)");
    dialog.lblHead().SetCaption("Shredding file:");
    dialog.lblFileName().SetCaption(fileName);
    dialog.Show();

    // No pass writes more than the size rounded up to whole three-byte units; a small file needs no more.
    const std::int64_t bufferSize = std::min(kShredBufferSize, (size + 2) / 3 * 3);
    const auto buffer = std::make_unique_for_overwrite<std::uint8_t[]>(static_cast<std::size_t>(bufferSize));
    std::mt19937 generator = generatorSeededFromClock();
    for (int pass = 1; pass <= kShredPasses; ++pass) {
        if (pass == kFirstLateRandomPass)
            generator = generatorSeededFromClock();
        const Pattern pattern = patternOfPass(pass, generator);
        for (std::int64_t i = 0; i < bufferSize; ++i)
            buffer[i] = pattern.bytes[i % 3];
        dialog.lblpass().SetCaption("Pass " + std::to_string(pass) + " of " + std::to_string(kShredPasses));
        dialog.gaugePass().SetProgress(0);

        // Three-byte patterns are written in whole units, so the file grows to the next multiple of 3.
        const std::int64_t length = pattern.size == 1 ? size : (size + 2) / 3 * 3;
        std::int64_t written = 0;
        bool cancelled = false;
        while (written < length && !cancelled) {
            frontend.ProcessMessages();
            cancelled = dialog.ModalResult() == kModalResultCancel;
            const std::int64_t piece = std::min(bufferSize, length - written);
            if (file.WriteAt(buffer.get(), piece, written) != 0)
                return failureExit(pass);
            written += piece;
            dialog.gaugePass().SetProgress(
                GaugePercent(static_cast<std::uint64_t>(written), static_cast<std::uint64_t>(size), ~0ULL));
        }
        if (cancelled) {
            static_cast<void>(file.Close());
            static_cast<void>(platform::DeleteFile(entry, &opened));
            dialog.SetModalResult(kModalResultNone);
            dialog.Hide();
            return false;
        }
        if (file.Truncate(length) != 0 || file.Sync() != 0)
            return failureExit(pass);
    }
    static_cast<void>(file.Close()); // each pass was synced
    found.deleted = platform::DeleteFile(entry, &opened) == 0;
    dialog.Hide();
    return true;
}

} // namespace tazen
