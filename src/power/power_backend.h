#pragma once

#include <functional>
#include <memory>

#include <QString>

#include "power/action_kind.h"

namespace tarvo {

// What became of a power request. A request that was accepted by the operating system is ok; a
// refusal carries a short German reason that Tarvo shows to the user.
struct PowerOutcome {
    bool ok = true;
    QString reason;

    static PowerOutcome success() { return {}; }
    static PowerOutcome failure(QString why) { return {false, std::move(why)}; }
};

// Whether this computer can carry an action out at all. Refused only when the system says so
// plainly; a question that gets no answer lets the action go ahead.
struct PowerAvailability {
    bool possible = true;
    QString reason; // German, for the user, when not possible

    static PowerAvailability yes() { return {}; }
    static PowerAvailability no(QString why) { return {false, std::move(why)}; }
};

// Runs once with the outcome of a request.
using PowerDone = std::function<void(const PowerOutcome&)>;

// Carries a power request out. One implementation per platform, plus a dry run; the factory picks one.
class PowerBackend {
public:
    virtual ~PowerBackend() = default;
    // Makes the request for a code in 0..9 without waiting: done runs once with the answer, later
    // on the event loop (polkit may be asking for a password meanwhile) or, where the platform
    // answers at once, before request returns. Destroying the back end drops an answer not yet given.
    virtual void request(PowerCode code, PowerDone done) = 0;
    // Asks whether the code's action is possible here. Waits a few seconds at most; it is asked
    // before a countdown starts, never while one runs.
    virtual PowerAvailability availability(PowerCode code) = 0;
};

// Chooses the back end: TARVO_POWER=dry-run prints the request instead of making it; otherwise the
// platform's own (systemd-logind and the session manager on Linux).
std::unique_ptr<PowerBackend> makePowerBackend();

} // namespace tarvo
