// The one duration: its setters, the fields that show it, the end time and the clock.
#include "app/form1.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>

#include "countdown/clock_text.h"
#include "countdown/duration.h"
#include "entry/minutes_field.h"

namespace tarvo {
namespace {

QString twoDigits(const QString& text)
{
    const QString trimmed = text.trimmed();
    return trimmed.size() == 1 ? QLatin1Char('0') + trimmed : trimmed;
}

} // namespace

void Form1::SetMinutes(std::int16_t minutes)
{
    RemainingSeconds = secondsForMinutes(minutes);
    RefreshDurationFields();
}

void Form1::AddMinutes(std::int16_t minutes, bool roundToTen)
{
    if (const auto seconds = addMinutes(RemainingSeconds, minutes, roundToTen))
        RemainingSeconds = *seconds;
    RefreshDurationFields();
}

void Form1::SubtractMinutes(std::int16_t minutes, bool roundToTen)
{
    if (const auto seconds = subtractMinutes(RemainingSeconds, minutes, roundToTen))
        RemainingSeconds = *seconds;
    RefreshDurationFields();
}

void Form1::RefreshDurationFields()
{
    DayCount = wholeDays(RemainingSeconds);
    if (!countdownIdle()) {
        if (DayCount <= 0) {
            m_counting.TageCaption->hide();
        } else {
            m_counting.TageCaption->setText(QString::number(DayCount) + QStringLiteral(" Tag(e)"));
            m_counting.TageCaption->show();
        }
        return;
    }

    const QDateTime now = m_services.clock->now();
    const QTime end = endMoment(now, RemainingSeconds).time();
    m_entry.MinuteTimeText->setText(QString::number(end.minute()));
    m_entry.HourTimeText->setText(QString::number(end.hour()));
    m_entry.CounterMinuteText->setText(QString::number(minutesOfHour(RemainingSeconds)));
    m_entry.CounterHourText->setText(QString::number(wholeHours(RemainingSeconds)));
    m_entry.ZeitEingabe->setText(QString::number(totalMinutes(RemainingSeconds)));

    if (DayCount <= 0) {
        m_entry.AnzahlTageLabel->hide();
    } else {
        // Whole days of the duration, not calendar days: the date is today plus that count.
        const QDate endDate = now.date().addDays(DayCount);
        m_entry.AnzahlTageLabel->setText(QStringLiteral("+%1%2%3.%4)")
                                     .arg(DayCount)
                                     .arg(DayCount == 1 ? QStringLiteral(" Tag (") : QStringLiteral(" Tage ("))
                                     .arg(endDate.day())
                                     .arg(endDate.month()));
        m_entry.AnzahlTageLabel->show();
    }
    m_entry.HourTimeText->setText(twoDigits(m_entry.HourTimeText->text()));
    m_entry.MinuteTimeText->setText(twoDigits(m_entry.MinuteTimeText->text()));
    m_entry.CounterMinuteText->setText(twoDigits(m_entry.CounterMinuteText->text()));
}

void Form1::Endzeit_Eintragen()
{
    Timer2_Timer();
    const QTime end = m_countdown->endTime().time();
    m_counting.Endzeit_Display->setText(QStringLiteral("End-Zeit: %1:%2").arg(end.hour()).arg(end.minute()));
}

void Form1::Timer2_Timer()
{
    const QString clock = clockText();
    m_entry.Uhrzeit_Frame1->setText(clock);
    m_counting.Uhrzeit_Display->setText(clock);
}

QString Form1::clockText() const
{
    return clockCaption(m_services.clock->now().time());
}

void Form1::showMinutesFieldDuration()
{
    // The duration the minutes field holds stays; the hour, end-time and day fields follow it. A text
    // that is no number leaves everything as it is.
    const auto seconds = minutesTextToSeconds(m_entry.ZeitEingabe->text());
    if (m_ended || m_entry.Eingabemaske->isHidden() || !seconds || *seconds < 0)
        return;
    RemainingSeconds = *seconds;
    RefreshDurationFields();
}

void Form1::ZeitEingabe_Validate()
{
    const MinutesFieldResult result = validateMinutesText(m_entry.ZeitEingabe->text());
    m_entry.ZeitEingabe->setText(result.text);
    if (result.minutes)
        SetMinutes(*result.minutes);
}

} // namespace tarvo
