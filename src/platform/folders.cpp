// Folder listings with Windows-style attributes, existence checks, and the folder the program runs from.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/folders.h"

#include "platform/file.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <memory>
#include <mutex>
#include <set>
#include <sstream>
#include <utility>

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace tazen::platform {

namespace {

std::uint32_t typeAttributes(const struct stat& st)
{
    const std::uint32_t readOnly = (st.st_mode & S_IWUSR) ? 0u : static_cast<std::uint32_t>(kAttrReadOnly);
    if (S_ISDIR(st.st_mode))
        return kAttrDirectory | readOnly;
    if (S_ISREG(st.st_mode))
        return kAttrArchive | readOnly;
    return 0;
}

// When the entry cannot be examined (a folder that may be read but not searched), the listing's own type
// is all there is to go on.
std::uint32_t direntAttributes(unsigned char type)
{
    switch (type) {
    case DT_DIR:
        return kAttrDirectory;
    case DT_REG:
        return kAttrArchive;
    case DT_LNK:
        return kAttrReparsePoint;
    default:
        return 0;
    }
}

std::mutex overrideMutex;
std::string executableFolderOverride;

} // namespace

ErrorCode ListFolder(const std::string& folder, std::vector<FolderEntry>& entries)
{
    entries.clear();
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    if (!dir)
        return errno;
    const int dirFd = ::dirfd(dir.get());

    std::vector<FolderEntry> found;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir.get());
        if (!entry) {
            if (errno != 0)
                return errno;
            break;
        }
        const std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;

        FolderEntry item;
        item.name = name;
        struct stat st
        {
        };
        if (::fstatat(dirFd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno == ENOENT)
                continue; // removed since the folder was read
            item.attributes = direntAttributes(entry->d_type);
        } else if (S_ISLNK(st.st_mode)) {
            item.attributes = kAttrReparsePoint;
            struct stat target
            {
            };
            if (::fstatat(dirFd, entry->d_name, &target, 0) == 0) {
                item.attributes |= typeAttributes(target);
                if (S_ISREG(target.st_mode))
                    item.size = target.st_size;
            }
        } else {
            item.attributes = typeAttributes(st);
            if (S_ISREG(st.st_mode))
                item.size = st.st_size;
        }
        if (name.front() == '.')
            item.attributes |= kAttrHidden;
        found.push_back(std::move(item));
    }
    // std::string compares its bytes as unsigned values, so names that are not UTF-8 sort by their bytes too.
    std::sort(found.begin(), found.end(), [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    entries = std::move(found);
    return 0;
}

bool ExistsAsFile(const std::string& name)
{
    struct stat st
    {
    };
    return ::stat(name.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool ExistsAsFolder(const std::string& name)
{
    struct stat st
    {
    };
    return ::stat(name.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

ErrorCode MayCreateIn(const std::string& folder)
{
    struct stat st
    {
    };
    if (::stat(folder.c_str(), &st) != 0)
        return errno;
    if (!S_ISDIR(st.st_mode))
        return ENOTDIR;
    // The effective ids decide, as they do when the file is made; a read-only mount says EROFS.
    return ::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0 ? 0 : errno;
}

std::string WithTrailingSlash(std::string folder)
{
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

std::string AbsoluteName(const std::string& name)
{
    if (name.empty() || name.front() == '/')
        return name;
    std::string folder(PATH_MAX, '\0');
    if (::getcwd(folder.data(), folder.size()) == nullptr)
        return name;
    folder.resize(std::char_traits<char>::length(folder.c_str()));
    return WithTrailingSlash(std::move(folder)) + name;
}

ErrorCode IdentifyFolder(const std::string& folder, FolderIdentity& identity)
{
    struct stat st
    {
    };
    if (::stat(folder.c_str(), &st) != 0)
        return errno;
    if (!S_ISDIR(st.st_mode))
        return ENOTDIR;
    identity = {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
    return 0;
}

std::string FileSystemType(std::uint64_t device)
{
    // Each line: id parent major:minor root mount-point options [optional fields] - type source options
    std::ifstream mountInfo("/proc/self/mountinfo");
    const std::string wanted =
        std::to_string(major(static_cast<dev_t>(device))) + ':' + std::to_string(minor(static_cast<dev_t>(device)));
    std::string line;
    while (std::getline(mountInfo, line)) {
        std::istringstream fields(line);
        std::string id, parent, numbers;
        if (!(fields >> id >> parent >> numbers) || numbers != wanted)
            continue;
        const std::size_t separator = line.find(" - ");
        if (separator == std::string::npos)
            continue;
        std::istringstream rest(line.substr(separator + 3));
        std::string type;
        rest >> type;
        return type;
    }
    return {};
}

bool IsPseudoFileSystemType(const std::string& type)
{
    static const std::set<std::string> pseudo = {
        "proc",   "sysfs", "devtmpfs", "devpts",  "cgroup",   "cgroup2",     "tracefs", "debugfs",   "securityfs",
        "pstore", "bpf",   "configfs", "fusectl", "efivarfs", "binfmt_misc", "mqueue",  "hugetlbfs", "rpc_pipefs"};
    return pseudo.contains(type);
}

bool IsFileSystemRoot(const std::string& folder)
{
    struct stat self
    {
    };
    struct stat parent
    {
    };
    std::string trimmed = folder;
    while (trimmed.size() > 1 && trimmed.back() == '/')
        trimmed.pop_back();
    if (::stat(trimmed.c_str(), &self) != 0 || !S_ISDIR(self.st_mode))
        return false;
    if (::stat((trimmed + "/..").c_str(), &parent) != 0)
        return false;
    // The root is its own parent.
    return self.st_dev != parent.st_dev || self.st_ino == parent.st_ino;
}

std::string ExecutableFolder()
{
    {
        std::lock_guard<std::mutex> lock(overrideMutex);
        if (!executableFolderOverride.empty())
            return WithTrailingSlash(executableFolderOverride);
    }
    std::string target;
    if (ExecutablePath(target) != 0)
        return "./";
    const std::size_t slash = target.rfind('/');
    if (slash == std::string::npos)
        return "./";
    return target.substr(0, slash + 1);
}

void SetExecutableFolderForTesting(const std::string& folder)
{
    std::lock_guard<std::mutex> lock(overrideMutex);
    executableFolderOverride = folder;
}

} // namespace tazen::platform
