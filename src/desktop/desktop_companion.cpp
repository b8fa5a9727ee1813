#include "desktop/desktop_companion.h"

#include "desktop/countdown_notifier.h"
#include "desktop/idle_inhibitor.h"

namespace tarvo {

DesktopCompanion::DesktopCompanion(CountdownView& countdown, IdleInhibitor& inhibitor, CountdownNotifier& notifier,
    Hooks hooks, QObject* parent)
    : QObject(parent)
    , m_countdown(countdown)
    , m_inhibitor(inhibitor)
    , m_notifier(notifier)
    , m_hooks(std::move(hooks))
{
    connect(&m_notifier, &CountdownNotifier::cancelRequested, this, [this] {
        if (m_hooks.cancelCountdown)
            m_hooks.cancelCountdown();
        update();
    });
    connect(&m_notifier, &CountdownNotifier::extendRequested, this, &DesktopCompanion::extend);
    connect(&m_notifier, &CountdownNotifier::windowRequested, this, [this] {
        if (m_hooks.showWindow)
            m_hooks.showWindow();
        update();
    });
}

DesktopCompanion::~DesktopCompanion()
{
    m_inhibitor.release();
    m_notifier.close();
}

void DesktopCompanion::update()
{
    const CountdownView::State state = m_countdown.state();
    if (state == CountdownView::State::Running)
        m_inhibitor.hold();
    else
        m_inhibitor.release();

    const QDateTime end = m_countdown.endTime();
    const std::int64_t remaining = m_countdown.remainingSeconds();
    const bool hidden = m_hooks.windowHidden && m_hooks.windowHidden();
    switch (m_policy.next({state, hidden, remaining, end.toMSecsSinceEpoch()})) {
    case WarningPolicy::Step::Show: {
        const WarningText text = warningText(m_hooks.actionWord ? m_hooks.actionWord() : QString(), end, remaining);
        m_notifier.show(text.summary, text.body);
        break;
    }
    case WarningPolicy::Step::Close:
        m_notifier.close();
        break;
    case WarningPolicy::Step::Nothing:
        break;
    }
}

void DesktopCompanion::extend()
{
    if (m_countdown.state() != CountdownView::State::Running && m_countdown.state() != CountdownView::State::Paused)
        return; // too late: the action is under way
    m_countdown.extend(ExtendMinutes);
    update();
}

} // namespace tarvo
