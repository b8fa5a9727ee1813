#include "app/action_hover.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

#include "app/form1.h"

namespace tarvo {

ActionHoverFilter::ActionHoverFilter(Form1& form, std::vector<std::pair<QPushButton*, ActionKind>> buttons)
    : QObject(&form)
    , m_form(form)
    , m_buttons(std::move(buttons))
{
    for (const auto& [button, action] : m_buttons) {
        // Moves without a held mouse button reach a widget only when it tracks the mouse.
        button->setMouseTracking(true);
        button->installEventFilter(this);
    }
    m_form.Picture1->installEventFilter(this);
}

bool ActionHoverFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::MouseMove)
        return false;
    if (watched == m_form.Picture1) {
        // The panel's background leaves no caption bold; only touched when one is, so moves stay cheap.
        if (m_form.ClassicMode) {
            for (QLabel* caption : {m_form.Label1, m_form.Label2, m_form.Label3, m_form.Label4, m_form.Label6}) {
                if (caption->font().bold()) {
                    m_form.ShowPressedPictures();
                    break;
                }
            }
        }
        return false;
    }
    for (const auto& [button, action] : m_buttons) {
        if (watched == button) {
            m_form.ActionButton_MouseMove(action);
            // While a mouse button is held the push button needs the move itself.
            return static_cast<QMouseEvent*>(event)->buttons() == Qt::NoButton;
        }
    }
    return false;
}

} // namespace tarvo
