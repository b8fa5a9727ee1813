#pragma once

// Small builders for the main window's controls: each makes one control with its object name,
// places it in twips and gives it Tarvo's look.
#include <QRect>
#include <QString>
#include <QWidget>

class QCheckBox;
class QColor;
class QFont;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace tarvo::widget_builders {

template <typename W>
W* make(QWidget* parent, const char* name)
{
    auto* widget = new W(parent);
    widget->setObjectName(QLatin1String(name));
    return widget;
}

void place(QWidget* widget, int left, int top, int width, int height);
QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption, QRect twips, const QFont& font,
                  const QColor& colour);
QCheckBox* makeCheckBox(QWidget* parent, const char* name, const QString& caption, QRect twips, bool checked);
QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, QRect twips, bool bold);
QLineEdit* makeField(QWidget* parent, const char* name, QRect twips, double pointSize, bool bold);
QFrame* makePanel(QWidget* parent, const char* name);
QTimer* makeTimer(QObject* parent, const char* name);
QRect tw(int left, int top, int width, int height);

} // namespace tarvo::widget_builders
