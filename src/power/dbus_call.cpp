#include "power/dbus_call.h"

namespace tarvo {

QDBusMessage callAndWait(const QDBusConnection& bus, const QDBusMessage& call, std::chrono::milliseconds timeout)
{
    return bus.call(call, QDBus::Block, static_cast<int>(timeout.count()));
}

QString describeDBusError(const QDBusMessage& reply)
{
    if (reply.type() != QDBusMessage::ErrorMessage)
        return QStringLiteral("unerwartete Antwort vom D-Bus");
    if (reply.errorMessage().isEmpty())
        return reply.errorName();
    return QStringLiteral("%1 (%2)").arg(reply.errorMessage(), reply.errorName());
}

bool isErrorReply(const QDBusMessage& reply)
{
    return reply.type() != QDBusMessage::ReplyMessage;
}

} // namespace tarvo
