#include "power/logind_power.h"

#include <algorithm>
#include <iterator>

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
    const auto list = reply.arguments().constFirst().value<QDBusArgument>();
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

// Plain shut down respects programs that asked logind to hold it off (a burner, an update): logind
// lets a caller override them whenever polkit allows it, for root always.
std::optional<PowerOutcome> refusalWhenShutdownBlocked(const QDBusMessage& reply)
{
    // Without the list we cannot tell whether shutting down would destroy someone's work.
    if (isErrorReply(reply))
        return failed(kPowerOffFailed, describeDBusError(reply));
    const auto inhibitors = readInhibitors(reply);
    if (!inhibitors)
        return failed(kPowerOffFailed,
                      QStringLiteral("unerwartete Antwort von ListInhibitors (%1)").arg(reply.signature()));
    QStringList blockers;
    for (const Inhibitor& inhibitor : *inhibitors) {
        if (blocksShutdown(inhibitor))
            blockers.append(describeBlocker(inhibitor));
    }
    if (blockers.isEmpty())
        return std::nullopt;
    return PowerOutcome::failure(QStringLiteral("Der Rechner wird nicht ausgeschaltet, weil %1 das Herunterfahren blockiert.")
                                     .arg(blockers.join(QStringLiteral(", "))));
}

// logind's question for each code that needs its leave, and the action as the reason names it.
struct AvailabilityQuestion {
    PowerCode code;
    const char* method;
    const char* action;
};
constexpr AvailabilityQuestion kQuestions[] = {
    {power_code::Shutdown, "CanPowerOff", "Das Ausschalten"},
    {power_code::PowerOff, "CanPowerOff", "Das Ausschalten"},
    {power_code::Restart, "CanReboot", "Der Neustart"},
    {power_code::Standby, "CanSuspend", "Der Standby"},
    {power_code::Hibernate, "CanHibernate", "Der Ruhezustand"},
};

} // namespace

LogindPower::LogindPower(BusLink::Connect systemBus, BusLink::Connect sessionBus,
                         std::chrono::milliseconds callTimeout)
    : m_system(std::move(systemBus))
    , m_timeout(callTimeout)
    , m_sessionLogout(std::move(sessionBus), callTimeout, &m_calls)
{
}

void LogindPower::request(PowerCode code, PowerDone done)
{
    switch (code) {
    case power_code::LogOff:
        m_sessionLogout.logOut([this, done](const std::optional<PowerOutcome>& outcome) {
            if (outcome)
                done(*outcome);
            else
                terminateOwnSession(done);
        });
        return;
    case power_code::Shutdown:
        shutDownUnlessBlocked(done);
        return;
    case power_code::PowerOff:
        // Forced: logind and polkit decide what may override an inhibitor.
        callManager(QStringLiteral("PowerOff"), kPowerOffFailed, done);
        return;
    case power_code::Restart:
        callManager(QStringLiteral("Reboot"), QStringLiteral("Der Rechner konnte nicht neu gestartet werden"),
                    done);
        return;
    case power_code::Standby:
        callManager(QStringLiteral("Suspend"),
                    QStringLiteral("Der Rechner konnte nicht in den Standby versetzt werden"), done);
        return;
    case power_code::Hibernate:
        callManager(QStringLiteral("Hibernate"),
                    QStringLiteral("Der Rechner konnte nicht in den Ruhezustand versetzt werden"), done);
        return;
    default:
        break;
    }
    if (code < 0 || code > 9)
        done(PowerOutcome::failure(QStringLiteral("Reboot Fehler")));
    else
        done(PowerOutcome::failure(QStringLiteral("Die Aktion mit dem Code %1 gibt es unter Linux nicht.").arg(code)));
}

PowerAvailability LogindPower::availability(PowerCode code)
{
    const auto question = std::find_if(std::begin(kQuestions), std::end(kQuestions),
                                       [code](const AvailabilityQuestion& q) { return q.code == code; });
    if (question == std::end(kQuestions))
        return PowerAvailability::yes(); // log off needs nobody's leave
    const QDBusMessage reply = m_system.connection().call(managerCall(QString::fromLatin1(question->method)),
                                                          QDBus::Block, int(AvailabilityTimeout.count()));
    const QString answer = reply.arguments().value(0).toString();
    if (answer == QLatin1String("na"))
        return PowerAvailability::no(QStringLiteral("%1 ist auf diesem Rechner nicht verfügbar.")
                                         .arg(QString::fromUtf8(question->action)));
    if (answer == QLatin1String("no"))
        return PowerAvailability::no(QStringLiteral("%1 ist diesem Benutzer auf diesem Rechner nicht erlaubt.")
                                         .arg(QString::fromUtf8(question->action)));
    // "yes", "challenge" (polkit will ask), or no answer at all: the request itself will tell.
    return PowerAvailability::yes();
}

void LogindPower::callManager(const QString& method, const QString& failure, const PowerDone& done)
{
    QDBusMessage call = managerCall(method);
    call << true; // interactive: polkit may ask the user
    call.setInteractiveAuthorizationAllowed(true);
    m_system.call(call, m_timeout, &m_calls, [failure, done](const QDBusMessage& reply) {
        done(isErrorReply(reply) ? failed(failure, describeDBusError(reply)) : PowerOutcome::success());
    });
}

void LogindPower::shutDownUnlessBlocked(const PowerDone& done)
{
    m_system.call(managerCall(QStringLiteral("ListInhibitors")), m_timeout, &m_calls,
                  [this, done](const QDBusMessage& reply) {
                      if (auto refusal = refusalWhenShutdownBlocked(reply))
                          done(*refusal);
                      else
                          callManager(QStringLiteral("PowerOff"), kPowerOffFailed, done);
                  });
}

void LogindPower::terminateOwnSession(const PowerDone& done)
{
    QDBusMessage byPid = managerCall(QStringLiteral("GetSessionByPID"));
    byPid << quint32(QCoreApplication::applicationPid());
    m_system.call(byPid, m_timeout, &m_calls, [this, done](const QDBusMessage& found) {
        // Started outside the session (e.g. by a user service): the login environment still names it.
        const QString sessionId = qEnvironmentVariable("XDG_SESSION_ID");
        if (!isErrorReply(found) || sessionId.isEmpty()) {
            terminateSession(found, done);
            return;
        }
        QDBusMessage byId = managerCall(QStringLiteral("GetSession"));
        byId << sessionId;
        m_system.call(byId, m_timeout, &m_calls,
                      [this, done](const QDBusMessage& foundById) { terminateSession(foundById, done); });
    });
}

void LogindPower::terminateSession(const QDBusMessage& found, const PowerDone& done)
{
    if (isErrorReply(found)) {
        done(failed(kLogoutFailed,
                    QStringLiteral("die eigene Sitzung wurde nicht gefunden: %1").arg(describeDBusError(found))));
        return;
    }
    const QString session = found.arguments().value(0).value<QDBusObjectPath>().path();
    if (session.isEmpty()) {
        done(failed(kLogoutFailed, QStringLiteral("logind nannte keine Sitzung")));
        return;
    }
    const QDBusMessage terminate = QDBusMessage::createMethodCall(
        kService, session, QStringLiteral("org.freedesktop.login1.Session"), QStringLiteral("Terminate"));
    m_system.call(terminate, m_timeout, &m_calls, [done](const QDBusMessage& reply) {
        done(isErrorReply(reply) ? failed(kLogoutFailed, describeDBusError(reply)) : PowerOutcome::success());
    });
}

} // namespace tarvo
