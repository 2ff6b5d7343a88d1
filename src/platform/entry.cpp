// Names and what they lead to, over stat, openat and readlinkat.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/entry.h"

#include "platform/faults.h"
#include "platform/file.h"
#include "platform/statinfo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <deque>
#include <utility>

namespace tazen::platform {

namespace {

// Whether a symbolic link may be followed: one the caller or root made, or one that the owner of the folder
// holding it made while no one else may change that folder. Anyone else who may write a folder could have
// swapped one of its folders for a link to any folder the caller can reach.
bool trustedLink(const struct stat& link, const struct stat& holder)
{
    if (link.st_uid == ::geteuid() || link.st_uid == 0)
        return true;
    return link.st_uid == holder.st_uid && (holder.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

// A link's target, read through a handle of the link itself, so the link checked is the link read.
ErrorCode readLink(int link, std::string& target)
{
    char buffer[PATH_MAX];
    const ssize_t length = ::readlinkat(link, "", buffer, sizeof buffer);
    if (length < 0)
        return errno;
    if (static_cast<std::size_t>(length) >= sizeof buffer)
        return ENAMETOOLONG;
    target.assign(buffer, static_cast<std::size_t>(length));
    return 0;
}

// Puts the parts of a path, the ones between slashes, before the parts still to walk.
void pushParts(const std::string& text, std::deque<std::string>& parts)
{
    std::deque<std::string> split;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t slash = std::min(text.find('/', start), text.size());
        if (slash > start)
            split.push_back(text.substr(start, slash - start));
        start = slash + 1;
    }
    parts.insert(parts.begin(), split.begin(), split.end());
}

// Makes the folder part in the folder at, with 0777 less the umask, and flushes at so the new entry survives a
// power cut. One that appeared meanwhile will do.
ErrorCode makeFolder(int at, const std::string& part)
{
    if (::mkdirat(at, part.c_str(), 0777) != 0)
        return errno == EEXIST ? 0 : errno;
    File parent(::openat(at, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC), {});
    if (!parent.IsOpen())
        return errno;
    return ::fsync(parent.Descriptor()) == 0 || errno == EINVAL ? 0 : errno;
}

// The folder a path names, each part opened without following a link, and each link on the way read
// and followed only when the rule allows it; with makeMissing, a part that is not there is made. Reopened for
// reading at the end, so it can be flushed.
ErrorCode openFolderPath(const std::string& path, File& folder, bool makeMissing = false)
{
    std::deque<std::string> parts;
    const auto push = [&parts](const std::string& text) { pushParts(text, parts); };
    push(path);
    File current(::open(path.starts_with('/') ? "/" : ".", O_PATH | O_DIRECTORY | O_CLOEXEC), {});
    if (!current.IsOpen())
        return errno;
    int linksFollowed = 0;
    int retries = 0;
    while (!parts.empty()) {
        const std::string part = parts.front();
        parts.pop_front();
        if (part == ".")
            continue;
        const int next = ::openat(current.Descriptor(), part.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (next >= 0) {
            current = File(next, {});
            continue;
        }
        if (errno == ENOENT && makeMissing && part != "..") {
            if (const ErrorCode error = makeFolder(current.Descriptor(), part))
                return error;
            parts.push_front(part);
            if (++retries < 8)
                continue;
            return ENOENT;
        }
        if (errno != ELOOP && errno != ENOTDIR)
            return errno;
        File link(::openat(current.Descriptor(), part.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC), {});
        if (!link.IsOpen())
            return errno;
        struct stat info, holder;
        if (::fstat(link.Descriptor(), &info) != 0 || ::fstat(current.Descriptor(), &holder) != 0)
            return errno;
        if (!S_ISLNK(info.st_mode)) {
            // Swapped back between the two looks: look again, a few times.
            if (S_ISDIR(info.st_mode) && ++retries < 8) {
                parts.push_front(part);
                continue;
            }
            return ENOTDIR;
        }
        if (!trustedLink(info, holder) || ++linksFollowed > 40)
            return ELOOP;
        std::string target;
        if (const ErrorCode error = readLink(link.Descriptor(), target))
            return error;
        if (target.starts_with('/')) {
            current = File(::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC), {});
            if (!current.IsOpen())
                return errno;
        }
        push(target);
    }
    const int readable = ::openat(current.Descriptor(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (readable < 0)
        return errno;
    folder = File(readable, path);
    return 0;
}

} // namespace

namespace statinfo {

FileState StateFrom(const struct stat& info)
{
    return {info.st_dev, info.st_ino, info.st_size,  info.st_mtim.tv_sec, info.st_mtim.tv_nsec, info.st_mode,
            info.st_uid, info.st_gid, info.st_nlink, info.st_atim.tv_sec, info.st_atim.tv_nsec};
}

// The owner-write bit stands for the inverse of Windows' read-only attribute.
bool ReadOnlyAttribute(const struct stat& info)
{
    return S_ISREG(info.st_mode) && (info.st_mode & S_IWUSR) == 0;
}

ErrorCode CheckLinkEntry(int folder, const std::string& base)
{
    struct stat link, holder;
    if (::fstatat(folder, base.c_str(), &link, AT_SYMLINK_NOFOLLOW) != 0 || ::fstat(folder, &holder) != 0)
        return errno;
    if (S_ISLNK(link.st_mode) && !trustedLink(link, holder))
        return ELOOP;
    return 0;
}

} // namespace statinfo

bool FileState::IsFolder() const
{
    return S_ISDIR(mode);
}

bool FileState::IsRegular() const
{
    return S_ISREG(mode);
}

bool FileState::IsLink() const
{
    return S_ISLNK(mode);
}

bool FileState::IsBlockDevice() const
{
    return S_ISBLK(mode);
}

bool FileState::IsWriteProtected() const
{
    return S_ISREG(mode) && (mode & S_IWUSR) == 0;
}

bool FileState::OthersMayRead() const
{
    return (mode & (S_IRGRP | S_IROTH)) != 0;
}

mode_t FileState::PermissionBits() const
{
    return mode & 0777;
}

ErrorCode StateOf(const std::string& name, FileState& state)
{
    struct stat info;
    if (::stat(name.c_str(), &info) != 0)
        return errno;
    state = statinfo::StateFrom(info);
    return 0;
}

ErrorCode LinkStateOf(const std::string& name, FileState& state)
{
    struct stat info;
    if (::lstat(name.c_str(), &info) != 0)
        return errno;
    state = statinfo::StateFrom(info);
    return 0;
}

bool IsWriteProtected(const std::string& name)
{
    struct stat info;
    return ::stat(name.c_str(), &info) == 0 && statinfo::ReadOnlyAttribute(info);
}

bool IsSymbolicLink(const std::string& name)
{
    struct stat info;
    return ::lstat(name.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

ErrorCode PermissionBits(const std::string& name, mode_t& bits)
{
    struct stat info;
    if (::stat(name.c_str(), &info) != 0)
        return errno;
    bits = info.st_mode & 0777;
    return 0;
}

ErrorCode Entry::Open(const std::string& path, Entry& entry)
{
    return open(path, entry, false);
}

ErrorCode Entry::OpenMakingFolders(const std::string& path, Entry& entry)
{
    return open(path, entry, true);
}

ErrorCode Entry::open(const std::string& path, Entry& entry, bool makeMissing)
{
    const std::size_t slash = path.find_last_of('/');
    std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    if (base.empty())
        return EISDIR;
    if (path.size() >= PATH_MAX)
        return ENAMETOOLONG;
    auto folder = std::make_shared<File>();
    const std::string folderName = FolderOf(path);
    if (const ErrorCode error = openFolderPath(folderName, *folder, makeMissing))
        return error;
    entry.folder_ = std::move(folder);
    entry.path_ = path;
    entry.base_ = std::move(base);
    return 0;
}

Entry Entry::Sibling(const std::string& base) const
{
    Entry sibling = *this;
    sibling.path_ = path_.substr(0, path_.size() - base_.size()) + base;
    sibling.base_ = base;
    return sibling;
}

int Entry::FolderDescriptor() const
{
    return folder_ ? folder_->Descriptor() : -1;
}

const std::string& Entry::FolderName() const
{
    static const std::string none;
    return folder_ ? folder_->Name() : none;
}

ErrorCode StateOf(const Entry& entry, FileState& state, bool followLink)
{
    struct stat info;
    if (::fstatat(entry.FolderDescriptor(), entry.Base().c_str(), &info, followLink ? 0 : AT_SYMLINK_NOFOLLOW) != 0)
        return errno;
    state = statinfo::StateFrom(info);
    return 0;
}

bool IsSymbolicLink(const FileState& state)
{
    return S_ISLNK(state.mode);
}

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::size_t LongestNameIn(const std::string& folder)
{
    const long limit = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    return limit > 0 ? static_cast<std::size_t>(limit) : std::size_t{NAME_MAX};
}

ErrorCode SyncFolder(const std::string& folder)
{
    if (const ErrorCode fault = seams::Injected(FileOperation::Sync, folder))
        return fault;
    const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0)
        return errno;
    // Some file systems cannot sync a folder at all and say EINVAL; there is nothing more to flush then.
    const ErrorCode result = ::fsync(descriptor) == 0 || errno == EINVAL ? 0 : errno;
    ::close(descriptor);
    if (result == 0)
        seams::Record(FileChange::Kind::SyncFolder, folder);
    return result;
}

} // namespace tazen::platform
