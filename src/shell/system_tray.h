#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QSystemTrayIcon;
class QWidget;

namespace tarvo {

// The owner of Tarvo's icon in the notification area. One exists only while the icon is shown; a
// click on the icon brings the main window back and removes the icon.
class SystemTray : public QObject {
    Q_OBJECT

public:
    explicit SystemTray(QObject* parent = nullptr);
    ~SystemTray() override;

    void AddTrayIcon(QWidget* iconSource, const QString& toolTip, bool openMenuOnRightClick, QWidget* showOnClick);
    void ChangeToolTipText(const QString& text);
    void RemoveTrayIcon();
    bool isIconShown() const;
    QString toolTip() const;

    // The title of the never-shown tray window; kept for the taskbar-less case.
    QString title;

Q_SIGNALS:
    // The user clicked the icon: the window was restored and the icon removed.
    void restored();

private:
    void onActivated(int reason);

    QSystemTrayIcon* m_icon = nullptr;
    QPointer<QWidget> m_showOnClick;
    QString m_toolTipText;
    bool m_openMenuOnRightClick = false;
};

// The tooltip as the notification area shows it: leading blanks dropped, at most 63 characters.
QString fitTrayToolTip(const QString& text);

} // namespace tarvo
