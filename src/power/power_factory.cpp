#include "power/power_backend.h"

#include <cstdio>

#include <QtGlobal>

#include "power/dry_run_power.h"

#if defined(Q_OS_WIN)
#include "power/windows_power.h"
#include "power/windows_power_win32.h"
#else
#include <QDBusConnection>

#include "power/bus_link.h"
#include "power/logind_power.h"
#endif

namespace tarvo {

std::unique_ptr<PowerBackend> makePowerBackend()
{
    const QByteArray choice = qgetenv("TARVO_POWER");
    if (choice == "dry-run")
        return std::make_unique<DryRunPower>();
    if (!choice.isEmpty()) {
        // Whoever sets TARVO_POWER wants control over what happens; a misspelt "dry-run" must not
        // switch the machine off, so anything unknown is a dry run too.
        std::fprintf(stderr, "tarvo: unknown TARVO_POWER value \"%s\", doing a dry run\n", choice.constData());
        std::fflush(stderr);
        return std::make_unique<DryRunPower>();
    }
#if defined(Q_OS_WIN)
    return std::make_unique<WindowsPower>(makeWin32PowerApi());
#else
    return std::make_unique<LogindPower>([] { return connectAnew(QDBusConnection::SystemBus); },
                                         [] { return connectAnew(QDBusConnection::SessionBus); });
#endif
}

} // namespace tarvo
