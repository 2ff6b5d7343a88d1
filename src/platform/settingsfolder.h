// Where the settings file TaZEN.ini lives: beside the program where the user may write there, else in the
// user's configuration folder.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace tazen::platform {

// The rule, given what it depends on: programFolder (with its trailing '/') when it is writable, as it is
// after make install into ~/.local or in a build folder; otherwise (a system package) xdgConfigHome + "/tazen/",
// or home + "/.config/tazen/" when $XDG_CONFIG_HOME is unset or not absolute, as the XDG rules ask.
std::string SettingsFolderFor(const std::string& programFolder, bool programFolderWritable, const char* xdgConfigHome,
                              const char* home);

// The rule for this process: ExecutableFolder(), its writability, $XDG_CONFIG_HOME and $HOME.
std::string SettingsFolder();

// Makes SettingsFolder() where it is missing, the folders it makes private to the user (0700), so that the
// settings file can be written there. 0 or errno.
int MakeSettingsFolder();

} // namespace tazen::platform
