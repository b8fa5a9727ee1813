#include "app/form1_remote.h"

#include <algorithm>

#include <QDateTime>

#include "app/form1.h"
#include "countdown/countdown.h"
#include "power/action_table.h"

namespace tarvo {

QString countdownStatusLine(const QString& action, qint64 remainingSeconds, const QDateTime& now, bool paused)
{
    const qint64 left = std::max<qint64>(0, remainingSeconds);
    const QString clock = QStringLiteral("%1:%2:%3")
                              .arg(left / 3600)
                              .arg(left / 60 % 60, 2, 10, QLatin1Char('0'))
                              .arg(left % 60, 2, 10, QLatin1Char('0'));
    if (paused)
        return QStringLiteral("%1 angehalten, noch %2").arg(action, clock);
    const QDateTime end = now.addSecs(left);
    const QString day = end.date() == now.date() ? QString() : end.toString(QStringLiteral("'am' dd.MM. "));
    return QStringLiteral("%1 in %2, %3um %4 Uhr").arg(action, clock, day, end.toString(QStringLiteral("HH:mm")));
}

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
    const auto action = m_form.selectedAction();
    return { true,
        countdownStatusLine(action ? QString::fromUtf8(actionRow(*action).word) : m_form.ActionLabel, countdown.remainingSeconds(),
            m_form.services().clock->now(), countdown.state() == Countdown::State::Paused) };
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
