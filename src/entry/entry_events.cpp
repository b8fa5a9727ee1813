#include "entry/entry_events.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QValidator>

#include "base/services.h"
#include "entry/key_filter.h"

namespace tarvo {
namespace {

// QLineEdit's own length limit also cuts text set from code, and the command line may put longer
// numbers into the minutes field. A validator leaves text set from code as it is, and refuses
// typed, pasted and dropped input that would not fit.
class TypingLimit final : public QValidator {
public:
    TypingLimit(int maxLength, QObject* parent)
        : QValidator(parent)
        , m_maxLength(maxLength)
    {
    }
    State validate(QString& input, int&) const override
    {
        return input.size() <= m_maxLength ? Acceptable : Invalid;
    }

private:
    int m_maxLength;
};

bool movesWithinWindow(Qt::FocusReason reason)
{
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

} // namespace

EntryEvents::EntryEvents(QWidget& window, Beeper& beeper, FieldHandler entered, FieldHandler left)
    : QObject(&window)
    , m_window(window)
    , m_beeper(beeper)
    , m_entered(std::move(entered))
    , m_left(std::move(left))
{
}

void EntryEvents::watch(QLineEdit* field, int maxTyped)
{
    field->setValidator(new TypingLimit(maxTyped, field));
    field->installEventFilter(this);
}

bool EntryEvents::eventFilter(QObject* watched, QEvent* event)
{
    auto* field = qobject_cast<QLineEdit*>(watched);
    if (field == nullptr)
        return false;
    switch (event->type()) {
    case QEvent::KeyPress:
        return filterTyping(field, *static_cast<QKeyEvent*>(event));
    case QEvent::FocusIn: {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (!movesWithinWindow(reason))
            break;
        m_entered(field);
        // The press that gave the focus places the caret next; the whole text is selected again
        // when that press ends, so that typing still replaces it.
        m_selectOnRelease = reason == Qt::MouseFocusReason ? field : nullptr;
        break;
    }
    case QEvent::MouseButtonPress:
        if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
            m_selectOnRelease.clear();
        break;
    case QEvent::MouseButtonRelease:
        if (field == m_selectOnRelease) {
            m_selectOnRelease.clear();
            if (!field->hasSelectedText()) // a selection dragged by the user stays
                field->selectAll();
        }
        break;
    case QEvent::FocusOut: {
        m_selectOnRelease.clear();
        // Qt names the new focus widget before it tells the old one.
        const QWidget* next = QApplication::focusWidget();
        if (!movesWithinWindow(static_cast<QFocusEvent*>(event)->reason()) || next == nullptr
            || next->window() != &m_window)
            break;
        m_left(field);
        break;
    }
    default:
        break;
    }
    return false;
}

bool EntryEvents::filterTyping(QLineEdit* field, const QKeyEvent& key)
{
    // Ctrl combinations are commands (copy, paste, undo ...) that QLineEdit never types.
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    if (key.text().isEmpty() || modifiers == Qt::ControlModifier
        || modifiers == (Qt::ControlModifier | Qt::ShiftModifier))
        return false;
    const QString kept = acceptedDurationText(key.text());
    if (kept.size() == key.text().size())
        return false;
    m_beeper.beep();
    if (!kept.isEmpty())
        field->insert(kept);
    return true;
}

} // namespace tarvo
