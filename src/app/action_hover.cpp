#include "app/action_hover.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

#include "app/form1.h"
#include "power/action_table.h"

namespace tarvo {

ActionHoverFilter::ActionHoverFilter(Form1& form, QWidget& band)
    : QObject(&form)
    , m_form(form)
    , m_band(band)
{
    for (const ActionRow& row : actionTable()) {
        QPushButton* button = m_form.actionButton(row.kind);
        // Moves without a held mouse button reach a widget only when it tracks the mouse.
        button->setMouseTracking(true);
        button->installEventFilter(this);
    }
    m_band.installEventFilter(this);
}

bool ActionHoverFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::MouseMove)
        return false;
    if (watched == &m_band) {
        // The panel's background leaves no caption bold; only touched when one is, so moves stay cheap.
        if (m_form.classicMode()) {
            for (const ActionRow& row : actionTable()) {
                if (m_form.actionCaption(row.kind)->font().bold()) {
                    m_form.ShowPressedPictures();
                    break;
                }
            }
        }
        return false;
    }
    for (const ActionRow& row : actionTable()) {
        if (watched == m_form.actionButton(row.kind)) {
            m_form.ActionButton_MouseMove(row.kind);
            // While a mouse button is held the push button needs the move itself.
            return static_cast<QMouseEvent*>(event)->buttons() == Qt::NoButton;
        }
    }
    return false;
}

} // namespace tarvo
