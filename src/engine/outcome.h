// How a run, a shredding or an executable's build ended, as the engine found it: what the programs that drive
// the engine decide by, and what its messages are written from (engine/messages.h).
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/error.h"
#include "format/fileformat.h"

#include <cstddef>
#include <string>
#include <vector>

namespace tazen {

// The result of a run that went through every file, as the window's callers know it.
inline constexpr int kAllFilesDone = -1;

enum class Failure
{
    None,
    // The source could not be opened for reading and writing.
    CannotOpen,
    // Shorter than a .TaZEN file's check block.
    TooShort,
    // The new file's name is longer than its folder takes (error ENAMETOOLONG).
    NameTooLong,
    WrongPassword,
    CannotCreate,
    Read,
    Write,
    // The new file did not read back as what was written into it (error: why it could not be read, or 0).
    Verify,
    // The encrypted file could not be deleted after its decryption.
    Delete,
    ChangedWhileRead,
    Cancelled,
    // Put aside because a file before it in a run over several files at a time did not get done; its new
    // file was removed and its source left as it was. Not a failure of its own: it has no message.
    Abandoned
};

struct [[nodiscard]] RunOutcome
{
    Direction direction = Direction::Encrypt;
    Failure failure = Failure::None;
    // Where the run stopped: the position in the list as given, and the first entry equal to that one with
    // letter case disregarded, which the described result names.
    std::size_t index = 0;
    std::size_t position = 0;
    // The file the failure concerns: the source, or the new file that could not be made or proven.
    std::string file;
    ErrorCode error;
    // Found by the pre-check over the whole list, before anything was written.
    bool inPreCheck = false;
    // The file that could not be opened or replaced has the read-only attribute.
    bool writeProtected = false;
    // The places in the list of the files left as they were: no password opened them, or their new file may
    // not replace an existing one.
    std::vector<std::size_t> skipped;

    bool Completed() const { return failure == Failure::None; }
    // kAllFilesDone or the position.
    int Result() const { return Completed() ? kAllFilesDone : static_cast<int>(position); }
};

} // namespace tazen
