// Where the settings file TaZEN.ini lives: beside the program in a folder of the user's own, else in the
// user's configuration folder.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/error.h"

#include <string>

namespace tazen::platform {

// Whether programFolder (with its trailing '/') is an installation shared by the machine's users: an
// installed program folder, PREFIX/lib/tazen/ as make install and the package lay it out, outside home (the
// user's home folder, resolved). That is so below /usr, /usr/local or /opt, even for root, who may write
// there; an installation into the home folder (~/.local) and a build folder (its bin/) are not.
bool IsSharedInstallation(const std::string& programFolder, const std::string& home);

// The rule, given what it depends on: programFolder when settingsBesideProgram, that is when it is writable
// and no shared installation; otherwise xdgConfigHome + "/tazen/", or home + "/.config/tazen/" when
// $XDG_CONFIG_HOME is unset or not absolute, as the XDG rules ask.
std::string SettingsFolderFor(const std::string& programFolder, bool settingsBesideProgram, const char* xdgConfigHome,
                              const char* home);

// The rule for this process: ExecutableFolder(), its writability, $XDG_CONFIG_HOME and $HOME.
std::string SettingsFolder();

// Makes SettingsFolder() where it is missing, the folders it makes private to the user (0700), so that the
// settings file can be written there. 0 or errno.
tazen::ErrorCode MakeSettingsFolder();

} // namespace tazen::platform
