// Where the settings file TaZEN.ini lives.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/settingsfolder.h"

#include "platform/folders.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace tazen::platform {

std::string SettingsFolderFor(const std::string& programFolder, bool programFolderWritable, const char* xdgConfigHome,
                              const char* home)
{
    if (programFolderWritable)
        return programFolder;
    std::string config;
    if (xdgConfigHome != nullptr && xdgConfigHome[0] == '/')
        config = xdgConfigHome;
    else
        config = std::string(home != nullptr ? home : "") + "/.config";
    return WithTrailingSlash(config) + "tazen/";
}

std::string SettingsFolder()
{
    const std::string program = ExecutableFolder();
    return SettingsFolderFor(program, ::access(program.c_str(), W_OK) == 0, std::getenv("XDG_CONFIG_HOME"),
                             std::getenv("HOME"));
}

int MakeSettingsFolder()
{
    const std::string folder = SettingsFolder();
    // Each missing folder on the way, from the top down.
    for (std::size_t slash = folder.find('/', 1); slash != std::string::npos; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return errno;
    }
    return ExistsAsFolder(folder) ? 0 : ENOTDIR;
}

} // namespace tazen::platform
