// One running TaZEN per user: the lock, the wire format of the hand-over and the sending end.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/instance.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace tazen::platform {

namespace {

constexpr std::size_t kHeaderSize = 12;
constexpr auto kRetryGap = std::chrono::milliseconds(10);
// The endpoint's name while it is being made.
constexpr const char* kMakingSuffix = ".new";

// A folder only this user can enter, short enough for a socket address in it.
bool isPrivateFolder(const std::string& folder, std::string& reason)
{
    struct stat st
    {
    };
    if (::lstat(folder.c_str(), &st) != 0) {
        reason = folder + ": " + std::strerror(errno);
        return false;
    }
    if (!S_ISDIR(st.st_mode)) {
        reason = folder + " is not a folder";
        return false;
    }
    if (st.st_uid != ::geteuid()) {
        reason = folder + " belongs to another user";
        return false;
    }
    if ((st.st_mode & 077) != 0) {
        reason = folder + " is open to other users";
        return false;
    }
    // Room for the endpoint and for the name it is made under.
    if (folder.size() + 1 + std::strlen(kMainWindowEndpoint) + 8 >= sizeof(sockaddr_un::sun_path)) {
        reason = folder + " is too long a path for a local socket";
        return false;
    }
    return true;
}

std::string withoutTrailingSlashes(std::string folder)
{
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

// $XDG_CACHE_HOME, or ~/.cache; empty when neither is known.
std::string userCacheFolder()
{
    const char* cache = std::getenv("XDG_CACHE_HOME");
    if (cache != nullptr && cache[0] == '/')
        return withoutTrailingSlashes(cache);
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') {
        const passwd* user = ::getpwuid(::geteuid());
        home = user != nullptr ? user->pw_dir : nullptr;
    }
    if (home == nullptr || home[0] != '/')
        return {};
    return withoutTrailingSlashes(home) + "/.cache";
}

// Makes the folder and any missing folder above it, each with mode 0700 as the XDG base directories ask.
bool makeFolders(const std::string& folder, std::string& reason)
{
    for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const bool last = slash == std::string::npos;
        const std::string part = last ? folder : folder.substr(0, slash);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            reason = part + ": " + std::strerror(errno);
            return false;
        }
        if (last)
            return true;
    }
}

void putUint32(std::string& out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<char>((value >> shift) & 0xFF));
}

std::uint32_t getUint32(const char* bytes)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[i]);
    return value;
}

int millisecondsUntil(std::chrono::steady_clock::time_point deadline)
{
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return static_cast<int>(std::clamp<std::chrono::milliseconds::rep>(left.count(), 0, 60'000));
}

// Waits until fd is ready for events or the deadline passes; false at the deadline.
bool waitFor(int fd, short events, std::chrono::steady_clock::time_point deadline)
{
    for (;;) {
        pollfd entry{fd, events, 0};
        const int ready = ::poll(&entry, 1, millisecondsUntil(deadline));
        if (ready > 0)
            return true;
        if (ready == 0)
            return false;
        if (errno != EINTR)
            return true; // the next call on fd reports the error
    }
}

bool socketAddress(const std::string& path, sockaddr_un& address)
{
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof(address.sun_path))
        return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

bool fromThisUser(int fd)
{
    ucred credentials{};
    socklen_t size = sizeof(credentials);
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &size) == 0 && credentials.uid == ::geteuid();
}

} // namespace

std::string PrivateRuntimeFolder(std::string& reason, const std::string& sharedTemporary)
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::string why;
    if (runtime != nullptr && runtime[0] == '/') {
        std::string folder = withoutTrailingSlashes(runtime);
        if (isPrivateFolder(folder, why))
            return folder;
    }
    std::string fallback = sharedTemporary + "/tazen-" + std::to_string(::geteuid());
    if (::mkdir(fallback.c_str(), 0700) != 0 && errno != EEXIST)
        why = fallback + ": " + std::strerror(errno);
    else if (isPrivateFolder(fallback, why))
        return fallback;
    // Anyone may take that name in /tmp first; the cache folder is the user's own.
    const std::string cache = userCacheFolder();
    std::string cacheWhy = "neither XDG_CACHE_HOME nor HOME names a cache folder";
    std::string folder = cache + "/tazen/run";
    if (!cache.empty() && makeFolders(folder, cacheWhy) && isPrivateFolder(folder, cacheWhy))
        return folder;
    reason = why + "; " + cacheWhy;
    return {};
}

InstanceLock::InstanceLock(std::string folder) : folder_(withoutTrailingSlashes(std::move(folder))) {}

// Closing the descriptor releases the lock.
InstanceLock::~InstanceLock() = default;

ErrorCode InstanceLock::TryAcquire(State& state)
{
    state = State::Acquired;
    if (acquired_)
        return 0;
    if (!fd_.IsOpen()) {
        const std::string path = folder_ + "/" + kInstanceLockName;
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0)
            return errno;
        fd_.Reset(fd);
    }
    while (::flock(fd_.Get(), LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK) {
            state = State::Held;
            return 0;
        }
        if (errno != EINTR)
            return errno;
    }
    acquired_ = true;
    return 0;
}

std::string InstanceLock::EndpointPath() const
{
    return folder_ + "/" + kMainWindowEndpoint;
}

std::string EncodeHeader(std::uint32_t message, std::uint32_t dwData, std::uint32_t cbData)
{
    std::string out;
    putUint32(out, message);
    putUint32(out, dwData);
    putUint32(out, cbData);
    return out;
}

std::string EncodeMessage(std::uint32_t message, std::uint32_t dwData, std::string_view data)
{
    return EncodeHeader(message, dwData, static_cast<std::uint32_t>(data.size())).append(data);
}

std::string EncodeResult(std::uint32_t result)
{
    std::string out;
    putUint32(out, result);
    return out;
}

std::string HandOverRecord(const std::string& name)
{
    return name + '\0';
}

std::string CopyDataText(const WindowMessage& message)
{
    return message.data.substr(0, message.data.find('\0'));
}

void MessageReader::Feed(const char* bytes, std::size_t count)
{
    if (!stopped_)
        buffer_.append(bytes, count);
}

std::optional<WindowMessage> MessageReader::Next(bool endOfInput)
{
    if (stopped_ || buffer_.size() < kHeaderSize)
        return std::nullopt;
    WindowMessage message;
    message.message = getUint32(buffer_.data());
    message.dwData = getUint32(buffer_.data() + 4);
    message.cbData = getUint32(buffer_.data() + 8);
    if (message.cbData > kLargestMessageData) {
        message.oversized = true;
        stopped_ = true;
        buffer_.clear();
        return message;
    }
    const std::size_t arrived = buffer_.size() - kHeaderSize;
    if (arrived < message.cbData) {
        if (!endOfInput)
            return std::nullopt;
        message.cutShort = true;
        stopped_ = true;
        buffer_.clear();
        return message;
    }
    message.data = buffer_.substr(kHeaderSize, message.cbData);
    buffer_.erase(0, kHeaderSize + message.cbData);
    return message;
}

EndpointClient::~EndpointClient() = default;

ErrorCode EndpointClient::Connect(const std::string& path)
{
    fd_.Reset(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!fd_.IsOpen())
        return errno;
    sockaddr_un address{};
    if (!socketAddress(path, address))
        return ENAMETOOLONG;
    // A local connection completes at once or not at all; a full backlog counts as nobody there yet.
    if (::connect(fd_.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
        const ErrorCode error = errno;
        fd_.Reset();
        return error;
    }
    return 0;
}

EndpointClient::Outcome EndpointClient::Send(std::uint32_t message, std::uint32_t dwData, std::string_view data,
                                             std::chrono::milliseconds wait, std::uint32_t& result)
{
    if (!fd_.IsOpen())
        return Outcome::Closed;
    const int fd = fd_.Get();
    const auto deadline = std::chrono::steady_clock::now() + wait;
    const std::string bytes = EncodeMessage(message, dwData, data);
    for (std::size_t sent = 0; sent < bytes.size();) {
        const ssize_t written = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (written > 0) {
            sent += static_cast<std::size_t>(written);
        } else if (errno == EAGAIN || errno == EINTR) {
            if (!waitFor(fd, POLLOUT, deadline))
                return Outcome::TimedOut;
        } else {
            return Outcome::Closed;
        }
    }
    char answer[4];
    for (std::size_t got = 0; got < sizeof(answer);) {
        const ssize_t count = ::recv(fd, answer + got, sizeof(answer) - got, 0);
        if (count > 0) {
            got += static_cast<std::size_t>(count);
        } else if (count < 0 && (errno == EAGAIN || errno == EINTR)) {
            if (!waitFor(fd, POLLIN, deadline))
                return Outcome::TimedOut;
        } else {
            return Outcome::Closed; // the connection ended, or failed
        }
    }
    result = getUint32(answer);
    return Outcome::Answered;
}

EndpointListener::~EndpointListener()
{
    stop();
}

EndpointListener& EndpointListener::operator=(EndpointListener&& other) noexcept
{
    if (this != &other) {
        stop();
        fd_ = std::move(other.fd_);
        path_ = std::move(other.path_);
    }
    return *this;
}

void EndpointListener::stop()
{
    if (fd_.IsOpen()) {
        fd_.Reset();
        ::unlink(path_.c_str());
    }
}

ErrorCode EndpointListener::Listen(const std::string& path, std::string& reason)
{
    // Only the holder of the lock gets here, so whatever socket is at either name was left by an instance
    // that died.
    const std::string making = path + kMakingSuffix;
    sockaddr_un address{};
    if (!socketAddress(making, address)) {
        reason = path + " is too long a path for a local socket";
        return ENAMETOOLONG;
    }
    for (const std::string& stale : {making, path}) {
        struct stat st
        {
        };
        if (::lstat(stale.c_str(), &st) == 0 && S_ISSOCK(st.st_mode))
            ::unlink(stale.c_str());
    }
    Descriptor fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!fd.IsOpen() || ::bind(fd.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 ||
        ::chmod(making.c_str(), 0600) != 0 || ::listen(fd.Get(), SOMAXCONN) != 0 ||
        ::rename(making.c_str(), path.c_str()) != 0) {
        const ErrorCode error = errno;
        reason = path + ": " + std::strerror(error);
        if (fd.IsOpen())
            ::unlink(making.c_str());
        return error;
    }
    fd_ = std::move(fd);
    path_ = path;
    return 0;
}

ErrorCode EndpointListener::Accept(std::optional<EndpointConnection>& connection)
{
    connection.reset();
    for (;;) {
        Descriptor fd(::accept4(fd_.Get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
        if (!fd.IsOpen())
            return errno;
        if (fromThisUser(fd.Get())) {
            connection.emplace(std::move(fd));
            return 0;
        }
    }
}

EndpointConnection::Received EndpointConnection::ReceiveInto(MessageReader& reader, std::size_t limit)
{
    char bytes[4096];
    for (;;) {
        const ssize_t count = ::recv(fd_.Get(), bytes, sizeof(bytes), 0);
        if (count > 0) {
            reader.Feed(bytes, static_cast<std::size_t>(count));
            if (reader.Buffered() > limit)
                return Received::Overfull;
            continue;
        }
        if (count < 0 && (errno == EAGAIN || errno == EINTR))
            return Received::Open;
        return Received::Ended;
    }
}

ErrorCode EndpointConnection::Answer(std::uint32_t result)
{
    const std::string bytes = EncodeResult(result);
    // Four bytes always fit an empty socket buffer: fewer sent means the sender stopped reading.
    const ssize_t sent = ::send(fd_.Get(), bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    if (sent < 0)
        return errno;
    return sent == static_cast<ssize_t>(bytes.size()) ? 0 : EAGAIN;
}

Reach ReachRunningInstance(InstanceLock& lock, EndpointClient& client, std::chrono::milliseconds patience)
{
    const auto deadline = std::chrono::steady_clock::now() + patience;
    for (;;) {
        if (client.Connect(lock.EndpointPath()) == 0)
            return Reach::Connected;
        // A lock that cannot be opened is as good as held by the instance that cannot be reached.
        if (InstanceLock::State state; lock.TryAcquire(state) == 0 && state == InstanceLock::State::Acquired)
            return Reach::BecameRunning;
        if (std::chrono::steady_clock::now() >= deadline)
            return Reach::NobodyThere;
        std::this_thread::sleep_for(kRetryGap);
    }
}

} // namespace tazen::platform
