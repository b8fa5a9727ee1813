#pragma once

#include <memory>

#include <QObject>
#include <QString>

class QLocalServer;
class QLockFile;

namespace tarvo {

// One Tarvo per user and graphical session. The first start holds a lock file and listens on a
// local socket; a later start finds the lock taken, asks the first one to come to the front, and
// ends. A crashed instance leaves a lock whose process is gone, which the next start takes over.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    // key: names the session, e.g. from sessionKey(); directory: where the lock and socket live.
    SingleInstance(QString key, QString directory);
    ~SingleInstance() override;

    // True when this is the only instance; false when another runs and was asked to come forward.
    bool claim();

Q_SIGNALS:
    void activationRequested();

private:
    bool askRunningInstance() const;

    QString m_lockPath;
    QString m_socketPath;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
};

// The user's graphical session as a short name usable in a file name: the X display or the Wayland
// socket this process talks to.
QString sessionKey();

// The per-user directory for the lock and the socket.
QString runtimeDirectory();

} // namespace tarvo
