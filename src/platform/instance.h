// One running TaZEN per user. A lock file stands in for the named mutex of the first instance, and a local
// socket endpoint beside it for the window a second instance sends its command line to: the record it
// sends is the copy-data record of the window message WM_COPYDATA, field by field.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/descriptor.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tazen::platform {

inline constexpr const char* kInstanceLockName = "{70944E99-2F84-4624-B2B2-83497651C199}";
// The running instance's main window is of this class; its endpoint carries the name.
inline constexpr const char* kMainWindowEndpoint = "TForm1";

inline constexpr std::uint32_t kMessageCopyData = 0x4A;       // WM_COPYDATA
inline constexpr std::uint32_t kMessageBringToFront = 0x8001; // WM_APP + 1: restore and raise the window
inline constexpr std::uint32_t kHandOverMarker = 0x012CE821;  // dwData of a command-line hand-over
// A record declaring more data than this is refused unread: no file name comes near it.
inline constexpr std::uint32_t kLargestMessageData = 64 * 1024;

// A name to list in the mode the file manager's action named ("Encrypt with TaZEN"), with the same record.
inline constexpr std::uint32_t kMessageHandOverEncrypt = 0x8002; // WM_APP + 2
inline constexpr std::uint32_t kMessageHandOverDecrypt = 0x8003; // WM_APP + 3
// An encrypted file to open in place ("Open with TaZEN"), with the same record; an instance from before this
// message answers it 0, as any message it does not know.
inline constexpr std::uint32_t kMessageHandOverOpen = 0x8004; // WM_APP + 4

// The user's private runtime folder: $XDG_RUNTIME_DIR when it is a folder of this user that nobody else
// may enter, else /tmp/tazen-<uid>, made with mode 0700 when missing, else (when someone else has taken that
// name) tazen/run in the user's cache folder, $XDG_CACHE_HOME or ~/.cache, made likewise. Empty, with the
// reasons, when none is usable. Tests name a folder of their own in place of /tmp.
std::string PrivateRuntimeFolder(std::string& reason, const std::string& sharedTemporary = "/tmp");

// The exclusive lock that makes a process the running instance. The system releases it when the process
// ends however it ends, so a lock file left behind by a killed instance holds nobody back.
class InstanceLock
{
public:
    enum class State
    {
        Acquired, // this process is the running instance
        Held      // another process is
    };

    explicit InstanceLock(std::string folder);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Never waits. Acquired again when this process already holds it. Fails when the lock file cannot be
    // opened or locked.
    ErrorCode TryAcquire(State& state);
    bool Acquired() const { return acquired_; }
    const std::string& Folder() const { return folder_; }
    std::string EndpointPath() const;

private:
    std::string folder_;
    Descriptor fd_;
    bool acquired_ = false;
};

// One message as it travels: message number, dwData, cbData and cbData bytes; integers 32-bit
// little-endian. The answer is the 32-bit message result.
struct WindowMessage
{
    std::uint32_t message = 0;
    std::uint32_t dwData = 0;
    std::uint32_t cbData = 0; // as declared by the sender
    std::string data;         // exactly cbData bytes
    bool oversized = false;   // cbData passed kLargestMessageData; data was not read
    bool cutShort = false;    // the input ended before cbData bytes came; data holds none of them
};

std::string EncodeMessage(std::uint32_t message, std::uint32_t dwData, std::string_view data);
// A header declaring cbData, for a sender that means to send a different number of bytes.
std::string EncodeHeader(std::uint32_t message, std::uint32_t dwData, std::uint32_t cbData);
std::string EncodeResult(std::uint32_t result);

// The record of a hand-over: the name and its zero byte.
std::string HandOverRecord(const std::string& name);
// The text a copy-data record carries: its bytes up to the first zero byte, within cbData.
std::string CopyDataText(const WindowMessage& message);

// Splits a byte stream into messages.
class MessageReader
{
public:
    void Feed(const char* bytes, std::size_t count);
    // The next complete message. At the end of the input a message whose data fell short of cbData comes
    // back cut short, to be refused: its name may be any prefix of the one meant. A partial header is
    // dropped.
    std::optional<WindowMessage> Next(bool endOfInput);
    // An oversized message ends the stream, what follows it cannot be told apart from its data; so does a
    // message cut short, which is the last.
    bool Stopped() const { return stopped_; }
    // Bytes fed and not yet taken as messages.
    std::size_t Buffered() const { return buffer_.size(); }

private:
    std::string buffer_;
    bool stopped_ = false;
};

// The second instance's end: one connection to the running instance's endpoint.
class EndpointClient
{
public:
    enum class Outcome
    {
        Answered,
        TimedOut,
        Closed // the endpoint went away before it answered
    };

    EndpointClient() = default;
    ~EndpointClient();
    EndpointClient(const EndpointClient&) = delete;
    EndpointClient& operator=(const EndpointClient&) = delete;

    // One attempt; ECONNREFUSED or ENOENT (or EAGAIN, a full backlog) when nobody listens there yet.
    ErrorCode Connect(const std::string& path);
    Outcome Send(std::uint32_t message, std::uint32_t dwData, std::string_view data, std::chrono::milliseconds wait,
                 std::uint32_t& result);

private:
    Descriptor fd_;
};

// One connection the running instance accepted: messages in, message results out, never waiting.
class EndpointConnection
{
public:
    enum class Received
    {
        Open,    // everything that has arrived is in the reader; more may follow
        Ended,   // the sender has finished sending (or is gone): what arrived is all there is
        Overfull // the reader holds more than the limit: the sender sends more than it may
    };

    explicit EndpointConnection(Descriptor fd) : fd_(std::move(fd)) {}
    // For an event loop to watch for readable data.
    int Handle() const { return fd_.Get(); }
    // Feeds reader with what has arrived, until nothing more is waiting or reader holds more than limit.
    Received ReceiveInto(MessageReader& reader, std::size_t limit);
    // The 32-bit message result; fails when it could not be sent at once (the sender stopped reading or
    // is gone).
    ErrorCode Answer(std::uint32_t result);

private:
    Descriptor fd_;
};

// The running instance's end: the endpoint a second start connects to, listening from Listen until it is
// destroyed, which removes it.
class EndpointListener
{
public:
    EndpointListener() = default;
    ~EndpointListener();
    // Made before the window exists and handed to it, so a second start can connect while it is made.
    EndpointListener(EndpointListener&& other) noexcept = default;
    EndpointListener& operator=(EndpointListener&& other) noexcept;
    EndpointListener(const EndpointListener&) = delete;
    EndpointListener& operator=(const EndpointListener&) = delete;

    // Listens at path, accessible to this user alone, replacing a socket left there by an instance that
    // died: only the holder of the instance lock calls this. Made under a name of its own and then moved
    // into place, so whoever finds the endpoint finds it listening.
    ErrorCode Listen(const std::string& path, std::string& reason);
    // For an event loop to watch for waiting connections; -1 before Listen.
    int Handle() const { return fd_.Get(); }
    // The next waiting connection from this user, without waiting; EAGAIN when none waits. Connections
    // from other users are closed unread.
    ErrorCode Accept(std::optional<EndpointConnection>& connection);

private:
    void stop();

    Descriptor fd_;
    std::string path_;
};

enum class Reach
{
    Connected,     // the client is connected to the running instance
    BecameRunning, // the running instance had ended; this process now holds the lock
    NobodyThere    // the lock stayed held and no endpoint appeared
};

// Connects to the running instance, which may still be starting (it holds the lock a moment before it
// listens) or ending (it may release the lock a moment after it stopped listening): tries again every few
// milliseconds for at most patience.
Reach ReachRunningInstance(InstanceLock& lock, EndpointClient& client, std::chrono::milliseconds patience);

} // namespace tazen::platform
