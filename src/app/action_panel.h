#pragma once

#include <array>

#include "power/action_kind.h"

class QLabel;
class QPushButton;
class QRadioButton;
class QWidget;

namespace tarvo {

struct ActionControls {
    QPushButton* button = nullptr;
    QLabel* caption = nullptr;
    // In the hidden group (Frame3): which action is selected.
    QRadioButton* option = nullptr;
};

// The picture band at the top of the main window: each action's button (AusschaltenBtn ...) and its
// caption (Label4 ...), named as the action table names them, and the info icon with the field that
// shows it.
struct ActionPanel {
    QLabel* Picture1 = nullptr;
    // Indexed by ActionKind.
    std::array<ActionControls, 5> actions{};
    QLabel* InfoField = nullptr;
    QLabel* LightFlag = nullptr;
};

ActionPanel buildActionPanel(QWidget* window);
// The action's picture on its button: in colour when pressed, grey otherwise.
void showActionPicture(const ActionPanel& panel, ActionKind action, bool pressed);
void setCaptionBold(const ActionPanel& panel, ActionKind action, bool bold);
// Each action's option, in the hidden group; shut down is selected.
void buildActionOptions(ActionPanel& panel, QWidget* group);

} // namespace tarvo
