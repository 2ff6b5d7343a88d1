// Open regular files over POSIX descriptors, with a thread of their own that flushes large ones behind.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file.h"

#include "platform/faults.h"
#include "platform/statinfo.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace tazen::platform {

namespace {

// The link /proc keeps to the running program's own file.
constexpr const char* kExecutableLink = "/proc/self/exe";

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
    if (writeProtectionRule && statinfo::ReadOnlyAttribute(info))
        return EACCES;
    return 0;
}

// Opens without blocking on a FIFO or a device, then refuses anything that is not a regular file. A name
// that is a link is followed only under the rule for links, and overwriting never follows one.
ErrorCode openRegular(const Entry& entry, int flags, bool followLink, bool writeProtectionRule, File& file)
{
    if (const ErrorCode fault = seams::Injected(FileOperation::Open, entry.Path()))
        return fault;
    const int common = O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
    int descriptor = ::openat(entry.FolderDescriptor(), entry.Base().c_str(), flags | common | O_NOFOLLOW);
    if (descriptor < 0 && errno == ELOOP && followLink) {
        if (const ErrorCode refused = statinfo::CheckLinkEntry(entry.FolderDescriptor(), entry.Base()))
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
        const ErrorCode fault = seams::Injected(FileOperation::Open, name);
        return fault != 0 ? fault : error;
    }
    return openRegular(entry, flags, followLink, writeProtectionRule, file);
}

// Writing a large file out from the page cache is quick; making the device's own cache durable is what
// fsync waits for, about half a millisecond a mebibyte here. Flushing in steps of this size lets that
// happen while the run computes, so the final flush has one step left at most.
constexpr std::int64_t kFlushStep = std::int64_t{16} << 20;

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

File::File() = default;

File::File(int descriptor, std::string name) : fd_(descriptor), name_(std::move(name)) {}

File::File(File&& other) noexcept : fd_(std::move(other.fd_)), name_(std::move(other.name_)) {}

File& File::operator=(File&& other) noexcept
{
    if (this != &other) {
        // A file moved over is given up: whoever needed its close to succeed has closed it already.
        static_cast<void>(Close());
        fd_ = std::move(other.fd_);
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
    if (::fstat(fd_.Get(), &info) != 0)
        return errno;
    size = info.st_size;
    return 0;
}

void File::LeaveAccessTime()
{
    const int flags = ::fcntl(fd_.Get(), F_GETFL);
    if (flags >= 0)
        static_cast<void>(::fcntl(fd_.Get(), F_SETFL, flags | O_NOATIME)); // others' files keep their ways
}

ErrorCode File::State(FileState& state) const
{
    struct stat info;
    if (::fstat(fd_.Get(), &info) != 0)
        return errno;
    state = statinfo::StateFrom(info);
    return 0;
}

ErrorCode File::Read(void* buffer, std::int64_t size, std::int64_t& got)
{
    got = 0;
    if (const ErrorCode fault = seams::Injected(FileOperation::Read, name_))
        return fault;
    return ReadFully(fd_.Get(), buffer, size, -1, got);
}

ErrorCode File::ReadAt(void* buffer, std::int64_t size, std::int64_t offset, std::int64_t& got)
{
    got = 0;
    if (const ErrorCode fault = seams::Injected(FileOperation::Read, name_))
        return fault;
    auto* bytes = static_cast<std::uint8_t*>(buffer);
    if (const ErrorCode error = ReadFully(fd_.Get(), bytes, size, offset, got))
        return error;
    if (const DataHook& hook = seams::Data())
        hook(FileOperation::Read, name_, bytes, got, offset);
    return 0;
}

void File::DropCached(std::int64_t offset, std::int64_t length)
{
    ::posix_fadvise(fd_.Get(), offset, length, POSIX_FADV_DONTNEED);
}

std::int64_t File::Flushed() const
{
    return flusher_ ? flusher_->Flushed() : 0;
}

ErrorCode File::Write(const void* buffer, std::int64_t size)
{
    if (const ErrorCode fault = seams::Injected(FileOperation::Write, name_))
        return fault;
    std::vector<std::uint8_t> garbled;
    if (const DataHook& hook = seams::Data()) {
        const auto* bytes = static_cast<const std::uint8_t*>(buffer);
        garbled.assign(bytes, bytes + size);
        hook(FileOperation::Write, name_, garbled.data(), size, written_);
        buffer = garbled.data();
    }
    const ErrorCode error = WriteFully(fd_.Get(), buffer, size, -1);
    if (error == 0) {
        seams::Record(FileChange::Kind::Write, name_, written_, size, buffer);
        written_ += size;
    }
    return error;
}

void File::StartWriteback()
{
    if (written_ <= writebackStarted_)
        return;
    // Advisory: a failure here shows again, and is reported, at the Sync that follows.
    ::sync_file_range(fd_.Get(), writebackStarted_, written_ - writebackStarted_, SYNC_FILE_RANGE_WRITE);
    writebackStarted_ = written_;
    if (written_ - flushRequested_ < kFlushStep)
        return;
    if (!flusher_) {
        try {
            flusher_ = std::make_unique<BackgroundFlusher>(fd_.Get());
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
    if (length > 0 && ::fallocate(fd_.Get(), FALLOC_FL_KEEP_SIZE, 0, length) == 0)
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
    if (const ErrorCode fault = seams::Injected(FileOperation::Write, name_))
        return fault;
    const ErrorCode error = WriteFully(fd_.Get(), buffer, size, offset);
    if (error == 0)
        seams::Record(FileChange::Kind::Write, name_, offset, size, buffer);
    return error;
}

ErrorCode File::Truncate(std::int64_t length)
{
    if (const ErrorCode fault = seams::Injected(FileOperation::Truncate, name_))
        return fault;
    if (::ftruncate(fd_.Get(), length) != 0)
        return errno;
    seams::Record(FileChange::Kind::Truncate, name_, 0, length);
    return 0;
}

ErrorCode File::Sync()
{
    const ErrorCode background = finishBackgroundFlush();
    if (const ErrorCode fault = seams::Injected(FileOperation::Sync, name_))
        return fault;
    const ErrorCode result = ::fsync(fd_.Get()) == 0 ? 0 : errno;
    if (result == 0 && background == 0)
        seams::Record(FileChange::Kind::SyncFile, name_);
    return background != 0 ? background : result;
}

ErrorCode File::Close()
{
    if (!fd_.IsOpen())
        return 0;
    // Sync reports what the background flushes met; a file closed without one is being given up.
    static_cast<void>(finishBackgroundFlush());
    return fd_.Close();
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

ErrorCode OpenAsIs(const std::string& name, AsIs how, File& file)
{
    const int flags = how == AsIs::Read         ? O_RDONLY
                      : how == AsIs::ReadNoWait ? O_RDONLY | O_NONBLOCK
                                                : O_RDWR | O_NONBLOCK;
    const int descriptor = ::open(name.c_str(), flags | O_CLOEXEC | O_NOCTTY);
    if (descriptor < 0)
        return errno;
    file = File(descriptor, name);
    return 0;
}

ErrorCode ExecutablePath(std::string& path)
{
    // readlink does not say whether it truncated, so a result that fills the buffer is tried again larger.
    std::string target(PATH_MAX, '\0');
    for (;;) {
        const ssize_t length = ::readlink(kExecutableLink, target.data(), target.size());
        if (length < 0)
            return errno;
        if (static_cast<std::size_t>(length) < target.size()) {
            target.resize(static_cast<std::size_t>(length));
            break;
        }
        target.resize(target.size() * 2);
    }
    path = std::move(target);
    return 0;
}

ErrorCode OpenExecutable(File& file)
{
    const int descriptor = ::open(kExecutableLink, O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return errno;
    file = File(descriptor, kExecutableLink);
    return 0;
}

ErrorCode Duplicate(int descriptor, const std::string& name, File& file)
{
    const int copy = ::fcntl(descriptor, F_DUPFD_CLOEXEC, 0);
    if (copy < 0)
        return errno;
    file = File(copy, name);
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

ErrorCode KeepsEarlierCopies(const File& file, bool& keeps)
{
    // The magic numbers statfs reports; not every C library names them all.
    constexpr unsigned long kBtrfs = 0x9123683E;
    constexpr unsigned long kBcachefs = 0xCA451A4E;
    constexpr unsigned long kZfs = 0x2FC12FC1;
    constexpr unsigned long kF2fs = 0xF2F52010;
    constexpr unsigned long kNilfs = 0x3434;
    keeps = true;
    if (seams::Injected(FileOperation::OverwriteInPlace, file.Name()) != 0)
        return 0;
    struct statfs info;
    if (::fstatfs(file.Descriptor(), &info) != 0) {
        keeps = false;
        return errno;
    }
    const auto type = static_cast<unsigned long>(info.f_type) & 0xFFFFFFFFul;
    if (type == kBtrfs) {
        // A file with the no-copy-on-write attribute is overwritten where it lies.
        int flags = 0;
        keeps = ::ioctl(file.Descriptor(), FS_IOC_GETFLAGS, &flags) != 0 || (flags & FS_NOCOW_FL) == 0;
        return 0;
    }
    keeps = type == kBcachefs || type == kZfs || type == kF2fs || type == kNilfs;
    return 0;
}

} // namespace tazen::platform
