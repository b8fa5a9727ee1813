#pragma once

// The main window's typical states, built on fakes: the layout test checks each of them for clipped
// or overlapping texts, and the screenshot tool renders them.

#include <functional>
#include <vector>

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

#include "fakes.h"

namespace tarvo::test {

struct WindowState {
    const char* name;
    std::function<void(Harness&)> setup;
    const char* commandLine = "";
};

// A countdown of the given minutes that stays on the screen (no tray, no minimising).
inline void countDown(Harness& h, ActionKind action, const char* minutes, bool inMinutes = false)
{
    Form1& f = *h.form;
    f.ActionButton_Click(action);
    control<QCheckBox>(f, "SystemTRayFrame1")->setChecked(false);
    control<QCheckBox>(f, "AddToTrayIconCheck")->setChecked(false);
    control<QLineEdit>(f, "ZeitEingabe")->setText(QLatin1String(minutes));
    f.ZeitEingabe_Validate();
    f.Start_Click();
    control<QCheckBox>(f, "Anz_Minuten")->setChecked(inMinutes);
    f.showNormal();
}

inline void hoverInfoField(Form1& f)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), control<QLabel>(f, "InfoField")->mapToGlobal(QPointF(5, 5)), Qt::NoButton,
        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(control<QLabel>(f, "InfoField"), &move);
}

inline std::vector<WindowState> windowStates()
{
    std::vector<WindowState> states = {
        { "compact", [](Harness&) {} },
        { "entry", [](Harness& h) { h.form->ActionButton_Click(ActionKind::Ausschalten); } },
        { "info_icon",
            [](Harness& h) {
                h.form->ActionButton_Click(ActionKind::Ausschalten);
                hoverInfoField(*h.form);
            } },
        { "entry_hours",
            [](Harness& h) {
                h.form->ActionButton_Click(ActionKind::Ruhezustand);
                control<QLineEdit>(*h.form, "ZeitEingabe")->setText(QStringLiteral("1500"));
                h.form->ZeitEingabe_Validate();
                control<QPushButton>(*h.form, "Command1")->click();
            } },
        { "entry_longest",
            [](Harness& h) {
                h.form->ActionButton_Click(ActionKind::Ruhezustand);
                control<QLineEdit>(*h.form, "ZeitEingabe")->setText(QStringLiteral("20160"));
                h.form->ZeitEingabe_Validate();
                h.form->Label5_Click();
            } },
        { "countdown",
            [](Harness& h) {
                countDown(h, ActionKind::Standby, "90");
                h.tick(5);
            } },
        { "paused",
            [](Harness& h) {
                countDown(h, ActionKind::Standby, "90");
                h.tick(5);
                h.form->AktiveLED_DblClick();
            } },
        { "countdown_days",
            [](Harness& h) {
                countDown(h, ActionKind::Neustart, "3000");
                h.tick(10);
            } },
        { "countdown_longest", [](Harness& h) { countDown(h, ActionKind::Ruhezustand, "20160"); } },
        { "countdown_minutes", [](Harness& h) { countDown(h, ActionKind::Abmelden, "20160", true); } },
        { "last_seconds",
            [](Harness& h) {
                control<QCheckBox>(*h.form, "Akustik")->setChecked(true);
                countDown(h, ActionKind::Ausschalten, "1");
                h.tick(60 - 17);
            } },
        { "last_second",
            [](Harness& h) {
                countDown(h, ActionKind::Ausschalten, "1");
                h.tick(59);
            } },
        { "classic", [](Harness&) {}, "C" },
    };
    return states;
}

inline WindowState windowState(const char* name)
{
    for (const WindowState& state : windowStates()) {
        if (qstrcmp(state.name, name) == 0)
            return state;
    }
    qFatal("no window state %s", name);
}

// The window of a state, on the screen.
inline std::unique_ptr<Harness> windowIn(const WindowState& state)
{
    auto h = std::make_unique<Harness>(QString::fromUtf8(state.commandLine));
    h->windowSystem->tray = false;
    h->load();
    state.setup(*h);
    return h;
}

} // namespace tarvo::test
