// The remaining-time display: the large figures, their unit and the window title; and the switch of
// the entry panel between the minutes field and the hour and minute fields.
#include "app/form1.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "base/look.h"
#include "base/twips.h"
#include "countdown/duration.h"
#include "shell/system_tray.h"

namespace tarvo {

void Form1::Set_Minute()
{
    const std::int32_t minutes = totalMinutes(RemainingSeconds);
    QString title;
    if (!m_counting.Anz_Minuten->isChecked()) {
        const QString text = hoursMinutesText(RemainingSeconds);
        m_counting.Display->setText(text);
        title = text + QStringLiteral(" Stunde(n)  ") + ActionLabel;
        m_counting.MinutenDisplay->setText(QStringLiteral("Stunden"));
    } else {
        m_counting.Display->setText(QString::number(minutes));
        title = QString::number(minutes) + QStringLiteral(" Minute(n)  ") + ActionLabel;
    }
    setWindowTitle(title);
    if (RemainingSeconds < 60)
        m_counting.Display->setText(QString::number(RemainingSeconds));
    if (m_counting.AddToTrayIconCheck->isChecked() && isHidden() && m_systemTray)
        m_systemTray->ChangeToolTipText(title);
    placeUnitButton(m_counting);
}

void Form1::Anz_Minuten_Click()
{
    if (RemainingSeconds >= 60) {
        if (m_counting.Anz_Minuten->isChecked())
            m_counting.MinutenDisplay->setText(QStringLiteral("Minuten"));
        Set_Minute();
    } else {
        m_counting.MinutenDisplay->setText(QStringLiteral("Sekunden"));
    }
    placeUnitButton(m_counting);
}

void Form1::Label5_Click()
{
    m_hourFields = !m_hourFields;
    if (m_hourFields) {
        m_entry.Label5->setText(QStringLiteral("Stunden"));
        m_entry.CounterHourText->move(m_entry.ZeitEingabe->pos());
        m_entry.CounterMinuteText->move(m_entry.CounterHourText->x() + m_entry.CounterHourText->width(), m_entry.CounterHourText->y());
        m_entry.ZeitEingabe->hide();
        m_entry.CounterHourText->show();
        m_entry.CounterMinuteText->show();
        ScrollbarFocus = 2;
        m_entry.CounterHourText->setFocus();
    } else {
        m_entry.Label5->setText(QStringLiteral("Minuten"));
        m_entry.ZeitEingabe->show();
        // The focus leaves the hour and minute fields before they hide, so it does not wander through
        // them (each field that gets the focus retargets the scroll bar).
        if (m_entry.CounterHourText->hasFocus() || m_entry.CounterMinuteText->hasFocus())
            m_entry.ZeitEingabe->setFocus();
        m_entry.CounterHourText->hide();
        m_entry.CounterMinuteText->hide();
        ScrollbarFocus = 1;
    }
}

void Form1::Command1_Click()
{
    Label5_Click();
}

void Form1::Label5_MouseMove()
{
    setTextColour(m_entry.Label5, highlightTextOn(colours::panel));
}

} // namespace tarvo
