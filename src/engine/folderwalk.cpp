// The walk behind a folder add: attribute rules, pseudo file systems, folders met twice, the path limit.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/folderwalk.h"

#include "engine/fileformat.h"

#include <limits.h>

namespace tazen {

namespace {

constexpr std::uint32_t kWalkedFolderAttributes[] = {16, 48, 50};

} // namespace

bool IsWantedFile(const std::string& name, std::uint32_t attributes, bool decrypt)
{
    // A regular file, symbolic links followed, is what carries the archive attribute here.
    const bool isFile = (attributes & platform::kAttrArchive) != 0;
    return isFile && (!decrypt || HasEncryptedExtension(name));
}

std::vector<std::string> FolderFiles(const std::string& folder, bool decrypt)
{
    std::vector<std::string> found;
    std::vector<platform::FolderEntry> entries;
    static_cast<void>(platform::ListFolder(folder, entries)); // an unreadable folder has no files to list
    for (const platform::FolderEntry& entry : entries)
        if (IsWantedFile(entry.name, entry.attributes, decrypt))
            found.push_back(folder + entry.name);
    return found;
}

void FolderWalk::ScanFolderTree(std::string folder, bool Decrypt, std::vector<std::string>& list)
{
    folder = platform::WithTrailingSlash(std::move(folder));
    if (!mayEnter(folder))
        return;
    std::vector<platform::FolderEntry> entries;
    // An unreadable folder lists nothing and adds nothing.
    static_cast<void>(platform::ListFolder(folder, entries));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (i > 0) {
            if (cancelled_)
                break;
            if (callbacks_.cancelRequested && callbacks_.cancelRequested())
                cancelled_ = true;
        }
        ScanEntry(folder, Decrypt, list, entries[i]);
    }
}

void FolderWalk::ScanEntry(const std::string& folder, bool Decrypt, std::vector<std::string>& list,
                           const platform::FolderEntry& entry)
{
    if (callbacks_.inFolder)
        callbacks_.inFolder(folder);
    const std::string path = folder + entry.name;
    if (path.size() >= PATH_MAX) {
        if (unreachable_.size() < kUnreachableNamed)
            unreachable_.push_back({path, entry.attributes});
        ++unreachableCount_;
        return;
    }
    for (std::uint32_t walked : kWalkedFolderAttributes)
        if (entry.attributes == walked) {
            ScanFolderTree(path, Decrypt, list);
            return;
        }
    if (IsWantedFile(entry.name, entry.attributes, Decrypt))
        list.push_back(path);
}

bool FolderWalk::mayEnter(const std::string& folder)
{
    platform::FolderIdentity identity;
    if (platform::IdentifyFolder(folder, identity) != 0)
        return false;
    if (!walked_.insert({identity.device, identity.inode}).second)
        return false;
    auto known = pseudoDevices_.find(identity.device);
    if (known == pseudoDevices_.end())
        known =
            pseudoDevices_
                .emplace(identity.device, platform::IsPseudoFileSystemType(platform::FileSystemType(identity.device)))
                .first;
    return !known->second;
}

} // namespace tazen
