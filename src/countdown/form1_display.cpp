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
    if (!Anz_Minuten->isChecked()) {
        const QString text = hoursMinutesText(RemainingSeconds);
        Display->setText(text);
        title = text + QStringLiteral(" Stunde(n)  ") + ActionLabel;
        MinutenDisplay->setText(QStringLiteral("Stunden"));
    } else {
        Display->setText(QString::number(minutes));
        title = QString::number(minutes) + QStringLiteral(" Minute(n)  ") + ActionLabel;
    }
    setWindowTitle(title);
    if (RemainingSeconds < 60)
        Display->setText(QString::number(RemainingSeconds));
    if (AddToTrayIconCheck->isChecked() && isHidden() && m_systemTray)
        m_systemTray->ChangeToolTipText(title);
    placeUnitButton();
}

void Form1::Anz_Minuten_Click()
{
    if (RemainingSeconds >= 60) {
        if (Anz_Minuten->isChecked())
            MinutenDisplay->setText(QStringLiteral("Minuten"));
        Set_Minute();
    } else {
        MinutenDisplay->setText(QStringLiteral("Sekunden"));
    }
    placeUnitButton();
}

// The figures stand right-aligned against their unit and may grow to the left ("336:00" is wider
// than the box the layout gives them); once the unit is hidden ("Shutdown!!"), they take the row.
void Form1::fitRemainingDisplay()
{
    const QRect beside = twipsRect(240, 1395, 2160, 555);
    if (MinutenDisplay->isHidden()) {
        Display->setGeometry(0, beside.y(), twipsToPixels(kWindowWidthTwips), beside.height());
        Display->setAlignment(Qt::AlignCenter);
    } else {
        Display->setGeometry(beside);
        Display->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
}

void Form1::Label5_Click()
{
    m_hourFields = !m_hourFields;
    if (m_hourFields) {
        Label5->setText(QStringLiteral("Stunden"));
        CounterHourText->move(ZeitEingabe->pos());
        CounterMinuteText->move(CounterHourText->x() + CounterHourText->width(), CounterHourText->y());
        ZeitEingabe->hide();
        CounterHourText->show();
        CounterMinuteText->show();
        ScrollbarFocus = 2;
        CounterHourText->setFocus();
    } else {
        Label5->setText(QStringLiteral("Minuten"));
        ZeitEingabe->show();
        // The focus leaves the hour and minute fields before they hide, so it does not wander through
        // them (each field that gets the focus retargets the scroll bar).
        if (CounterHourText->hasFocus() || CounterMinuteText->hasFocus())
            ZeitEingabe->setFocus();
        CounterHourText->hide();
        CounterMinuteText->hide();
        ScrollbarFocus = 1;
    }
}

void Form1::Command1_Click()
{
    Label5_Click();
}

void Form1::Label5_MouseMove()
{
    setTextColour(Label5, highlightTextOn(colours::panel));
}

} // namespace tarvo
