// Where the settings file is, and which setting applies now.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/settings.h"

#include "base/ascii.h"
#include "platform/folders.h"
#include "platform/inifile.h"
#include "platform/settingsfolder.h"

#include <optional>

namespace tazen {

namespace {

template <typename T, typename FromFile, typename FromControl>
T settingNow(const std::optional<T>& chosen, FromFile fromFile, FromControl fromControl)
{
    if (chosen)
        return *chosen;
    const std::string path = SettingsFilePath();
    if (platform::ExistsAsFile(path)) {
        platform::TIniFile file(path);
        return fromFile(file);
    }
    return fromControl();
}

} // namespace

SourceFiles SourceFilesOf(int stored)
{
    return stored == 1 ? SourceFiles::Delete : stored == 2 ? SourceFiles::Shred : SourceFiles::Leave;
}

const char* RecipientSystemName(RecipientSystem system)
{
    return system == RecipientSystem::Linux ? "Linux" : "Windows";
}

RecipientSystem RecipientSystemOf(const std::string& stored)
{
    return EqualIgnoringAsciiCase(stored, "Linux") ? RecipientSystem::Linux : RecipientSystem::Windows;
}

std::string SettingsFilePath()
{
    return platform::SettingsFolder() + kSettingsFileName;
}

SourceFiles SourceFilesSetting(const SettingsControlsPort& controls)
{
    return settingNow(
        controls.SourceFilesOverride(),
        [](platform::TIniFile& file) {
            return SourceFilesOf(file.ReadInteger(kSectionFiles, kKeySourceFiles, kSourceFilesDefaultForDisposal));
        },
        [&controls] { return SourceFilesOf(controls.SourceFilesIndex()); });
}

bool SelfExtractSetting(const SettingsControlsPort& controls)
{
    return settingNow(
        controls.SelfExtractOverride(),
        [](platform::TIniFile& file) { return file.ReadBool(kSectionFiles, kKeyMakeSelfExtracting, false); },
        [&controls] { return controls.SelfExtractChecked(); });
}

RecipientSystem RecipientSystemSetting(const SettingsControlsPort& controls)
{
    return settingNow(
        controls.RecipientSystemOverride(),
        [](platform::TIniFile& file) {
            return RecipientSystemOf(file.ReadString(kSectionFiles, kKeyRecipientSystem, {}));
        },
        [&controls] { return controls.RecipientSystemChosen(); });
}

} // namespace tazen
