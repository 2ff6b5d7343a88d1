// Folder listings with Windows-style attribute sets, "exists as a file", and the folder of the program.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/error.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tazen::platform {

using ErrorCode = tazen::ErrorCode;

// Attribute bits of a listing entry, with the values Windows gives them.
enum FileAttribute : std::uint32_t
{
    kAttrReadOnly = 1,       // owner-write bit clear, on a file or a folder
    kAttrHidden = 2,         // name begins with '.'
    kAttrDirectory = 16,     //
    kAttrArchive = 32,       // any regular file
    kAttrReparsePoint = 1024 // a symbolic link, plus the bits of what it points to
};

struct FolderEntry
{
    std::string name; // the entry's own name, without the folder
    std::uint32_t attributes = 0;
    std::int64_t size = 0; // of a regular file (the link target's for a link), else 0
};

// Every entry of the folder except "." and "..", sorted by name byte for byte, the order in which the
// original platform's file system listed a folder (Linux file systems give a hash order). Returns 0 or errno.
ErrorCode ListFolder(const std::string& folder, std::vector<FolderEntry>& entries);

// A regular file, symbolic links followed. FIFOs, sockets, devices and folders are never files.
bool ExistsAsFile(const std::string& name);
bool ExistsAsFolder(const std::string& name);

// 0 when this process may make files in the folder; else why not (ENOENT, ENOTDIR, EACCES, EROFS...).
ErrorCode MayCreateIn(const std::string& folder);

// The folder text with a '/' at its end, added when missing.
std::string WithTrailingSlash(std::string folder);

// A relative name joined to the working folder, so it means the same file to another process; an absolute
// or empty name, or any name when the working folder is gone, stays as it is.
std::string AbsoluteName(const std::string& name);

// Which folder a path leads to, so a walk notices a folder it reaches a second time (through a bind mount).
struct FolderIdentity
{
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const FolderIdentity&) const = default;
};
// ENOTDIR for a name that is no folder.
ErrorCode IdentifyFolder(const std::string& folder, FolderIdentity& identity);

// The type of the file system mounted from a device ("ext4", "proc"), from /proc/self/mountinfo; empty when
// it is not listed there.
std::string FileSystemType(std::uint64_t device);
// The kernel's own file systems, whose entries describe the running system rather than hold anyone's files.
bool IsPseudoFileSystemType(const std::string& type);
// "/" or the top folder of a mounted file system (its device differs from its parent's).
bool IsFileSystemRoot(const std::string& folder);

// The folder of the running executable with a trailing '/'. Tests point it elsewhere.
std::string ExecutableFolder();
void SetExecutableFolderForTesting(const std::string& folder);

} // namespace tazen::platform
