#include "shell/always_on_top.h"

#include <QEvent>
#include <QMouseEvent>

#include "app/look.h"
#include "app/services.h"

namespace tarvo {
namespace {
constexpr QSize kPinSize(21, 20);
}

AlwaysOnTop::AlwaysOnTop(WindowSystem& windowSystem, QWidget* parent)
    : QWidget(parent)
    , m_windowSystem(windowSystem)
{
    const auto picture = [this](const char* name, const char* asset) {
        auto* label = new QLabel(this);
        label->setObjectName(QLatin1String(name));
        label->setGeometry(QRect(QPoint(0, 0), kPinSize));
        label->setPixmap(assetPixmap(QLatin1String(asset), kPinSize, devicePixelRatioF()));
        label->setToolTip(QStringLiteral("Always on top"));
        label->setMouseTracking(true);
        label->installEventFilter(this);
        return label;
    };
    AOT_Disabled = picture("AOT_Disabled", "pin_normal");
    AOT_MouseMove = picture("AOT_MouseMove", "pin_hover");
    AOT_Enabled = picture("AOT_Enabled", "pin_pinned");
    AOT_MouseMove->hide();
    AOT_Enabled->hide();
    setMouseTracking(true);
    setFixedSize(kPinSize);
}

void AlwaysOnTop::SetToTop(const QVariant& saveSettings)
{
    m_onTop = true;
    AOT_Disabled->hide();
    AOT_MouseMove->hide();
    AOT_Enabled->show();
    pin(true);
    if (saveSettings.isValid() && saveSettings.toBool())
        SaveSettings();
}

void AlwaysOnTop::SetToNormal(const QVariant& saveSettings)
{
    m_onTop = false;
    AOT_Disabled->hide();
    AOT_MouseMove->show();
    AOT_Enabled->hide();
    pin(false);
    if (saveSettings.isValid() && saveSettings.toBool())
        SaveSettings();
}

void AlwaysOnTop::pin(bool above)
{
    SaveSettings();
    m_windowSystem.setKeepAbove(window(), above);
}

void AlwaysOnTop::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (size() != kPinSize)
        resize(kPinSize);
}

bool AlwaysOnTop::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == AOT_Enabled)
            SetToNormal();
        else
            SetToTop();
        return true;
    }
    if (event->type() == QEvent::MouseMove && watched == AOT_Disabled) {
        AOT_Disabled->hide();
        AOT_MouseMove->show();
        AOT_Enabled->hide();
    }
    return QWidget::eventFilter(watched, event);
}

void AlwaysOnTop::mouseMoveEvent(QMouseEvent* event)
{
    // Over a part no picture covers: the hover look goes back to the plain pin.
    if (AOT_MouseMove->isVisible()) {
        AOT_Disabled->show();
        AOT_MouseMove->hide();
    }
    QWidget::mouseMoveEvent(event);
}

} // namespace tarvo
