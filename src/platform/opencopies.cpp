// The private folder, watch, record, opener and removal of a copy opened in place.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/opencopies.h"

#include "platform/random.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/magic.h>
#include <poll.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <utility>

extern char** environ;

namespace tazen::platform {

namespace {

constexpr std::size_t kLargestRecord = 64 * 1024;

bool refusedChange(int error)
{
    return error == ENOSYS || error == EPERM || error == EOPNOTSUPP;
}

// A folder of this user that nobody else may enter, reached without following a link.
ErrorCode checkPrivate(int parentFd, const std::string& name)
{
    struct stat info
    {
    };
    if (::fstatat(parentFd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        return errno;
    if (!S_ISDIR(info.st_mode))
        return ENOTDIR;
    if (info.st_uid != ::geteuid() || (info.st_mode & 077) != 0)
        return EPERM;
    return 0;
}

ErrorCode overwriteFile(int folderFd, const char* name)
{
    const int fd = ::openat(folderFd, name, O_WRONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return errno;
    Descriptor file(fd);
    struct stat info
    {
    };
    if (::fstat(fd, &info) != 0)
        return errno;
    if (!S_ISREG(info.st_mode))
        return 0;
    static const std::array<char, 64 * 1024> kZeros{};
    for (off_t done = 0; done < info.st_size;) {
        const auto size =
            static_cast<std::int64_t>(std::min<off_t>(static_cast<off_t>(kZeros.size()), info.st_size - done));
        if (const ErrorCode error = WriteFully(fd, kZeros.data(), size, done))
            return error;
        done += size;
    }
    if (::fdatasync(fd) != 0 && errno != EINVAL)
        return errno;
    return file.Close();
}

ErrorCode removeBelow(int folderFd)
{
    const int listing = ::dup(folderFd);
    if (listing < 0)
        return errno;
    DIR* dir = ::fdopendir(listing);
    if (dir == nullptr) {
        ::close(listing);
        return errno;
    }
    std::vector<std::pair<std::string, bool>> names;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        struct stat info
        {
        };
        const bool folder = ::fstatat(folderFd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(info.st_mode);
        names.emplace_back(name, folder);
    }
    ::closedir(dir);
    ErrorCode first;
    const auto note = [&first](ErrorCode error) {
        if (error != 0 && first == 0)
            first = error;
    };
    for (const auto& [name, folder] : names) {
        if (folder) {
            const int inner = ::openat(folderFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (inner < 0) {
                note(errno);
                continue;
            }
            note(removeBelow(inner));
            ::close(inner);
            note(::unlinkat(folderFd, name.c_str(), AT_REMOVEDIR) == 0 ? 0 : errno);
            continue;
        }
        struct stat info
        {
        };
        if (::fstatat(folderFd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode))
            note(overwriteFile(folderFd, name.c_str()));
        note(::unlinkat(folderFd, name.c_str(), 0) == 0 ? 0 : errno);
    }
    return first;
}

std::string parentOf(const std::string& folder)
{
    const std::size_t slash = folder.find_last_of('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : folder.substr(0, slash);
}

std::string lastPart(const std::string& folder)
{
    const std::size_t slash = folder.find_last_of('/');
    return slash == std::string::npos ? folder : folder.substr(slash + 1);
}

} // namespace

ErrorCode IsInMemory(const std::string& folder, bool& inMemory, std::string& type)
{
    struct statfs info
    {
    };
    if (::statfs(folder.c_str(), &info) != 0)
        return errno;
    const auto magic = static_cast<unsigned long>(info.f_type);
    inMemory = magic == TMPFS_MAGIC || magic == RAMFS_MAGIC;
    switch (magic) {
    case TMPFS_MAGIC:
        type = "tmpfs";
        break;
    case RAMFS_MAGIC:
        type = "ramfs";
        break;
    case EXT4_SUPER_MAGIC:
        type = "ext4";
        break;
    case BTRFS_SUPER_MAGIC:
        type = "btrfs";
        break;
    case XFS_SUPER_MAGIC:
        type = "xfs";
        break;
    case OVERLAYFS_SUPER_MAGIC:
        type = "overlay";
        break;
    default: {
        std::array<char, 32> text{};
        std::snprintf(text.data(), text.size(), "0x%lx", magic);
        type = text.data();
    }
    }
    return 0;
}

ErrorCode MakePrivateFolder(const std::string& parent, const std::string& name, std::string& folder)
{
    const int parentFd = ::open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (parentFd < 0)
        return errno;
    const Descriptor held(parentFd);
    if (::mkdirat(parentFd, name.c_str(), 0700) != 0 && errno != EEXIST)
        return errno;
    if (const ErrorCode error = checkPrivate(parentFd, name))
        return error;
    folder = parent + "/" + name;
    return 0;
}

ErrorCode MakeRandomFolder(const std::string& parent, std::string& folder)
{
    static constexpr std::string_view kLetters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int attempt = 0; attempt < 16; ++attempt) {
        std::string name;
        for (int i = 0; i < 12; ++i) {
            std::uint32_t pick = 0;
            if (const ErrorCode error = RandomBelow(static_cast<std::uint32_t>(kLetters.size()), pick))
                return error;
            name += kLetters[pick];
        }
        // mkdir never follows a link in the last part and fails on anything already there.
        if (::mkdir((parent + "/" + name).c_str(), 0700) == 0) {
            folder = parent + "/" + name;
            return 0;
        }
        if (errno != EEXIST)
            return errno;
    }
    return EEXIST;
}

ErrorCode SetPermissionBits(const std::string& name, unsigned int bits, std::optional<unsigned int> group)
{
    const int fd = ::open(name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return errno;
    const Descriptor held(fd);
    struct stat info
    {
    };
    if (group && ::fstat(fd, &info) == 0 && info.st_gid != static_cast<gid_t>(*group) &&
        ::fchown(fd, static_cast<uid_t>(-1), static_cast<gid_t>(*group)) != 0)
        bits &= 0700U;
    if (::fchmod(fd, static_cast<mode_t>(bits & 07777)) != 0 && !refusedChange(errno))
        return errno;
    return 0;
}

ErrorCode OpenPathHandle(const std::string& path, Descriptor& handle)
{
    struct stat named
    {
    };
    if (::lstat(path.c_str(), &named) != 0)
        return errno;
    if (S_ISLNK(named.st_mode))
        return ELOOP;
    Descriptor opened(::open(path.c_str(), O_PATH | O_CLOEXEC));
    if (!opened.IsOpen())
        return errno;
    // The name led to this file a moment ago; a link put in its place meanwhile is refused.
    struct stat held
    {
    };
    if (::fstat(opened.Get(), &held) != 0)
        return errno;
    if (held.st_dev != named.st_dev || held.st_ino != named.st_ino || !S_ISREG(held.st_mode))
        return ELOOP;
    handle = std::move(opened);
    return 0;
}

ErrorCode RemoveOverwriting(const std::string& folder)
{
    const std::string parent = parentOf(folder);
    const int parentFd = ::open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (parentFd < 0)
        return errno;
    const Descriptor heldParent(parentFd);
    const std::string name = lastPart(folder);
    const int fd = ::openat(parentFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return errno;
    ErrorCode error = removeBelow(fd);
    ::close(fd);
    if (::unlinkat(parentFd, name.c_str(), AT_REMOVEDIR) != 0 && error == 0)
        error = errno;
    return error;
}

ErrorCode HeldRecord::Create(const std::string& path, const std::string& content)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return errno;
    Descriptor file(fd);
    if (::flock(fd, LOCK_EX) != 0)
        return errno;
    if (const ErrorCode error = WriteFully(fd, content))
        return error;
    if (::fsync(fd) != 0 && errno != EINVAL)
        return errno;
    fd_ = std::move(file);
    return 0;
}

ErrorCode ReadRecord(const std::string& path, std::string& content, bool& inUse)
{
    inUse = false;
    content.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return errno;
    const Descriptor file(fd);
    if (::flock(fd, LOCK_SH | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK)
            return errno;
        inUse = true;
        return 0;
    }
    std::array<char, 4096> buffer{};
    for (;;) {
        const ssize_t got = ::read(fd, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return errno;
        if (got == 0)
            return 0;
        content.append(buffer.data(), static_cast<std::size_t>(got));
        if (content.size() > kLargestRecord)
            return EFBIG;
    }
}

ErrorCode FolderWatch::Start(const std::string& folder)
{
    const int fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd < 0)
        return errno;
    Descriptor watch(fd);
    if (::inotify_add_watch(fd, folder.c_str(),
                            IN_CLOSE_WRITE | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR |
                                IN_DONT_FOLLOW) < 0)
        return errno;
    fd_ = std::move(watch);
    return 0;
}

ErrorCode FolderWatch::ReadEvents(std::vector<FolderEvent>& events)
{
    events.clear();
    if (!fd_.IsOpen())
        return EBADF;
    alignas(inotify_event) std::array<char, 16 * 1024> buffer{};
    for (;;) {
        const ssize_t got = ::read(fd_.Get(), buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return errno == EAGAIN ? ErrorCode(0) : ErrorCode(errno);
        for (ssize_t at = 0; at < got;) {
            inotify_event event{};
            std::memcpy(&event, buffer.data() + at, sizeof event);
            const char* name = buffer.data() + at + sizeof event;
            at += static_cast<ssize_t>(sizeof event + event.len);
            FolderEvent told;
            told.name = event.len > 0 ? std::string(name, ::strnlen(name, event.len)) : std::string();
            if ((event.mask & IN_Q_OVERFLOW) != 0)
                told.kind = FolderEvent::Kind::Lost;
            else if ((event.mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED)) != 0)
                told.kind = FolderEvent::Kind::FolderGone;
            else if ((event.mask & IN_MOVED_TO) != 0)
                told.kind = FolderEvent::Kind::MovedIn;
            else if ((event.mask & IN_CLOSE_WRITE) != 0)
                told.kind = FolderEvent::Kind::Written;
            else
                continue;
            events.push_back(std::move(told));
        }
    }
}

ChildProgram::~ChildProgram()
{
    // A program still running is left to go on; it is only no longer waited for.
    if (pid_ > 0 && !status_) {
        int status = 0;
        static_cast<void>(::waitpid(pid_, &status, WNOHANG)); // reaps it if it has just ended
    }
}

ErrorCode ChildProgram::Start(const std::vector<std::string>& arguments)
{
    if (arguments.empty())
        return EINVAL;
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 1);
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (const int error = ::posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ))
        return error;
    pid_ = pid;
    status_.reset();
    const long fd = ::syscall(SYS_pidfd_open, pid, 0);
    if (fd >= 0)
        pidfd_.Reset(static_cast<int>(fd));
    return 0;
}

std::optional<int> ChildProgram::Ended()
{
    if (status_ || pid_ <= 0)
        return status_;
    int status = 0;
    pid_t got = 0;
    do
        got = ::waitpid(pid_, &status, WNOHANG);
    while (got < 0 && errno == EINTR);
    if (got == pid_)
        status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    else if (got < 0)
        status_ = 127;
    return status_;
}

int ChildProgram::Wait()
{
    while (!status_ && pid_ > 0) {
        int status = 0;
        const pid_t got = ::waitpid(pid_, &status, 0);
        if (got == pid_)
            status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        else if (got < 0 && errno != EINTR)
            status_ = 127;
    }
    return status_.value_or(127);
}

ErrorCode WaitReadable(const std::vector<int>& descriptors, std::vector<bool>& ready, std::chrono::milliseconds timeout)
{
    std::vector<pollfd> entries;
    entries.reserve(descriptors.size());
    for (const int fd : descriptors)
        entries.push_back({fd, POLLIN, 0});
    ready.assign(descriptors.size(), false);
    const int count = ::poll(entries.data(), entries.size(), static_cast<int>(timeout.count()));
    if (count < 0)
        return errno;
    for (std::size_t i = 0; i < entries.size(); ++i)
        ready[i] = (entries[i].revents & (POLLIN | POLLHUP | POLLERR)) != 0;
    return 0;
}

} // namespace tazen::platform
