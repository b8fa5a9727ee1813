// Fields that agree: the entry panel after an applying that stopped or a cancel, and the unit's button.
#include "app/form1.h"

#include <algorithm>

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "base/twips.h"
#include "countdown/duration.h"

namespace tarvo {

void Form1::showMinutesFieldDuration()
{
    // The duration the minutes field holds stays; the hour, end-time and day fields follow it. A text
    // that is no number leaves everything as it is.
    const auto seconds = minutesTextToSeconds(ZeitEingabe->text());
    if (m_ended || Eingabemaske->isHidden() || !seconds || *seconds < 0)
        return;
    RemainingSeconds = *seconds;
    RefreshDurationFields();
}

void Form1::placeUnitButton()
{
    // Laid out for "Minuten" and "Stunden"; the wider "Sekunden" pushes the button right by as much.
    const QFontMetrics metrics(MinutenDisplay->font());
    const int designed = twipsToPixels(kUnitButtonLeftTwips);
    const int widest = std::max(metrics.horizontalAdvance(QStringLiteral("Minuten")),
                                metrics.horizontalAdvance(QStringLiteral("Stunden")));
    const int gap = designed - (MinutenDisplay->x() + widest);
    const int left = std::max(designed, MinutenDisplay->x() + metrics.horizontalAdvance(MinutenDisplay->text()) + gap);
    ChangeMinuteHourBtn->move(left, ChangeMinuteHourBtn->y());
}

} // namespace tarvo
