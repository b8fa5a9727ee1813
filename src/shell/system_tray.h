#pragma once

#include <memory>

#include <QPointer>
#include <QString>

class QWidget;

namespace tarvo {

class TrayIcon;
class WindowSystem;
enum class TrayClick;

// The owner of Tarvo's icon in the notification area, never shown itself. A left click or a double
// click on the icon brings the window back and removes the icon; nothing else on the icon does
// anything, and there is no menu.
class SystemTray {
public:
    explicit SystemTray(WindowSystem& windowSystem);
    ~SystemTray();
    SystemTray(const SystemTray&) = delete;
    SystemTray& operator=(const SystemTray&) = delete;

    // Shows the icon of RefIcon_Form with the tooltip as given. While an icon is shown, a second
    // call keeps it and its tooltip.
    void AddTrayIcon(QWidget* RefIcon_Form, const QString& c_ToolTipText = {}, QWidget* c_ShowFormOnClick = nullptr);
    void ChangeToolTipText(const QString& text);
    void RemoveTrayIcon();

    bool isIconShown() const { return m_icon != nullptr; }

    // The title of the never-shown tray window.
    QString title;

private:
    void onClick(TrayClick click);

    WindowSystem& m_windowSystem;
    std::unique_ptr<TrayIcon> m_icon;
    QPointer<QWidget> m_showOnClick;
};

// The tooltip as the notification area shows it: at most 63 characters of the text.
QString fitTrayToolTip(const QString& text);
// The same after a tooltip change, which drops the text's leading blanks and keeps trailing ones.
QString changedTrayToolTip(const QString& text);

} // namespace tarvo
