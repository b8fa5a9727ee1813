#include "shell/system_tray.h"

#include <QSystemTrayIcon>
#include <QWidget>

namespace tarvo {

QString fitTrayToolTip(const QString& text)
{
    qsizetype first = 0;
    while (first < text.size() && text.at(first) == QLatin1Char(' '))
        ++first;
    return text.mid(first, 63);
}

SystemTray::SystemTray(QObject* parent)
    : QObject(parent)
{
    setObjectName(QStringLiteral("SystemTray"));
}

SystemTray::~SystemTray()
{
    RemoveTrayIcon();
}

void SystemTray::AddTrayIcon(QWidget* iconSource, const QString& toolTip, bool openMenuOnRightClick,
                             QWidget* showOnClick)
{
    m_toolTipText = toolTip;
    m_openMenuOnRightClick = openMenuOnRightClick;
    m_showOnClick = showOnClick;
    RemoveTrayIcon();
    m_icon = new QSystemTrayIcon(iconSource->windowIcon(), this);
    m_icon->setToolTip(fitTrayToolTip(toolTip));
    connect(m_icon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) { onActivated(reason); });
    m_icon->show();
}

void SystemTray::ChangeToolTipText(const QString& text)
{
    if (m_icon)
        m_icon->setToolTip(fitTrayToolTip(text));
}

void SystemTray::RemoveTrayIcon()
{
    if (!m_icon)
        return;
    m_icon->hide();
    delete m_icon;
    m_icon = nullptr;
}

bool SystemTray::isIconShown() const
{
    return m_icon != nullptr;
}

QString SystemTray::toolTip() const
{
    return m_icon ? m_icon->toolTip() : QString();
}

void SystemTray::onActivated(int reason)
{
    if (reason != QSystemTrayIcon::Trigger && reason != QSystemTrayIcon::DoubleClick)
        return;
    if (m_showOnClick) {
        m_showOnClick->show();
        m_showOnClick->setWindowState(m_showOnClick->windowState() & ~Qt::WindowMinimized);
        m_showOnClick->raise();
        m_showOnClick->activateWindow();
    }
    RemoveTrayIcon();
    Q_EMIT restored();
}

} // namespace tarvo
