#include "app/keyboard_order.h"

#include <vector>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include "app/action_panel.h"
#include "app/window_panels.h"
#include "power/action_table.h"

namespace tarvo {

void setKeyboardOrder(const ActionPanel& actions, QWidget* JetztBtn, QWidget* Abbruch, const EntryPanel& e,
                      const CountdownPanel& c)
{
    std::vector<QWidget*> order;
    const auto rows = actionTable();
    for (std::size_t i = rows.size(); i-- > 0;)
        order.push_back(actions.actions.at(static_cast<std::size_t>(rows[i].kind)).button);
    order.insert(order.end(), {JetztBtn, e.ClassicModeShowTimer, Abbruch, e.ZeitEingabe, e.CounterHourText,
                               e.CounterMinuteText, e.VScroll1, e.HourTimeText, e.MinuteTimeText, e.VScroll2});
    order.insert(order.end(), e.presets.begin(), e.presets.end());
    order.insert(order.end(), {c.Anz_Minuten, c.Check_ForceShutdown, c.Akustik, c.AddToTrayIconCheck,
                               e.SystemTRayFrame1, e.Start, c.ChangeMinuteHourBtn, e.Command1});
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

} // namespace tarvo
