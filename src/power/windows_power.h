#pragma once

#include <memory>

#include "power/power_backend.h"
#include "power/windows_power_algorithm.h"

namespace tarvo {

// Power requests through the Win32 calls; turns what the request reports into an outcome with a
// reason the user can act on.
class WindowsPower final : public PowerBackend {
public:
    explicit WindowsPower(std::unique_ptr<Win32PowerApi> api);
    PowerOutcome request(PowerCode code) override;

private:
    std::unique_ptr<Win32PowerApi> m_api;
};

} // namespace tarvo
