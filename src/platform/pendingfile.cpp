// New files that take their final name only when complete, over openat, fchmod and renameat2.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/pendingfile.h"

#include "platform/faults.h"
#include "platform/statinfo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <random>
#include <utility>

namespace tazen::platform {

namespace {

// What a file system without Unix permissions says to a change of them.
bool refusedChange(ErrorCode error)
{
    return error == ENOSYS || error == EPERM || error == EOPNOTSUPP;
}

std::string randomSuffix()
{
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    // Runs of -j create files on several threads at once.
    thread_local std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<int> pick(0, sizeof kAlphabet - 2);
    std::string suffix(6, ' ');
    for (char& c : suffix)
        c = kAlphabet[pick(generator)];
    return suffix;
}

// Renames within one folder; without mayReplace, never onto an existing name. A file system that cannot
// rename that way is asked whether the name is taken first.
ErrorCode renameInFolder(int folder, const std::string& from, const std::string& to, bool mayReplace)
{
    if (mayReplace)
        return ::renameat(folder, from.c_str(), folder, to.c_str()) == 0 ? 0 : errno;
    if (::renameat2(folder, from.c_str(), folder, to.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    struct stat info;
    if (::fstatat(folder, to.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0)
        return EEXIST;
    return ::renameat(folder, from.c_str(), folder, to.c_str()) == 0 ? 0 : errno;
}

} // namespace

PendingFile::PendingFile(PendingFile&& other) noexcept
{
    *this = std::move(other);
}

PendingFile& PendingFile::operator=(PendingFile&& other) noexcept
{
    if (this != &other) {
        Abandon();
        file_ = std::move(other.file_);
        final_ = std::move(other.final_);
        prepared_ = std::exchange(other.prepared_, false);
        keepModified_ = std::exchange(other.keepModified_, false);
        keepAccessed_ = std::exchange(other.keepAccessed_, false);
        dates_ = other.dates_;
        finalName_ = std::move(other.finalName_);
        temporaryBase_ = std::move(other.temporaryBase_);
    }
    return *this;
}

PendingFile::~PendingFile()
{
    Abandon();
}

ErrorCode PendingFile::Create(const std::string& finalName, PendingFile& pending)
{
    if (const ErrorCode fault = seams::Injected(FileOperation::Create, finalName))
        return fault;
    Entry entry;
    if (const ErrorCode error = Entry::Open(finalName, entry))
        return error;
    return create(entry, pending);
}

ErrorCode PendingFile::Create(const Entry& finalEntry, PendingFile& pending)
{
    if (const ErrorCode fault = seams::Injected(FileOperation::Create, finalEntry.Path()))
        return fault;
    return create(finalEntry, pending);
}

ErrorCode PendingFile::create(const Entry& finalEntry, PendingFile& pending)
{
    // Made relative to its folder it could be, but no path could then name it to open it again.
    if (finalEntry.Path().size() >= PATH_MAX)
        return ENAMETOOLONG;
    const std::string& base = finalEntry.Base();
    if (base.empty())
        return EISDIR;
    const int folderDescriptor = finalEntry.FolderDescriptor();
    struct stat info;
    if (::fstatat(folderDescriptor, base.c_str(), &info, 0) == 0) {
        if (S_ISDIR(info.st_mode))
            return EISDIR;
        if (statinfo::ReadOnlyAttribute(info))
            return EACCES;
    } else if (errno != ENOENT) {
        return errno;
    }

    static constexpr std::size_t kSuffixSize = 11; // ".tmp-" and six characters
    std::string stem = base.substr(0, std::min(base.size(), NAME_MAX - kSuffixSize));
    // Cut at a character boundary, so the name still shows as text.
    while (stem.size() < base.size() && !stem.empty() && (static_cast<unsigned char>(base[stem.size()]) & 0xC0) == 0x80)
        stem.pop_back();
    const std::string& finalName = finalEntry.Path();
    const std::string prefix = finalName.substr(0, finalName.size() - base.size());
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string temporaryBase = stem + ".tmp-" + randomSuffix();
        const int descriptor =
            ::openat(folderDescriptor, temporaryBase.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (descriptor >= 0) {
            seams::Record(FileChange::Kind::Create, prefix + temporaryBase);
            pending.Abandon();
            pending.file_ = File(descriptor, prefix + temporaryBase);
            pending.final_ = finalEntry;
            pending.prepared_ = false;
            pending.keepModified_ = false;
            pending.keepAccessed_ = false;
            pending.finalName_ = finalName;
            pending.temporaryBase_ = std::move(temporaryBase);
            return 0;
        }
        if (errno != EEXIST)
            return errno;
    }
    return EEXIST;
}

ErrorCode PendingFile::prepare(mode_t permissions, const FileState* madeFrom)
{
    // A source that shrank leaves reserved blocks past the end; they would stay with the file.
    ErrorCode result = file_.preallocated_ > file_.written_ ? file_.Truncate(file_.written_) : ErrorCode();
    // After the last change to the data, which would move the modification time, and before the sync.
    if (result == 0)
        result = giveDates();
    if (result == 0)
        result = file_.Sync();
    if (result != 0)
        return result;
    permissions &= 07777;
    if (madeFrom) {
        // The group first: in a set-group-ID folder the new file would otherwise carry the folder's group
        // with its source's group bits. Only root may give a file away.
        const uid_t owner = ::geteuid() == 0 ? madeFrom->owner : static_cast<uid_t>(-1);
        if (::fchown(file_.Descriptor(), owner, madeFrom->group) != 0) {
            struct stat info;
            if (::fstat(file_.Descriptor(), &info) != 0 || info.st_gid != madeFrom->group)
                permissions &= ~mode_t{S_IRWXG};
        }
    }
    if (::fchmod(file_.Descriptor(), permissions) != 0 && !refusedChange(errno))
        return errno;
    return file_.Close();
}

void PendingFile::KeepDates(const FileState& from, bool accessToo)
{
    dates_ = from;
    keepModified_ = true;
    keepAccessed_ = accessToo;
}

ErrorCode PendingFile::giveDates()
{
    if (!keepModified_)
        return 0;
    struct timespec times[2];
    times[0].tv_sec = static_cast<time_t>(dates_.accessedSeconds);
    times[0].tv_nsec = keepAccessed_ ? dates_.accessedNanoseconds : UTIME_OMIT;
    times[1].tv_sec = static_cast<time_t>(dates_.modifiedSeconds);
    times[1].tv_nsec = dates_.modifiedNanoseconds;
    if (::futimens(file_.Descriptor(), times) != 0 && !refusedChange(errno))
        return errno;
    return 0;
}

ErrorCode PendingFile::Flush(mode_t permissions, const FileState* madeFrom)
{
    if (prepared_)
        return 0;
    const ErrorCode result = prepare(permissions, madeFrom);
    if (result != 0) {
        Abandon();
        return result;
    }
    prepared_ = true;
    return 0;
}

ErrorCode PendingFile::Commit(mode_t permissions, const FileState* madeFrom, bool mayReplace)
{
    if (const ErrorCode result = Flush(permissions, madeFrom))
        return result;
    return CommitFlushed(mayReplace);
}

ErrorCode PendingFile::CommitFlushed(bool mayReplace)
{
    if (!prepared_) {
        Abandon();
        return EBADF;
    }
    ErrorCode result = seams::Injected(FileOperation::Rename, file_.Name());
    if (result == 0)
        result = renameInFolder(final_.FolderDescriptor(), temporaryBase_, final_.Base(), mayReplace);
    if (result == EEXIST && !mayReplace)
        return result;
    if (result != 0) {
        Abandon();
        return result;
    }
    seams::Record(FileChange::Kind::Rename, file_.Name(), 0, 0, nullptr, finalName_);
    if (const ErrorCode fault = seams::Injected(FileOperation::Sync, final_.FolderName()))
        result = fault;
    // Some file systems cannot sync a folder at all and say EINVAL; there is nothing more to flush then.
    else if (::fsync(final_.FolderDescriptor()) != 0 && errno != EINVAL)
        result = errno;
    else
        seams::Record(FileChange::Kind::SyncFolder, final_.FolderName());
    release();
    return result;
}

ErrorCode PendingFile::OpenForReadBack(File& reader) const
{
    if (temporaryBase_.empty())
        return EBADF;
    // Without moving the access time the file is given (relatime would, the first read after it is set);
    // only the file's owner may ask that, and the owner is who made it, unless root gave it away.
    constexpr int kFlags = O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY;
    int descriptor = ::openat(final_.FolderDescriptor(), temporaryBase_.c_str(), kFlags | O_NOATIME);
    if (descriptor < 0 && errno == EPERM)
        descriptor = ::openat(final_.FolderDescriptor(), temporaryBase_.c_str(), kFlags);
    if (descriptor < 0)
        return errno;
    File opened(descriptor, file_.Name());
    FileState mine, theirs;
    ErrorCode error = file_.State(mine);
    if (error == 0)
        error = opened.State(theirs);
    if (error != 0)
        return error;
    if (mine.device != theirs.device || mine.inode != theirs.inode)
        return ESTALE;
    reader = std::move(opened);
    return 0;
}

void PendingFile::Abandon()
{
    if (!temporaryBase_.empty() && ::unlinkat(final_.FolderDescriptor(), temporaryBase_.c_str(), 0) == 0)
        seams::Record(FileChange::Kind::Delete, file_.Name());
    release();
}

void PendingFile::release()
{
    static_cast<void>(file_.Close()); // flushed and closed by Flush, or abandoned
    final_ = Entry();
    prepared_ = false;
    keepModified_ = false;
    keepAccessed_ = false;
    temporaryBase_.clear();
}

} // namespace tazen::platform
