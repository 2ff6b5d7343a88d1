// What happens to a source after its encryption: kept, deleted, or overwritten 35 times (Gutmann) and deleted.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/error.h"
#include "engine/frontend.h"
#include "platform/files.h"

#include <cstdint>
#include <string>

namespace tazen {

enum DisposalResult
{
    Done = 0,
    NotDeleted = 1,
    NotShredded = 2
};

// Keeps, deletes or shreds a source that has just been encrypted, as the SourceFiles setting says. A source
// that no longer holds what was encrypted (it changed while it was read) is kept, and reported as not
// deleted or not shredded. Given the state the source was encrypted in, a name that leads to another file
// by the time of the disposal is kept likewise, and shredding overwrites only the file of that state. A
// source with other names (hard links) is kept, and reason, when given, says so; a shredding on a file system
// that keeps earlier copies of changed data still runs and deletes the file, but is reported as not
// thorough, with that reason.
DisposalResult DisposeSourceFile(const std::string& fileName, Frontend& frontend, bool holdsWhatWasEncrypted = true,
                                 const platform::FileState* encrypted = nullptr, std::string* reason = nullptr);
DisposalResult DisposeSourceFile(const platform::Entry& source, Frontend& frontend, bool holdsWhatWasEncrypted,
                                 const platform::FileState* encrypted, std::string* reason);

// How a shredding ended.
struct [[nodiscard]] ShredOutcome
{
    // Every pass was written and the deletion attempted.
    bool overwritten = false;
    // Cancel stopped it after the passes done so far; the deletion was attempted then.
    bool cancelled = false;
    // The deletion after the passes succeeded.
    bool deleted = false;
    // The file system keeps earlier copies of what the passes overwrote.
    bool copyOnWrite = false;
    // The file has other names; it was left untouched.
    bool otherLinks = false;
    // Why the file could not be opened or overwritten; 0 for a refusal that is no failure of the system.
    ErrorCode error;

    explicit operator bool() const { return overwritten; }
};

// Overwrites the file 35 times (Gutmann) and deletes it. Given an expected state, a file opened under the name
// in any other state is left untouched, as a failure; so is a file with other names (hard links), without a
// message box.
ShredOutcome ShredFile(const std::string& fileName, Frontend& frontend, const platform::FileState* expected = nullptr);
ShredOutcome ShredFile(const platform::Entry& file, Frontend& frontend, const platform::FileState* expected);

// Pattern bytes of passes 5 to 31; a row whose second byte is 0x0A is the one-byte pattern in its first.
inline constexpr int kShredPasses = 35;
inline constexpr int kFixedShredPatterns = 27;
extern const std::uint8_t ShredPatterns[kFixedShredPatterns][3];

// Whether the settings ask now for each source to be deleted or shredded after its encryption.
bool DisposalWanted(const Frontend& frontend);

} // namespace tazen
