#include "power/session_logout.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QStringList>

#include "power/dbus_call.h"

namespace tarvo {

namespace {

enum class LogoutArgs { None, GnomeNoConfirmation, XfceNoDialog };

struct SessionManager {
    const char* service;
    const char* path;
    const char* interface;
    const char* method;
    LogoutArgs args;
    bool replies; // LXQt declares its logout as no-reply
    const char* desktop; // the XDG_CURRENT_DESKTOP entry under which it may be started on demand
};

// In the order they are tried. MATE and Cinnamon answer on GNOME's interface.
constexpr SessionManager kSessionManagers[] = {
    { "org.gnome.SessionManager", "/org/gnome/SessionManager", "org.gnome.SessionManager", "Logout",
        LogoutArgs::GnomeNoConfirmation, true, "GNOME" },
    { "org.kde.Shutdown", "/Shutdown", "org.kde.Shutdown", "logout", LogoutArgs::None, true, "KDE" },
    { "org.xfce.SessionManager", "/org/xfce/SessionManager", "org.xfce.SessionManager", "Logout",
        LogoutArgs::XfceNoDialog, true, "XFCE" },
    { "org.lxqt.session", "/LXQtSession", "org.lxqt.session", "logout", LogoutArgs::None, false, "LXQt" },
};

QDBusMessage logoutCall(const SessionManager& manager)
{
    QDBusMessage call = QDBusMessage::createMethodCall(QString::fromLatin1(manager.service),
        QString::fromLatin1(manager.path), QString::fromLatin1(manager.interface), QString::fromLatin1(manager.method));
    switch (manager.args) {
    case LogoutArgs::None:
        break;
    case LogoutArgs::GnomeNoConfirmation:
        call << quint32(1);
        break;
    case LogoutArgs::XfceNoDialog:
        call << false /* show_dialog */ << true /* allow_save */;
        break;
    }
    return call;
}

// Errors that mean "not the session manager we took it for": try the next one instead.
bool meansNotThere(const QString& errorName)
{
    static const QStringList names = {
        QStringLiteral("org.freedesktop.DBus.Error.ServiceUnknown"),
        QStringLiteral("org.freedesktop.DBus.Error.NameHasNoOwner"),
        QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"),
        QStringLiteral("org.freedesktop.DBus.Error.UnknownObject"),
        QStringLiteral("org.freedesktop.DBus.Error.UnknownInterface"),
    };
    return names.contains(errorName);
}

PowerOutcome logoutFailed(const QString& detail)
{
    return PowerOutcome::failure(QStringLiteral("Die Abmeldung ist fehlgeschlagen: %1").arg(detail));
}

std::optional<PowerOutcome> askToLogOut(
    const QDBusConnection& bus, const SessionManager& manager, std::chrono::milliseconds timeout)
{
    if (!manager.replies) {
        if (!bus.send(logoutCall(manager)))
            return logoutFailed(bus.lastError().message());
        // Messages of one connection arrive in order: once the bus has answered this, it has taken
        // the log-out too, and the program may end right away without losing it.
        const QDBusMessage ping = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
            QStringLiteral("/org/freedesktop/DBus"), QStringLiteral("org.freedesktop.DBus"), QStringLiteral("GetId"));
        const QDBusMessage pong = callAndWait(bus, ping, timeout);
        if (isErrorReply(pong))
            return logoutFailed(describeDBusError(pong));
        return PowerOutcome::success();
    }

    const QDBusMessage reply = callAndWait(bus, logoutCall(manager), timeout);
    if (!isErrorReply(reply))
        return PowerOutcome::success();
    if (meansNotThere(reply.errorName()))
        return std::nullopt;
    return logoutFailed(describeDBusError(reply));
}

bool runsOnDesktop(const char* desktop)
{
    const QStringList current = qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(u':', Qt::SkipEmptyParts);
    return current.contains(QString::fromLatin1(desktop), Qt::CaseInsensitive);
}

} // namespace

SessionLogout::SessionLogout(QDBusConnection sessionBus, std::chrono::milliseconds callTimeout)
    : m_bus(std::move(sessionBus))
    , m_timeout(callTimeout)
{
}

std::optional<PowerOutcome> SessionLogout::logOut() const
{
    if (!m_bus.isConnected())
        return std::nullopt;
    QDBusConnectionInterface* busDriver = m_bus.interface();
    if (!busDriver)
        return std::nullopt;

    for (const SessionManager& manager : kSessionManagers) {
        if (!busDriver->isServiceRegistered(QString::fromLatin1(manager.service)).value())
            continue;
        if (auto outcome = askToLogOut(m_bus, manager, m_timeout))
            return outcome;
    }

    // Plasma starts its log-out helper on demand; starting one of another desktop's helpers inside
    // a foreign session would do harm, so only the running desktop's own is started.
    const QStringList activatable = busDriver->activatableServiceNames().value();
    for (const SessionManager& manager : kSessionManagers) {
        if (!runsOnDesktop(manager.desktop) || !activatable.contains(QString::fromLatin1(manager.service)))
            continue;
        if (auto outcome = askToLogOut(m_bus, manager, m_timeout))
            return outcome;
    }
    return std::nullopt;
}

} // namespace tarvo
