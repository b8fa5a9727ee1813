#include "shell/always_on_top.h"

#include <QEvent>
#include <QMouseEvent>

#include "base/look.h"
#include "base/services.h"

namespace tarvo {
namespace {
constexpr QSize kPinSize(21, 20);
}

AlwaysOnTop::AlwaysOnTop(WindowSystem& windowSystem, QWidget* parent)
    : QWidget(parent)
    , m_windowSystem(windowSystem)
    , m_canPin(windowSystem.canKeepAbove())
{
    const QString toolTip = m_canPin ? QStringLiteral("Always on top")
                                     : QStringLiteral("Always on top (hier nicht möglich: die Fensterreihenfolge "
                                                      "bestimmt der Desktop)");
    const auto picture = [this, &toolTip](const char* name, const char* asset) {
        auto* label = new QLabel(this);
        label->setObjectName(QLatin1String(name));
        label->setGeometry(QRect(QPoint(0, 0), kPinSize));
        label->setPixmap(assetPixmap(QLatin1String(asset), kPinSize, devicePixelRatioF()));
        label->setToolTip(toolTip);
        label->setMouseTracking(true);
        label->installEventFilter(this);
        return label;
    };
    AOT_Disabled = picture("AOT_Disabled", "pin_normal");
    AOT_MouseMove = picture("AOT_MouseMove", "pin_hover");
    AOT_Enabled = picture("AOT_Enabled", "pin_pinned");
    showPicture(AOT_Disabled);
    setMouseTracking(true);
    setFixedSize(kPinSize);
}

void AlwaysOnTop::showPicture(QLabel* picture)
{
    // Without keep-above the pin keeps lying, whatever was asked of it.
    if (!m_canPin)
        picture = AOT_Disabled;
    for (QLabel* label : { AOT_Disabled, AOT_MouseMove, AOT_Enabled })
        label->setVisible(label == picture);
}

void AlwaysOnTop::SetToTop()
{
    m_onTop = true;
    showPicture(AOT_Enabled);
    pin(true);
}

void AlwaysOnTop::SetToNormal()
{
    m_onTop = false;
    // The mouse is over the pin after a click on it, so it shows the hover look.
    showPicture(AOT_MouseMove);
    pin(false);
}

void AlwaysOnTop::pin(bool above)
{
    if (m_canPin)
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
    auto* picture = qobject_cast<QLabel*>(watched);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            m_pressed = picture;
        return true; // the pin is no handle to drag the window by
    case QEvent::MouseButtonDblClick:
        return true; // nor does a double click on it minimise the window
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const bool click = mouse->button() == Qt::LeftButton && m_pressed == picture && picture
            && picture->rect().contains(mouse->position().toPoint());
        if (mouse->button() == Qt::LeftButton)
            m_pressed = nullptr;
        if (click) {
            if (picture == AOT_Enabled)
                SetToNormal();
            else
                SetToTop();
        }
        return true;
    }
    case QEvent::MouseMove:
        if (watched == AOT_Disabled)
            showPicture(AOT_MouseMove);
        return true; // a move over a picture is not one over the bare control
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void AlwaysOnTop::mouseMoveEvent(QMouseEvent* event)
{
    // Over a part no picture covers: the hover look goes back to the plain pin.
    if (AOT_MouseMove->isVisible())
        showPicture(AOT_Disabled);
    QWidget::mouseMoveEvent(event);
}

} // namespace tarvo
