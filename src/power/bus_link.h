#pragma once

#include <chrono>
#include <functional>
#include <optional>

#include <QDBusConnection>

#include "power/dbus_call.h"

namespace tarvo {

// The connection to one bus, made anew when the bus went away since it was opened (a restarted
// dbus-daemon): Qt never revives a connection it has seen drop.
class BusLink {
public:
    using Connect = std::function<QDBusConnection()>;

    // connect opens a connection of its own each time it is called.
    explicit BusLink(Connect connect);
    ~BusLink();
    BusLink(const BusLink&) = delete;
    BusLink& operator=(const BusLink&) = delete;

    // The connection, opened anew if it had dropped.
    QDBusConnection connection();

    // Sends the call without waiting. A call that fails because the connection dropped meanwhile
    // is sent once more on a fresh connection before its failure is reported.
    void call(const QDBusMessage& message, std::chrono::milliseconds timeout, QObject* context, ReplyHandler onReply);

private:
    void reconnect();

    Connect m_connect;
    std::optional<QDBusConnection> m_connection;
};

// A connection of its own to the bus of that type, under a name not used before.
QDBusConnection connectAnew(QDBusConnection::BusType type);

} // namespace tarvo
