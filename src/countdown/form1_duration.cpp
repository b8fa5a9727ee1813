// The one duration: its setters, the fields that show it, the end time and the clock.
#include "app/form1.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>

#include "countdown/clock_text.h"
#include "countdown/duration.h"
#include "countdown/duration_fields.h"
#include "entry/minutes_field.h"

namespace tarvo {
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

    const DurationFieldTexts texts = durationFieldTexts(RemainingSeconds, m_services.clock->now());
    m_entry.MinuteTimeText->setText(texts.endMinute);
    m_entry.HourTimeText->setText(texts.endHour);
    m_entry.CounterMinuteText->setText(texts.minutesOfHour);
    m_entry.CounterHourText->setText(texts.hours);
    m_entry.ZeitEingabe->setText(texts.minutes);
    if (DayCount <= 0) {
        m_entry.AnzahlTageLabel->hide();
    } else {
        m_entry.AnzahlTageLabel->setText(texts.days);
        m_entry.AnzahlTageLabel->show();
    }
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
