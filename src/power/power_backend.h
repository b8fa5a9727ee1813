#pragma once

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

// Carries a power request out. One implementation per platform, plus a dry run; the factory picks one.
class PowerBackend {
public:
    virtual ~PowerBackend() = default;
    // Makes the request for a code in 0..9 and waits for the operating system's answer (a suspend
    // may return only after the computer has woken up again).
    virtual PowerOutcome request(PowerCode code) = 0;
};

// Chooses the back end: TARVO_POWER=dry-run prints the request instead of making it; otherwise the
// platform's own (systemd-logind and the session manager on Linux).
std::unique_ptr<PowerBackend> makePowerBackend();

} // namespace tarvo
