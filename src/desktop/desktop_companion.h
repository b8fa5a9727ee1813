#pragma once

#include <functional>

#include <QObject>
#include <QString>

#include "desktop/countdown_view.h"
#include "desktop/warning_policy.h"

namespace tarvo {

class CountdownNotifier;
class IdleInhibitor;

// Keeps the desktop in step with the countdown: idle sleep held off while it runs (released on
// pause, cancel, the end, and before the power request, which comes after the Firing state), and
// the warning while the window is hidden, whose actions steer the countdown.
class DesktopCompanion final : public QObject {
    Q_OBJECT
public:
    static constexpr std::int32_t ExtendMinutes = 10;

    struct Hooks {
        std::function<bool()> windowHidden;   // hidden in the tray or minimised
        std::function<void()> showWindow;     // brings the window back
        std::function<void()> cancelCountdown; // as "Timer Abbrechen" does
        std::function<QString()> actionWord;  // e.g. "Ausschalten"
    };

    DesktopCompanion(CountdownView& countdown, IdleInhibitor& inhibitor, CountdownNotifier& notifier, Hooks hooks,
        QObject* parent = nullptr);
    ~DesktopCompanion() override;

public slots:
    // Call on every state change, every tick, and when the window is hidden, minimised or shown.
    void update();

private:
    void extend();

    CountdownView& m_countdown;
    IdleInhibitor& m_inhibitor;
    CountdownNotifier& m_notifier;
    Hooks m_hooks;
    WarningPolicy m_policy;
};

} // namespace tarvo
