#include "countdown/countdown.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include <QTimer>

#include "base/services.h"
#include "countdown/duration.h"

namespace tarvo {
namespace {

using std::chrono::milliseconds;

// A tick may come this much early and still count for its own second; timer and deadline start
// together, so ticks are late rather than early.
constexpr milliseconds kEarlyTick{200};

} // namespace

Countdown::Countdown(const Clock& clock, QObject* parent)
    : QObject(parent)
    , m_clock(clock)
    , m_timer(new QTimer(this))
{
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(1000);
    // A coarse timer may fire 5 % late, which would show as seconds skipped now and then.
    m_timer->setTimerType(Qt::PreciseTimer);
    connect(m_timer, &QTimer::timeout, this, &Countdown::tick);
}

void Countdown::start(std::int32_t seconds)
{
    if (m_state != State::Idle)
        return;
    m_remaining = seconds;
    m_blinkOn = false;
    m_awaitingAnswer = false;
    fixDeadline(m_clock.sinceBoot());
    m_timer->start();
    setState(State::Running);
    emit remainingChanged(m_remaining);
    emit endTimeChanged(m_end);
}

void Countdown::pause()
{
    if (m_state != State::Running || m_awaitingAnswer)
        return;
    m_timer->stop();
    m_ledLit = false;
    setState(State::Paused);
}

void Countdown::resume()
{
    if (m_state != State::Paused)
        return;
    fixDeadline(m_clock.sinceBoot());
    m_ledLit = true;
    m_timer->start();
    setState(State::Running);
    emit endTimeChanged(m_end);
}

void Countdown::cancel()
{
    if (m_state != State::Running && m_state != State::Paused)
        return;
    m_timer->stop();
    m_awaitingAnswer = false;
    setState(State::Idle);
}

void Countdown::extend(std::int32_t minutes)
{
    if ((m_state != State::Running && m_state != State::Paused) || m_awaitingAnswer || minutes <= 0)
        return;
    const std::int64_t wanted = std::min<std::int64_t>(std::int64_t{m_remaining} + std::int64_t{minutes} * 60,
                                                       kMaxEntrySeconds);
    if (wanted <= m_remaining)
        return; // a command line may have started beyond the cap: never shorten
    const std::int64_t added = wanted - m_remaining;
    m_remaining = static_cast<std::int32_t>(wanted);
    m_deadline += milliseconds(added * 1000);
    m_end = m_end.addSecs(added);
    m_blinkOn = false;
    emit remainingChanged(m_remaining);
    emit extended(m_remaining);
    emit endTimeChanged(m_end);
}

void Countdown::tick()
{
    if (m_state != State::Running || m_awaitingAnswer)
        return;
    const milliseconds now = m_clock.sinceBoot();
    const bool gap = now - m_lastTick > kGap;
    m_lastTick = now;
    followWallClock(now);
    const std::int32_t n = secondsLeft(now);
    if (n >= m_remaining)
        return; // an early tick: this second has been counted
    if (gap && n <= 0) {
        // Never act on a deadline the user could not see coming.
        m_timer->stop();
        m_awaitingAnswer = true;
        emit deadlinePassed(m_end);
        return;
    }
    const std::int32_t previous = std::exchange(m_remaining, n);
    m_ledLit = !m_ledLit;
    emit remainingChanged(n);
    const CountdownStep step = lastMinuteStep(n, previous, m_blinkOn);
    if (step.fire) {
        m_timer->stop();
        setState(State::Firing);
    }
    emit stepped(step);
}

void Countdown::hold()
{
    m_timer->stop();
}

void Countdown::release()
{
    if (m_state == State::Paused)
        resume();
    else if (m_state == State::Running && !m_awaitingAnswer)
        m_timer->start();
}

void Countdown::fireNow()
{
    if (m_state != State::Running || !m_awaitingAnswer)
        return;
    m_awaitingAnswer = false;
    m_remaining = 0;
    emit remainingChanged(0);
    setState(State::Firing);
    CountdownStep step;
    step.fire = true;
    emit stepped(step);
}

void Countdown::markFiring()
{
    m_timer->stop();
    m_awaitingAnswer = false;
    setState(State::Firing);
}

void Countdown::setState(State state)
{
    if (m_state == state)
        return;
    m_state = state;
    emit stateChanged(state);
}

void Countdown::fixDeadline(milliseconds now)
{
    m_deadline = now + milliseconds(std::int64_t{m_remaining} * 1000);
    m_lastTick = now;
    m_wallOffset = wallOffset(now);
    m_end = endMoment(m_clock.now(), m_remaining);
}

// The wall clock moved against the boot clock (a manual change, NTP, daylight saving): the moment
// of the action stays, the wall-clock time it falls on is told anew.
void Countdown::followWallClock(milliseconds now)
{
    const std::int64_t offset = wallOffset(now);
    if (std::llabs(offset - m_wallOffset) <= kWallJump.count())
        return;
    m_wallOffset = offset;
    m_end = m_clock.now().addMSecs((m_deadline - now).count());
    emit endTimeChanged(m_end);
}

// Local wall time minus boot time, so that a change of the zone or of daylight saving counts too.
std::int64_t Countdown::wallOffset(milliseconds now) const
{
    const QDateTime wall = m_clock.now();
    return wall.toMSecsSinceEpoch() + std::int64_t{wall.offsetFromUtc()} * 1000 - now.count();
}

std::int32_t Countdown::secondsLeft(milliseconds now) const
{
    const std::int64_t left = (m_deadline - now - kEarlyTick).count();
    if (left <= 0)
        return 0;
    return static_cast<std::int32_t>(std::min<std::int64_t>((left + 999) / 1000, m_remaining));
}

} // namespace tarvo
