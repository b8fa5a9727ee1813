#include "shell/system_tray.h"

#include <QIcon>
#include <QWidget>

#include "base/services.h"

namespace tarvo {
namespace {
// The notification area holds 64 characters, the last of them the terminating NUL.
constexpr qsizetype kShownToolTipLength = 63;
} // namespace

QString fitTrayToolTip(const QString& text)
{
    QString shown = text.left(kShownToolTipLength);
    // Never leave half of a character that needs two UTF-16 units.
    if (shown.size() == kShownToolTipLength && shown.back().isHighSurrogate())
        shown.chop(1);
    return shown;
}

QString changedTrayToolTip(const QString& text)
{
    qsizetype first = 0;
    while (first < text.size() && text.at(first) == QLatin1Char(' '))
        ++first;
    return fitTrayToolTip(text.mid(first));
}

SystemTray::SystemTray(WindowSystem& windowSystem)
    : m_windowSystem(windowSystem)
{
}

SystemTray::~SystemTray() = default;

void SystemTray::AddTrayIcon(QWidget* RefIcon_Form, const QString& c_ToolTipText, QWidget* c_ShowFormOnClick)
{
    m_showOnClick = c_ShowFormOnClick;
    if (m_icon)
        return;
    m_icon = m_windowSystem.addTrayIcon(RefIcon_Form ? RefIcon_Form->windowIcon() : QIcon(),
        fitTrayToolTip(c_ToolTipText), [this](TrayClick click) { onClick(click); });
}

void SystemTray::ChangeToolTipText(const QString& text)
{
    // After a restore there is no icon left to change.
    if (!m_icon)
        return;
    m_icon->setToolTip(changedTrayToolTip(text));
}

void SystemTray::RemoveTrayIcon()
{
    m_icon.reset();
}

void SystemTray::onClick(TrayClick click)
{
    // The rest of a double click finds the icon gone and does nothing.
    if (!m_icon || (click != TrayClick::Left && click != TrayClick::Double))
        return;
    if (QWidget* window = m_showOnClick) {
        window->show();
        window->setWindowState(window->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
        m_windowSystem.activate(window);
    }
    RemoveTrayIcon();
}

} // namespace tarvo
