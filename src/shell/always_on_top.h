#pragma once

#include <QLabel>
#include <QVariant>

namespace tarvo {

class WindowSystem;

// A push pin that keeps the window holding it above all other windows while it is pressed in.
class AlwaysOnTop : public QWidget {
    Q_OBJECT

public:
    AlwaysOnTop(WindowSystem& windowSystem, QWidget* parent);

    bool GetIsOnTop() const { return m_onTop; }
    // The argument asks to store the choice; Tarvo keeps no settings, so nothing is stored.
    void SetToTop(const QVariant& saveSettings = {});
    void SetToNormal(const QVariant& saveSettings = {});
    void SaveSettings() {}
    void LoadSettings() {}

    QLabel* AOT_Disabled = nullptr;
    QLabel* AOT_MouseMove = nullptr;
    QLabel* AOT_Enabled = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void pin(bool above);

    WindowSystem& m_windowSystem;
    bool m_onTop = false;
};

} // namespace tarvo
