#include "power/logind_power.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QStringList>

#include "power/dbus_call.h"

namespace tarvo {

namespace {

const QString kService = QStringLiteral("org.freedesktop.login1");
const QString kManagerPath = QStringLiteral("/org/freedesktop/login1");
const QString kManager = QStringLiteral("org.freedesktop.login1.Manager");

QDBusMessage managerCall(const QString& method)
{
    return QDBusMessage::createMethodCall(kService, kManagerPath, kManager, method);
}

PowerOutcome failed(const QString& what, const QString& detail)
{
    return PowerOutcome::failure(QStringLiteral("%1: %2").arg(what, detail));
}

const QString kPowerOffFailed = QStringLiteral("Der Rechner konnte nicht ausgeschaltet werden");
const QString kLogoutFailed = QStringLiteral("Die Abmeldung ist fehlgeschlagen");

struct Inhibitor {
    QString what; // colon-separated, e.g. "shutdown:sleep"
    QString who;
    QString why;
    QString mode; // "block" or "delay"
};

// ListInhibitors answers a(ssssuu): what, who, why, mode, uid, pid.
std::optional<QList<Inhibitor>> readInhibitors(const QDBusMessage& reply)
{
    if (reply.signature() != QLatin1String("a(ssssuu)"))
        return std::nullopt;
    QList<Inhibitor> inhibitors;
    const QDBusArgument list = reply.arguments().constFirst().value<QDBusArgument>();
    list.beginArray();
    while (!list.atEnd()) {
        Inhibitor inhibitor;
        uint uid = 0;
        uint pid = 0;
        list.beginStructure();
        list >> inhibitor.what >> inhibitor.who >> inhibitor.why >> inhibitor.mode >> uid >> pid;
        list.endStructure();
        inhibitors.append(inhibitor);
    }
    list.endArray();
    return inhibitors;
}

bool blocksShutdown(const Inhibitor& inhibitor)
{
    return inhibitor.mode == QLatin1String("block") && inhibitor.what.split(u':').contains(QLatin1String("shutdown"));
}

QString describeBlocker(const Inhibitor& inhibitor)
{
    if (inhibitor.why.isEmpty())
        return QStringLiteral("„%1“").arg(inhibitor.who);
    return QStringLiteral("„%1“ (%2)").arg(inhibitor.who, inhibitor.why);
}

} // namespace

LogindPower::LogindPower(QDBusConnection systemBus, QDBusConnection sessionBus, std::chrono::milliseconds callTimeout)
    : m_system(std::move(systemBus))
    , m_sessionLogout(std::move(sessionBus), callTimeout)
    , m_timeout(callTimeout)
{
}

PowerOutcome LogindPower::request(PowerCode code)
{
    switch (code) {
    case power_code::LogOff:
        if (auto outcome = m_sessionLogout.logOut())
            return *outcome;
        return terminateOwnSession();
    case power_code::Shutdown:
        // Plain shut down respects programs that asked logind to hold it off (a burner, an
        // update): logind lets a caller override them whenever polkit allows it, for root always.
        if (auto refusal = refuseWhenShutdownBlocked())
            return *refusal;
        return callManager(QStringLiteral("PowerOff"), kPowerOffFailed);
    case power_code::PowerOff:
        // Forced: logind and polkit decide what may override an inhibitor.
        return callManager(QStringLiteral("PowerOff"), kPowerOffFailed);
    case power_code::Restart:
        return callManager(QStringLiteral("Reboot"), QStringLiteral("Der Rechner konnte nicht neu gestartet werden"));
    case power_code::Standby:
        return callManager(
            QStringLiteral("Suspend"), QStringLiteral("Der Rechner konnte nicht in den Standby versetzt werden"));
    case power_code::Hibernate:
        return callManager(
            QStringLiteral("Hibernate"), QStringLiteral("Der Rechner konnte nicht in den Ruhezustand versetzt werden"));
    default:
        break;
    }
    if (code < 0 || code > 9)
        return PowerOutcome::failure(QStringLiteral("Reboot Fehler"));
    return PowerOutcome::failure(QStringLiteral("Die Aktion mit dem Code %1 gibt es unter Linux nicht.").arg(code));
}

PowerOutcome LogindPower::callManager(const QString& method, const QString& failure) const
{
    QDBusMessage call = managerCall(method);
    call << true; // interactive: polkit may ask the user
    call.setInteractiveAuthorizationAllowed(true);
    const QDBusMessage reply = callAndWait(m_system, call, m_timeout);
    if (isErrorReply(reply))
        return failed(failure, describeDBusError(reply));
    return PowerOutcome::success();
}

std::optional<PowerOutcome> LogindPower::refuseWhenShutdownBlocked() const
{
    const QDBusMessage reply = callAndWait(m_system, managerCall(QStringLiteral("ListInhibitors")), m_timeout);
    // Without the list we cannot tell whether shutting down would destroy someone's work.
    if (isErrorReply(reply))
        return failed(kPowerOffFailed, describeDBusError(reply));
    const auto inhibitors = readInhibitors(reply);
    if (!inhibitors)
        return failed(
            kPowerOffFailed, QStringLiteral("unerwartete Antwort von ListInhibitors (%1)").arg(reply.signature()));

    QStringList blockers;
    for (const Inhibitor& inhibitor : *inhibitors) {
        if (blocksShutdown(inhibitor))
            blockers.append(describeBlocker(inhibitor));
    }
    if (blockers.isEmpty())
        return std::nullopt;
    return PowerOutcome::failure(
        QStringLiteral("Der Rechner wird nicht ausgeschaltet, weil %1 das Herunterfahren blockiert.")
            .arg(blockers.join(QStringLiteral(", "))));
}

PowerOutcome LogindPower::terminateOwnSession() const
{
    QDBusMessage byPid = managerCall(QStringLiteral("GetSessionByPID"));
    byPid << quint32(QCoreApplication::applicationPid());
    QDBusMessage found = callAndWait(m_system, byPid, m_timeout);

    // Started outside the session (e.g. by a user service): the login environment still names it.
    const QString sessionId = qEnvironmentVariable("XDG_SESSION_ID");
    if (isErrorReply(found) && !sessionId.isEmpty()) {
        QDBusMessage byId = managerCall(QStringLiteral("GetSession"));
        byId << sessionId;
        found = callAndWait(m_system, byId, m_timeout);
    }
    if (isErrorReply(found))
        return failed(
            kLogoutFailed, QStringLiteral("die eigene Sitzung wurde nicht gefunden: %1").arg(describeDBusError(found)));

    const QString session = found.arguments().value(0).value<QDBusObjectPath>().path();
    if (session.isEmpty())
        return failed(kLogoutFailed, QStringLiteral("logind nannte keine Sitzung"));

    const QDBusMessage terminate = QDBusMessage::createMethodCall(
        kService, session, QStringLiteral("org.freedesktop.login1.Session"), QStringLiteral("Terminate"));
    const QDBusMessage reply = callAndWait(m_system, terminate, m_timeout);
    if (isErrorReply(reply))
        return failed(kLogoutFailed, describeDBusError(reply));
    return PowerOutcome::success();
}

} // namespace tarvo
