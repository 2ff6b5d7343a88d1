// The settings file, the keys the engine reads from it, and the rule by which a setting applies now.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/frontend.h"

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
// Added by this port; the original Windows program neither reads nor removes it.
inline constexpr const char* kKeyRecipientSystem = "RecipientSystem";

// A stored or chosen number as the choice it stands for; any number but 1 and 2 leaves the source.
SourceFiles SourceFilesOf(int stored);

// RecipientSystem's stored text: "Windows" or "Linux". Read in any letter case; anything else is Windows.
const char* RecipientSystemName(RecipientSystem system);
RecipientSystem RecipientSystemOf(const std::string& stored);

// SourceFiles when a settings file lacks the key, both as the original Windows program had them.
// Disposal deletes, so a settings file written there without the key acts the same here.
inline constexpr int kSourceFilesDefaultForDisposal = 1;
// The dialog shows "Leave unchanged.", the choice that destroys nothing; OK writes it, ending the disagreement.
inline constexpr int kSourceFilesDefaultInDialog = 0;

// "TaZEN.ini" in the folder of the running executable, or in the user's configuration folder when the
// program's folder is not writable (platform::SettingsFolder).
std::string SettingsFilePath();

// The settings that apply now, each by one rule: a value chosen for this run (a command-line option), else the
// settings file when there is one, else the settings dialog's control.
SourceFiles SourceFilesSetting(const SettingsControlsPort& controls);
bool SelfExtractSetting(const SettingsControlsPort& controls);
RecipientSystem RecipientSystemSetting(const SettingsControlsPort& controls);

} // namespace tazen
