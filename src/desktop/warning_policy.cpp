#include "desktop/warning_policy.h"

namespace tarvo {

WarningPolicy::Step WarningPolicy::next(const Moment& now)
{
    if (now.state == CountdownView::State::Idle || now.remainingSeconds > LeadSeconds)
        m_armed = true;
    const bool due = now.state == CountdownView::State::Running && now.windowHidden
                     && now.remainingSeconds <= LeadSeconds;
    if (!due) {
        if (!m_shown)
            return Step::Nothing;
        m_shown = false;
        return Step::Close;
    }
    if (!m_shown) {
        if (!m_armed)
            return Step::Nothing;
        m_armed = false;
        m_shown = true;
        m_shownEnd = now.endKey;
        return Step::Show;
    }
    if (now.endKey == m_shownEnd)
        return Step::Nothing;
    m_shownEnd = now.endKey; // the end moved within the last 5 minutes: the text follows
    return Step::Show;
}

} // namespace tarvo

namespace tarvo {

WarningText warningText(const QString& actionWord, const QDateTime& endTime, std::int64_t remainingSeconds)
{
    const std::int64_t minutes = remainingSeconds <= 0 ? 0 : (remainingSeconds + 59) / 60;
    return {QStringLiteral("%1 um %2 Uhr").arg(actionWord, endTime.toString(QStringLiteral("HH:mm"))),
        minutes == 1 ? QStringLiteral("Noch 1 Minute.") : QStringLiteral("Noch %1 Minuten.").arg(minutes)};
}

} // namespace tarvo
