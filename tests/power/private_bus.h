#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QVariantList>

namespace tarvo::test {

// A dbus-daemon of our own, so no test can ever reach the machine's real system bus.
class PrivateBus {
public:
    explicit PrivateBus(const QString& configFile = QStringLiteral("/usr/share/dbus-1/session.conf"));
    ~PrivateBus();
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    bool isUp() const { return m_connection.isConnected(); }
    QString address() const { return m_address; }
    QString problem() const { return m_problem; }
    // The test's own connection; a back end under test gets a separate one (see connect()).
    QDBusConnection connection() const { return m_connection; }
    QDBusConnection connect(const QString& name) const;

private:
    QProcess m_daemon;
    QString m_address;
    QString m_problem;
    QDBusConnection m_connection { QString() };
};

// One call a dbusmock object has seen, as "Method(type value, ...)" so failures read well.
QString formatMockCall(const QString& method, const QVariantList& args);

// Every call a dbusmock object has seen, in order, formatted by formatMockCall().
QStringList mockCalls(const QDBusConnection& bus, const QString& service, const QString& path);

// python3-dbusmock serving one name on a private bus.
class MockService {
public:
    // Arguments after "python3 -m dbusmock", e.g. {"--template", "logind"} or {NAME, PATH, IFACE}.
    MockService(const PrivateBus& bus, const QString& busName, const QStringList& dbusmockArgs);
    ~MockService();
    MockService(const MockService&) = delete;
    MockService& operator=(const MockService&) = delete;

    bool isUp() const { return m_up; }
    QString problem() const { return m_problem; }

    QDBusMessage call(
        const QString& path, const QString& interface, const QString& method, const QVariantList& args = {}) const;
    // org.freedesktop.DBus.Mock.AddMethod; empty when it worked, else the error.
    QString addMethod(const QString& path, const QString& interface, const QString& method, const QString& inSig,
        const QString& outSig, const QString& code) const;
    QStringList calls(const QString& path) const { return mockCalls(m_bus, m_name, path); }

private:
    QDBusConnection m_bus;
    QString m_name;
    QProcess m_process;
    bool m_up = false;
    QString m_problem;
};

} // namespace tarvo::test
