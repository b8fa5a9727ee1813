#pragma once

#include <chrono>
#include <optional>

#include <QDBusConnection>

#include "power/power_backend.h"
#include "power/session_logout.h"

namespace tarvo {

// Power requests through systemd-logind on the system bus; log off goes to the desktop's session
// manager first. Every answer is checked, and a refusal comes back with a German reason.
class LogindPower final : public PowerBackend {
public:
    // Long enough for the user to type a password into the polkit dialog.
    static constexpr std::chrono::milliseconds DefaultCallTimeout = std::chrono::minutes(2);

    LogindPower(QDBusConnection systemBus, QDBusConnection sessionBus,
        std::chrono::milliseconds callTimeout = DefaultCallTimeout);

    PowerOutcome request(PowerCode code) override;

private:
    PowerOutcome callManager(const QString& method, const QString& failure) const;
    std::optional<PowerOutcome> refuseWhenShutdownBlocked() const;
    PowerOutcome terminateOwnSession() const;

    QDBusConnection m_system;
    SessionLogout m_sessionLogout;
    std::chrono::milliseconds m_timeout;
};

} // namespace tarvo
