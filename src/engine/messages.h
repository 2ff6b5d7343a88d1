// The texts the engine's users see: every message written from a run's outcome, and the captions of the
// progress and shred dialogs.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/outcome.h"
#include "engine/shred.h"
#include "format/fileformat.h"

#include <string>
#include <string_view>

namespace tazen {

// The message of a stopped run; empty for a completed one.
std::string MessageText(const RunOutcome& outcome);

// The messages of a run the user cancelled. The window empties its list after these alone.
inline constexpr std::string_view kEncryptionCanceled = "Encryption canceled";
inline constexpr std::string_view kDecryptionCanceled = "Decryption canceled";

// The messages of a run that stopped because a new file did not read back as what was written into it.
inline constexpr const char* kVerifyFailure = "Could not verify the encrypted file: ";
inline constexpr const char* kDecryptedVerifyFailure = "Could not verify the decrypted file: ";

// The second lines of the disposal warnings.
inline constexpr const char* kOtherLinksReason = "Other names (hard links) still lead to its data.";
inline constexpr const char* kCopyOnWriteReason =
    "The file system keeps earlier copies of changed data (copy-on-write).";

// A disposal that did not do what the settings asked, for source name; empty for Done.
std::string DisposalWarningText(const std::string& name, DisposalResult result, const std::string& reason);
// An executable that was wanted for the encrypted source name and could not be made.
std::string ExecutableFailureText(const std::string& name);
// A file the shredding could not overwrite.
std::string OverwriteFailureText(const std::string& name);

// The progress dialog's title, "Encrypting" or "Decrypting".
std::string RunTitle(Direction direction);

// The shred dialog's texts while a file is shredded, and while an executable is built.
inline constexpr const char* kShredCaption = "File shredding (Gutman pass-35)";
inline constexpr const char* kShredHead = "Shredding file:";
std::string ShredPassCaption(int pass, int passes);
inline constexpr const char* kExecutableCaption = "Creating executable file";
inline constexpr const char* kExecutableHead = "Creating the executable file: ";

} // namespace tazen
