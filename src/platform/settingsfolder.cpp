// Where the settings file TaZEN.ini lives.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/settingsfolder.h"

#include "platform/folders.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string_view>

namespace tazen::platform {

bool IsSharedInstallation(const std::string& programFolder, const std::string& home)
{
    constexpr std::string_view installed = "/lib/tazen/";
    if (!std::string_view(programFolder).ends_with(installed))
        return false;
    if (home.empty() || home == "/")
        return true;
    return !programFolder.starts_with(WithTrailingSlash(home));
}

std::string SettingsFolderFor(const std::string& programFolder, bool settingsBesideProgram, const char* xdgConfigHome,
                              const char* home)
{
    if (settingsBesideProgram)
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
    const char* home = std::getenv("HOME");
    // The program folder is a resolved path; so must the home folder be it is compared with.
    std::string resolvedHome;
    if (home != nullptr && home[0] == '/') {
        char* resolved = ::realpath(home, nullptr);
        resolvedHome = resolved != nullptr ? resolved : home;
        std::free(resolved);
    }
    const bool beside = ::access(program.c_str(), W_OK) == 0 && !IsSharedInstallation(program, resolvedHome);
    return SettingsFolderFor(program, beside, std::getenv("XDG_CONFIG_HOME"), home);
}

ErrorCode MakeSettingsFolder()
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
