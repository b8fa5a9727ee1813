#pragma once

#include <cstdint>

#include <QString>

namespace tarvo {

// The five things Tarvo can do to the computer.
enum class ActionKind { Ausschalten, Neustart, Standby, Ruhezustand, Abmelden };

// The number that selects the request: 0 log off, 1 shut down, 2 restart, 5 hibernate, 6 standby,
// 8 shut down and switch the power off. Requests accept 0..9; other values are refused.
using PowerCode = std::int16_t;

namespace power_code {
inline constexpr PowerCode LogOff = 0;
inline constexpr PowerCode Shutdown = 1;
inline constexpr PowerCode Restart = 2;
inline constexpr PowerCode Hibernate = 5;
inline constexpr PowerCode Standby = 6;
inline constexpr PowerCode PowerOff = 8;
} // namespace power_code

// The code that carrying out an action requests; the force flag only matters for shutting down.
PowerCode powerCodeFor(ActionKind action, bool force);

// A short English name of a code for logs and the dry run, e.g. "Standby", "PowerOff".
QString powerCodeName(PowerCode code);

} // namespace tarvo
