#pragma once

// A dbus-daemon of the test's own, and python3-dbusmock services on it, so that no test can ever
// reach a bus of the machine.

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

namespace tarvo::test {

// Qt keeps named connections per process, so every one gets a name of its own.
inline QDBusConnection connectTo(const QString& address)
{
    return QDBusConnection::connectToBus(address, QUuid::createUuid().toString());
}
inline QDBusConnection nowhere() { return connectTo(QStringLiteral("unix:path=/nonexistent/tarvo-test")); }

// The calls a dbusmock logged into its file (-l) from the offset seen on, as "Method arg ...", e.g.
// "PowerOff True" or "GetSession \"c1\""; the offset moves past them.
inline QStringList loggedCalls(const QString& logFile, qint64* seen)
{
    QFile log(logFile);
    QStringList calls;
    if (!log.open(QIODevice::ReadOnly) || !log.seek(*seen))
        return calls;
    const QByteArray text = log.readAll();
    *seen += text.size();
    for (const QByteArray& line : text.split('\n')) {
        const QByteArray call = line.mid(line.indexOf(' ') + 1); // after the time stamp
        // An error reply is logged once more; the signals the mock emits are no calls.
        if (!call.isEmpty() && !call.contains(" raised: ") && !call.startsWith("emit "))
            calls << QString::fromUtf8(call);
    }
    return calls;
}

// Services found in serviceDir are started on demand, as a desktop's session bus does. A socket
// path makes the bus listen there too, so a bus started anew can be found at the same address.
struct PrivateBus {
    QTemporaryDir dir;
    QProcess daemon;
    QString address;

    explicit PrivateBus(const QString& serviceDir = {}, const QString& socket = {})
    {
        QFile config(dir.filePath(QStringLiteral("bus.conf")));
        config.open(QIODevice::WriteOnly);
        config.write("<busconfig><include>/usr/share/dbus-1/session.conf</include><servicedir>"
                     + (serviceDir.isEmpty() ? dir.path() : serviceDir).toUtf8() + "</servicedir>"
                     + (socket.isEmpty() ? QByteArray() : "<listen>unix:path=" + socket.toUtf8() + "</listen>")
                     + "</busconfig>");
        config.close();
        daemon.setStandardErrorFile(QProcess::nullDevice()); // as root it cannot raise its file limit
        daemon.start(QStringLiteral("dbus-daemon"),
                     {"--config-file=" + config.fileName(), "--nofork", "--print-address=1"});
        while (!daemon.canReadLine() && daemon.waitForReadyRead(20000)) // the address may come in parts
            continue;
        address = QString::fromUtf8(daemon.readLine()).trimmed();
    }
    ~PrivateBus() { daemon.kill(), daemon.waitForFinished(); }
    bool isUp() const { return !address.isEmpty(); }
};

// python3-dbusmock serving one name on a private bus; every call it answers is logged.
struct MockService {
    QDBusConnection bus;
    QString name, log;
    QProcess process;
    bool up = false;
    qint64 seen = 0;

    // Arguments after "python3 -m dbusmock", e.g. {"--template", "logind"} or {NAME, PATH, IFACE}.
    MockService(const PrivateBus& on, const QString& service, const QStringList& args)
        : bus(connectTo(on.address)), name(service), log(on.dir.filePath(service + QStringLiteral(".log")))
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), on.address);
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), on.address);
        process.setProcessEnvironment(env);
        process.start(QStringLiteral("/usr/bin/python3"), QStringList{"-m", "dbusmock", "-l", log} + args);
        const auto running = [this] { return process.state() != QProcess::NotRunning; };
        up = QTest::qWaitFor([&] { return !running() || bus.interface()->isServiceRegistered(name); }, 20000) && running();
    }
    ~MockService() { process.kill(), process.waitForFinished(); }
    bool isUp() const { return up; }
    QStringList takeCalls() { return loggedCalls(log, &seen); }

    QDBusMessage call(const QString& path, const QString& interface, const QString& method,
                      const QVariantList& args = {}) const
    {
        QDBusMessage message = QDBusMessage::createMethodCall(name, path, interface, method);
        message.setArguments(args);
        return bus.call(message, QDBus::Block, 10000);
    }
    // Adds a method to the object at path; code is Python that may set "ret" or raise.
    bool addMethod(const QString& path, const QString& interface, const QString& method, const QString& in,
                   const QString& out, const QString& code = {}) const
    {
        return call(path, QStringLiteral("org.freedesktop.DBus.Mock"), QStringLiteral("AddMethod"),
                    {interface, method, in, out, code}).type() == QDBusMessage::ReplyMessage;
    }
};

} // namespace tarvo::test
