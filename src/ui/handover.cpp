// The running instance's end of the hand-over.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/handover.h"

#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cstring>

#include <sys/socket.h>
#include <unistd.h>

namespace tazen {

namespace {

// Connections served at once. Those beyond wait in the listening socket's backlog until one of these has
// gone, so a file manager's burst of starts is served in turn and none is turned away.
constexpr std::size_t kMostConnections = 64;
// Two of the largest messages and their headers; a connection that sends more before it is answered goes.
constexpr std::size_t kMostBuffered = 2 * (platform::kLargestMessageData + 12);
// A sender that has not finished its message by then will not: its connection goes.
constexpr int kIncompleteMessageMs = 10'000;

} // namespace

struct HandOverEndpoint::Connection
{
    int fd = -1;
    std::unique_ptr<QSocketNotifier> notifier;
    std::unique_ptr<QTimer> deadline;
    platform::MessageReader reader;
    bool ended = false;    // the sender will send nothing more
    bool awaiting = false; // a message is with the handler

    ~Connection()
    {
        notifier.reset();
        if (fd >= 0)
            ::close(fd);
    }
};

HandOverEndpoint::HandOverEndpoint(Handler handler, QObject* parent) : QObject(parent), handler_(std::move(handler)) {}

HandOverEndpoint::~HandOverEndpoint()
{
    connections_.clear();
    listenerNotifier_.reset();
}

void HandOverEndpoint::Serve(platform::EndpointListener listener)
{
    listener_ = std::move(listener);
    listenerNotifier_ = std::make_unique<QSocketNotifier>(listener_.Descriptor(), QSocketNotifier::Read);
    connect(listenerNotifier_.get(), &QSocketNotifier::activated, this, [this] { acceptConnections(); });
}

void HandOverEndpoint::acceptConnections()
{
    for (;;) {
        if (connections_.size() >= kMostConnections) {
            // Taken up again when a connection goes.
            listenerNotifier_->setEnabled(false);
            return;
        }
        const int fd = listener_.AcceptFromThisUser();
        if (fd < 0)
            return;
        const std::uint64_t id = nextId_++;
        auto connection = std::make_unique<Connection>();
        connection->fd = fd;
        connection->notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        connect(connection->notifier.get(), &QSocketNotifier::activated, this, [this, id] { readFrom(id); });
        connection->deadline = std::make_unique<QTimer>();
        connection->deadline->setSingleShot(true);
        connect(connection->deadline.get(), &QTimer::timeout, this, [this, id] { drop(id); });
        connection->deadline->start(kIncompleteMessageMs);
        connections_.emplace(id, std::move(connection));
        // A record already waiting is taken now, so records are handled in the order their senders connected.
        readFrom(id);
    }
}

void HandOverEndpoint::readFrom(std::uint64_t id)
{
    const auto found = connections_.find(id);
    if (found == connections_.end())
        return;
    Connection& connection = *found->second;
    char bytes[4096];
    for (;;) {
        const ssize_t count = ::recv(connection.fd, bytes, sizeof(bytes), 0);
        if (count > 0) {
            connection.reader.Feed(bytes, static_cast<std::size_t>(count));
            // A sender may queue a message behind the one being handled, not an endless stream.
            if (connection.reader.Buffered() > kMostBuffered)
                return drop(id);
            continue;
        }
        if (count < 0 && (errno == EAGAIN || errno == EINTR))
            break;
        // The sender has finished sending (or is gone); what arrived is all there is.
        connection.ended = true;
        connection.notifier->setEnabled(false);
        break;
    }
    handleNext(id);
}

void HandOverEndpoint::handleNext(std::uint64_t id)
{
    const auto found = connections_.find(id);
    if (found == connections_.end())
        return;
    Connection& connection = *found->second;
    if (connection.awaiting)
        return;
    const std::optional<platform::WindowMessage> message = connection.reader.Next(connection.ended);
    if (!message) {
        if (connection.ended || connection.reader.Stopped())
            drop(id);
        return;
    }
    connection.deadline->stop();
    if (message->oversized) {
        answer(id, 0);
        drop(id);
        return;
    }
    connection.awaiting = true;
    QPointer<HandOverEndpoint> self(this);
    handler_(*message, [self, id](std::uint32_t result) {
        if (self)
            self->answer(id, result);
    });
}

void HandOverEndpoint::answer(std::uint64_t id, std::uint32_t result)
{
    const auto found = connections_.find(id);
    if (found == connections_.end())
        return;
    Connection& connection = *found->second;
    connection.awaiting = false;
    const std::string bytes = platform::EncodeResult(result);
    // Four bytes always fit an empty socket buffer; a sender that stopped reading loses its answer.
    if (::send(connection.fd, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT) !=
        static_cast<ssize_t>(bytes.size())) {
        drop(id);
        return;
    }
    connection.deadline->start(kIncompleteMessageMs);
    // The next message may have arrived already; it is handled from the event loop, not from inside the
    // handler that answered.
    QTimer::singleShot(0, this, [this, id] { handleNext(id); });
}

void HandOverEndpoint::drop(std::uint64_t id)
{
    const auto found = connections_.find(id);
    if (found == connections_.end())
        return;
    // The notifier or the timer may be the one whose signal is being delivered right now. Parented, they
    // go with the endpoint should the event loop not run again.
    Connection& connection = *found->second;
    connection.notifier->setEnabled(false);
    connection.deadline->stop();
    for (QObject* object :
         {static_cast<QObject*>(connection.notifier.release()), static_cast<QObject*>(connection.deadline.release())}) {
        object->setParent(this);
        object->deleteLater();
    }
    connections_.erase(found);
    if (listenerNotifier_)
        listenerNotifier_->setEnabled(true);
}

} // namespace tazen
