#pragma once

#include <functional>
#include <utility>
#include <vector>

#include <QObject>
#include <QPointer>

#include "shell/drag_start.h"

class QMouseEvent;

namespace tarvo {

// The mouse rules of the main window's passive parts: the panels' bare background, the labels, the
// light and the check boxes that double as the window's handle. Each part's roles stand in one table
// (passive_parts.cpp), by object name; what the window does about them is in the hooks.
class PassiveParts final : public QObject {
public:
    struct Hooks {
        std::function<void()> minimise;
        // A left click on a part that takes clicks: pressed and let go over it.
        std::function<void(QWidget* part)> click;
        // A double-click on the light.
        std::function<void()> lightDoubleClick;
        // A press or a double-click on the tray box.
        std::function<void(const QMouseEvent& mouse)> trayBoxPress;
        // A move over a part; true when it is used up.
        std::function<bool(QWidget* part, const QMouseEvent& mouse)> hover;
    };

    // Watches the parts of the table among window's children; infoIcon is shown over the info field.
    PassiveParts(QWidget& window, QWidget& infoIcon, Hooks hooks);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    unsigned rolesOf(const QObject* part) const;
    bool doubleClickOn(unsigned roles, const QMouseEvent& mouse);
    bool pressOn(QWidget* part, unsigned roles, const QMouseEvent& mouse);
    bool releaseOn(QWidget* part, unsigned roles, const QMouseEvent& mouse);
    bool moveOn(QWidget* part, unsigned roles, const QMouseEvent& mouse);
    void armDrag(QWidget* part, const QMouseEvent& mouse);
    bool dragOnMove(QWidget* part, const QMouseEvent& mouse);

    QWidget& m_infoIcon;
    Hooks m_hooks;
    DragStart m_drag;
    std::vector<std::pair<QWidget*, unsigned>> m_parts;
    QPointer<QWidget> m_clickCandidate;
    bool m_rightMinimised = false;
};

} // namespace tarvo
