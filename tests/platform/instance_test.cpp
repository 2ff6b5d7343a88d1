// The instance lock, the private runtime folder, the hand-over's wire format and both its ends.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/folders.h"
#include "platform/instance.h"

#include "common/bounded_wait.h"
#include "common/local_socket.h"
#include "common/scoped_env.h"
#include "common/tempdir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tazen::platform {
namespace {

using namespace std::chrono_literals;
using test::ScopedEnv;
using test::TempDir;

// A listening socket at path, as a running instance's endpoint would be.
class Listener
{
public:
    explicit Listener(const std::string& path)
    {
        fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const sockaddr_un address = test::localAddress(path);
        if (fd_ < 0 || ::bind(fd_, test::asAddress(address), sizeof(address)) != 0 || ::listen(fd_, 8) != 0)
            throw std::runtime_error("cannot listen at " + path);
    }
    ~Listener() { ::close(fd_); }
    // The next connection, already made by the client (a local connect completes without an accept).
    int Accept() { return ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC); }

private:
    int fd_ = -1;
};

std::string readAll(int fd)
{
    std::string bytes;
    char buffer[256];
    ssize_t count;
    while ((count = ::recv(fd, buffer, sizeof(buffer), MSG_DONTWAIT)) > 0)
        bytes.append(buffer, static_cast<std::size_t>(count));
    return bytes;
}

// The fallback's name, in a folder standing in for /tmp.
std::string fallbackIn(const TempDir& temporary)
{
    return temporary / ("tazen-" + std::to_string(::geteuid()));
}

TEST(RuntimeFolder, IsTheUsersPrivateOneOrAFolderUnderTmpThatOnlyTheUserMayEnter)
{
    TempDir runtime;
    TempDir temporary;
    std::string reason;
    {
        const ScopedEnv env("XDG_RUNTIME_DIR", runtime.path() + "/");
        EXPECT_EQ(PrivateRuntimeFolder(reason, temporary.path()), runtime.path());
    }
    const std::string fallback = fallbackIn(temporary);
    // A runtime folder others may enter, or one too long to hold a socket address, is not used.
    ASSERT_EQ(::chmod(runtime.path().c_str(), 0755), 0);
    {
        const ScopedEnv env("XDG_RUNTIME_DIR", runtime.path());
        EXPECT_EQ(PrivateRuntimeFolder(reason, temporary.path()), fallback);
    }
    ASSERT_EQ(::chmod(runtime.path().c_str(), 0700), 0);
    const std::string deep = runtime / std::string(100, 'd');
    ASSERT_EQ(::mkdir(deep.c_str(), 0700), 0);
    {
        const ScopedEnv env("XDG_RUNTIME_DIR", deep);
        EXPECT_EQ(PrivateRuntimeFolder(reason, temporary.path()), fallback);
    }
    struct stat st
    {
    };
    ASSERT_EQ(::lstat(fallback.c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_EQ(st.st_uid, ::geteuid());
}

TEST(RuntimeFolder, IsNotTakenThroughALinkNorFromAnotherUser)
{
    TempDir runtime;
    TempDir temporary;
    const std::string fallback = fallbackIn(temporary);
    const std::string ours = runtime / "private";
    ASSERT_EQ(::mkdir(ours.c_str(), 0700), 0);
    std::string reason;
    // The folder is private, the name that leads to it need not stay so.
    std::filesystem::create_symlink(ours, runtime / "link");
    {
        const ScopedEnv env("XDG_RUNTIME_DIR", runtime / "link");
        EXPECT_EQ(PrivateRuntimeFolder(reason, temporary.path()), fallback);
    }
    if (::geteuid() != 0)
        return; // only root can give a folder away
    ASSERT_EQ(::chown(ours.c_str(), 65534, 65534), 0);
    {
        const ScopedEnv env("XDG_RUNTIME_DIR", ours);
        EXPECT_EQ(PrivateRuntimeFolder(reason, temporary.path()), fallback);
    }
}

// Anyone may make the fallback's name in /tmp first; the user's cache folder is then the last resort.
TEST(RuntimeFolder, AFallbackFolderPlantedByAnotherIsRefusedAndTheCacheFolderTakesItsPlace)
{
    TempDir temporary;
    TempDir elsewhere;
    TempDir home;
    const ScopedEnv runtimeEnv("XDG_RUNTIME_DIR", ""); // not a usable runtime folder
    const std::string tooDeep = home / std::string(100, 'c');
    const ScopedEnv cacheEnv("XDG_CACHE_HOME", tooDeep);
    const ScopedEnv homeEnv("HOME", home.path());
    const std::string fallback = fallbackIn(temporary);
    const std::string noCache = "; " + tooDeep + "/tazen/run is too long a path for a local socket";
    const auto attempt = [&] {
        std::string reason;
        return PrivateRuntimeFolder(reason, temporary.path()) + "|" + reason;
    };
    const auto modeOf = [](const std::string& folder) {
        struct stat st
        {
        };
        return ::lstat(folder.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
    };
    // A link even to a private folder, one open to all, and (only root can give a folder away) another user's
    // folder; the cache folder where one fits; then a fallback made afresh.
    ASSERT_EQ(::symlink(elsewhere.path().c_str(), fallback.c_str()), 0);
    EXPECT_EQ(attempt(), "|" + fallback + " is not a folder" + noCache);
    ASSERT_EQ(::unlink(fallback.c_str()), 0);
    ASSERT_EQ(::mkdir(fallback.c_str(), 0700), 0);
    ASSERT_EQ(::chmod(fallback.c_str(), 0777), 0);
    EXPECT_EQ(attempt(), "|" + fallback + " is open to other users" + noCache);
    ASSERT_EQ(::setenv("XDG_CACHE_HOME", (home / "cache").c_str(), 1), 0);
    EXPECT_EQ(attempt(), home / "cache/tazen/run|");
    ASSERT_EQ(::unsetenv("XDG_CACHE_HOME"), 0);
    EXPECT_EQ(attempt(), home / ".cache/tazen/run|");
    EXPECT_EQ(modeOf(home / ".cache/tazen/run"), 0700u);
    ASSERT_EQ(::setenv("XDG_CACHE_HOME", tooDeep.c_str(), 1), 0);
    ASSERT_EQ(::chmod(fallback.c_str(), 0700), 0);
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(fallback.c_str(), 65534, 65534), 0);
        EXPECT_EQ(attempt(), "|" + fallback + " belongs to another user" + noCache);
    }
    ASSERT_EQ(::rmdir(fallback.c_str()), 0);
    const mode_t umask = ::umask(0);
    EXPECT_EQ(attempt(), fallback + "|");
    ::umask(umask);
    EXPECT_EQ(modeOf(fallback), 0700u);
}

// What TryAcquire tells, its failure included, as one value to compare.
enum class Got
{
    Acquired,
    Held,
    Failed
};

Got tryAcquire(InstanceLock& lock)
{
    InstanceLock::State state = InstanceLock::State::Held;
    if (lock.TryAcquire(state) != 0)
        return Got::Failed;
    return state == InstanceLock::State::Acquired ? Got::Acquired : Got::Held;
}

TEST(InstanceLock, ALinkPlantedAtTheLocksNameIsNotFollowed)
{
    TempDir runtime;
    TempDir elsewhere;
    const std::string lockFile = runtime / kInstanceLockName;
    std::filesystem::create_symlink(elsewhere / "made", lockFile);
    InstanceLock dangling(runtime.path());
    EXPECT_EQ(tryAcquire(dangling), Got::Failed);
    EXPECT_FALSE(test::exists(elsewhere / "made"));

    std::filesystem::remove(lockFile);
    test::writeFile(elsewhere / "existing", std::string("kept"));
    std::filesystem::create_symlink(elsewhere / "existing", lockFile);
    InstanceLock existing(runtime.path());
    EXPECT_EQ(tryAcquire(existing), Got::Failed);
    EXPECT_EQ(test::readText(elsewhere / "existing"), "kept");
}

TEST(InstanceLock, OneHolderAtATimeAndTheNextOneOnceItIsGone)
{
    TempDir runtime;
    auto first = std::make_unique<InstanceLock>(runtime.path());
    InstanceLock second(runtime.path());
    EXPECT_EQ(tryAcquire(*first), Got::Acquired);
    EXPECT_EQ(tryAcquire(*first), Got::Acquired);
    EXPECT_EQ(tryAcquire(second), Got::Held);
    EXPECT_EQ(second.EndpointPath(), runtime / "TForm1");
    first.reset();
    EXPECT_EQ(tryAcquire(second), Got::Acquired);

    struct stat st
    {
    };
    ASSERT_EQ(::stat((runtime / "{70944E99-2F84-4624-B2B2-83497651C199}").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST(InstanceLock, ALockLeftByAKilledInstanceHoldsNobodyBack)
{
    TempDir runtime;
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const std::string lockFile = runtime / kInstanceLockName;
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Only system calls in the child: the lock is the same file, locked the same way.
        const int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        const char held = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0 ? 'y' : 'n';
        if (::write(ready[1], &held, 1) != 1)
            ::_exit(1);
        ::pause();
        ::_exit(0);
    }
    ::close(ready[1]);
    char held = 0;
    ASSERT_TRUE(test::WaitReadable(ready[0], "the child to take the lock"));
    ASSERT_EQ(::read(ready[0], &held, 1), 1);
    ::close(ready[0]);
    ASSERT_EQ(held, 'y');

    InstanceLock lock(runtime.path());
    EXPECT_EQ(tryAcquire(lock), Got::Held);
    ::kill(child, SIGKILL);
    test::ReapChild(child, "the lock holder to die");
    EXPECT_EQ(tryAcquire(lock), Got::Acquired);
}

TEST(InstanceLock, FailsWhereNoLockFileCanBeMade)
{
    InstanceLock lock("/nonexistent-tazen-folder");
    EXPECT_EQ(tryAcquire(lock), Got::Failed);
}

TEST(WindowMessages, TravelAsLittleEndianFieldsAndArriveWhateverTheyAreCutInto)
{
    const std::string record = HandOverRecord("/home/u/report.doc");
    const std::string bytes =
        EncodeMessage(kMessageCopyData, kHandOverMarker, record) + EncodeMessage(kMessageBringToFront, 0, {});
    EXPECT_EQ(bytes.substr(0, 12), std::string("\x4A\0\0\0\x21\xE8\x2C\x01\x13\0\0\0", 12));
    EXPECT_EQ(record.size(), 19u) << "the name and its zero byte";

    MessageReader reader;
    std::vector<WindowMessage> messages;
    for (char byte : bytes) {
        reader.Feed(&byte, 1);
        while (auto message = reader.Next(false))
            messages.push_back(*message);
    }
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].message, kMessageCopyData);
    EXPECT_EQ(messages[0].dwData, kHandOverMarker);
    EXPECT_EQ(messages[0].cbData, 19u);
    EXPECT_EQ(CopyDataText(messages[0]), "/home/u/report.doc");
    EXPECT_EQ(messages[1].message, kMessageBringToFront);
    EXPECT_TRUE(messages[1].data.empty());
    EXPECT_EQ(EncodeResult(1), std::string("\1\0\0\0", 4));
}

TEST(WindowMessages, TextStopsAtTheFirstZeroByteAndNeverPassesCbDataOrWhatArrived)
{
    // No zero byte within cbData: the text is the cbData bytes, and what follows is the next message.
    MessageReader reader;
    const std::string bytes = EncodeHeader(kMessageCopyData, kHandOverMarker, 4) + "/abcdef" + std::string(5, '\0');
    reader.Feed(bytes.data(), bytes.size());
    const auto cut = reader.Next(false);
    ASSERT_TRUE(cut);
    EXPECT_EQ(CopyDataText(*cut), "/abc");
    EXPECT_FALSE(reader.Next(false)) << "the remaining bytes are an unfinished header";

    // cbData larger than what the sender sent before it stopped: cut short, with no text, and the last.
    MessageReader shortOne;
    const std::string promised = EncodeHeader(kMessageCopyData, kHandOverMarker, 1000) + "/tmp/a";
    shortOne.Feed(promised.data(), promised.size());
    EXPECT_FALSE(shortOne.Next(false)) << "more may still come";
    const auto arrived = shortOne.Next(true);
    ASSERT_TRUE(arrived);
    EXPECT_TRUE(arrived->cutShort);
    EXPECT_EQ(CopyDataText(*arrived), "");
    EXPECT_TRUE(shortOne.Stopped());

    // A zero byte in the middle ends the text.
    MessageReader zero;
    const std::string early = EncodeMessage(kMessageCopyData, kHandOverMarker, std::string("/a\0/b\0", 6));
    zero.Feed(early.data(), early.size());
    EXPECT_EQ(CopyDataText(*zero.Next(false)), "/a");

    // A header cut short at the end is no message.
    MessageReader partial;
    partial.Feed(early.data(), 7);
    EXPECT_FALSE(partial.Next(true));
}

TEST(WindowMessages, AnOversizedMessageIsRefusedUnreadAndEndsTheStream)
{
    MessageReader reader;
    const std::string bytes = EncodeHeader(kMessageCopyData, kHandOverMarker, kLargestMessageData + 1) +
                              EncodeMessage(kMessageBringToFront, 0, {});
    reader.Feed(bytes.data(), bytes.size());
    const auto message = reader.Next(false);
    ASSERT_TRUE(message);
    EXPECT_TRUE(message->oversized);
    EXPECT_TRUE(message->data.empty());
    EXPECT_TRUE(reader.Stopped());
    EXPECT_FALSE(reader.Next(true));

    MessageReader largest;
    const std::string fits = EncodeMessage(kMessageCopyData, 0, std::string(kLargestMessageData, 'x'));
    largest.Feed(fits.data(), fits.size());
    const auto accepted = largest.Next(false);
    ASSERT_TRUE(accepted);
    EXPECT_FALSE(accepted->oversized);
    EXPECT_EQ(accepted->data.size(), kLargestMessageData);
}

TEST(EndpointClient, SendsTheMessageAndTellsAnAnswerATimeoutAndAClosedEndpointApart)
{
    TempDir runtime;
    const std::string path = runtime / "TForm1";
    EndpointClient nobody;
    EXPECT_NE(nobody.Connect(path), 0);

    Listener listener(path);
    std::uint32_t result = 7;

    EndpointClient answered;
    ASSERT_EQ(answered.Connect(path), 0);
    const int peer = listener.Accept();
    ASSERT_GE(peer, 0);
    // The answer waits in the socket before the message is even sent.
    const std::string one = EncodeResult(1);
    ASSERT_EQ(::send(peer, one.data(), one.size(), 0), 4);
    EXPECT_EQ(answered.Send(kMessageCopyData, kHandOverMarker, HandOverRecord("/x"), 1s, result),
              EndpointClient::Outcome::Answered);
    EXPECT_EQ(result, 1u);
    EXPECT_EQ(readAll(peer), EncodeMessage(kMessageCopyData, kHandOverMarker, std::string("/x\0", 3)));

    EXPECT_EQ(answered.Send(kMessageBringToFront, 0, {}, 0ms, result), EndpointClient::Outcome::TimedOut);
    ::close(peer);
    EXPECT_EQ(answered.Send(kMessageBringToFront, 0, {}, 1s, result), EndpointClient::Outcome::Closed);
}

TEST(EndpointListener, ReplacesAStaleSocketServesThisUserAndLeavesNothingBehind)
{
    TempDir runtime;
    const std::string path = runtime / "TForm1";
    // An instance that died without cleaning up leaves its socket behind.
    const pid_t died = ::fork();
    if (died == 0) {
        EndpointListener listener;
        std::string reason;
        ::_exit(listener.Listen(path, reason) == 0 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(died, &status, 0), died);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    {
        EndpointListener listener;
        std::string reason;
        ASSERT_EQ(listener.Listen(path, reason), 0) << reason;
        struct stat info;
        ASSERT_EQ(::lstat(path.c_str(), &info), 0);
        EXPECT_TRUE(S_ISSOCK(info.st_mode));
        EXPECT_EQ(info.st_mode & 0777, 0600u);
        EXPECT_EQ(test::listFolder(runtime.path()), std::vector<std::string>{"TForm1"});
        std::optional<EndpointConnection> connection;
        EXPECT_EQ(listener.Accept(connection), EAGAIN) << "nobody has connected";

        EndpointClient client;
        ASSERT_EQ(client.Connect(path), 0);
        ASSERT_EQ(listener.Accept(connection), 0);
        ASSERT_TRUE(connection);
        // The answer waits in the socket before the message is even sent.
        ASSERT_EQ(connection->Answer(1), 0);
        std::uint32_t result = 0;
        EXPECT_EQ(client.Send(kMessageCopyData, kHandOverMarker, HandOverRecord("/x"), 1s, result),
                  EndpointClient::Outcome::Answered);
        EXPECT_EQ(result, 1u);
        MessageReader reader;
        EXPECT_EQ(connection->ReceiveInto(reader, 1024), EndpointConnection::Received::Open);
        const std::optional<WindowMessage> message = reader.Next(false);
        ASSERT_TRUE(message);
        EXPECT_EQ(CopyDataText(*message), "/x");

        EXPECT_EQ(client.Send(kMessageCopyData, kHandOverMarker, std::string(100, 'a'), 0ms, result),
                  EndpointClient::Outcome::TimedOut);
        EXPECT_EQ(connection->ReceiveInto(reader, 50), EndpointConnection::Received::Overfull);

        std::optional<EndpointConnection> later;
        {
            EndpointClient gone;
            ASSERT_EQ(gone.Connect(path), 0);
            ASSERT_EQ(listener.Accept(later), 0);
            ASSERT_TRUE(later);
        }
        MessageReader nothing;
        EXPECT_EQ(later->ReceiveInto(nothing, 1024), EndpointConnection::Received::Ended);
    }
    EXPECT_TRUE(test::listFolder(runtime.path()).empty()) << "the endpoint goes with its listener";
}

TEST(ReachRunningInstance, ConnectsBecomesTheRunningInstanceOrFindsNobody)
{
    TempDir runtime;
    auto running = std::make_unique<InstanceLock>(runtime.path());
    ASSERT_EQ(tryAcquire(*running), Got::Acquired);
    InstanceLock second(runtime.path());
    ASSERT_EQ(tryAcquire(second), Got::Held);

    // The lock is held but nobody listens: a running instance that does not answer.
    EndpointClient client;
    EXPECT_EQ(ReachRunningInstance(second, client, 0ms), Reach::NobodyThere);
    EXPECT_FALSE(second.Acquired());

    {
        Listener endpoint(second.EndpointPath());
        EXPECT_EQ(ReachRunningInstance(second, client, 0ms), Reach::Connected);
    }
    // The running instance has ended; only its socket file is left.
    running.reset();
    EndpointClient late;
    EXPECT_EQ(ReachRunningInstance(second, late, 0ms), Reach::BecameRunning);
    EXPECT_TRUE(second.Acquired());
}

TEST(AbsoluteName, JoinsARelativeNameToTheWorkingFolder)
{
    const std::string here = std::filesystem::current_path().string();
    EXPECT_EQ(AbsoluteName("a.txt"), here + "/a.txt");
    EXPECT_EQ(AbsoluteName("sub/../b.TaZEN"), here + "/sub/../b.TaZEN");
    EXPECT_EQ(AbsoluteName("/etc/hosts"), "/etc/hosts");
    EXPECT_EQ(AbsoluteName(""), "");
}

} // namespace
} // namespace tazen::platform
