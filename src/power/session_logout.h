#pragma once

#include <chrono>
#include <optional>

#include <QDBusConnection>

#include "power/power_backend.h"

namespace tarvo {

// Logs off through the desktop's session manager on the session bus, so applications get the
// chance to save and the desktop ends cleanly. Its own confirmation dialog is skipped where the
// session manager lets us: the countdown was the confirmation.
class SessionLogout {
public:
    SessionLogout(QDBusConnection sessionBus, std::chrono::milliseconds callTimeout);

    // The session manager's answer, or nothing when none that we know of is there; the caller
    // then ends the session itself.
    std::optional<PowerOutcome> logOut() const;

private:
    QDBusConnection m_bus;
    std::chrono::milliseconds m_timeout;
};

} // namespace tarvo
