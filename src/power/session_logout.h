#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "power/bus_link.h"
#include "power/power_backend.h"

class QObject;

namespace tarvo {

struct SessionManager;

// Logs off through the desktop's session manager on the session bus, so applications get the
// chance to save and the desktop ends cleanly. Its own confirmation dialog is skipped where the
// session manager lets us: the countdown was the confirmation.
class SessionLogout {
public:
    // The session manager's answer, or nothing when none that we know of is there; the caller
    // then ends the session itself.
    using Done = std::function<void(const std::optional<PowerOutcome>&)>;

    // Answers are dropped once context is destroyed.
    SessionLogout(BusLink::Connect sessionBus, std::chrono::milliseconds callTimeout, QObject* context);

    // Asks without waiting; done runs once, on the event loop.
    void logOut(const Done& done);

private:
    using Candidates = std::shared_ptr<const std::vector<const SessionManager*>>;
    void tryFrom(const Candidates& candidates, std::size_t index, const Done& done);
    void askToLogOut(const SessionManager& manager, const Done& done);

    BusLink m_bus;
    std::chrono::milliseconds m_timeout;
    QObject* m_context;
};

} // namespace tarvo
