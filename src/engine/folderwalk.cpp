// The walk behind a folder add: attribute rules, pseudo file systems, folders met twice, the path limit.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/folderwalk.h"

#include "format/fileformat.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <utility>

#include <limits.h>

namespace tazen {

namespace {

constexpr std::uint32_t kWalkedFolderAttributes[] = {16, 48, 50};

} // namespace

bool IsWantedFile(const std::string& name, std::uint32_t attributes, bool decrypt)
{
    // A regular file, symbolic links followed, is what carries the archive attribute here.
    const bool isFile = (attributes & platform::kAttrArchive) != 0;
    return isFile && (!decrypt || IsEncryptedName(name));
}

std::vector<std::string> FolderFiles(const std::string& folder, bool decrypt)
{
    std::vector<std::string> found;
    std::vector<platform::FolderEntry> entries;
    // An unreadable folder lists nothing and adds nothing.
    static_cast<void>(platform::ListFolder(folder, entries));
    for (const platform::FolderEntry& entry : entries)
        if (IsWantedFile(entry.name, entry.attributes, decrypt))
            found.push_back(folder + entry.name);
    return found;
}

FolderAdd FolderWalk::AddFolder(const std::string& chosen, bool recursive, bool decrypt, const BeginWalk& beginWalk)
{
    FolderAdd add;
    if (recursive) {
        add.stopped = !walkTree(chosen, decrypt, add.files, beginWalk) || cancelled_;
        add.named = chosen;
        return add;
    }
    add.named = platform::WithTrailingSlash(chosen);
    std::vector<platform::FolderEntry> entries;
    static_cast<void>(platform::ListFolder(add.named, entries)); // unreadable: nothing to add
    for (const platform::FolderEntry& entry : entries)
        if (IsWantedFile(entry.name, entry.attributes, decrypt))
            add.files.push_back(add.named + entry.name);
    return add;
}

void FolderWalk::ScanFolderTree(const std::string& folder, bool Decrypt, std::vector<std::string>& list)
{
    (void)walkTree(folder, Decrypt, list, nullptr);
}

bool FolderWalk::walkTree(const std::string& chosen, bool decrypt, std::vector<std::string>& list,
                          const BeginWalk& beginWalk)
{
    if (beginWalk && !beginWalk(!decrypt && platform::IsFileSystemRoot(chosen)))
        return false;
    // Depth first without recursion: each level keeps its listing and the entry it is at.
    struct Level
    {
        std::string folder;
        std::vector<platform::FolderEntry> entries;
        std::size_t next = 0;
    };
    std::vector<Level> levels;
    std::optional<std::string> toEnter = chosen;
    for (;;) {
        if (toEnter) {
            std::string folder = platform::WithTrailingSlash(std::move(*toEnter));
            toEnter.reset();
            platform::FolderIdentity identity;
            if (platform::IdentifyFolder(folder, identity) == 0 && mayEnter(identity, !levels.empty())) {
                levels.push_back({std::move(folder), {}, 0});
                // An unreadable folder lists nothing and adds nothing.
                static_cast<void>(platform::ListFolder(levels.back().folder, levels.back().entries));
            }
        }
        if (levels.empty())
            return true;
        Level& level = levels.back();
        if (level.next == level.entries.size() || (level.next > 0 && cancelled_)) {
            levels.pop_back();
            continue;
        }
        if (level.next > 0 && callbacks_.cancelRequested && callbacks_.cancelRequested())
            cancelled_ = true;
        const platform::FolderEntry& entry = level.entries[level.next++];
        if (callbacks_.inFolder)
            callbacks_.inFolder(level.folder);
        std::string path = level.folder + entry.name;
        if (path.size() >= PATH_MAX) {
            if (unreachable_.size() < kUnreachableNamed)
                unreachable_.push_back({std::move(path), entry.attributes});
            ++unreachableCount_;
        } else if (std::find(std::begin(kWalkedFolderAttributes), std::end(kWalkedFolderAttributes),
                             entry.attributes) != std::end(kWalkedFolderAttributes)) {
            toEnter = std::move(path);
        } else if (IsWantedFile(entry.name, entry.attributes, decrypt)) {
            list.push_back(std::move(path));
        } else if ((entry.attributes & platform::kAttrDirectory) != 0) {
            countLeftOut(entry.attributes);
        }
    }
}

bool FolderWalk::mayEnter(const platform::FolderIdentity& identity, bool below)
{
    if (!walked_.insert({identity.device, identity.inode}).second)
        return false;
    auto known = pseudoDevices_.find(identity.device);
    if (known == pseudoDevices_.end())
        known =
            pseudoDevices_
                .emplace(identity.device, platform::IsPseudoFileSystemType(platform::FileSystemType(identity.device)))
                .first;
    if (known->second && below)
        ++leftOut_.systemFolders;
    return !known->second;
}

void FolderWalk::countLeftOut(std::uint32_t attributes)
{
    if ((attributes & platform::kAttrReparsePoint) != 0)
        ++leftOut_.links;
    else if ((attributes & platform::kAttrHidden) != 0)
        ++leftOut_.hidden;
    else if ((attributes & platform::kAttrReadOnly) != 0)
        ++leftOut_.writeProtected;
}

} // namespace tazen
