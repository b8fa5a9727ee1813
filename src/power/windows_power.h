#pragma once

#include <memory>

#include "power/power_backend.h"
#include "power/windows_power_algorithm.h"

namespace tarvo {

// Power requests through the Win32 calls, which answer at once; turns what the request reports into
// an outcome with a reason the user can act on.
class WindowsPower final : public PowerBackend {
public:
    explicit WindowsPower(std::unique_ptr<Win32PowerApi> api);
    void request(PowerCode code, PowerDone done) override;
    // Windows has no cheap question for this; the request itself reports a refusal.
    PowerAvailability availability(PowerCode) override { return PowerAvailability::yes(); }

private:
    static PowerOutcome outcomeOf(const WindowsPowerReport& report);

    std::unique_ptr<Win32PowerApi> m_api;
};

} // namespace tarvo
