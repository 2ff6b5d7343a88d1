// The settings file beside the program and the keys the engine reads from it.
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

// The folder of the running executable followed by "TaZEN.ini".
std::string SettingsFilePath();

} // namespace tazen
