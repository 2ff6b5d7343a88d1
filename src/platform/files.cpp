// Byte-file access with Windows' rules on top of POSIX descriptors.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/files.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <deque>
#include <mutex>
#include <random>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace tazen::platform {

namespace {

FaultHook& faultHook()
{
    static FaultHook hook;
    return hook;
}

ErrorCode injected(FileOperation operation, const std::string& name)
{
    const FaultHook& hook = faultHook();
    return hook ? hook(operation, name) : ErrorCode();
}

DataHook& dataHook()
{
    static DataHook hook;
    return hook;
}

ChangeRecorder& changeRecorder()
{
    static ChangeRecorder recorder;
    return recorder;
}

void record(FileChange::Kind kind, const std::string& name, std::int64_t offset = 0, std::int64_t length = 0,
            const void* data = nullptr, const std::string& to = {})
{
    const ChangeRecorder& recorder = changeRecorder();
    if (!recorder)
        return;
    FileChange change;
    change.kind = kind;
    change.name = name;
    change.to = to;
    change.offset = offset;
    change.length = length;
    if (data != nullptr)
        change.data.assign(static_cast<const char*>(data), static_cast<std::size_t>(length));
    recorder(change);
}

// The owner-write bit stands for the inverse of Windows' read-only attribute.
bool readOnlyAttribute(const struct stat& info)
{
    return S_ISREG(info.st_mode) && (info.st_mode & S_IWUSR) == 0;
}

// Opens without blocking on a FIFO or a device, then refuses anything that is not a regular file.
// What may be opened: a regular file, and with the rule, one without the read-only attribute.
ErrorCode examineOpened(int descriptor, bool writeProtectionRule, struct stat& info)
{
    if (::fstat(descriptor, &info) != 0)
        return errno;
    if (S_ISDIR(info.st_mode))
        return EISDIR;
    if (!S_ISREG(info.st_mode))
        return EINVAL;
    if (writeProtectionRule && readOnlyAttribute(info))
        return EACCES;
    return 0;
}

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

// Opens the entry base of the folder when it is a link the rule lets through; ELOOP when it is another's.
ErrorCode checkLinkEntry(int folder, const std::string& base)
{
    struct stat link, holder;
    if (::fstatat(folder, base.c_str(), &link, AT_SYMLINK_NOFOLLOW) != 0 || ::fstat(folder, &holder) != 0)
        return errno;
    if (S_ISLNK(link.st_mode) && !trustedLink(link, holder))
        return ELOOP;
    return 0;
}

// The folder a path names, each part opened without following a link, and each link on the way read
// and followed only when the rule allows it. Reopened for reading at the end, so it can be flushed.
ErrorCode openFolderPath(const std::string& path, File& folder)
{
    std::deque<std::string> parts;
    const auto push = [&parts](const std::string& text) {
        std::deque<std::string> split;
        std::size_t start = 0;
        while (start <= text.size()) {
            const std::size_t slash = std::min(text.find('/', start), text.size());
            if (slash > start)
                split.push_back(text.substr(start, slash - start));
            start = slash + 1;
        }
        parts.insert(parts.begin(), split.begin(), split.end());
    };
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

// Opens without blocking on a FIFO or a device, then refuses anything that is not a regular file. A name
// that is a link is followed only under the rule for links, and overwriting never follows one.
ErrorCode openRegular(const Entry& entry, int flags, bool followLink, bool writeProtectionRule, File& file)
{
    if (const ErrorCode fault = injected(FileOperation::Open, entry.Path()))
        return fault;
    const int common = O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
    int descriptor = ::openat(entry.FolderDescriptor(), entry.Base().c_str(), flags | common | O_NOFOLLOW);
    if (descriptor < 0 && errno == ELOOP && followLink) {
        if (const ErrorCode refused = checkLinkEntry(entry.FolderDescriptor(), entry.Base()))
            return refused;
        descriptor = ::openat(entry.FolderDescriptor(), entry.Base().c_str(), flags | common);
    }
    if (descriptor < 0)
        return errno;
    File opened(descriptor, entry.Path());
    struct stat info;
    if (const ErrorCode refused = examineOpened(descriptor, writeProtectionRule, info))
        return refused;
    // Back to blocking reads and writes for the data.
    if (::fcntl(descriptor, F_SETFL, flags & O_APPEND) != 0)
        return errno;
    file = std::move(opened);
    return 0;
}

ErrorCode openRegular(const std::string& name, int flags, bool followLink, bool writeProtectionRule, File& file)
{
    Entry entry;
    if (const ErrorCode error = Entry::Open(name, entry)) {
        // A fault asked for at the opening counts before the folder's own troubles.
        const ErrorCode fault = injected(FileOperation::Open, name);
        return fault != 0 ? fault : error;
    }
    return openRegular(entry, flags, followLink, writeProtectionRule, file);
}

// Writes all of it: at the offset, or at the file's position when the offset is negative.
ErrorCode writeAll(int descriptor, const void* buffer, std::int64_t size, std::int64_t offset)
{
    const auto* bytes = static_cast<const char*>(buffer);
    while (size > 0) {
        const auto count = static_cast<std::size_t>(size);
        const ssize_t n = offset < 0 ? ::write(descriptor, bytes, count) : ::pwrite(descriptor, bytes, count, offset);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        bytes += n;
        size -= n;
        if (offset >= 0)
            offset += n;
    }
    return 0;
}

FileState stateOf(const struct stat& info)
{
    return {info.st_dev,  info.st_ino, info.st_size, info.st_mtim.tv_sec, info.st_mtim.tv_nsec,
            info.st_mode, info.st_uid, info.st_gid,  info.st_nlink};
}

// What a file system without Unix permissions says to a change of them.
bool refusedChange(ErrorCode error)
{
    return error == ENOSYS || error == EPERM || error == EOPNOTSUPP;
}

std::string randomSuffix()
{
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static std::mt19937 generator{std::random_device{}()};
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

// Writing a large file out from the page cache is quick; making the device's own cache durable is what
// fsync waits for, about half a millisecond a mebibyte here. Flushing in steps of this size lets that
// happen while the run computes, so the final flush has one step left at most.
constexpr std::int64_t kFlushStep = std::int64_t{16} << 20;

// Reads until size bytes have come or the file ends, going on after an interrupted call. readOnce(done) is one
// read of what is still missing after done bytes.
template <typename ReadOnce> ErrorCode readFully(std::int64_t size, std::int64_t& got, ReadOnce readOnce)
{
    while (got < size) {
        const ssize_t n = readOnce(got);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            break;
        got += n;
    }
    return 0;
}

} // namespace

// Runs fdatasync on one descriptor whenever asked, on a thread of its own. The owner joins it before it
// closes the descriptor, and collects the first error, which the kernel reports to one flush only.
class BackgroundFlusher
{
public:
    explicit BackgroundFlusher(int descriptor) : descriptor_(descriptor), thread_([this] { run(); }) {}
    ~BackgroundFlusher() { static_cast<void>(Finish()); } // the owner reported what mattered
    BackgroundFlusher(const BackgroundFlusher&) = delete;
    BackgroundFlusher& operator=(const BackgroundFlusher&) = delete;

    // upTo: how much the file holds now, which the flush will have put on the device once it returns.
    void Request(std::int64_t upTo)
    {
        {
            const std::lock_guard lock(mutex_);
            requested_ = true;
            requestedUpTo_ = upTo;
        }
        wake_.notify_one();
    }

    std::int64_t Flushed() const { return flushed_.load(std::memory_order_acquire); }

    // Lets a pending flush end, stops the thread, and returns the first error of its flushes.
    ErrorCode Finish()
    {
        {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_one();
        if (thread_.joinable())
            thread_.join();
        return error_;
    }

private:
    void run()
    {
        std::unique_lock lock(mutex_);
        for (;;) {
            wake_.wait(lock, [this] { return requested_ || stopping_; });
            if (!requested_)
                return;
            requested_ = false;
            const std::int64_t upTo = requestedUpTo_;
            lock.unlock();
            const ErrorCode result = ::fdatasync(descriptor_) == 0 ? 0 : errno;
            lock.lock();
            if (error_ == 0)
                error_ = result;
            if (error_ == 0)
                flushed_.store(upTo, std::memory_order_release);
        }
    }

    const int descriptor_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool requested_ = false;
    bool stopping_ = false;
    std::int64_t requestedUpTo_ = 0;
    std::atomic<std::int64_t> flushed_{0};
    ErrorCode error_ = 0;
    std::thread thread_;
};

std::string ErrorText(ErrorCode error)
{
    return std::strerror(error);
}

void SetFaultHook(FaultHook hook)
{
    faultHook() = std::move(hook);
}

void SetDataHook(DataHook hook)
{
    dataHook() = std::move(hook);
}

void SetChangeRecorder(ChangeRecorder recorder)
{
    changeRecorder() = std::move(recorder);
}

File::File() = default;

File::File(int descriptor, std::string name) : descriptor_(descriptor), name_(std::move(name)) {}

File::File(File&& other) noexcept : descriptor_(std::exchange(other.descriptor_, -1)), name_(std::move(other.name_)) {}

File& File::operator=(File&& other) noexcept
{
    if (this != &other) {
        // A file moved over is given up: whoever needed its close to succeed has closed it already.
        static_cast<void>(Close());
        descriptor_ = std::exchange(other.descriptor_, -1);
        name_ = std::move(other.name_);
    }
    return *this;
}

File::~File()
{
    static_cast<void>(Close());
}

ErrorCode File::Size(std::int64_t& size) const
{
    struct stat info;
    if (::fstat(descriptor_, &info) != 0)
        return errno;
    size = info.st_size;
    return 0;
}

ErrorCode File::State(FileState& state) const
{
    struct stat info;
    if (::fstat(descriptor_, &info) != 0)
        return errno;
    state = stateOf(info);
    return 0;
}

ErrorCode StateOf(const std::string& name, FileState& state)
{
    struct stat info;
    if (::stat(name.c_str(), &info) != 0)
        return errno;
    state = stateOf(info);
    return 0;
}

ErrorCode File::Read(void* buffer, std::int64_t size, std::int64_t& got)
{
    got = 0;
    if (const ErrorCode fault = injected(FileOperation::Read, name_))
        return fault;
    auto* bytes = static_cast<char*>(buffer);
    return readFully(size, got, [&](std::int64_t done) {
        return ::read(descriptor_, bytes + done, static_cast<std::size_t>(size - done));
    });
}

ErrorCode File::ReadAt(void* buffer, std::int64_t size, std::int64_t offset, std::int64_t& got)
{
    got = 0;
    if (const ErrorCode fault = injected(FileOperation::Read, name_))
        return fault;
    auto* bytes = static_cast<std::uint8_t*>(buffer);
    if (const ErrorCode error = readFully(size, got, [&](std::int64_t done) {
            return ::pread(descriptor_, bytes + done, static_cast<std::size_t>(size - done), offset + done);
        }))
        return error;
    if (const DataHook& hook = dataHook())
        hook(FileOperation::Read, name_, bytes, got, offset);
    return 0;
}

void File::DropCached(std::int64_t offset, std::int64_t length)
{
    ::posix_fadvise(descriptor_, offset, length, POSIX_FADV_DONTNEED);
}

std::int64_t File::Flushed() const
{
    return flusher_ ? flusher_->Flushed() : 0;
}

ErrorCode File::Write(const void* buffer, std::int64_t size)
{
    if (const ErrorCode fault = injected(FileOperation::Write, name_))
        return fault;
    std::vector<std::uint8_t> garbled;
    if (const DataHook& hook = dataHook()) {
        const auto* bytes = static_cast<const std::uint8_t*>(buffer);
        garbled.assign(bytes, bytes + size);
        hook(FileOperation::Write, name_, garbled.data(), size, written_);
        buffer = garbled.data();
    }
    const ErrorCode error = writeAll(descriptor_, buffer, size, -1);
    if (error == 0) {
        record(FileChange::Kind::Write, name_, written_, size, buffer);
        written_ += size;
    }
    return error;
}

void File::StartWriteback()
{
    if (written_ <= writebackStarted_)
        return;
    // Advisory: a failure here shows again, and is reported, at the Sync that follows.
    ::sync_file_range(descriptor_, writebackStarted_, written_ - writebackStarted_, SYNC_FILE_RANGE_WRITE);
    writebackStarted_ = written_;
    if (written_ - flushRequested_ < kFlushStep)
        return;
    if (!flusher_) {
        try {
            flusher_ = std::make_unique<BackgroundFlusher>(descriptor_);
        } catch (const std::system_error&) {
            // No thread to be had: the final Sync does all the flushing, as it would anyway.
            return;
        }
    }
    flusher_->Request(written_);
    flushRequested_ = written_;
}

void File::Preallocate(std::int64_t length)
{
    // Not every file system can; then the writes allocate as they go, as without this.
    if (length > 0 && ::fallocate(descriptor_, FALLOC_FL_KEEP_SIZE, 0, length) == 0)
        preallocated_ = length;
}

ErrorCode File::finishBackgroundFlush()
{
    if (!flusher_)
        return 0;
    const ErrorCode error = flusher_->Finish();
    flusher_.reset();
    return error;
}

ErrorCode File::WriteAt(const void* buffer, std::int64_t size, std::int64_t offset)
{
    if (const ErrorCode fault = injected(FileOperation::Write, name_))
        return fault;
    const ErrorCode error = writeAll(descriptor_, buffer, size, offset);
    if (error == 0)
        record(FileChange::Kind::Write, name_, offset, size, buffer);
    return error;
}

ErrorCode File::Truncate(std::int64_t length)
{
    if (const ErrorCode fault = injected(FileOperation::Truncate, name_))
        return fault;
    if (::ftruncate(descriptor_, length) != 0)
        return errno;
    record(FileChange::Kind::Truncate, name_, 0, length);
    return 0;
}

ErrorCode File::Sync()
{
    const ErrorCode background = finishBackgroundFlush();
    if (const ErrorCode fault = injected(FileOperation::Sync, name_))
        return fault;
    const ErrorCode result = ::fsync(descriptor_) == 0 ? 0 : errno;
    if (result == 0 && background == 0)
        record(FileChange::Kind::SyncFile, name_);
    return background != 0 ? background : result;
}

ErrorCode File::Close()
{
    if (descriptor_ < 0)
        return 0;
    // Sync reports what the background flushes met; a file closed without one is being given up.
    static_cast<void>(finishBackgroundFlush());
    // Linux releases the descriptor even when close reports an error; retrying could close another one.
    const int result = ::close(std::exchange(descriptor_, -1));
    return result == 0 || errno == EINTR ? 0 : errno;
}

ErrorCode OpenForReadWrite(const std::string& name, File& file)
{
    return openRegular(name, O_RDWR, true, true, file);
}

ErrorCode OpenForReadWrite(const Entry& entry, File& file)
{
    return openRegular(entry, O_RDWR, true, true, file);
}

ErrorCode OpenForReading(const Entry& entry, File& file)
{
    return openRegular(entry, O_RDONLY, true, false, file);
}

ErrorCode OpenForOverwrite(const Entry& entry, File& file)
{
    return openRegular(entry, O_RDWR, false, true, file);
}

ErrorCode OpenAsIs(const std::string& name, int flags, File& file)
{
    const int descriptor = ::open(name.c_str(), flags | O_CLOEXEC | O_NOCTTY);
    if (descriptor < 0)
        return errno;
    file = File(descriptor, name);
    return 0;
}

ErrorCode SizeForReadWrite(const std::string& name, std::int64_t& size)
{
    File file;
    if (const ErrorCode error = OpenForReadWrite(name, file))
        return error;
    return file.Size(size);
}

ErrorCode OpenForReading(const std::string& name, File& file)
{
    return openRegular(name, O_RDONLY, true, false, file);
}

ErrorCode OpenForOverwrite(const std::string& name, File& file)
{
    return openRegular(name, O_RDWR, false, true, file);
}

bool IsWriteProtected(const std::string& name)
{
    struct stat info;
    return ::stat(name.c_str(), &info) == 0 && readOnlyAttribute(info);
}

bool IsSymbolicLink(const std::string& name)
{
    struct stat info;
    return ::lstat(name.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

mode_t PermissionBits(const std::string& name)
{
    struct stat info;
    if (::stat(name.c_str(), &info) != 0)
        return ~mode_t{0};
    return info.st_mode & 0777;
}

ErrorCode DeleteFile(const std::string& name)
{
    if (const ErrorCode fault = injected(FileOperation::Delete, name))
        return fault;
    struct stat info;
    if (::lstat(name.c_str(), &info) != 0)
        return errno;
    if (S_ISDIR(info.st_mode))
        return EISDIR;
    if (readOnlyAttribute(info))
        return EACCES;
    if (::unlink(name.c_str()) != 0)
        return errno;
    record(FileChange::Kind::Delete, name);
    return 0;
}

ErrorCode DeleteFile(const Entry& entry, const FileState* expected, bool followLink)
{
    if (const ErrorCode fault = injected(FileOperation::Delete, entry.Path()))
        return fault;
    struct stat info;
    if (::fstatat(entry.FolderDescriptor(), entry.Base().c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        return errno;
    if (S_ISDIR(info.st_mode))
        return EISDIR;
    if (readOnlyAttribute(info))
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
    record(FileChange::Kind::Delete, entry.Path());
    return 0;
}

ErrorCode Entry::Open(const std::string& path, Entry& entry)
{
    const std::size_t slash = path.find_last_of('/');
    std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    if (base.empty())
        return EISDIR;
    if (path.size() >= PATH_MAX)
        return ENAMETOOLONG;
    auto folder = std::make_shared<File>();
    const std::string folderName = FolderOf(path);
    if (const ErrorCode error = openFolderPath(folderName, *folder))
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
    state = stateOf(info);
    return 0;
}

bool IsSymbolicLink(const FileState& state)
{
    return S_ISLNK(state.mode);
}

bool KeepsEarlierCopies(const File& file)
{
    // The magic numbers statfs reports; not every C library names them all.
    constexpr unsigned long kBtrfs = 0x9123683E;
    constexpr unsigned long kBcachefs = 0xCA451A4E;
    constexpr unsigned long kZfs = 0x2FC12FC1;
    constexpr unsigned long kF2fs = 0xF2F52010;
    constexpr unsigned long kNilfs = 0x3434;
    if (injected(FileOperation::OverwriteInPlace, file.Name()) != 0)
        return true;
    struct statfs info;
    if (::fstatfs(file.Descriptor(), &info) != 0)
        return false;
    const auto type = static_cast<unsigned long>(info.f_type) & 0xFFFFFFFFul;
    if (type == kBtrfs) {
        // A file with the no-copy-on-write attribute is overwritten where it lies.
        int flags = 0;
        return ::ioctl(file.Descriptor(), FS_IOC_GETFLAGS, &flags) != 0 || (flags & FS_NOCOW_FL) == 0;
    }
    return type == kBcachefs || type == kZfs || type == kF2fs || type == kNilfs;
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
    if (const ErrorCode fault = injected(FileOperation::Sync, folder))
        return fault;
    const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0)
        return errno;
    // Some file systems cannot sync a folder at all and say EINVAL; there is nothing more to flush then.
    const ErrorCode result = ::fsync(descriptor) == 0 || errno == EINVAL ? 0 : errno;
    ::close(descriptor);
    if (result == 0)
        record(FileChange::Kind::SyncFolder, folder);
    return result;
}

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
    if (const ErrorCode fault = injected(FileOperation::Create, finalName))
        return fault;
    Entry entry;
    if (const ErrorCode error = Entry::Open(finalName, entry))
        return error;
    return create(entry, pending);
}

ErrorCode PendingFile::Create(const Entry& finalEntry, PendingFile& pending)
{
    if (const ErrorCode fault = injected(FileOperation::Create, finalEntry.Path()))
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
        if (readOnlyAttribute(info))
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
            record(FileChange::Kind::Create, prefix + temporaryBase);
            pending.Abandon();
            pending.file_ = File(descriptor, prefix + temporaryBase);
            pending.final_ = finalEntry;
            pending.prepared_ = false;
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
    ErrorCode result = injected(FileOperation::Rename, file_.Name());
    if (result == 0)
        result = renameInFolder(final_.FolderDescriptor(), temporaryBase_, final_.Base(), mayReplace);
    if (result == EEXIST && !mayReplace)
        return result;
    if (result != 0) {
        Abandon();
        return result;
    }
    record(FileChange::Kind::Rename, file_.Name(), 0, 0, nullptr, finalName_);
    if (const ErrorCode fault = injected(FileOperation::Sync, final_.FolderName()))
        result = fault;
    // Some file systems cannot sync a folder at all and say EINVAL; there is nothing more to flush then.
    else if (::fsync(final_.FolderDescriptor()) != 0 && errno != EINVAL)
        result = errno;
    else
        record(FileChange::Kind::SyncFolder, final_.FolderName());
    release();
    return result;
}

ErrorCode PendingFile::OpenForReadBack(File& reader) const
{
    if (temporaryBase_.empty())
        return EBADF;
    const int descriptor =
        ::openat(final_.FolderDescriptor(), temporaryBase_.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY);
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
        record(FileChange::Kind::Delete, file_.Name());
    release();
}

void PendingFile::release()
{
    static_cast<void>(file_.Close()); // flushed and closed by Flush, or abandoned
    final_ = Entry();
    prepared_ = false;
    temporaryBase_.clear();
}

} // namespace tazen::platform
