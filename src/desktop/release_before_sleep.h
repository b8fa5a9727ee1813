#pragma once

#include <chrono>
#include <memory>

#include <QPointer>
#include <QTimer>

#include "power/power_backend.h"

namespace tarvo {

class IdleInhibitor;

// Tarvo's own standby or hibernation goes out only once the idle inhibitors are given back and the
// desktop has answered the release: a session manager may back its inhibitor with a logind lock
// that would hold the request off. A desktop that does not answer delays it by `cap` at most.
// Every other request, and the questions, pass straight through. One request waits at a time.
class ReleaseBeforeSleep final : public PowerBackend {
public:
    static constexpr std::chrono::milliseconds DefaultCap{2000};

    ReleaseBeforeSleep(std::unique_ptr<PowerBackend> inner, IdleInhibitor& inhibitor,
        std::chrono::milliseconds cap = DefaultCap);

    void request(PowerCode code, PowerDone done) override;
    PowerAvailability availability(PowerCode code) override { return m_inner->availability(code); }

private:
    void sendWaiting();

    std::unique_ptr<PowerBackend> m_inner;
    QPointer<IdleInhibitor> m_inhibitor;
    QTimer m_cap; // also the context of the connection, so nothing arrives after destruction
    PowerCode m_code = 0;
    PowerDone m_waiting; // the request held back until the desktop has settled
};

} // namespace tarvo
