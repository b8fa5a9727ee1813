#include "app/widget_builders.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "base/controls.h"
#include "base/look.h"
#include "base/twips.h"

namespace tarvo {

QCheckBox* makeCheckBox(QWidget* parent, const char* name, const QString& caption, QRect twips, bool checked)
{
    auto* box = make<QCheckBox>(parent, name);
    box->setText(caption);
    place(box, twips.x(), twips.y(), twips.width(), twips.height());
    box->setFont(uiFont(8.25, true));
    setTextColour(box, colours::entryText);
    box->setChecked(checked);
    return box;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, QRect twips, bool bold)
{
    auto* button = make<QPushButton>(parent, name);
    button->setText(caption);
    place(button, twips.x(), twips.y(), twips.width(), twips.height());
    button->setFont(uiFont(8.25, bold));
    setTextColour(button, Qt::black);
    return button;
}

// The duration fields: white figures on light violet. Without the sunken frame, whose width the
// boxes were not drawn for, three digits fit the hour field and two the minute field.
QLineEdit* makeField(QWidget* parent, const char* name, QRect twips, double pointSize, bool bold)
{
    auto* field = make<QLineEdit>(parent, name);
    place(field, twips.x(), twips.y(), twips.width(), twips.height());
    field->setFont(uiFont(pointSize, bold));
    field->setAlignment(Qt::AlignCenter);
    field->setFrame(false);
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, colours::field);
    palette.setColor(QPalette::Text, colours::white);
    field->setPalette(palette);
    return field;
}

QFrame* makePanel(QWidget* parent, const char* name)
{
    auto* panel = make<QFrame>(parent, name);
    panel->setAutoFillBackground(true);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, colours::panel);
    panel->setPalette(palette);
    return panel;
}

// The clock's timer; the countdown's is its own.
QTimer* makeTimer(QObject* parent, const char* name)
{
    auto* timer = new QTimer(parent);
    timer->setObjectName(QLatin1String(name));
    timer->setInterval(1000);
    return timer;
}

QRect tw(int left, int top, int width, int height)
{
    return {left, top, width, height};
}

} // namespace tarvo
