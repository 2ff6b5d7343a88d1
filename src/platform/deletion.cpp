// Windows' DeleteFileA over lstat and unlink.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/deletion.h"

#include "platform/faults.h"
#include "platform/statinfo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace tazen::platform {

ErrorCode DeleteFile(const std::string& name)
{
    if (const ErrorCode fault = seams::Injected(FileOperation::Delete, name))
        return fault;
    struct stat info;
    if (::lstat(name.c_str(), &info) != 0)
        return errno;
    if (S_ISDIR(info.st_mode))
        return EISDIR;
    if (statinfo::ReadOnlyAttribute(info))
        return EACCES;
    if (::unlink(name.c_str()) != 0)
        return errno;
    seams::Record(FileChange::Kind::Delete, name);
    return 0;
}

ErrorCode DeleteFile(const Entry& entry, const FileState* expected, bool followLink)
{
    if (const ErrorCode fault = seams::Injected(FileOperation::Delete, entry.Path()))
        return fault;
    struct stat info;
    if (::fstatat(entry.FolderDescriptor(), entry.Base().c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        return errno;
    if (S_ISDIR(info.st_mode))
        return EISDIR;
    if (statinfo::ReadOnlyAttribute(info))
        return EACCES;
    if (expected) {
        if (followLink && S_ISLNK(info.st_mode) &&
            ::fstatat(entry.FolderDescriptor(), entry.Base().c_str(), &info, 0) != 0)
            return errno;
        if (info.st_dev != expected->device || info.st_ino != expected->inode)
            return ESTALE;
    }
    if (::unlinkat(entry.FolderDescriptor(), entry.Base().c_str(), 0) != 0)
        return errno;
    seams::Record(FileChange::Kind::Delete, entry.Path());
    return 0;
}

} // namespace tazen::platform
