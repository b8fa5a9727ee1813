#pragma once

#include <cstdio>

#include "power/power_backend.h"

namespace tarvo {

// Prints the request instead of making it, one line per request, so scripts and tests can watch
// what Tarvo would have done without risking the machine. Every action is possible.
class DryRunPower final : public PowerBackend {
public:
    explicit DryRunPower(std::FILE* out = stdout);
    void request(PowerCode code, PowerDone done) override;
    PowerAvailability availability(PowerCode) override { return PowerAvailability::yes(); }

private:
    std::FILE* m_out;
};

} // namespace tarvo
