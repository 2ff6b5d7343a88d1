// Self-extracting executables: the extractor program's bytes followed by an encrypted file.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/error.h"
#include "engine/frontend.h"
#include "platform/files.h"

#include <string>

namespace tazen {

// The stored numbers of the described result: none wanted or made, wanted and not made, made but not proven.
enum ExecutableResult
{
    ExecutableDone = 0,
    ExecutableFailed = 2,
    // Made, but it did not read back as the extractor and the encrypted file, so both the executable and the
    // encrypted file's deletion were given up.
    ExecutableNotProven = 3
};

struct [[nodiscard]] ExecutableOutcome
{
    ExecutableResult result = ExecutableDone;
    // Why a not proven executable could not be read back; 0 when it read back different bytes.
    ErrorCode readBackError;

    explicit operator bool() const { return result == ExecutableDone; }
};

// ExecutableDone when no executable was wanted or it was made. Without mayReplace, an executable of that name
// that exists is replaced only when the frontend allows it.
[[nodiscard]] ExecutableResult MakeSelfExtractingFile(const std::string& encryptedName, Frontend& frontend);
ExecutableOutcome MakeSelfExtractingFile(const platform::Entry& encrypted, Frontend& frontend, bool mayReplace);
// Writes the extractor followed by the encrypted file to outputName, then deletes the encrypted file.
// Unless the settings controls say not to, the executable is read back from the device and proven, under its
// temporary name, before it replaces a file or the encrypted file goes; one that does not read back as the
// extractor's bytes followed by the encrypted file's is removed, every other file kept, as ExecutableNotProven.
ExecutableOutcome BuildExecutable(const std::string& outputName, const std::string& extractorPath,
                                  const std::string& encryptedName, Frontend& frontend);
ExecutableOutcome BuildExecutable(const platform::Entry& output, const std::string& extractorPath,
                                  const platform::Entry& encrypted, Frontend& frontend, bool mayReplace);
// Whether the settings ask for an executable beside each encrypted file now.
bool SelfExtractingWanted(const Frontend& frontend);
// The extractor for the recipient's system: the folder of the program + "/extractor-windows.exe" (a Windows
// console program) or + "/extractor" (Linux).
inline constexpr const char* kWindowsExtractorName = "extractor-windows.exe";
inline constexpr const char* kLinuxExtractorName = "extractor";
std::string SelfExtractorPath(RecipientSystem system);

} // namespace tazen
