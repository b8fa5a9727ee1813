// The logind back end against python3-dbusmock's logind and mocked session managers, on buses each
// test starts itself.

#include <QCoreApplication>

#include "power/logind_power.h"
#include "private_bus.h"

using namespace std::chrono_literals;
using namespace tarvo;
using namespace tarvo::test;

namespace {

const QString kLogind = QStringLiteral("org.freedesktop.login1");
const QString kManagerPath = QStringLiteral("/org/freedesktop/login1");
const QString kManager = QStringLiteral("org.freedesktop.login1.Manager");
const QString kMock = QStringLiteral("org.freedesktop.DBus.Mock");
const QString kError = QStringLiteral("org.freedesktop.DBus.Error.");

#define REQUIRE_UP(thing) QVERIFY2((thing).isUp(), "a private bus or a mocked service did not start")

QString raising(const QString& errorName)
{
    return QStringLiteral("raise dbus.exceptions.DBusException('Nicht erlaubt', name='%1')").arg(errorName);
}

void write(const QString& path, const QString& text)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(text.toUtf8());
}

struct SessionManager {
    const char* key;
    const char* service;
    const char* path;
    const char* method;
    const char* in;
};
constexpr SessionManager kSessionManagers[] = {
    {"gnome", "org.gnome.SessionManager", "/org/gnome/SessionManager", "Logout", "u"},
    {"plasma", "org.kde.Shutdown", "/Shutdown", "logout", ""},
    {"xfce", "org.xfce.SessionManager", "/org/xfce/SessionManager", "Logout", "bb"},
    {"lxqt", "org.lxqt.session", "/LXQtSession", "logout", ""},
};

} // namespace

class TestLogindPower : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // Nothing here may fall back to the machine's buses, even by accident.
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/tarvo-test");
        qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/tarvo-test");
    }

    // What each code asks of logind; a plain shut down first looks for programs that block it.
    void request_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("setUp"); // "inhibit WHAT MODE", "fail METHOD ERROR", "hang METHOD", "no logind"
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<QString>("reason"); // empty: success, else a part of the reason given
        const QString off = QStringLiteral("Der Rechner konnte nicht ausgeschaltet werden: Nicht erlaubt (");
        const QString blocked = QStringLiteral("„Brennprogramm“ (DVD wird gebrannt)");
        QTest::newRow("1 shut down") << 1 << "" << QStringList{"ListInhibitors", "PowerOff True"} << "";
        QTest::newRow("8 power off") << 8 << "" << QStringList{"PowerOff True"} << "";
        QTest::newRow("2 restart") << 2 << "" << QStringList{"Reboot True"} << "";
        QTest::newRow("6 standby") << 6 << "" << QStringList{"Suspend True"} << "";
        QTest::newRow("5 hibernate") << 5 << "" << QStringList{"Hibernate True"} << "";
        for (const int code : {3, 4, 7, 9})
            QTest::addRow("%d has no meaning", code) << code << "" << QStringList{} << QStringLiteral("Code %1").arg(code);
        QTest::newRow("-1") << -1 << "" << QStringList{} << "Reboot Fehler";
        QTest::newRow("10") << 10 << "" << QStringList{} << "Reboot Fehler";
        QTest::newRow("shut down blocked") << 1 << "inhibit shutdown block" << QStringList{"ListInhibitors"} << blocked;
        QTest::newRow("among other locks") << 1 << "inhibit sleep:shutdown:idle block" << QStringList{"ListInhibitors"}
                                           << blocked;
        QTest::newRow("forced power off ignores locks")
            << 8 << "inhibit shutdown block" << QStringList{"PowerOff True"} << "";
        QTest::newRow("delay lock only delays")
            << 1 << "inhibit shutdown delay" << QStringList{"ListInhibitors", "PowerOff True"} << "";
        QTest::newRow("sleep lock") << 1 << "inhibit sleep block" << QStringList{"ListInhibitors", "PowerOff True"}
                                    << "";
        QTest::newRow("lock list denied") << 1 << "fail ListInhibitors AccessDenied" << QStringList{"ListInhibitors"}
                                          << off + kError + "AccessDenied)";
        QTest::newRow("power off denied") << 8 << "fail PowerOff AccessDenied" << QStringList{"PowerOff True"}
                                          << off + kError + "AccessDenied)";
        QTest::newRow("restart needs authorisation")
            << 2 << "fail Reboot InteractiveAuthorizationRequired" << QStringList{"Reboot True"}
            << "Der Rechner konnte nicht neu gestartet werden: Nicht erlaubt (" + kError
                   + "InteractiveAuthorizationRequired)";
        QTest::newRow("standby denied") << 6 << "fail Suspend AccessDenied" << QStringList{"Suspend True"}
                                        << "Der Rechner konnte nicht in den Standby versetzt werden: Nicht erlaubt ("
                                               + kError + "AccessDenied)";
        QTest::newRow("hibernate denied") << 5 << "fail Hibernate AccessDenied" << QStringList{"Hibernate True"}
                                          << "Der Rechner konnte nicht in den Ruhezustand versetzt werden: Nicht "
                                             "erlaubt ("
                                                 + kError + "AccessDenied)";
        QTest::newRow("no logind on the bus") << 2 << "no logind" << QStringList{} << kError + "ServiceUnknown";
        QTest::newRow("logind does not answer") << 2 << "hang Reboot" << QStringList{"Reboot True"}
                                                << kError + "NoReply";
        QTest::newRow("no bus") << 8 << "no bus" << QStringList{} << kError + "Disconnected";
    }
    void request()
    {
        QFETCH(int, code);
        QFETCH(QString, setUp);
        QFETCH(QStringList, calls);
        QFETCH(QString, reason);
        PrivateBus bus;
        REQUIRE_UP(bus);
        std::optional<MockService> logind;
        QDBusMessage lock; // the lock holds while its descriptor is open
        const QStringList words = setUp.split(u' ');
        if (!setUp.startsWith(QLatin1String("no "))) {
            logind.emplace(bus, kLogind, QStringList{"--template", "logind"});
            REQUIRE_UP(*logind);
        }
        if (words[0] == u"inhibit")
            lock = logind->call(kManagerPath, kManager, QStringLiteral("Inhibit"),
                                {words[1], QStringLiteral("Brennprogramm"), QStringLiteral("DVD wird gebrannt"), words[2]});
        const QString in = words.value(1) == u"ListInhibitors" ? QString() : QStringLiteral("b");
        const QString out = words.value(1) == u"ListInhibitors" ? QStringLiteral("a(ssssuu)") : QString();
        if (words[0] == u"fail")
            QVERIFY(logind->addMethod(kManagerPath, kManager, words[1], in, out, raising(kError + words[2])));
        if (words[0] == u"hang")
            QVERIFY(logind->addMethod(kManagerPath, kManager, words[1], in, out, QStringLiteral("time.sleep(3)")));
        if (logind)
            logind->takeCalls(); // only what the back end does counts

        LogindPower power(setUp == u"no bus" ? nowhere() : connectTo(bus.address), nowhere(),
                          words[0] == u"hang" ? 300ms : 10s);
        const PowerOutcome outcome = power.request(PowerCode(code));
        QCOMPARE(outcome.ok, reason.isEmpty());
        QVERIFY2(reason.isEmpty() ? outcome.reason.isEmpty() : outcome.reason.contains(reason),
                 qPrintable(outcome.reason));
        if (logind)
            QCOMPARE(logind->takeCalls(), calls);
    }

    // Log off: the desktop's session manager, else logind ends our own session.
    void logOut_data()
    {
        QTest::addColumn<QString>("manager"); // on the session bus: "none" (no bus), "gnome", ... or "plasma on demand"
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<QString>("sessionId"); // "pid": logind finds our session by our process
        QTest::addColumn<QStringList>("managerCalls");
        QTest::addColumn<QStringList>("logindCalls");
        QTest::addColumn<QString>("reason");
        const QStringList byPid{QStringLiteral("GetSessionByPID %1").arg(QCoreApplication::applicationPid()),
                                "Terminate"};
        const QString failed = QStringLiteral("Die Abmeldung ist fehlgeschlagen: ");
        // GNOME's mode 1: no confirmation dialog, inhibitors still count. Also MATE and Cinnamon.
        QTest::newRow("GNOME") << "gnome" << "" << "pid" << QStringList{"Logout 1"} << QStringList{} << "";
        QTest::newRow("Plasma") << "plasma" << "" << "pid" << QStringList{"logout"} << QStringList{} << "";
        QTest::newRow("Xfce without dialog, saving")
            << "xfce" << "" << "pid" << QStringList{"Logout False True"} << QStringList{} << "";
        QTest::newRow("LXQt, which never answers") << "lxqt" << "" << "pid" << QStringList{"logout"} << QStringList{}
                                                   << "";
        // The desktop said no: going round it through logind would throw away what it protects.
        QTest::newRow("GNOME refuses") << "gnome refusing" << "" << "pid" << QStringList{"Logout 1"} << QStringList{}
                                       << failed + "Nicht erlaubt (org.gnome.SessionManager.NotInRunning)";
        QTest::newRow("no session bus") << "none" << "" << "pid" << QStringList{} << byPid << "";
        QTest::newRow("GNOME's name without Logout") << "gnome without Logout" << "" << "pid" << QStringList{}
                                                     << byPid << "";
        QTest::newRow("by XDG_SESSION_ID") << "none" << "" << "c1" << QStringList{}
                                           << QStringList{"GetSession \"c1\"", "Terminate"} << "";
        QTest::newRow("unknown XDG_SESSION_ID") << "none" << "" << "c9" << QStringList{}
                                                << QStringList{"GetSession \"c9\""} << failed;
        QTest::newRow("session not found") << "none" << "" << "" << QStringList{} << QStringList{} << failed;
        QTest::newRow("Plasma's helper on demand")
            << "plasma on demand" << "foo:KDE" << "pid" << QStringList{"logout"} << QStringList{} << "";
        QTest::newRow("no foreign desktop's helper")
            << "plasma on demand" << "GNOME" << "pid" << QStringList{} << byPid << "";
    }
    void logOut()
    {
        QFETCH(QString, manager);
        QFETCH(QString, desktop);
        QFETCH(QString, sessionId);
        QFETCH(QStringList, managerCalls);
        QFETCH(QStringList, logindCalls);
        QFETCH(QString, reason);
        qputenv("XDG_CURRENT_DESKTOP", desktop.toUtf8());
        qputenv("XDG_SESSION_ID", sessionId == u"pid" ? QByteArray() : sessionId.toUtf8());

        PrivateBus systemBus;
        REQUIRE_UP(systemBus);
        MockService logind(systemBus, kLogind, {"--template", "logind"});
        REQUIRE_UP(logind);
        logind.call(kManagerPath, kMock, QStringLiteral("AddSession"), {"c1", "seat0", 1000u, "anna", true});
        if (sessionId == u"pid")
            QVERIFY(logind.addMethod(kManagerPath, kManager, QStringLiteral("GetSessionByPID"), "u", "o",
                                     QStringLiteral("ret = '/org/freedesktop/login1/session/c1'")));
        logind.takeCalls();

        // Plasma's helper is started by the bus on the first call to it.
        QTemporaryDir services;
        const QString helperLog = services.filePath(QStringLiteral("helper.log"));
        write(services.filePath(QStringLiteral("helper.py")),
              "BUS_NAME = 'org.kde.Shutdown'\nMAIN_OBJ = '/Shutdown'\nMAIN_IFACE = 'org.kde.Shutdown'\n"
              "SYSTEM_BUS = False\n\ndef load(mock, parameters):\n    mock.AddMethod(MAIN_IFACE, 'logout', '', '', '')\n");
        write(services.filePath(QStringLiteral("org.kde.Shutdown.service")),
              QStringLiteral("[D-BUS Service]\nName=org.kde.Shutdown\nExec=/usr/bin/python3 -m dbusmock -l %1 "
                             "--template %2\n")
                  .arg(helperLog, services.filePath(QStringLiteral("helper.py"))));
        PrivateBus sessionBus(manager == u"plasma on demand" ? services.path() : QString());
        REQUIRE_UP(sessionBus);
        std::optional<MockService> running;
        for (const SessionManager& m : kSessionManagers) {
            if (!manager.startsWith(QLatin1String(m.key)) || manager.endsWith(QLatin1String("on demand")))
                continue;
            running.emplace(sessionBus, m.service, QStringList{m.service, m.path, m.service});
            REQUIRE_UP(*running);
            if (!manager.endsWith(QLatin1String("without Logout")))
                QVERIFY(running->addMethod(m.path, m.service, m.method, m.in, "",
                                           manager.endsWith(QLatin1String("refusing"))
                                               ? raising(QStringLiteral("org.gnome.SessionManager.NotInRunning"))
                                               : QString()));
        }

        LogindPower power(connectTo(systemBus.address),
                          manager == u"none" ? nowhere() : connectTo(sessionBus.address), 10s);
        const PowerOutcome outcome = power.request(power_code::LogOff);
        QCOMPARE(outcome.ok, reason.isEmpty());
        QVERIFY2(reason.isEmpty() ? outcome.reason.isEmpty() : outcome.reason.startsWith(reason),
                 qPrintable(outcome.reason));
        QCOMPARE(logind.takeCalls(), logindCalls);
        // A call that is not answered may still be on its way.
        qint64 seen = 0;
        QStringList seenByManager;
        QTRY_COMPARE(seenByManager << (running ? running->takeCalls() : loggedCalls(helperLog, &seen)), managerCalls);
    }
};

QTEST_GUILESS_MAIN(TestLogindPower)
#include "tst_power_logind.moc"
