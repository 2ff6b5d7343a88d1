// Names and what they lead to: the state of a file, names reached through their folder's handle, and the
// read-only attribute.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/descriptor.h"

#include <sys/types.h>

#include <cstdint>
#include <memory>
#include <string>

namespace tazen::platform {

// Which file a name or descriptor leads to, its length and when its data last changed: what tells whether
// a file still holds what was read from it. Type, owner, group, link count and the access time ride along
// but do not take part in the comparison.
struct FileState
{
    dev_t device = 0;
    ino_t inode = 0;
    std::int64_t size = -1;
    std::int64_t modifiedSeconds = 0;
    long modifiedNanoseconds = 0;
    mode_t mode = 0;
    uid_t owner = 0;
    gid_t group = 0;
    nlink_t links = 0;
    std::int64_t accessedSeconds = 0;
    long accessedNanoseconds = 0;
    bool operator==(const FileState& other) const
    {
        return device == other.device && inode == other.inode && size == other.size &&
               modifiedSeconds == other.modifiedSeconds && modifiedNanoseconds == other.modifiedNanoseconds;
    }

    bool IsFolder() const;
    bool IsRegular() const;
    bool IsLink() const;
    bool IsBlockDevice() const;
    // A regular file whose owner-write bit is clear: Windows' read-only attribute.
    bool IsWriteProtected() const;
    // Whether the group or others may read it.
    bool OthersMayRead() const;
    // The permission bits, rwx for owner, group and others (0777 at most).
    mode_t PermissionBits() const;
};

// The state of the file a name leads to, symbolic links followed.
ErrorCode StateOf(const std::string& name, FileState& state);
// The same of the name itself: a link is a link.
ErrorCode LinkStateOf(const std::string& name, FileState& state);

class File;

// A name in a folder that was opened once: every step for that file goes through the folder's handle, so
// a folder of the path that is renamed or swapped for a link meanwhile changes nothing. Copies share the
// handle. Links on the folder's path are followed when it is opened, and only links that the caller or
// root made, or that the owner of the folder holding them made where no one else may change that folder:
// another user's link in a folder others may write could be a folder swapped for a link (ELOOP).
class Entry
{
public:
    Entry() = default;
    // Opens the folder of path (FolderOf) and keeps the last part of path as the name.
    static ErrorCode Open(const std::string& path, Entry& entry);
    // The same, making each folder of the path that is missing (permission 0777 less the umask) on the way.
    static ErrorCode OpenMakingFolders(const std::string& path, Entry& entry);
    // Another name in the same folder; with text appended: report.doc -> report.doc.TaZEN.
    Entry Sibling(const std::string& base) const;
    Entry WithSuffix(const std::string& suffix) const { return Sibling(base_ + suffix); }

    bool IsOpen() const { return folder_ != nullptr; }
    int FolderDescriptor() const;
    const std::string& FolderName() const;
    // The full name as given, for messages; the name within the folder.
    const std::string& Path() const { return path_; }
    const std::string& Base() const { return base_; }

private:
    static ErrorCode open(const std::string& path, Entry& entry, bool makeMissing);

    std::shared_ptr<const File> folder_;
    std::string path_;
    std::string base_;
};

// The state of the entry: of the entry itself (a link is a link), or with followLink of what it leads to.
ErrorCode StateOf(const Entry& entry, FileState& state, bool followLink);
bool IsSymbolicLink(const FileState& state);

// True when the name is a regular file whose owner-write bit is clear.
bool IsWriteProtected(const std::string& name);
bool IsSymbolicLink(const std::string& name);
// The permission bits of a file (symbolic links followed).
ErrorCode PermissionBits(const std::string& name, mode_t& bits);

// The longest name the folder takes (pathconf's _PC_NAME_MAX), or NAME_MAX where the system does not say.
std::size_t LongestNameIn(const std::string& folder);

// Flushes a folder's entries to the device, so a rename in it survives a power cut.
ErrorCode SyncFolder(const std::string& folder);
// The folder part of a path: "/a/b" -> "/a", "b" -> ".", "/b" -> "/".
std::string FolderOf(const std::string& path);

} // namespace tazen::platform
