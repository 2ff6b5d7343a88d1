// The settings file beside the program.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/settings.h"

#include "platform/folders.h"

namespace tazen {

std::string SettingsFilePath()
{
    return platform::ExecutableFolder() + kSettingsFileName;
}

} // namespace tazen
