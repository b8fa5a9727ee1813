#include "app/single_instance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>

namespace tarvo {
namespace {
const QByteArray kRaise = QByteArrayLiteral("raise\n");
constexpr int kWaitForFirstMs = 10000;
} // namespace

QString sessionKey()
{
    QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (display.isEmpty())
        display = qEnvironmentVariable("DISPLAY");
    if (display.isEmpty())
        display = QStringLiteral("none");
    display.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9._-]")), QStringLiteral("_"));
    return display;
}

QString runtimeDirectory()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    return dir;
}

SingleInstance::SingleInstance(QString key, QString directory)
    : m_lockPath(directory + QStringLiteral("/tarvo-") + key + QStringLiteral(".lock"))
    , m_socketPath(directory + QStringLiteral("/tarvo-") + key + QStringLiteral(".socket"))
{
}

SingleInstance::~SingleInstance()
{
    if (m_server)
        m_server->close();
}

bool SingleInstance::claim()
{
    m_lock = std::make_unique<QLockFile>(m_lockPath);
    // Never stale by age: only a lock whose process has died is taken over.
    m_lock->setStaleLockTime(0);
    const QDeadlineTimer deadline(kWaitForFirstMs);
    while (!m_lock->tryLock(0)) {
        // The holder may still be starting: keep asking until its socket answers or the lock frees.
        if (askRunningInstance())
            return false;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(50);
    }
    QLocalServer::removeServer(m_socketPath);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->readAll().contains(kRaise.trimmed())) {
                    socket->write("ok\n");
                    socket->flush();
                    Q_EMIT activationRequested();
                }
            });
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
    m_server->listen(m_socketPath);
    return true;
}

bool SingleInstance::askRunningInstance() const
{
    QLocalSocket socket;
    socket.connectToServer(m_socketPath);
    if (!socket.waitForConnected(500))
        return false;
    socket.write(kRaise);
    socket.flush();
    socket.waitForBytesWritten(1000);
    const bool answered = socket.waitForReadyRead(2000);
    socket.disconnectFromServer();
    return answered;
}

} // namespace tarvo
