#pragma once

#include <functional>

#include <QObject>
#include <QPointer>

class QKeyEvent;
class QLineEdit;

namespace tarvo {

class Beeper;

// Watches the duration fields of a window: drops refused typed characters with a beep, and hands
// focus changes between the window's own controls to the fields' handlers. A
// focus lost to another application or to a popup (the field's context menu) is no leave: the
// field is validated only when the user moves on inside the window.
class EntryEvents : public QObject {
    Q_OBJECT

public:
    using FieldHandler = std::function<void(QLineEdit* field)>;
    // entered runs when a field gets the focus, left when it loses it to another control of window.
    // They run only while a field has an event, so the fields may outlive the window's destructor.
    EntryEvents(QWidget& window, Beeper& beeper, FieldHandler entered, FieldHandler left);

    // Typing stops at maxTyped characters; text set by Tarvo itself is never cut.
    void watch(QLineEdit* field, int maxTyped);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool filterTyping(QLineEdit* field, const QKeyEvent& key);

    QWidget& m_window;
    Beeper& m_beeper;
    FieldHandler m_entered;
    FieldHandler m_left;
    QPointer<QLineEdit> m_selectOnRelease;
};

} // namespace tarvo
