#pragma once

#include <cstdint>

#include <QDBusConnection>
#include <QObject>
#include <QString>

namespace tarvo {

// One desktop notification about the running countdown over org.freedesktop.Notifications, with
// the actions "Abbrechen" and "+10 Minuten" and a default action that brings the window back.
// Showing again replaces it instead of stacking a new one. Without a notification server nothing
// happens.
class CountdownNotifier final : public QObject {
    Q_OBJECT
public:
    explicit CountdownNotifier(QDBusConnection sessionBus, QObject* parent = nullptr);
    ~CountdownNotifier() override;

    void show(const QString& summary, const QString& body);
    void close();

signals:
    void cancelRequested();
    void extendRequested();
    void windowRequested();

private slots:
    void onActionInvoked(uint id, const QString& action);
    void onClosed(uint id, uint reason);

private:
    void notify();

    QDBusConnection m_bus;
    std::uint32_t m_id = 0; // the server's id of our notification; 0 while none is shown
    bool m_pending = false; // a Notify is on its way and its id not known yet
    bool m_wanted = false;  // whether the notification should be up once the server has answered
    bool m_dirty = false;   // newer text than the pending Notify carries
    QString m_summary;
    QString m_body;
};

} // namespace tarvo
