#pragma once

// Small builders for the main window's controls: each makes one control with its object name,
// places it in twips and gives it Tarvo's look (make, place and makeLabel are in base/controls.h).
#include <QRect>
#include <QString>
#include <QWidget>

class QCheckBox;
class QFrame;
class QLineEdit;
class QPushButton;
class QTimer;

namespace tarvo {

QCheckBox* makeCheckBox(QWidget* parent, const char* name, const QString& caption, QRect twips, bool checked);
QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, QRect twips, bool bold);
QLineEdit* makeField(QWidget* parent, const char* name, QRect twips, double pointSize, bool bold);
QFrame* makePanel(QWidget* parent, const char* name);
QTimer* makeTimer(QObject* parent, const char* name);
QRect tw(int left, int top, int width, int height);

} // namespace tarvo
