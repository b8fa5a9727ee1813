#pragma once

#include <QLabel>
#include <QPointer>

namespace tarvo {

class WindowSystem;

// A push pin that keeps the window holding it above all other windows while it is pressed in.
// Where the window system leaves the stacking to the compositor (Wayland), the pin cannot do that
// and never shows itself pressed in.
class AlwaysOnTop : public QWidget {
    Q_OBJECT

public:
    AlwaysOnTop(WindowSystem& windowSystem, QWidget* parent);

    bool GetIsOnTop() const { return m_onTop; }
    // Tarvo keeps no settings: the choice is not stored.
    void SetToTop();
    void SetToNormal();

    QLabel* AOT_Disabled = nullptr;
    QLabel* AOT_MouseMove = nullptr;
    QLabel* AOT_Enabled = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void showPicture(QLabel* picture);
    void pin(bool above);

    WindowSystem& m_windowSystem;
    const bool m_canPin;
    bool m_onTop = false;
    QPointer<QLabel> m_pressed; // the picture a click began on
};

} // namespace tarvo
