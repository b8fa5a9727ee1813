#pragma once

// The widgets of Tarvo's main window, by kind. The floor program builds as many of each, so that it
// costs what any Qt window of Tarvo's size costs; tst_floor_census keeps the table in step with
// the main window.
namespace tarvo::bench {

struct WidgetCount {
    const char* className;
    int count;
};

inline constexpr WidgetCount kMainWindowWidgets[] = {
    { "QLabel", 31 },
    { "QPushButton", 19 },
    { "QCheckBox", 5 },
    { "QLineEdit", 5 },
    { "QRadioButton", 5 },
    { "QFrame", 5 },
    { "QScrollBar", 2 },
    { "QWidget", 1 },
};

} // namespace tarvo::bench
