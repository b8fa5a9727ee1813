#pragma once

#include <chrono>
#include <cstdint>

#include <QDateTime>
#include <QObject>

#include "countdown/last_minute.h"

class QTimer;

namespace tarvo {

class Clock;

// The countdown without its window: the time left, the state, the one-second tick and the rules of
// the last minute. The moment of the action is a deadline on the clock that runs on while the
// machine sleeps; every tick derives the time left from it, so a late or stalled tick cannot move
// the action. The window renders what this reports and forwards the user's gestures.
class Countdown : public QObject {
    Q_OBJECT

public:
    enum class State { Idle, Running, Paused, Firing };
    Q_ENUM(State)

    // A tick this much later than the previous one means the machine slept or Tarvo was stopped.
    static constexpr std::chrono::milliseconds kGap{5000};
    // How far the wall clock may move against the boot clock before the end time is rewritten.
    static constexpr std::chrono::milliseconds kWallJump{2000};

    explicit Countdown(const Clock& clock, QObject* parent = nullptr);

    State state() const { return m_state; }
    std::int32_t remainingSeconds() const { return m_remaining; }
    // The wall-clock moment of the action (while running; while paused, as of the pause).
    QDateTime endTime() const { return m_end; }
    // The activity light: true light green, false green (or red while paused).
    bool ledLit() const { return m_ledLit; }
    // The one-second timer ("Timer1").
    QTimer* timer() const { return m_timer; }

    void start(std::int32_t seconds);
    void pause();
    void resume();
    void cancel();
    // More time for a running or paused countdown, at most 20160 minutes left in all.
    void extend(std::int32_t minutes);
    // One tick of the timer.
    void tick();
    // Stops the ticks while a question is open; release lets the countdown run again (a paused one
    // too). The deadline stays where it is.
    void hold();
    void release();
    // The user confirmed the action after its deadline passed unseen.
    void fireNow();
    // The action goes out now, however it was asked for ("Sofort", a Classic click): no tick may
    // follow, and the countdown never fires again.
    void markFiring();

signals:
    void stateChanged(tarvo::Countdown::State state);
    void endTimeChanged(const QDateTime& endTime);
    void remainingChanged(std::int32_t seconds);
    // A new second: what the window has to do for it.
    void stepped(const tarvo::CountdownStep& step);
    // extend() added time; the displays show a longer duration again.
    void extended(std::int32_t seconds);
    // The deadline passed while the machine slept or Tarvo stood still. The countdown waits for
    // fireNow() or cancel() and does nothing on its own.
    void deadlinePassed(const QDateTime& endTime);

private:
    void setState(State state);
    void fixDeadline(std::chrono::milliseconds now);
    void followWallClock(std::chrono::milliseconds now);
    std::int32_t secondsLeft(std::chrono::milliseconds now) const;
    std::int64_t wallOffset(std::chrono::milliseconds now) const;

    const Clock& m_clock;
    QTimer* m_timer;
    State m_state = State::Idle;
    std::int32_t m_remaining = 0;
    std::chrono::milliseconds m_deadline{0};
    std::chrono::milliseconds m_lastTick{0};
    std::int64_t m_wallOffset = 0; // wall clock minus boot clock when the end time was fixed
    QDateTime m_end;
    bool m_blinkOn = false;
    bool m_ledLit = false;
    bool m_awaitingAnswer = false;
};

} // namespace tarvo
