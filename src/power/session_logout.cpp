#include "power/session_logout.h"

#include <QDBusMessage>
#include <QStringList>

#include "power/dbus_call.h"

namespace tarvo {

enum class LogoutArgs { None, GnomeNoConfirmation, XfceNoDialog };

// One desktop's session manager and how its log-out is asked for.
struct SessionManager {
    const char* service;
    const char* path;
    const char* interface;
    const char* method;
    LogoutArgs args;
    bool replies; // LXQt declares its logout as no-reply
    const char* desktop; // the XDG_CURRENT_DESKTOP entry under which it may be started on demand
};

namespace {

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

bool runsOnDesktop(const char* desktop)
{
    const QStringList current = qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(u':', Qt::SkipEmptyParts);
    return current.contains(QString::fromLatin1(desktop), Qt::CaseInsensitive);
}

QDBusMessage busDriverCall(const QString& method)
{
    return QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                                          QStringLiteral("org.freedesktop.DBus"), method);
}

} // namespace

SessionLogout::SessionLogout(BusLink::Connect sessionBus, std::chrono::milliseconds callTimeout, QObject* context)
    : m_bus(std::move(sessionBus))
    , m_timeout(callTimeout)
    , m_context(context)
{
}

void SessionLogout::logOut(const Done& done)
{
    // The running session managers first; Plasma starts its log-out helper on demand, but starting
    // one of another desktop's helpers inside a foreign session would do harm, so only the running
    // desktop's own is started.
    m_bus.call(busDriverCall(QStringLiteral("ListNames")), m_timeout, m_context, [this, done](const QDBusMessage& names) {
        if (isErrorReply(names)) {
            done(std::nullopt);
            return;
        }
        const QStringList running = names.arguments().value(0).toStringList();
        m_bus.call(busDriverCall(QStringLiteral("ListActivatableNames")), m_timeout, m_context,
                   [this, done, running](const QDBusMessage& startable) {
                       const QStringList activatable = startable.arguments().value(0).toStringList();
                       auto candidates = std::make_shared<std::vector<const SessionManager*>>();
                       for (const SessionManager& manager : kSessionManagers) {
                           if (running.contains(QString::fromLatin1(manager.service)))
                               candidates->push_back(&manager);
                       }
                       for (const SessionManager& manager : kSessionManagers) {
                           if (runsOnDesktop(manager.desktop) && !running.contains(QString::fromLatin1(manager.service))
                               && activatable.contains(QString::fromLatin1(manager.service)))
                               candidates->push_back(&manager);
                       }
                       tryFrom(std::move(candidates), 0, done);
                   });
    });
}

void SessionLogout::tryFrom(const Candidates& candidates, std::size_t index, const Done& done)
{
    if (index >= candidates->size()) {
        done(std::nullopt);
        return;
    }
    askToLogOut(*(*candidates)[index], [this, candidates, index, done](const std::optional<PowerOutcome>& outcome) {
        if (outcome)
            done(outcome);
        else
            tryFrom(candidates, index + 1, done);
    });
}

void SessionLogout::askToLogOut(const SessionManager& manager, const Done& done)
{
    if (!manager.replies) {
        QDBusConnection bus = m_bus.connection();
        if (!bus.send(logoutCall(manager))) {
            done(logoutFailed(bus.lastError().message()));
            return;
        }
        // Messages of one connection arrive in order: once the bus has answered this, it has taken
        // the log-out too, and the program may end right away without losing it.
        callAsync(bus, busDriverCall(QStringLiteral("GetId")), m_timeout, m_context, [done](const QDBusMessage& pong) {
            done(isErrorReply(pong) ? logoutFailed(describeDBusError(pong)) : PowerOutcome::success());
        });
        return;
    }
    m_bus.call(logoutCall(manager), m_timeout, m_context, [done](const QDBusMessage& reply) {
        if (!isErrorReply(reply))
            done(PowerOutcome::success());
        else if (meansNotThere(reply.errorName()))
            done(std::nullopt);
        else
            done(logoutFailed(describeDBusError(reply)));
    });
}

} // namespace tarvo
