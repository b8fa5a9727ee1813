#include "shell/qt_window_system.h"

#include <optional>

#include <QApplication>
#include <QSystemTrayIcon>
#include <QWidget>
#include <QWindow>

#include "shell/x11_keep_above.h"

namespace tarvo {
namespace {

bool isWayland()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

std::optional<TrayClick> toClick(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        return TrayClick::Left;
    case QSystemTrayIcon::DoubleClick:
        return TrayClick::Double;
    case QSystemTrayIcon::Context:
        return TrayClick::Right;
    case QSystemTrayIcon::MiddleClick:
        return TrayClick::Middle;
    case QSystemTrayIcon::Unknown:
        break;
    }
    return std::nullopt;
}

// QSystemTrayIcon shows through a StatusNotifierItem where the desktop has a watcher, XEmbed
// otherwise. It has no menu.
class QtTrayIcon final : public TrayIcon {
public:
    QtTrayIcon(const QIcon& icon, const QString& toolTip, std::function<void(TrayClick)> onClick)
        : m_icon(new QSystemTrayIcon(icon, QCoreApplication::instance()))
        , m_clicking(std::make_shared<bool>(false))
    {
        m_icon->setToolTip(toolTip);
        QObject::connect(m_icon, &QSystemTrayIcon::activated, m_icon,
            [clicking = m_clicking, onClick = std::move(onClick)](QSystemTrayIcon::ActivationReason reason) {
                if (const auto click = toClick(reason)) {
                    *clicking = true;
                    onClick(*click);
                    *clicking = false;
                }
            });
        m_icon->show();
    }

    ~QtTrayIcon() override
    {
        m_icon->disconnect();
        // Removed from within its own click, the icon goes once Qt has finished delivering that
        // click to it; otherwise at once, so that it is gone before the program ends.
        if (*m_clicking)
            m_icon->deleteLater();
        else
            delete m_icon;
    }

    void setToolTip(const QString& text) override { m_icon->setToolTip(text); }

private:
    QSystemTrayIcon* m_icon;
    std::shared_ptr<bool> m_clicking;
};

class QtWindowSystem final : public WindowSystem {
public:
    bool trayAvailable() const override { return QSystemTrayIcon::isSystemTrayAvailable(); }

    void setKeepAbove(QWidget* window, bool above) override
    {
        if (isWayland() || setX11KeepAbove(window, above))
            return;
        // Elsewhere the native window takes the flag in place; QWidget::setWindowFlags would hide
        // and re-create it.
        QWidget* top = window->window();
        Qt::WindowFlags flags = top->windowFlags();
        top->overrideWindowFlags(flags.setFlag(Qt::WindowStaysOnTopHint, above));
        if (QWindow* handle = top->windowHandle())
            handle->setFlag(Qt::WindowStaysOnTopHint, above);
    }

    std::unique_ptr<TrayIcon> addTrayIcon(
        const QIcon& icon, const QString& toolTip, std::function<void(TrayClick)> onClick) override
    {
        return std::make_unique<QtTrayIcon>(icon, toolTip, std::move(onClick));
    }

    bool canKeepAbove() const override { return !isWayland(); }
    bool canRestoreMinimised() const override { return !isWayland(); }

    void activate(QWidget* window) override
    {
        window->raise();
        window->activateWindow();
        // A Wayland compositor may keep the focus where it is; the window then asks for attention.
        if (isWayland())
            QApplication::alert(window);
    }
};

} // namespace

std::unique_ptr<WindowSystem> makeWindowSystem()
{
    return std::make_unique<QtWindowSystem>();
}

} // namespace tarvo
