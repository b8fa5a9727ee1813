#pragma once

#include <utility>
#include <vector>

#include <QObject>

#include "power/action_kind.h"

class QPushButton;

namespace tarvo {

class Form1;

// Hands the mouse moves over the action buttons to the window's hover handler, and keeps them from
// reaching the panel behind: a move over a button is the button's, not the panel's.
class ActionHoverFilter final : public QObject {
    Q_OBJECT

public:
    ActionHoverFilter(Form1& form, std::vector<std::pair<QPushButton*, ActionKind>> buttons);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Form1& m_form;
    std::vector<std::pair<QPushButton*, ActionKind>> m_buttons;
};

} // namespace tarvo
