#pragma once

#include <memory>

#include <QDBusConnection>
#include <QObject>

namespace tarvo {

class CountdownNotifier;
class DesktopCompanion;
class Form1;
class IdleInhibitor;

// Puts the desktop companion beside the main window: idle sleep held off while the countdown runs,
// the warning while the window is in the tray or minimised, and Tarvo's own standby or hibernation
// sent only after the desktop has given the inhibitors back. Made after the window and gone before it.
class DesktopWiring final : public QObject {
    Q_OBJECT
public:
    DesktopWiring(Form1& form, const QDBusConnection& systemBus, const QDBusConnection& sessionBus);
    ~DesktopWiring() override;

protected:
    // The window hidden, shown or minimised.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class View;

    std::unique_ptr<View> m_view;
    std::unique_ptr<IdleInhibitor> m_inhibitor;
    std::unique_ptr<CountdownNotifier> m_notifier;
    std::unique_ptr<DesktopCompanion> m_companion;
};

} // namespace tarvo
