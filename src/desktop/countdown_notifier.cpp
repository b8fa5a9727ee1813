#include "desktop/countdown_notifier.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QStringList>
#include <QVariantMap>

namespace tarvo {

namespace {

const QString Service = QStringLiteral("org.freedesktop.Notifications");
const QString Path = QStringLiteral("/org/freedesktop/Notifications");
const QString Interface = QStringLiteral("org.freedesktop.Notifications");
const QString CancelAction = QStringLiteral("cancel");
const QString ExtendAction = QStringLiteral("extend");
const QString DefaultAction = QStringLiteral("default");
constexpr int CallTimeoutMs = 10000;

} // namespace

CountdownNotifier::CountdownNotifier(QDBusConnection sessionBus, QObject* parent)
    : QObject(parent)
    , m_bus(std::move(sessionBus))
{
    m_bus.connect(Service, Path, Interface, QStringLiteral("ActionInvoked"), this,
        SLOT(onActionInvoked(uint, QString)));
    m_bus.connect(Service, Path, Interface, QStringLiteral("NotificationClosed"), this, SLOT(onClosed(uint, uint)));
}

CountdownNotifier::~CountdownNotifier()
{
    close();
}

void CountdownNotifier::show(const QString& summary, const QString& body)
{
    m_summary = summary;
    m_body = body;
    m_wanted = true;
    if (m_pending)
        m_dirty = true; // sent once the id to replace is known
    else
        notify();
}

void CountdownNotifier::close()
{
    m_wanted = false;
    m_dirty = false;
    if (m_id == 0)
        return; // a pending Notify is closed when its id arrives
    QDBusMessage message = QDBusMessage::createMethodCall(Service, Path, Interface, QStringLiteral("CloseNotification"));
    message.setArguments({m_id});
    m_bus.send(message);
    m_id = 0;
}

void CountdownNotifier::notify()
{
    QDBusMessage message = QDBusMessage::createMethodCall(Service, Path, Interface, QStringLiteral("Notify"));
    const QStringList actions{DefaultAction, QStringLiteral("Tarvo zeigen"), CancelAction, QStringLiteral("Abbrechen"),
        ExtendAction, QStringLiteral("+10 Minuten")};
    // Critical urgency keeps it on screen until the user acts: the action is minutes away.
    const QVariantMap hints{{QStringLiteral("urgency"), QVariant::fromValue<uchar>(2)},
        {QStringLiteral("desktop-entry"), QStringLiteral("tarvo")}};
    message.setArguments({QStringLiteral("Tarvo"), m_id, QStringLiteral("tarvo"), m_summary, m_body, actions, hints, -1});
    m_pending = true;
    m_dirty = false;
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(message, CallTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher] {
        watcher->deleteLater();
        m_pending = false;
        const QDBusMessage reply = watcher->reply();
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
            return; // no notification server
        m_id = reply.arguments().constFirst().toUInt();
        if (!m_wanted)
            close();
        else if (m_dirty)
            notify();
    });
}

void CountdownNotifier::onActionInvoked(uint id, const QString& action)
{
    if (id == 0 || id != m_id)
        return; // another program's notification
    if (action == CancelAction)
        emit cancelRequested();
    else if (action == ExtendAction)
        emit extendRequested();
    else if (action == DefaultAction)
        emit windowRequested();
}

void CountdownNotifier::onClosed(uint id, uint /*reason*/)
{
    if (id != 0 && id == m_id)
        m_id = 0; // gone: the next show starts a new one
}

} // namespace tarvo
