// The walk behind a folder add: which folders are entered and which files are found, in which order, for
// the window and the terminal tool alike.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/folders.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace tazen {

// A listing entry a folder add takes: a regular file (symbolic links followed), and for decryption only one
// with the exact extension ".TaZEN" or an executable's ending ".TaZEN.exe" (its letter case disregarded).
bool IsWantedFile(const std::string& name, std::uint32_t attributes, bool decrypt);

// The wanted files of one folder, without its sub-folders, in name order. folder ends in '/'.
std::vector<std::string> FolderFiles(const std::string& folder, bool decrypt);

// What a folder add found in the folder it was given.
struct FolderAdd
{
    // In the walk's order.
    std::vector<std::string> files;
    // The folder as a message names it: as given for a recursive add, with its '/' otherwise.
    std::string named;
    // A recursive add whose walk was declined before it began, or cancelled during it.
    bool stopped = false;
};

// An entry whose path is longer than the system can reach.
struct UnreachableEntry
{
    std::string path;
    std::uint32_t attributes = 0;
};

// The folders a recursive walk met and did not enter, by the rule that kept each out (the first that applies,
// in this order).
struct LeftOutFolders
{
    std::size_t links = 0;
    std::size_t hidden = 0;
    std::size_t writeProtected = 0;
    // On one of the kernel's own file systems.
    std::size_t systemFolders = 0;

    std::size_t Total() const { return links + hidden + writeProtected + systemFolders; }
};

// One recursive walk. A folder is entered when its attribute set is exactly directory (16), directory and
// archive (48) or those and hidden (50): so here hidden and read-only folders and links to folders are
// not, and neither are the kernel's pseudo file systems nor a folder already walked. Each folder's entries
// are taken in name order, so every front end finds the same files in the same order.
class FolderWalk
{
public:
    struct Callbacks
    {
        // Before each entry, with the folder (ending in '/') it is in: the window shows the folder and lets
        // messages through there, so its Cancel button works during the walk.
        std::function<void(const std::string& folder)> inFolder;
        // Read between entries, before the entry is handled: once true, that entry is still handled and the
        // walk ends at the next.
        std::function<bool()> cancelRequested;
    };

    // How many entries past the path limit are kept by name; the rest are only counted.
    static constexpr std::size_t kUnreachableNamed = 3;

    explicit FolderWalk(Callbacks callbacks) : callbacks_(std::move(callbacks)) {}

    // Before a recursive add's walk begins: wholeFileSystem when an add for encryption was given "/" or the
    // top folder of a mounted file system. False declines the walk.
    using BeginWalk = std::function<bool(bool wholeFileSystem)>;

    // The wanted files of the chosen folder, and with recursive those of its sub-folders, walked as
    // ScanFolderTree does once beginWalk (when given) agrees; without recursive, as FolderFiles finds them.
    FolderAdd AddFolder(const std::string& chosen, bool recursive, bool decrypt, const BeginWalk& beginWalk);

    // Lists one folder and descends into its sub-folders, collecting the wanted files into list.
    void ScanFolderTree(const std::string& folder, bool Decrypt, std::vector<std::string>& list);

    bool Cancelled() const { return cancelled_; }
    // Entries past the system's path limit, which the walk cannot reach: the first kUnreachableNamed in the
    // order met, and how many there were. They are named once the walk is over rather than skipped in silence.
    const std::vector<UnreachableEntry>& Unreachable() const { return unreachable_; }
    std::size_t UnreachableCount() const { return unreachableCount_; }
    // The sub-folders the walk left out by its rules (a folder met a second time is not one).
    const LeftOutFolders& LeftOut() const { return leftOut_; }

private:
    // The walk of ScanFolderTree, depth first; false when beginWalk declined it.
    bool walkTree(const std::string& chosen, bool decrypt, std::vector<std::string>& list, const BeginWalk& beginWalk);
    // below: a sub-folder rather than the folder the walk was given.
    bool mayEnter(const platform::FolderIdentity& identity, bool below);
    void countLeftOut(std::uint32_t attributes);

    Callbacks callbacks_;
    std::vector<UnreachableEntry> unreachable_;
    std::size_t unreachableCount_ = 0;
    LeftOutFolders leftOut_;
    bool cancelled_ = false;
    std::set<std::pair<std::uint64_t, std::uint64_t>> walked_;
    std::map<std::uint64_t, bool> pseudoDevices_;
};

} // namespace tazen
