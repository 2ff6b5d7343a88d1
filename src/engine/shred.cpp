// Disposal of an encrypted source: keep, delete, or overwrite 35 times after Gutmann and delete.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/shred.h"

#include "engine/crypto.h"
#include "engine/messages.h"
#include "engine/settings.h"
#include "platform/files.h"

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

// Writes one pass's pattern over length bytes from offset 0, asking for Cancel before every write.
ErrorCode overwritePass(platform::File& file, const std::uint8_t* buffer, std::int64_t bufferSize, std::int64_t length,
                        std::int64_t size, Frontend& frontend, bool& cancelled)
{
    std::int64_t written = 0;
    while (written < length && !cancelled) {
        frontend.ProcessMessages();
        cancelled = frontend.ShredCancelAsked();
        const std::int64_t piece = std::min(bufferSize, length - written);
        if (const ErrorCode error = file.WriteAt(buffer, piece, written))
            return error;
        written += piece;
        frontend.ShredProgress(
            GaugePercent(static_cast<std::uint64_t>(written), static_cast<std::uint64_t>(size), ~0ULL));
    }
    return 0;
}

// A pass whose write, length or sync failed, and why; pass 0: none failed.
struct PassFailure
{
    int pass = 0;
    ErrorCode error;
};

// The 35 passes over a file of size bytes, each synced to the device; cancelled tells that Cancel stopped them.
PassFailure overwritePasses(platform::File& file, std::int64_t size, Frontend& frontend, bool& cancelled)
{
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
        frontend.ShredPass(pass, kShredPasses);

        // Three-byte patterns are written in whole units, so the file grows to the next multiple of 3.
        const std::int64_t length = pattern.size == 1 ? size : (size + 2) / 3 * 3;
        ErrorCode error = overwritePass(file, buffer.get(), bufferSize, length, size, frontend, cancelled);
        if (error == 0 && cancelled)
            return {};
        if (error == 0)
            error = file.Truncate(length);
        if (error == 0)
            error = file.Sync();
        if (error != 0)
            return {pass, error};
    }
    return {};
}

DisposalResult refusal(SourceFiles choice)
{
    return choice == SourceFiles::Delete ? NotDeleted : NotShredded;
}

// What a shredding of a source comes to, with the second line of its warning in reason.
DisposalResult shredSource(const platform::Entry& source, Frontend& frontend, const platform::FileState& named,
                           std::string* reason)
{
    const ShredOutcome shred = ShredFile(source, frontend, &named);
    if (shred.otherLinks && reason)
        *reason = Text(kOtherLinksReason);
    if (!shred.overwritten)
        return NotShredded;
    if (!shred.deleted)
        return NotDeleted;
    if (shred.copyOnWrite) {
        if (reason)
            *reason = Text(kCopyOnWriteReason);
        return NotShredded;
    }
    return Done;
}

} // namespace

bool DisposalWanted(const Frontend& frontend)
{
    return SourceFilesSetting(frontend.SettingsControls()) != SourceFiles::Leave;
}

DisposalResult DisposeSourceFile(const std::string& fileName, Frontend& frontend, bool holdsWhatWasEncrypted,
                                 const platform::FileState* encrypted, std::string* reason)
{
    platform::Entry source;
    if (platform::Entry::Open(fileName, source) != 0) {
        const SourceFiles choice = SourceFilesSetting(frontend.SettingsControls());
        return choice == SourceFiles::Leave ? Done : refusal(choice);
    }
    return DisposeSourceFile(source, frontend, holdsWhatWasEncrypted, encrypted, reason);
}

DisposalResult DisposeSourceFile(const platform::Entry& source, Frontend& frontend, bool holdsWhatWasEncrypted,
                                 const platform::FileState* encrypted, std::string* reason)
{
    const SourceFiles choice = SourceFilesSetting(frontend.SettingsControls());
    if (choice == SourceFiles::Leave)
        return Done;
    // Removing a link would leave the plain file it points to while reporting success; removing a file
    // that changed after it was read would lose what the encrypted file lacks; a name that leads to another
    // file by now is not the file that was encrypted.
    platform::FileState named;
    if (!holdsWhatWasEncrypted || platform::StateOf(source, named, false) != 0 || platform::IsSymbolicLink(named) ||
        (encrypted && named != *encrypted))
        return refusal(choice);
    // Deleting one name leaves the data under the others; overwriting it destroys what they hold.
    if (named.links > 1) {
        if (reason)
            *reason = Text(kOtherLinksReason);
        return refusal(choice);
    }
    if (choice == SourceFiles::Delete)
        return platform::DeleteFile(source, &named) == 0 ? Done : NotDeleted;
    return shredSource(source, frontend, named, reason);
}

ShredOutcome ShredFile(const std::string& fileName, Frontend& frontend, const platform::FileState* expected)
{
    platform::Entry file;
    if (const ErrorCode error = platform::Entry::Open(fileName, file)) {
        frontend.ShredEnded(false);
        frontend.ShowMessage(MessageKind::AbortError, OverwriteFailureText(fileName));
        ShredOutcome failed;
        failed.error = error;
        return failed;
    }
    return ShredFile(file, frontend, expected);
}

ShredOutcome ShredFile(const platform::Entry& entry, Frontend& frontend, const platform::FileState* expected)
{
    ShredOutcome outcome;
    const std::string& fileName = entry.Path();
    // pass: a failure from the fixed passes on also answers a Cancel asked for meanwhile.
    const auto failed = [&](int pass, ErrorCode error) {
        frontend.ShredEnded(pass >= kFirstFixedPass);
        frontend.ShowMessage(MessageKind::AbortError, OverwriteFailureText(fileName));
        outcome.error = error;
        return outcome;
    };

    // One handle for every pass: the passes overwrite the file's own blocks in place.
    platform::File file;
    platform::FileState opened;
    ErrorCode error = platform::OpenForOverwrite(entry, file);
    if (error == 0)
        error = file.State(opened);
    if (error != 0)
        return failed(0, error);
    // The name may have been given to another file since it was looked at; only the one opened counts.
    if (expected && opened != *expected)
        return failed(0, 0);
    if (opened.links > 1) {
        outcome.otherLinks = true;
        return outcome;
    }
    // A file system that cannot be asked is taken to overwrite in place, as it was before the question.
    static_cast<void>(platform::KeepsEarlierCopies(file, outcome.copyOnWrite));

    frontend.ShredStarted(fileName);
    bool cancelled = false;
    if (const PassFailure failure = overwritePasses(file, opened.size, frontend, cancelled); failure.pass != 0)
        return failed(failure.pass, failure.error);
    static_cast<void>(file.Close()); // each pass was synced, or the file goes unfinished
    outcome.cancelled = cancelled;
    outcome.overwritten = !cancelled;
    outcome.deleted = platform::DeleteFile(entry, &opened) == 0;
    frontend.ShredEnded(cancelled);
    return outcome;
}

} // namespace tazen
