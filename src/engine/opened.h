// An encrypted file opened in place: decrypted into a private folder on a memory file system, encrypted again
// with the same key whenever the copy changes, and the copy removed when the user is done; and the copies a
// crash left behind.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/texts.h"
#include "cipher/blowfish.h"
#include "cipher/secret.h"
#include "engine/events.h"
#include "engine/outcome.h"
#include "platform/entry.h"
#include "platform/opencopies.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tazen {

// The folder below the runtime folder that holds one private folder per open copy.
inline constexpr const char* kOpenCopiesFolder = "tazen-open";
// The record in each private folder that names the encrypted file its copy belongs to.
inline constexpr const char* kOpenRecordName = ".tazen-open-record";

// Where copies go: the runtime folder's tazen-open folder, and whether it is kept in memory.
struct OpenPlace
{
    std::string folder;
    bool inMemory = false;
    // The file system's name (tmpfs, ext4...), for the question whether a disk may be used.
    std::string fileSystem;
};
// Finds (and makes) the place; empty folder and the reason when there is none. runtimeFolder: empty for the
// user's private runtime folder (platform/instance.h).
OpenPlace FindOpenPlace(std::string& reason, const std::string& runtimeFolder = {});

enum class OpenFailure
{
    None,
    // No runtime folder could be found or made (reason).
    NoPlace,
    // The place is on a disk and a disk was not allowed: ask the user, then open again allowing it.
    NotInMemory,
    // The private folder, its record or the watch could not be made (error).
    Folder,
    // The copy could not be given the name the file would decrypt to: none, or the record's.
    Name,
    // The decryption stopped: the run's outcome says why (MessageText).
    Run
};

struct OpenOutcome
{
    OpenFailure failure = OpenFailure::None;
    OpenPlace place;
    ErrorCode error;
    std::string reason;
    RunOutcome run;
    bool Opened() const { return failure == OpenFailure::None; }
};
// The text for a user, in one place: empty for an opened file.
std::string OpenFailureText(const std::string& encryptedFile, const OpenOutcome& outcome);

// What a window shows for an open file.
enum class CopyState
{
    Unchanged,
    Saved,
    SavingFailed
};
struct CopyStatus
{
    CopyState state = CopyState::Unchanged;
    // When the last save back put the new encrypted file in place (system clock).
    std::optional<std::chrono::system_clock::time_point> savedAt;
    // Why the last save failed: the run's message; the old encrypted file and the copy are both kept.
    std::string reason;
};

inline constexpr MarkedText kCopyUnchanged = TAZEN_TEXT("Open", "unchanged");
// %1: the time of day, as the program shows it.
inline constexpr MarkedText kCopySaved = TAZEN_TEXT("Open", "saved %1");
inline constexpr MarkedText kCopySavingFailed = TAZEN_TEXT("Open", "saving failed: %1");
inline constexpr MarkedText kNotInMemory =
    TAZEN_TEXT("Open", "The folder %1 is on a disk (%2), not in memory: the decrypted copy would be written to the "
                       "disk, where it could be read back after it is removed.");
inline constexpr MarkedText kNoOpenPlace = TAZEN_TEXT("Open", "No private folder for the decrypted copy: %1");
inline constexpr MarkedText kOpenFolderFailure = TAZEN_TEXT("Open", "Could not make the private folder %1");
inline constexpr MarkedText kOpenNoName =
    TAZEN_TEXT("Open", "%1 cannot be opened in place: its decrypted copy would have no name. Rename it first.");
inline constexpr MarkedText kOpenNameTaken =
    TAZEN_TEXT("Open", "%1 cannot be opened in place: its decrypted copy would be named %2, as TaZEN's own record "
                       "beside the copy is. Rename it first.");
inline constexpr MarkedText kLeftBehindGone =
    TAZEN_TEXT("Open", "The encrypted file %1 is gone: the copy left behind is not saved back without it.");

// The state as a short text; time is the saving time as the program writes times of day.
std::string CopyStatusText(const CopyStatus& status, const std::string& time);

// Whether a save back did anything.
enum class SaveResult
{
    Unchanged, // the copy holds what the encrypted file holds; nothing was written
    Saved,
    Failed,
    NoCopy // the copy is not there (an application between its rename steps): nothing done
};

// One open file. Open decrypts it, with its encrypted file kept as it is; SaveIfChanged encrypts the copy again
// when it differs from what was last saved, and replaces the encrypted file by rename once the new one is proven
// from the device; Close saves a last change and removes the copy and its folder. The key is held in locked
// memory from Open to Close. Every step runs on the calling thread and tells its progress through events, so a
// window shows it in its progress dialog and a terminal on its progress line. Going without Close wipes the key
// and leaves the copy, which is then found as left behind.
class OpenedFile
{
public:
    // encryptedFile: a .TaZEN or .TaZEN.exe file, made absolute.
    explicit OpenedFile(std::string encryptedFile);
    ~OpenedFile();
    OpenedFile(const OpenedFile&) = delete;
    OpenedFile& operator=(const OpenedFile&) = delete;

    // password is wiped once the key is made. With a place on a disk, allowDisk must be true.
    OpenOutcome Open(Secret& password, RunEvents& events, bool allowDisk, const std::string& runtimeFolder = {});

    // The watch on the private folder: readable when the copy may have changed; -1 when not open.
    int WatchHandle() const { return watch_.Handle(); }
    // Takes the watch's events, and saves back when one concerns the copy.
    SaveResult HandleWatchEvents(RunEvents& events);
    // Saves back when the copy differs from what was last saved.
    SaveResult SaveIfChanged(RunEvents& events);
    // Saves a last change, then overwrites and removes the copy and its folder and wipes the key. A copy whose
    // last change could not be saved is kept, with its folder: it is found as left behind, and the result is
    // Failed. Closing what is not open does nothing.
    SaveResult Close(RunEvents& events);

    bool IsOpen() const { return key_ != nullptr; }
    const std::string& EncryptedFile() const { return encrypted_; }
    const std::string& Folder() const { return folder_; }
    const std::string& CopyPath() const { return copy_; }
    const CopyStatus& Status() const { return status_; }
    // Told whenever the state changes.
    std::function<void(const OpenedFile&)> statusChanged;

private:
    SaveResult save(RunEvents& events);
    void setStatus(CopyState state, std::string reason);

    std::string encrypted_;
    std::string folder_;
    std::string copy_;
    unsigned int encryptedBits_ = 0600;
    TBlowfish cipher_;
    std::unique_ptr<RunKey> key_;
    platform::HeldRecord record_;
    platform::FolderWatch watch_;
    // A digest of what was last saved (or decrypted).
    std::uint64_t savedDigest_ = 0;
    CopyStatus status_;
};

// A copy found in the place that no running program holds: a crash or power cut left it.
struct LeftBehindCopy
{
    std::string folder;
    std::string encryptedFile;
    // Empty when the record names no copy that is still there.
    std::string copy;
};
// Every copy left behind in the place, in name order.
ErrorCode FindLeftBehind(const OpenPlace& place, std::vector<LeftBehindCopy>& copies);
// Encrypts the copy back into its encrypted file, which must still be there and open with password (wiped
// then), then removes the copy as Close does. message: why it failed.
SaveResult SaveLeftBehind(const LeftBehindCopy& copy, Secret& password, RunEvents& events, std::string& message);
// Overwrites and removes the copy and its folder.
ErrorCode DiscardLeftBehind(const LeftBehindCopy& copy);

} // namespace tazen
