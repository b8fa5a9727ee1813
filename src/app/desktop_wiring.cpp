#include "app/desktop_wiring.h"

#include <QEvent>

#include "app/form1.h"
#include "desktop/countdown_notifier.h"
#include "desktop/countdown_view.h"
#include "desktop/desktop_companion.h"
#include "desktop/idle_inhibitor.h"
#include "desktop/release_before_sleep.h"

namespace tarvo {

static_assert(static_cast<int>(Countdown::State::Firing) == static_cast<int>(CountdownView::State::Firing)
    && static_cast<int>(Countdown::State::Paused) == static_cast<int>(CountdownView::State::Paused));

// The countdown model as the companion sees it; the two state enums are in the same order.
class DesktopWiring::View final : public CountdownView {
public:
    explicit View(Countdown& countdown)
        : m_countdown(countdown)
    {
    }
    State state() const override { return static_cast<State>(m_countdown.state()); }
    std::int64_t remainingSeconds() const override { return m_countdown.remainingSeconds(); }
    QDateTime endTime() const override { return m_countdown.endTime(); }
    void extend(std::int32_t minutes) override { m_countdown.extend(minutes); }

private:
    Countdown& m_countdown;
};

DesktopWiring::DesktopWiring(Form1& form, const QDBusConnection& systemBus, const QDBusConnection& sessionBus)
    : QObject(nullptr)
    , m_view(std::make_unique<View>(form.countdown()))
    , m_inhibitor(std::make_unique<IdleInhibitor>(systemBus, sessionBus,
          QStringLiteral("Ein Countdown läuft; die Aktion kommt zur eingestellten Zeit.")))
    , m_notifier(std::make_unique<CountdownNotifier>(sessionBus))
{
    DesktopCompanion::Hooks hooks;
    hooks.windowHidden = [&form] { return form.isHidden() || form.isMinimized(); };
    hooks.showWindow = [&form] { form.BringToFront(); };
    hooks.cancelCountdown = [&form] { form.CancelCountdown(); };
    hooks.actionWord = [&form] { return form.actionWord(); };
    m_companion = std::make_unique<DesktopCompanion>(*m_view, *m_inhibitor, *m_notifier, std::move(hooks));
    form.services().power
        = std::make_unique<ReleaseBeforeSleep>(std::move(form.services().power), *m_inhibitor);
    const Countdown* countdown = &form.countdown();
    connect(countdown, &Countdown::stateChanged, m_companion.get(), &DesktopCompanion::update);
    connect(countdown, &Countdown::remainingChanged, m_companion.get(), &DesktopCompanion::update);
    connect(countdown, &Countdown::endTimeChanged, m_companion.get(), &DesktopCompanion::update);
    form.installEventFilter(this);
}

DesktopWiring::~DesktopWiring() = default;

bool DesktopWiring::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::Hide || type == QEvent::Show || type == QEvent::WindowStateChange)
        m_companion->update();
    return QObject::eventFilter(watched, event);
}

} // namespace tarvo
