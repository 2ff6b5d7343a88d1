// The running instance's end of the hand-over.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/handover.h"

#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>

namespace tazen {

namespace {

// Connections held at once. A connection beyond them takes the place of the oldest one that has no message
// with the handler, so connections that send nothing cannot keep a sender waiting; a sender cut off between
// its messages finds its connection closed and connects again.
constexpr std::size_t kMostConnections = 64;
// Accepted in one turn of the event loop, so the connections held are read between turns.
constexpr std::size_t kAcceptedAtOnce = kMostConnections;
// Two of the largest messages and their headers; a connection that sends more before it is answered goes.
constexpr std::size_t kMostBuffered = 2 * (platform::kLargestMessageData + 12);
// A sender that has not finished its message by then will not: its connection goes.
constexpr int kIncompleteMessageMs = 10'000;

} // namespace

struct HandOverEndpoint::Connection
{
    explicit Connection(platform::EndpointConnection accepted) : endpoint(std::move(accepted)) {}

    // Declared first, so the notifier that watches it goes before it.
    platform::EndpointConnection endpoint;
    std::unique_ptr<QSocketNotifier> notifier;
    std::unique_ptr<QTimer> deadline;
    platform::MessageReader reader;
    bool ended = false;    // the sender will send nothing more
    bool awaiting = false; // a message is with the handler
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
    listenerNotifier_ = std::make_unique<QSocketNotifier>(listener_.Handle(), QSocketNotifier::Read);
    connect(listenerNotifier_.get(), &QSocketNotifier::activated, this, [this] { acceptConnections(); });
}

void HandOverEndpoint::acceptConnections()
{
    for (std::size_t turn = 0; turn < kAcceptedAtOnce; ++turn) {
        auto replaced = connections_.end();
        if (connections_.size() >= kMostConnections) {
            replaced = std::find_if(connections_.begin(), connections_.end(),
                                    [](const auto& held) { return !held.second->awaiting; });
            if (replaced == connections_.end()) {
                // Taken up again when a connection goes.
                listenerNotifier_->setEnabled(false);
                return;
            }
        }
        std::optional<platform::EndpointConnection> accepted;
        if (listener_.Accept(accepted) != 0)
            return;
        if (replaced != connections_.end())
            drop(replaced->first);
        const std::uint64_t id = nextId_++;
        auto connection = std::make_unique<Connection>(std::move(*accepted));
        connection->notifier = std::make_unique<QSocketNotifier>(connection->endpoint.Handle(), QSocketNotifier::Read);
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
    switch (connection.endpoint.ReceiveInto(connection.reader, kMostBuffered)) {
    case platform::EndpointConnection::Received::Open:
        break;
    case platform::EndpointConnection::Received::Overfull:
        // A sender may queue a message behind the one being handled, not an endless stream.
        return drop(id);
    case platform::EndpointConnection::Received::Ended:
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
    if (message->oversized || message->cutShort) {
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
    // A sender that stopped reading loses its answer.
    if (connection.endpoint.Answer(result) != 0) {
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
