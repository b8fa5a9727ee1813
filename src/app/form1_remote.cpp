#include "app/form1_remote.h"

#include <algorithm>

#include <QCheckBox>
#include <QDateTime>
#include <QFrame>
#include <QTimer>

#include "app/form1.h"
#include "power/action_kind.h"

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

// From Start until the action or a cancel: the countdown panel is up, running or paused.
bool Form1Remote::armed() const
{
    return !m_form.hasEnded() && !m_form.CountdownMaske->isHidden() && m_form.RemainingSeconds > 0;
}

RemoteControl::Status Form1Remote::status() const
{
    if (!armed())
        return {};
    const auto action = m_form.selectedAction();
    return { true,
        countdownStatusLine(action ? actionWord(*action) : m_form.ActionLabel, m_form.RemainingSeconds,
            m_form.services().clock->now(), !m_form.Timer1->isActive()) };
}

bool Form1Remote::cancel()
{
    if (!armed())
        return false;
    m_form.Abbruch_Click();
    return true;
}

bool Form1Remote::add(int minutes)
{
    if (!armed() || minutes < 1 || minutes > kMaxAddMinutes)
        return false;
    // Up to 14 days in all; a longer countdown from the command line is never shortened.
    constexpr std::int32_t cap = std::int32_t { kMaxAddMinutes } * 60;
    const std::int32_t before = m_form.RemainingSeconds;
    m_form.RemainingSeconds = std::max(before, std::min(cap, before + minutes * 60));
    m_form.RefreshDurationFields();
    m_form.Anz_Minuten_Click(); // the unit and the figures, also out of the last minute's seconds
    if (m_form.Timer1->isActive())
        m_form.Endzeit_Eintragen();
    return true;
}

} // namespace tarvo
