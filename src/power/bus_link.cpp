#include "power/bus_link.h"

namespace tarvo {

BusLink::BusLink(Connect connect)
    : m_connect(std::move(connect))
{
}

BusLink::~BusLink()
{
    if (m_connection)
        QDBusConnection::disconnectFromBus(m_connection->name());
}

QDBusConnection BusLink::connection()
{
    if (!m_connection || !m_connection->isConnected())
        reconnect();
    return *m_connection;
}

void BusLink::reconnect()
{
    if (m_connection)
        QDBusConnection::disconnectFromBus(m_connection->name());
    m_connection = m_connect();
}

void BusLink::call(
    const QDBusMessage& message, std::chrono::milliseconds timeout, QObject* context, ReplyHandler onReply)
{
    const bool fresh = !m_connection || !m_connection->isConnected();
    callAsync(connection(), message, timeout, context,
        [this, fresh, message, timeout, context, onReply = std::move(onReply)](const QDBusMessage& reply) {
            // The bus went away after the connection was last seen alive: one more try on a new one.
            if (fresh || reply.errorName() != QLatin1String("org.freedesktop.DBus.Error.Disconnected")) {
                onReply(reply);
                return;
            }
            reconnect();
            callAsync(*m_connection, message, timeout, context, onReply);
        });
}

QDBusConnection connectAnew(QDBusConnection::BusType type)
{
    static int opened = 0;
    const QString kind = type == QDBusConnection::SystemBus ? QStringLiteral("system") : QStringLiteral("session");
    return QDBusConnection::connectToBus(type, QStringLiteral("tarvo-%1-%2").arg(kind).arg(++opened));
}

} // namespace tarvo
