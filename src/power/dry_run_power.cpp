#include "power/dry_run_power.h"

namespace tarvo {

DryRunPower::DryRunPower(std::FILE* out)
    : m_out(out)
{
}

void DryRunPower::request(PowerCode code, PowerDone done)
{
    // Refused the same way as by the real back ends, so a dry run shows the same behaviour.
    if (code < 0 || code > 9) {
        done(PowerOutcome::failure(QStringLiteral("Reboot Fehler")));
        return;
    }
    std::fprintf(m_out, "tarvo: power request %d (%s)\n", int(code), qPrintable(powerCodeName(code)));
    // The program ends right after the request; the line must not be lost in a buffer.
    std::fflush(m_out);
    done(PowerOutcome::success());
}

} // namespace tarvo
