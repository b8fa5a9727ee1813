#pragma once

#include <QObject>
#include <QPointer>

class QKeyEvent;
class QLineEdit;

namespace tarvo {

class Form1;

// Watches the five duration fields of the main window: drops refused typed characters with a
// beep, and hands focus changes between the window's own controls to the fields' handlers. A
// focus lost to another application or to a popup (the field's context menu) is no leave: the
// field is validated only when the user moves on inside the window.
class EntryEvents : public QObject {
    Q_OBJECT

public:
    explicit EntryEvents(Form1& form);

    // Typing stops at maxTyped characters; text set by Tarvo itself is never cut.
    void watch(QLineEdit* field, int maxTyped);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool filterTyping(QLineEdit* field, const QKeyEvent& key);

    Form1& m_form;
    QLineEdit* m_minutesField;
    QPointer<QLineEdit> m_selectOnRelease;
};

} // namespace tarvo
