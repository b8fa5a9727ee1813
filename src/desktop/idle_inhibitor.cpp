#include "desktop/idle_inhibitor.h"

#include <array>

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QVariantMap>

namespace tarvo {

namespace {

constexpr int CallTimeoutMs = 10000;
const QString AppName = QStringLiteral("Tarvo");
// "Suspend" in both the session manager's and the portal's flags: the session is kept from being
// suspended on idle, while the screen may still blank and lock ("Idle", 8, would keep it lit).
constexpr std::uint32_t SuspendFlag = 4;

struct DesktopService {
    IdleInhibitor::Desktop desktop;
    const char* service;
    const char* path;
    const char* interface;
    const char* releaseMethod; // with the cookie; the portal closes its request object instead
};

// gnome-settings-daemon skips the idle suspend while gnome-session lists a Suspend inhibitor;
// KDE's PowerDevil and xfce4-power-manager skip it while org.freedesktop.PowerManagement.Inhibit
// holds one. The portal comes last: it answers with a handle before its back end has decided.
constexpr std::array<DesktopService, 3> DesktopServices{{
    {IdleInhibitor::Desktop::GnomeSession, "org.gnome.SessionManager", "/org/gnome/SessionManager",
        "org.gnome.SessionManager", "Uninhibit"},
    {IdleInhibitor::Desktop::PowerManagement, "org.freedesktop.PowerManagement",
        "/org/freedesktop/PowerManagement/Inhibit", "org.freedesktop.PowerManagement.Inhibit", "UnInhibit"},
    {IdleInhibitor::Desktop::Portal, "org.freedesktop.portal.Desktop", "/org/freedesktop/portal/desktop",
        "org.freedesktop.portal.Inhibit", nullptr},
}};

QVariantList inhibitArguments(IdleInhibitor::Desktop desktop, const QString& reason)
{
    switch (desktop) {
    case IdleInhibitor::Desktop::GnomeSession:
        return {AppName, 0U, reason, SuspendFlag}; // 0: no toplevel window
    case IdleInhibitor::Desktop::PowerManagement:
        return {AppName, reason};
    case IdleInhibitor::Desktop::Portal:
        return {QString(), SuspendFlag, QVariantMap{{QStringLiteral("reason"), reason}}};
    }
    return {};
}

} // namespace

IdleInhibitor::IdleInhibitor(QDBusConnection systemBus, QDBusConnection sessionBus, QString reason, QObject* parent)
    : QObject(parent)
    , m_system(std::move(systemBus))
    , m_session(std::move(sessionBus))
    , m_reason(std::move(reason))
{
}

IdleInhibitor::~IdleInhibitor()
{
    release();
}

void IdleInhibitor::hold()
{
    if (m_wanted)
        return;
    m_wanted = true;
    ++m_generation;
    holdLogind(m_generation);
    holdDesktop(0, m_generation);
}

void IdleInhibitor::release()
{
    if (!m_wanted)
        return;
    m_wanted = false;
    ++m_generation;
    m_logindFd = QDBusUnixFileDescriptor();
    if (m_desktopHold)
        dropDesktop(*m_desktopHold);
    m_desktopHold.reset();
    emitWhenSettled();
}

void IdleInhibitor::emitWhenSettled()
{
    if (isSettled())
        emit settled();
}

void IdleInhibitor::holdLogind(std::uint64_t generation)
{
    QDBusMessage message = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.login1"),
        QStringLiteral("/org/freedesktop/login1"), QStringLiteral("org.freedesktop.login1.Manager"),
        QStringLiteral("Inhibit"));
    message.setArguments({QStringLiteral("idle"), AppName, m_reason, QStringLiteral("block")});
    whenAnswered(m_system.asyncCall(message, CallTimeoutMs), [this, generation](const QDBusMessage& reply) {
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
            return; // no logind: nothing to hold
        // A late answer to a released hold: the descriptor closes when the reply goes.
        if (isCurrent(generation))
            m_logindFd = qvariant_cast<QDBusUnixFileDescriptor>(reply.arguments().constFirst());
    });
}

void IdleInhibitor::holdDesktop(int index, std::uint64_t generation)
{
    if (index >= static_cast<int>(DesktopServices.size()))
        return;
    const DesktopService& service = DesktopServices[static_cast<std::size_t>(index)];
    QDBusMessage message = QDBusMessage::createMethodCall(QString::fromLatin1(service.service),
        QString::fromLatin1(service.path), QString::fromLatin1(service.interface), QStringLiteral("Inhibit"));
    message.setArguments(inhibitArguments(service.desktop, m_reason));
    ++m_desktopCalls;
    whenAnswered(m_session.asyncCall(message, CallTimeoutMs), [this, index, generation](const QDBusMessage& reply) {
        --m_desktopCalls;
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
            if (isCurrent(generation))
                holdDesktop(index + 1, generation);
            emitWhenSettled();
            return;
        }
        DesktopHold hold{DesktopServices[static_cast<std::size_t>(index)].desktop, 0, {}};
        const QVariant answer = reply.arguments().constFirst();
        if (hold.desktop == Desktop::Portal)
            hold.requestPath = qvariant_cast<QDBusObjectPath>(answer).path();
        else
            hold.cookie = answer.toUInt();
        if (isCurrent(generation))
            m_desktopHold = hold;
        else
            dropDesktop(hold);
        emitWhenSettled();
    });
}

void IdleInhibitor::whenAnswered(const QDBusPendingCall& call, std::function<void(const QDBusMessage&)> done)
{
    auto* watcher = new QDBusPendingCallWatcher(call, this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [watcher, done = std::move(done)] {
        watcher->deleteLater();
        done(watcher->reply());
    });
}

void IdleInhibitor::dropDesktop(const DesktopHold& hold)
{
    const DesktopService& service = DesktopServices[static_cast<std::size_t>(hold.desktop)];
    QDBusMessage message;
    if (hold.desktop == Desktop::Portal) {
        if (hold.requestPath.isEmpty())
            return;
        message = QDBusMessage::createMethodCall(QString::fromLatin1(service.service), hold.requestPath,
            QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Close"));
    } else {
        message = QDBusMessage::createMethodCall(QString::fromLatin1(service.service),
            QString::fromLatin1(service.path), QString::fromLatin1(service.interface),
            QString::fromLatin1(service.releaseMethod));
        message.setArguments({hold.cookie});
    }
    ++m_desktopCalls;
    whenAnswered(m_session.asyncCall(message, CallTimeoutMs), [this](const QDBusMessage&) {
        --m_desktopCalls; // an error leaves nothing more to do
        emitWhenSettled();
    });
}

} // namespace tarvo
