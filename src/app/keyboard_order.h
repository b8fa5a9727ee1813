#pragma once

class QWidget;

namespace tarvo {

struct ActionPanel;
struct CountdownPanel;
struct EntryPanel;

// The main window's tab order: the action buttons from left to right, "Sofort", the Classic view's
// "Timer", "Exit", then the entry panel's fields and buttons and the countdown panel's boxes.
void setKeyboardOrder(const ActionPanel& actions, QWidget* JetztBtn, QWidget* Abbruch, const EntryPanel& entry,
                      const CountdownPanel& countdown);

} // namespace tarvo
