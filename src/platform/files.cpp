// Byte-file access with Windows' rules on top of POSIX descriptors.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <random>
#include <system_error>
#include <thread>
#include <utility>

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
    return hook ? hook(operation, name) : 0;
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

ErrorCode openRegular(const std::string& name, int flags, bool writeProtectionRule, File& file)
{
    if (const ErrorCode fault = injected(FileOperation::Open, name))
        return fault;
    const int descriptor = ::open(name.c_str(), flags | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0)
        return errno;
    File opened(descriptor, name);
    struct stat info;
    if (const ErrorCode refused = examineOpened(descriptor, writeProtectionRule, info))
        return refused;
    // Back to blocking reads and writes for the data.
    if (::fcntl(descriptor, F_SETFL, flags & O_APPEND) != 0)
        return errno;
    file = std::move(opened);
    return 0;
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
    return {info.st_dev, info.st_ino, info.st_size, info.st_mtim.tv_sec, info.st_mtim.tv_nsec};
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
    ~BackgroundFlusher() { Finish(); }
    BackgroundFlusher(const BackgroundFlusher&) = delete;
    BackgroundFlusher& operator=(const BackgroundFlusher&) = delete;

    void Request()
    {
        {
            const std::lock_guard lock(mutex_);
            requested_ = true;
        }
        wake_.notify_one();
    }

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
            lock.unlock();
            const ErrorCode result = ::fdatasync(descriptor_) == 0 ? 0 : errno;
            lock.lock();
            if (error_ == 0)
                error_ = result;
        }
    }

    const int descriptor_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool requested_ = false;
    bool stopping_ = false;
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

File::File() = default;

File::File(int descriptor, std::string name) : descriptor_(descriptor), name_(std::move(name)) {}

File::File(File&& other) noexcept : descriptor_(std::exchange(other.descriptor_, -1)), name_(std::move(other.name_)) {}

File& File::operator=(File&& other) noexcept
{
    if (this != &other) {
        Close();
        descriptor_ = std::exchange(other.descriptor_, -1);
        name_ = std::move(other.name_);
    }
    return *this;
}

File::~File()
{
    Close();
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
    while (got < size) {
        const ssize_t n = ::read(descriptor_, bytes + got, static_cast<std::size_t>(size - got));
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

ErrorCode File::Write(const void* buffer, std::int64_t size)
{
    if (const ErrorCode fault = injected(FileOperation::Write, name_))
        return fault;
    const ErrorCode error = writeAll(descriptor_, buffer, size, -1);
    if (error == 0)
        written_ += size;
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
    flusher_->Request();
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
    return writeAll(descriptor_, buffer, size, offset);
}

ErrorCode File::Truncate(std::int64_t length)
{
    if (const ErrorCode fault = injected(FileOperation::Truncate, name_))
        return fault;
    return ::ftruncate(descriptor_, length) == 0 ? 0 : errno;
}

ErrorCode File::Sync()
{
    const ErrorCode background = finishBackgroundFlush();
    if (const ErrorCode fault = injected(FileOperation::Sync, name_))
        return fault;
    const ErrorCode result = ::fsync(descriptor_) == 0 ? 0 : errno;
    return background != 0 ? background : result;
}

ErrorCode File::Close()
{
    if (descriptor_ < 0)
        return 0;
    finishBackgroundFlush();
    // Linux releases the descriptor even when close reports an error; retrying could close another one.
    const int result = ::close(std::exchange(descriptor_, -1));
    return result == 0 || errno == EINTR ? 0 : errno;
}

ErrorCode OpenForReadWrite(const std::string& name, File& file)
{
    return openRegular(name, O_RDWR, true, file);
}

ErrorCode SizeForReadWrite(const std::string& name, std::int64_t& size)
{
    if (const ErrorCode fault = injected(FileOperation::Open, name))
        return fault;
    const int descriptor = ::open(name.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0)
        return errno;
    struct stat info;
    const ErrorCode refused = examineOpened(descriptor, true, info);
    ::close(descriptor);
    if (refused == 0)
        size = info.st_size;
    return refused;
}

ErrorCode OpenForReading(const std::string& name, File& file)
{
    return openRegular(name, O_RDONLY, false, file);
}

ErrorCode OpenForOverwrite(const std::string& name, File& file)
{
    return openRegular(name, O_RDWR | O_NOFOLLOW, true, file);
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
    return ::unlink(name.c_str()) == 0 ? 0 : errno;
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
        folder_ = std::move(other.folder_);
        finalName_ = std::move(other.finalName_);
        finalBase_ = std::move(other.finalBase_);
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
    // Made relative to its folder it could be, but no path could then name it to open it again.
    if (finalName.size() >= PATH_MAX)
        return ENAMETOOLONG;
    const std::size_t slash = finalName.find_last_of('/');
    const std::string folderName = FolderOf(finalName);
    const std::string base = slash == std::string::npos ? finalName : finalName.substr(slash + 1);
    if (base.empty())
        return EISDIR;

    const int folderDescriptor = ::open(folderName.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderDescriptor < 0)
        return errno;
    File folder(folderDescriptor, folderName);
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
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string temporaryBase = stem + ".tmp-" + randomSuffix();
        const int descriptor =
            ::openat(folderDescriptor, temporaryBase.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (descriptor >= 0) {
            pending.Abandon();
            const std::string prefix = slash == std::string::npos ? "" : finalName.substr(0, slash + 1);
            pending.file_ = File(descriptor, prefix + temporaryBase);
            pending.folder_ = std::move(folder);
            pending.finalName_ = finalName;
            pending.finalBase_ = base;
            pending.temporaryBase_ = std::move(temporaryBase);
            return 0;
        }
        if (errno != EEXIST)
            return errno;
    }
    return EEXIST;
}

ErrorCode PendingFile::Commit(mode_t permissions)
{
    // A source that shrank leaves reserved blocks past the end; they would stay with the file.
    ErrorCode result = file_.preallocated_ > file_.written_ ? file_.Truncate(file_.written_) : 0;
    if (result == 0)
        result = file_.Sync();
    if (result == 0 && ::fchmod(file_.Descriptor(), permissions & 07777) != 0)
        result = errno;
    if (result == 0)
        result = file_.Close();
    if (result == 0)
        result = injected(FileOperation::Rename, file_.Name());
    if (result == 0 &&
        ::renameat(folder_.Descriptor(), temporaryBase_.c_str(), folder_.Descriptor(), finalBase_.c_str()) != 0)
        result = errno;
    if (result != 0) {
        Abandon();
        return result;
    }
    if (const ErrorCode fault = injected(FileOperation::Sync, folder_.Name()))
        result = fault;
    // Some file systems cannot sync a folder at all and say EINVAL; there is nothing more to flush then.
    else if (::fsync(folder_.Descriptor()) != 0 && errno != EINVAL)
        result = errno;
    release();
    return result;
}

void PendingFile::Abandon()
{
    if (!temporaryBase_.empty())
        ::unlinkat(folder_.Descriptor(), temporaryBase_.c_str(), 0);
    release();
}

void PendingFile::release()
{
    file_.Close();
    folder_.Close();
    temporaryBase_.clear();
}

} // namespace tazen::platform
