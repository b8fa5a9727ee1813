#pragma once

#include <chrono>
#include <optional>

#include <QDBusMessage>
#include <QObject>

#include "power/bus_link.h"
#include "power/power_backend.h"
#include "power/session_logout.h"

namespace tarvo {

// Power requests through systemd-logind on the system bus; log off goes to the desktop's session
// manager first. Every answer is checked, and a refusal comes back with a German reason.
class LogindPower final : public PowerBackend {
public:
    // Long enough for the user to type a password into the polkit dialog.
    static constexpr std::chrono::milliseconds DefaultCallTimeout = std::chrono::minutes(2);
    // Whether an action is possible is asked before a countdown starts: a logind that does not
    // answer soon must not hold the start up.
    static constexpr std::chrono::milliseconds AvailabilityTimeout = std::chrono::seconds(3);

    // Each connect function opens a connection of its own; it is called again when the bus went away.
    LogindPower(BusLink::Connect systemBus, BusLink::Connect sessionBus,
                std::chrono::milliseconds callTimeout = DefaultCallTimeout);

    void request(PowerCode code, PowerDone done) override;
    PowerAvailability availability(PowerCode code) override;

private:
    void callManager(const QString& method, const QString& failure, const PowerDone& done);
    void shutDownUnlessBlocked(const PowerDone& done);
    void terminateOwnSession(const PowerDone& done);
    void terminateSession(const QDBusMessage& found, const PowerDone& done);

    BusLink m_system;
    std::chrono::milliseconds m_timeout;
    // Owns the calls on their way, so no answer reaches a back end that is gone.
    QObject m_calls;
    SessionLogout m_sessionLogout;
};

} // namespace tarvo
