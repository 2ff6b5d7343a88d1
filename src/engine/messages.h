// The texts the engine's users see: every message written from a run's outcome, and the captions of the
// progress and shred dialogs. Each is given in the language of the program that shows it (base/texts.h).
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/texts.h"
#include "engine/outcome.h"
#include "engine/shred.h"
#include "format/fileformat.h"

#include <string>
#include <string_view>

namespace tazen {

// The message of a stopped run; empty for a completed one.
std::string MessageText(const RunOutcome& outcome);

// The messages of a run that stopped because a new file did not read back as what was written into it.
inline constexpr MarkedText kVerifyFailure = TAZEN_TEXT("Messages", "Could not verify the encrypted file: %1");
inline constexpr MarkedText kDecryptedVerifyFailure = TAZEN_TEXT("Messages", "Could not verify the decrypted file: %1");

// The second lines of the disposal warnings.
inline constexpr MarkedText kOtherLinksReason =
    TAZEN_TEXT("Messages", "Other names (hard links) still lead to its data.");
inline constexpr MarkedText kCopyOnWriteReason =
    TAZEN_TEXT("Messages", "The file system keeps earlier copies of changed data (copy-on-write).");

// A disposal that did not do what the settings asked, for source name; empty for Done.
std::string DisposalWarningText(const std::string& name, DisposalResult result, const std::string& reason);
// An executable that was wanted for the encrypted source name and could not be made.
std::string ExecutableFailureText(const std::string& name);
// A file the shredding could not overwrite.
std::string OverwriteFailureText(const std::string& name);

// The progress dialog's title, "Encrypting" or "Decrypting".
std::string RunTitle(Direction direction);

// The shred dialog's texts while a file is shredded, and while an executable is built.
inline constexpr MarkedText kShredCaption = TAZEN_TEXT("Messages", "File shredding (Gutman pass-35)");
inline constexpr MarkedText kShredHead = TAZEN_TEXT("Messages", "Shredding file:");
std::string ShredPassCaption(int pass, int passes);
inline constexpr MarkedText kExecutableCaption = TAZEN_TEXT("Messages", "Creating executable file");
inline constexpr MarkedText kExecutableHead = TAZEN_TEXT("Messages", "Creating the executable file: ");

} // namespace tazen
