#include "app/services.h"

#include <QSystemTrayIcon>
#include <QWidget>
#include <QWindow>

namespace tarvo {
namespace {

class QtWindowSystem final : public WindowSystem {
public:
    bool trayAvailable() const override { return QSystemTrayIcon::isSystemTrayAvailable(); }
    void setKeepAbove(QWidget* window, bool above) override
    {
        // Setting the hint on the QWindow changes the window manager state of a shown window without
        // hiding and re-creating it, as QWidget::setWindowFlags would.
        window->setAttribute(Qt::WA_NativeWindow);
        if (QWindow* handle = window->windowHandle())
            handle->setFlag(Qt::WindowStaysOnTopHint, above);
    }
};

} // namespace

std::unique_ptr<WindowSystem> makeWindowSystem()
{
    return std::make_unique<QtWindowSystem>();
}

} // namespace tarvo
