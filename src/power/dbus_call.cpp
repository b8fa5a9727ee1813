#include "power/dbus_call.h"

#include <QDBusPendingCallWatcher>
#include <QMetaObject>

namespace tarvo {

void callAsync(const QDBusConnection& bus, const QDBusMessage& call, std::chrono::milliseconds timeout,
    QObject* context, ReplyHandler onReply)
{
    const QDBusPendingCall pending = bus.asyncCall(call, static_cast<int>(timeout.count()));
    // Without a connection there is nothing to watch and no watcher would ever report; the answer
    // comes on the event loop all the same, so callers see one order of events.
    if (pending.isFinished()) {
        QMetaObject::invokeMethod(
            context, [onReply = std::move(onReply), reply = pending.reply()] { onReply(reply); }, Qt::QueuedConnection);
        return;
    }
    auto* watcher = new QDBusPendingCallWatcher(pending, context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
        [onReply = std::move(onReply)](QDBusPendingCallWatcher* finished) {
            finished->deleteLater();
            onReply(finished->reply());
        });
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
