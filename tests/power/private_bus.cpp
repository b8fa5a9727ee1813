#include "private_bus.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <QTest>
#include <QUuid>

namespace tarvo::test {

namespace {

// Starting python with dbus and GLib takes a few hundred milliseconds; a loaded CI machine more.
constexpr int kStartTimeoutMs = 20000;

void stop(QProcess& process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(5000);
    }
}

QString formatValue(const QVariant& value)
{
    if (value.canConvert<QDBusArgument>())
        return QStringLiteral("<%1>").arg(value.value<QDBusArgument>().currentSignature());
    if (value.metaType().id() == QMetaType::QString)
        return QStringLiteral("\"%1\"").arg(value.toString());
    return QStringLiteral("%1 %2").arg(QString::fromLatin1(value.typeName()), value.toString());
}

} // namespace

PrivateBus::PrivateBus(const QString& configFile)
{
    m_daemon.setProgram(QStringLiteral("dbus-daemon"));
    m_daemon.setArguments({ QStringLiteral("--config-file=") + configFile, QStringLiteral("--nofork"),
        QStringLiteral("--print-address=1") });
    // As root it complains that it cannot raise its descriptor limit; nothing else of interest.
    m_daemon.setStandardErrorFile(QProcess::nullDevice());
    m_daemon.start();
    if (!m_daemon.waitForStarted(kStartTimeoutMs)) {
        m_problem = QStringLiteral("dbus-daemon did not start: ") + m_daemon.errorString();
        return;
    }
    const QDeadlineTimer deadline(kStartTimeoutMs);
    while (!m_daemon.canReadLine() && !deadline.hasExpired() && m_daemon.state() == QProcess::Running)
        m_daemon.waitForReadyRead(100);
    m_address = QString::fromLocal8Bit(m_daemon.readLine()).trimmed();
    if (m_address.isEmpty()) {
        m_problem = QStringLiteral("dbus-daemon printed no address");
        return;
    }
    m_connection = connect(QStringLiteral("tarvo-test"));
    if (!m_connection.isConnected())
        m_problem = QStringLiteral("cannot connect to %1: %2").arg(m_address, m_connection.lastError().message());
}

PrivateBus::~PrivateBus()
{
    QDBusConnection::disconnectFromBus(m_connection.name());
    stop(m_daemon);
}

QDBusConnection PrivateBus::connect(const QString& name) const
{
    // Unique names: Qt keeps named connections per process, and every test starts new buses.
    const QString unique = name + QLatin1Char('-') + QUuid::createUuid().toString(QUuid::WithoutBraces);
    return QDBusConnection::connectToBus(m_address, unique);
}

QString formatMockCall(const QString& method, const QVariantList& args)
{
    QStringList parts;
    for (const QVariant& arg : args)
        parts.append(formatValue(arg));
    return QStringLiteral("%1(%2)").arg(method, parts.join(QStringLiteral(", ")));
}

MockService::MockService(const PrivateBus& bus, const QString& busName, const QStringList& dbusmockArgs)
    : m_bus(bus.connection())
    , m_name(busName)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // The logind template talks to the "system" bus; both point at our private one.
    env.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), bus.address());
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.address());
    m_process.setProcessEnvironment(env);
    m_process.setProgram(QStringLiteral("/usr/bin/python3"));
    m_process.setArguments(QStringList { QStringLiteral("-m"), QStringLiteral("dbusmock") } + dbusmockArgs);
    // dbusmock logs every call on stdout; the calls are read back with GetCalls instead.
    m_process.setStandardOutputFile(QProcess::nullDevice());
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start();

    QDBusConnectionInterface* driver = m_bus.interface();
    m_up = QTest::qWaitFor(
        [&] { return m_process.state() == QProcess::NotRunning || driver->isServiceRegistered(m_name).value(); },
        kStartTimeoutMs);
    m_up = m_up && m_process.state() != QProcess::NotRunning;
    if (!m_up)
        m_problem = QStringLiteral("dbusmock did not take %1 (%2)").arg(m_name, m_process.errorString());
}

MockService::~MockService()
{
    stop(m_process);
}

QDBusMessage MockService::call(
    const QString& path, const QString& interface, const QString& method, const QVariantList& args) const
{
    QDBusMessage message = QDBusMessage::createMethodCall(m_name, path, interface, method);
    message.setArguments(args);
    return m_bus.call(message, QDBus::Block, 10000);
}

QString MockService::addMethod(const QString& path, const QString& interface, const QString& method,
    const QString& inSig, const QString& outSig, const QString& code) const
{
    const QDBusMessage reply = call(path, QStringLiteral("org.freedesktop.DBus.Mock"), QStringLiteral("AddMethod"),
        { interface, method, inSig, outSig, code });
    return reply.type() == QDBusMessage::ErrorMessage ? reply.errorName() + u' ' + reply.errorMessage() : QString();
}

QStringList mockCalls(const QDBusConnection& bus, const QString& service, const QString& path)
{
    const QDBusMessage reply = bus.call(QDBusMessage::createMethodCall(service, path,
                                            QStringLiteral("org.freedesktop.DBus.Mock"), QStringLiteral("GetCalls")),
        QDBus::Block, 10000);
    if (reply.type() != QDBusMessage::ReplyMessage)
        return { QStringLiteral("GetCalls failed: ") + reply.errorName() + u' ' + reply.errorMessage() };

    // a(tsav): time stamp, method name, arguments
    QStringList result;
    const QDBusArgument list = reply.arguments().constFirst().value<QDBusArgument>();
    list.beginArray();
    while (!list.atEnd()) {
        quint64 stamp = 0;
        QString method;
        QVariantList args;
        list.beginStructure();
        list >> stamp >> method;
        list.beginArray();
        while (!list.atEnd()) {
            QDBusVariant arg;
            list >> arg;
            args.append(arg.variant());
        }
        list.endArray();
        list.endStructure();
        result.append(formatMockCall(method, args));
    }
    list.endArray();
    return result;
}

} // namespace tarvo::test
