#pragma once

#include <QObject>

namespace tarvo {

class Form1;

// Hands the mouse moves over the action buttons to the window's hover handler, and keeps them from
// reaching the panel behind: a move over a button is the button's, not the panel's.
class ActionHoverFilter final : public QObject {
    Q_OBJECT

public:
    explicit ActionHoverFilter(Form1& form);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Form1& m_form;
};

} // namespace tarvo
