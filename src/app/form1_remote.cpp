#include "app/form1_remote.h"

#include "app/form1.h"
#include "countdown/countdown.h"

namespace tarvo {

void Form1Remote::comeForward()
{
    m_form.BringToFront();
}

// From Start until the action or a cancel, running or paused.
bool Form1Remote::armed() const
{
    const Countdown::State state = m_form.countdown().state();
    return !m_form.hasEnded() && (state == Countdown::State::Running || state == Countdown::State::Paused);
}

RemoteControl::Status Form1Remote::status() const
{
    if (!armed())
        return {};
    const Countdown& countdown = m_form.countdown();
    return { true,
        countdownStatusLine(m_form.actionWord(), countdown.remainingSeconds(), m_form.services().clock->now(),
            countdown.state() == Countdown::State::Paused) };
}

bool Form1Remote::cancel()
{
    if (!armed())
        return false;
    m_form.CancelCountdown();
    return true;
}

bool Form1Remote::add(int minutes)
{
    if (!armed() || minutes < 1 || minutes > kMaxAddMinutes)
        return false;
    // Up to 14 days in all; a longer countdown from the command line is never shortened.
    m_form.countdown().extend(minutes);
    return true;
}

} // namespace tarvo
