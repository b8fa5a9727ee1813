#pragma once

#include <chrono>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QString>

namespace tarvo {

// Sends a method call and waits for its answer. The wait blocks the event loop on purpose: the
// countdown must not tick into a second request while polkit asks for a password.
QDBusMessage callAndWait(const QDBusConnection& bus, const QDBusMessage& call, std::chrono::milliseconds timeout);

// "message (error name)" of an error reply, for the reasons shown to the user.
QString describeDBusError(const QDBusMessage& reply);

bool isErrorReply(const QDBusMessage& reply);

} // namespace tarvo
