// The settings file and the keys the engine reads from it.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace tazen {

inline constexpr const char* kSettingsFileName = "TaZEN.ini";
inline constexpr const char* kSectionVisuals = "Visuals";
inline constexpr const char* kSectionFiles = "Files";
inline constexpr const char* kKeyMakeSelfExtracting = "MakeSelfExtracting";
inline constexpr const char* kKeySourceFiles = "SourceFiles";
inline constexpr const char* kKeyCompressFiles = "CompressFiles";
inline constexpr const char* kKeyFileAlgorithm = "FileAlgorithm";
inline constexpr const char* kKeyPassAlgorithm = "PassAlgorithm";

// SourceFiles when a settings file lacks the key, both as the original Windows program had them.
// Disposal deletes, so a settings file written there without the key acts the same here.
inline constexpr int kSourceFilesDefaultForDisposal = 1;
// The dialog shows "Leave unchanged.", the choice that destroys nothing; OK writes it, ending the disagreement.
inline constexpr int kSourceFilesDefaultInDialog = 0;

// "TaZEN.ini" in the folder of the running executable, or in the user's configuration folder when the
// program's folder is not writable (platform::SettingsFolder).
std::string SettingsFilePath();

} // namespace tazen
