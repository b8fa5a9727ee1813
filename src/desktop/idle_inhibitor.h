#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include <QDBusConnection>
#include <QDBusUnixFileDescriptor>
#include <QObject>
#include <QString>

class QDBusPendingCall;

namespace tarvo {

// Holds the machine awake against automatic (idle) sleep while a countdown runs: a logind "idle"
// inhibitor on the system bus, and the first of the desktop's own idle-suspend inhibitors that
// answers on the session bus. Every call is asynchronous; a missing service is simply skipped.
// The screen may still blank and lock.
class IdleInhibitor final : public QObject {
    Q_OBJECT
public:
    // The session-bus inhibitors, tried in this order until one answers.
    enum class Desktop { GnomeSession, PowerManagement, Portal };

    IdleInhibitor(QDBusConnection systemBus, QDBusConnection sessionBus, QString reason,
        QObject* parent = nullptr);
    ~IdleInhibitor() override;

    void hold();
    void release();
    bool isHeld() const { return m_wanted; }
    // Released, and the desktop has answered every call: its inhibitor is gone. Wait for this before
    // Tarvo's own standby or hibernation, since a session manager may back its inhibitor with a
    // logind sleep lock of its own.
    bool isSettled() const { return !m_wanted && m_desktopCalls == 0; }

signals:
    void settled();

private:
    struct DesktopHold {
        Desktop desktop;
        std::uint32_t cookie = 0;
        QString requestPath; // the portal's handle
    };

    void holdLogind(std::uint64_t generation);
    void holdDesktop(int index, std::uint64_t generation);
    void whenAnswered(const QDBusPendingCall& call, std::function<void(const QDBusMessage&)> done);
    void dropDesktop(const DesktopHold& hold);
    bool isCurrent(std::uint64_t generation) const { return m_wanted && generation == m_generation; }
    void emitWhenSettled();

    QDBusConnection m_system;
    QDBusConnection m_session;
    QString m_reason;
    bool m_wanted = false;
    // Every hold and release starts a new generation: an answer to an older hold arrives too late
    // and is given back at once, so a release racing a pending hold leaks nothing.
    std::uint64_t m_generation = 0;
    QDBusUnixFileDescriptor m_logindFd; // closing the last copy releases the logind inhibitor
    std::optional<DesktopHold> m_desktopHold;
    int m_desktopCalls = 0; // session-bus calls not answered yet
};

} // namespace tarvo
