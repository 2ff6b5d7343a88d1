// Where the settings file is.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/settings.h"

#include "platform/settingsfolder.h"

namespace tazen {

std::string SettingsFilePath()
{
    return platform::SettingsFolder() + kSettingsFileName;
}

} // namespace tazen
