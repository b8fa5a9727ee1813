// The remaining-time display: the large figures, their unit and the window title.
#include "app/form1.h"

#include <QCheckBox>
#include <QLabel>

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
}

} // namespace tarvo
