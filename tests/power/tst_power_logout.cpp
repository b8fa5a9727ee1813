// Log off: the desktop's session manager on a private session bus, else logind's session on a
// private system bus. Both buses and every service on them are started here.

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

#include "power/logind_power.h"
#include "private_bus.h"

using namespace std::chrono_literals;
using tarvo::LogindPower;
using tarvo::power_code::LogOff;
using tarvo::test::MockService;
using tarvo::test::PrivateBus;

namespace {

const QString kLogind = QStringLiteral("org.freedesktop.login1");
const QString kManagerPath = QStringLiteral("/org/freedesktop/login1");
const QString kManager = QStringLiteral("org.freedesktop.login1.Manager");
const QString kSessionPath = QStringLiteral("/org/freedesktop/login1/session/c1");

QDBusConnection nowhere()
{
    return QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/tarvo-test"),
        QStringLiteral("nowhere-") + QUuid::createUuid().toString(QUuid::WithoutBraces));
}

#define REQUIRE_UP(thing) QVERIFY2((thing).isUp(), qPrintable((thing).problem()))

// logind with our session "c1"; GetSessionByPID only when asked, the template lacks it.
std::unique_ptr<MockService> startLogind(const PrivateBus& bus, bool findsSessionByPid)
{
    auto logind = std::make_unique<MockService>(bus, kLogind, QStringList { "--template", "logind" });
    if (!logind->isUp())
        return logind;
    const QDBusMessage added = logind->call(
        kManagerPath, "org.freedesktop.DBus.Mock", "AddSession", { "c1", "seat0", quint32(1000), "anna", true });
    if (added.type() != QDBusMessage::ReplyMessage)
        qWarning() << "AddSession failed:" << added.errorMessage();
    if (findsSessionByPid)
        logind->addMethod(
            kManagerPath, kManager, "GetSessionByPID", "u", "o", QStringLiteral("ret = '%1'").arg(kSessionPath));
    // The set-up calls are logged too; only what the back end does is of interest.
    logind->call(kManagerPath, "org.freedesktop.DBus.Mock", "ClearCalls");
    return logind;
}

QStringList withOwnPid(QStringList calls)
{
    return calls.replaceInStrings("$PID", QString::number(QCoreApplication::applicationPid()));
}

// A session bus whose only service, org.kde.Shutdown, is started on first use, as Plasma does.
struct ActivatingSessionBus {
    QTemporaryDir dir;
    std::unique_ptr<PrivateBus> bus;

    ActivatingSessionBus()
    {
        writeFile("kde_shutdown.py",
            "BUS_NAME = 'org.kde.Shutdown'\n"
            "MAIN_OBJ = '/Shutdown'\n"
            "MAIN_IFACE = 'org.kde.Shutdown'\n"
            "SYSTEM_BUS = False\n\n\n"
            "def load(mock, parameters):\n"
            "    mock.AddMethod(MAIN_IFACE, 'logout', '', '', '')\n");
        writeFile("org.kde.Shutdown.service",
            QStringLiteral("[D-BUS Service]\nName=org.kde.Shutdown\n"
                           "Exec=/usr/bin/python3 -m dbusmock --template %1/kde_shutdown.py\n")
                .arg(dir.path()));
        writeFile("bus.conf",
            QStringLiteral("<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
                           " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                           "<busconfig>\n  <type>session</type>\n  <listen>unix:tmpdir=/tmp</listen>\n"
                           "  <servicedir>%1</servicedir>\n"
                           "  <policy context=\"default\">\n    <allow send_destination=\"*\" eavesdrop=\"true\"/>\n"
                           "    <allow eavesdrop=\"true\"/>\n    <allow own=\"*\"/>\n  </policy>\n</busconfig>\n")
                .arg(dir.path()));
        bus = std::make_unique<PrivateBus>(dir.filePath("bus.conf"));
    }

    void writeFile(const QString& name, const QString& text) const
    {
        QFile file(dir.filePath(name));
        if (file.open(QIODevice::WriteOnly))
            file.write(text.toUtf8());
    }
};

} // namespace

class TestLogout : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void asksTheRunningSessionManager_data();
    void asksTheRunningSessionManager();
    void reportsTheSessionManagersRefusal();
    void endsTheLogindSessionWithoutSessionManager_data();
    void endsTheLogindSessionWithoutSessionManager();
    void startsOnlyTheRunningDesktopsLogoutHelper_data();
    void startsOnlyTheRunningDesktopsLogoutHelper();
};

void TestLogout::initTestCase()
{
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/tarvo-test");
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/tarvo-test");
}

void TestLogout::init()
{
    qunsetenv("XDG_SESSION_ID");
    qunsetenv("XDG_CURRENT_DESKTOP");
}

void TestLogout::asksTheRunningSessionManager_data()
{
    QTest::addColumn<QString>("service");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("method");
    QTest::addColumn<QString>("inSignature");
    QTest::addColumn<QString>("expectedCall");

    // GNOME's mode 1: no confirmation dialog, inhibitors still count. Also MATE and Cinnamon.
    QTest::newRow("GNOME") << "org.gnome.SessionManager"
                           << "/org/gnome/SessionManager"
                           << "Logout"
                           << "u"
                           << "Logout(uint 1)";
    QTest::newRow("Plasma") << "org.kde.Shutdown"
                            << "/Shutdown"
                            << "logout"
                            << ""
                            << "logout()";
    QTest::newRow("Xfce without dialog, saving") << "org.xfce.SessionManager"
                                                 << "/org/xfce/SessionManager"
                                                 << "Logout"
                                                 << "bb"
                                                 << "Logout(bool false, bool true)";
    // LXQt never answers its logout; it must still arrive.
    QTest::newRow("LXQt") << "org.lxqt.session"
                          << "/LXQtSession"
                          << "logout"
                          << ""
                          << "logout()";
}

void TestLogout::asksTheRunningSessionManager()
{
    QFETCH(QString, service);
    QFETCH(QString, path);
    QFETCH(QString, method);
    QFETCH(QString, inSignature);
    QFETCH(QString, expectedCall);

    PrivateBus systemBus;
    REQUIRE_UP(systemBus);
    const auto logind = startLogind(systemBus, true);
    REQUIRE_UP(*logind);
    PrivateBus sessionBus;
    REQUIRE_UP(sessionBus);
    MockService manager(sessionBus, service, { service, path, service });
    REQUIRE_UP(manager);
    QCOMPARE(manager.addMethod(path, service, method, inSignature, "", ""), QString());

    LogindPower power(systemBus.connect("system"), sessionBus.connect("session"), 10s);
    const tarvo::PowerOutcome outcome = power.request(LogOff);

    QVERIFY2(outcome.ok, qPrintable(outcome.reason));
    QCOMPARE(manager.calls(path), QStringList { expectedCall });
    QCOMPARE(logind->calls(kManagerPath), QStringList());
    QCOMPARE(logind->calls(kSessionPath), QStringList());
}

void TestLogout::reportsTheSessionManagersRefusal()
{
    PrivateBus systemBus;
    REQUIRE_UP(systemBus);
    const auto logind = startLogind(systemBus, true);
    REQUIRE_UP(*logind);
    PrivateBus sessionBus;
    REQUIRE_UP(sessionBus);
    const QString gnome = QStringLiteral("org.gnome.SessionManager");
    const QString path = QStringLiteral("/org/gnome/SessionManager");
    MockService manager(sessionBus, gnome, { gnome, path, gnome });
    REQUIRE_UP(manager);
    QCOMPARE(manager.addMethod(path, gnome, "Logout", "u", "",
                 "raise dbus.exceptions.DBusException('Abmelden gesperrt', "
                 "name='org.gnome.SessionManager.NotInRunning')"),
        QString());

    LogindPower power(systemBus.connect("system"), sessionBus.connect("session"), 10s);
    const tarvo::PowerOutcome outcome = power.request(LogOff);

    QVERIFY(!outcome.ok);
    QVERIFY2(outcome.reason.startsWith("Die Abmeldung ist fehlgeschlagen: "), qPrintable(outcome.reason));
    QVERIFY2(outcome.reason.contains("org.gnome.SessionManager.NotInRunning"), qPrintable(outcome.reason));
    QVERIFY2(outcome.reason.contains("Abmelden gesperrt"), qPrintable(outcome.reason));
    // The desktop said no: going round it through logind would throw away what it protects.
    QCOMPARE(logind->calls(kSessionPath), QStringList());
}

void TestLogout::endsTheLogindSessionWithoutSessionManager_data()
{
    QTest::addColumn<QString>("sessionBusKind");
    QTest::addColumn<bool>("findsSessionByPid");
    QTest::addColumn<QString>("xdgSessionId");
    QTest::addColumn<QStringList>("expectedManagerCalls");
    QTest::addColumn<bool>("terminated");

    const QStringList byPid { "GetSessionByPID(uint $PID)" };
    QTest::newRow("no session bus, by pid") << "none" << true << "" << byPid << true;
    QTest::newRow("empty session bus, by pid") << "empty" << true << "" << byPid << true;
    // Owns GNOME's name but knows no Logout: not a session manager to rely on.
    QTest::newRow("impostor without Logout, by pid") << "impostor" << true << "" << byPid << true;
    QTest::newRow("by XDG_SESSION_ID") << "none" << false << "c1" << QStringList { "GetSession(\"c1\")" } << true;
    QTest::newRow("session not found") << "none" << false << "" << QStringList() << false;
    QTest::newRow("unknown XDG_SESSION_ID") << "none" << false << "c9" << QStringList { "GetSession(\"c9\")" } << false;
}

void TestLogout::endsTheLogindSessionWithoutSessionManager()
{
    QFETCH(QString, sessionBusKind);
    QFETCH(bool, findsSessionByPid);
    QFETCH(QString, xdgSessionId);
    QFETCH(QStringList, expectedManagerCalls);
    QFETCH(bool, terminated);

    PrivateBus systemBus;
    REQUIRE_UP(systemBus);
    const auto logind = startLogind(systemBus, findsSessionByPid);
    REQUIRE_UP(*logind);

    std::unique_ptr<PrivateBus> sessionBus;
    std::unique_ptr<MockService> impostor;
    QDBusConnection sessionConnection = nowhere();
    if (sessionBusKind != "none") {
        sessionBus = std::make_unique<PrivateBus>();
        REQUIRE_UP(*sessionBus);
        sessionConnection = sessionBus->connect("session");
    }
    if (sessionBusKind == "impostor") {
        impostor = std::make_unique<MockService>(*sessionBus, "org.gnome.SessionManager",
            QStringList { "org.gnome.SessionManager", "/org/gnome/SessionManager", "org.gnome.SessionManager" });
        REQUIRE_UP(*impostor);
    }
    if (!xdgSessionId.isEmpty())
        qputenv("XDG_SESSION_ID", xdgSessionId.toUtf8());

    LogindPower power(systemBus.connect("system"), sessionConnection, 10s);
    const tarvo::PowerOutcome outcome = power.request(LogOff);

    QCOMPARE(outcome.ok, terminated);
    QCOMPARE(logind->calls(kManagerPath), withOwnPid(expectedManagerCalls));
    QCOMPARE(logind->calls(kSessionPath), terminated ? QStringList { "Terminate()" } : QStringList());
    if (!terminated)
        QVERIFY2(outcome.reason.startsWith("Die Abmeldung ist fehlgeschlagen: "), qPrintable(outcome.reason));
}

void TestLogout::startsOnlyTheRunningDesktopsLogoutHelper_data()
{
    QTest::addColumn<QString>("desktop");
    QTest::addColumn<bool>("startsPlasmaHelper");

    QTest::newRow("Plasma") << "KDE" << true;
    QTest::newRow("Plasma among others") << "foo:kde" << true;
    QTest::newRow("GNOME with Plasma installed") << "GNOME" << false;
    QTest::newRow("no desktop named") << "" << false;
}

void TestLogout::startsOnlyTheRunningDesktopsLogoutHelper()
{
    QFETCH(QString, desktop);
    QFETCH(bool, startsPlasmaHelper);

    PrivateBus systemBus;
    REQUIRE_UP(systemBus);
    const auto logind = startLogind(systemBus, true);
    REQUIRE_UP(*logind);
    ActivatingSessionBus session;
    QVERIFY(session.dir.isValid());
    REQUIRE_UP(*session.bus);
    if (!desktop.isEmpty())
        qputenv("XDG_CURRENT_DESKTOP", desktop.toUtf8());

    LogindPower power(systemBus.connect("system"), session.bus->connect("session"), 20s);
    const tarvo::PowerOutcome outcome = power.request(LogOff);

    QVERIFY2(outcome.ok, qPrintable(outcome.reason));
    const bool helperRuns = session.bus->connection().interface()->isServiceRegistered("org.kde.Shutdown");
    QCOMPARE(helperRuns, startsPlasmaHelper);
    QCOMPARE(logind->calls(kSessionPath), startsPlasmaHelper ? QStringList() : QStringList { "Terminate()" });
    if (startsPlasmaHelper)
        QCOMPARE(tarvo::test::mockCalls(session.bus->connection(), "org.kde.Shutdown", "/Shutdown"),
            QStringList { "logout()" });
}

QTEST_GUILESS_MAIN(TestLogout)
#include "tst_power_logout.moc"
