#include "app/single_instance.h"

#include <algorithm>
#include <utility>

#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusReply>
#include <QDBusVirtualObject>
#include <QDeadlineTimer>

#include "app/remote_control.h"

namespace tarvo {
namespace {

// A running Tarvo answers at once; one that is still starting may first finish its window.
constexpr int kAnswerMs = 10000;

const QString kStartsAnyway = QStringLiteral(" Tarvo startet trotzdem.");

QString noCountdown()
{
    return QStringLiteral("Es läuft kein Countdown.");
}

} // namespace

// The object a later start talks to. Each call is answered in the thread that runs the window.
class InstanceObject final : public QDBusVirtualObject {
public:
    explicit InstanceObject(QString name)
        : m_name(std::move(name))
    {
    }

    RemoteControl* control = nullptr;

    QString introspect(const QString&) const override
    {
        return QStringLiteral("<interface name=\"%1\">"
                              "<method name=\"Activate\"/>"
                              "<method name=\"Status\"><arg name=\"armed\" type=\"b\" direction=\"out\"/>"
                              "<arg name=\"line\" type=\"s\" direction=\"out\"/></method>"
                              "<method name=\"Cancel\"><arg name=\"cancelled\" type=\"b\" direction=\"out\"/>"
                              "<arg name=\"line\" type=\"s\" direction=\"out\"/></method>"
                              "<method name=\"Add\"><arg name=\"minutes\" type=\"u\" direction=\"in\"/>"
                              "<arg name=\"added\" type=\"b\" direction=\"out\"/>"
                              "<arg name=\"line\" type=\"s\" direction=\"out\"/></method>"
                              "</interface>")
            .arg(m_name);
    }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        if (!message.interface().isEmpty() && message.interface() != m_name)
            return false;
        const QString member = message.member();
        const QString signature = message.signature();
        QDBusMessage reply;
        if (member == QLatin1String("Activate") && signature.isEmpty()) {
            if (control)
                control->comeForward();
            reply = message.createReply();
        } else if (member == QLatin1String("Status") && signature.isEmpty()) {
            const RemoteControl::Status status = control ? control->status() : RemoteControl::Status {};
            reply = message.createReply({ status.armed, status.armed ? status.line : noCountdown() });
        } else if (member == QLatin1String("Cancel") && signature.isEmpty()) {
            const bool cancelled = control && control->cancel();
            reply = message.createReply(
                { cancelled, cancelled ? QStringLiteral("Der Countdown wurde abgebrochen.") : noCountdown() });
        } else if (member == QLatin1String("Add") && signature == QLatin1String("u")) {
            const uint minutes = message.arguments().constFirst().toUInt();
            if (minutes < 1 || minutes > uint(kMaxAddMinutes)) {
                reply = message.createErrorReply(
                    QDBusError::InvalidArgs, QStringLiteral("minutes must be 1 to %1").arg(kMaxAddMinutes));
            } else {
                const bool added = control && control->add(int(minutes));
                reply = message.createReply({ added, added ? control->status().line : noCountdown() });
            }
        } else {
            return false;
        }
        connection.send(reply);
        return true;
    }

private:
    QString m_name;
};

QString instancePath(const QString& name)
{
    return QLatin1Char('/') + QString(name).replace(QLatin1Char('.'), QLatin1Char('/'));
}

QDBusMessage callInstance(const QDBusConnection& bus, const QString& name, const QString& method,
    const QVariantList& arguments, int timeoutMs)
{
    QDBusMessage call = QDBusMessage::createMethodCall(name, instancePath(name), name, method);
    call.setArguments(arguments);
    return bus.call(call, QDBus::BlockWithGui, timeoutMs);
}

SingleInstance::SingleInstance(QDBusConnection bus, QString name)
    : m_bus(std::move(bus))
    , m_name(std::move(name))
    , m_object(std::make_unique<InstanceObject>(m_name))
{
}

SingleInstance::~SingleInstance()
{
    m_bus.unregisterObject(instancePath(m_name));
    if (m_owner)
        m_bus.interface()->unregisterService(m_name);
}

void SingleInstance::serve(RemoteControl* control)
{
    m_object->control = control;
}

SingleInstance::Claim SingleInstance::claim()
{
    if (!m_bus.isConnected()) {
        m_warning = QStringLiteral("tarvo: Kein Session-Bus erreichbar (%1): ob Tarvo schon läuft, lässt sich "
                                   "nicht prüfen.")
                        .arg(m_bus.lastError().message())
            + kStartsAnyway;
        return Claim::Unchecked;
    }
    // The object is there before the name, so that whoever finds the name finds it answering.
    m_bus.registerVirtualObject(instancePath(m_name), m_object.get());
    const QDeadlineTimer deadline(kAnswerMs);
    for (;;) {
        const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply = m_bus.interface()->registerService(
            m_name, QDBusConnectionInterface::DontQueueService, QDBusConnectionInterface::DontAllowReplacement);
        if (!reply.isValid()) {
            m_warning = QStringLiteral("tarvo: Der Session-Bus vergibt den Namen %1 nicht (%2): ob Tarvo schon "
                                       "läuft, lässt sich nicht prüfen.")
                            .arg(m_name, reply.error().message())
                + kStartsAnyway;
            return Claim::Unchecked;
        }
        if (reply.value() == QDBusConnectionInterface::ServiceRegistered) {
            m_owner = true;
            return Claim::First;
        }
        const QDBusMessage answer = callInstance(
            m_bus, m_name, QStringLiteral("Activate"), {}, int(std::max<qint64>(1, deadline.remainingTime())));
        if (answer.type() == QDBusMessage::ReplyMessage)
            return Claim::Forwarded;
        // The owner ended between the two steps: the name is free again.
        const QString error = answer.errorName();
        if ((error == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown")
                || error == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner"))
            && !deadline.hasExpired())
            continue;
        m_warning = QStringLiteral("tarvo: Der laufende Tarvo antwortet nicht (%1).").arg(answer.errorMessage())
            + kStartsAnyway;
        return Claim::Unchecked;
    }
}

} // namespace tarvo
