#pragma once

#include <QObject>

class QWidget;

namespace tarvo {

class Form1;

// Hands the mouse moves over the action buttons to the window's hover handler, and keeps them from
// reaching the panel behind: a move over a button is the button's, not the panel's.
class ActionHoverFilter final : public QObject {
    Q_OBJECT

public:
    // band: the picture band the buttons stand on.
    ActionHoverFilter(Form1& form, QWidget& band);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Form1& m_form;
    QWidget& m_band;
};

} // namespace tarvo
