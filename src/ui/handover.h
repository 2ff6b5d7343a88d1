// The running instance's end of the hand-over: the endpoint a second start of the program sends its
// command line to, served between the window's other events. The platform's listener does the socket work;
// this is its glue to Qt's event loop.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/instance.h"

#include <QObject>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

class QSocketNotifier;
class QTimer;

namespace tazen {

class HandOverEndpoint : public QObject
{
    Q_OBJECT

public:
    // Gives the message result. May be called later, after the handler has returned; a sender that has
    // gone by then is not answered.
    using Reply = std::function<void(std::uint32_t result)>;
    // Each message of a connection is handed over only after the one before it was answered.
    using Handler = std::function<void(const platform::WindowMessage& message, Reply reply)>;

    explicit HandOverEndpoint(Handler handler, QObject* parent = nullptr);
    ~HandOverEndpoint() override;

    // Serves the connections of a listening endpoint, those already waiting first.
    void Serve(platform::EndpointListener listener);

private:
    struct Connection;

    void acceptConnections();
    void readFrom(std::uint64_t id);
    void handleNext(std::uint64_t id);
    void answer(std::uint64_t id, std::uint32_t result);
    void drop(std::uint64_t id);

    Handler handler_;
    platform::EndpointListener listener_;
    std::unique_ptr<QSocketNotifier> listenerNotifier_;
    std::map<std::uint64_t, std::unique_ptr<Connection>> connections_;
    std::uint64_t nextId_ = 1;
};

} // namespace tazen
