#pragma once

#include <chrono>
#include <functional>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QString>

class QObject;

namespace tarvo {

using ReplyHandler = std::function<void(const QDBusMessage&)>;

// Sends a method call without waiting. onReply runs on the event loop with the answer, or with an
// error message when none came within the timeout or the bus is not there. It never runs once
// context is destroyed.
void callAsync(const QDBusConnection& bus, const QDBusMessage& call, std::chrono::milliseconds timeout,
    QObject* context, ReplyHandler onReply);

// "message (error name)" of an error reply, for the reasons shown to the user.
QString describeDBusError(const QDBusMessage& reply);

bool isErrorReply(const QDBusMessage& reply);

} // namespace tarvo
