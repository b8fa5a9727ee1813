// The logind back end against python3-dbusmock's logind and mocked session managers, on buses each
// test starts itself.

#include <QCoreApplication>
#include <QElapsedTimer>

#include "power/logind_power.h"
#include "private_bus.h"

using namespace std::chrono_literals;
using namespace tarvo;
using namespace tarvo::test;
using namespace Qt::StringLiterals;

namespace {

const QString kManagerPath = u"/org/freedesktop/login1"_s;
const QString kManager = u"org.freedesktop.login1.Manager"_s;
const QString kError = u"org.freedesktop.DBus.Error."_s;

#define REQUIRE_UP(thing) QVERIFY2((thing).isUp(), "a private bus or a mocked service did not start")

struct Logind : MockService {
    explicit Logind(const PrivateBus& bus)
        : MockService(bus, u"org.freedesktop.login1"_s, {"--template", "logind"})
    {
    }
    bool fail(const QString& method, const QString& error, const QString& code = {})
    {
        const bool list = method == "ListInhibitors"_L1;
        const QString raise = u"raise dbus.exceptions.DBusException('Nicht erlaubt', name='%1')"_s.arg(error);
        return addMethod(kManagerPath, kManager, method, list ? QString() : u"b"_s, list ? u"a(ssssuu)"_s : QString(),
                         code.isEmpty() ? raise : code);
    }
};

// A session manager: name, object, log-out method and its arguments.
constexpr const char* kSessionManagers[][4] = {
    {"org.gnome.SessionManager", "/org/gnome/SessionManager", "Logout", "u"},
    {"org.kde.Shutdown", "/Shutdown", "logout", ""},
    {"org.xfce.SessionManager", "/org/xfce/SessionManager", "Logout", "bb"},
    {"org.lxqt.session", "/LXQtSession", "logout", ""},
};

// Makes the request and waits on the event loop for its one answer.
PowerOutcome requestAndWait(PowerBackend& power, PowerCode code)
{
    std::optional<PowerOutcome> outcome;
    int answers = 0;
    power.request(code, [&](const PowerOutcome& answer) { outcome = answer, ++answers; });
    if (!QTest::qWaitFor([&] { return outcome.has_value(); }, 20000))
        return PowerOutcome::failure(u"no answer"_s);
    QTest::qWait(50); // a second answer would be a fault
    return answers == 1 ? *outcome : PowerOutcome::failure(u"answered %1 times"_s.arg(answers));
}

// Connect functions for the back end.
BusLink::Connect to(const QString& address)
{
    return [address] { return connectTo(address); };
}

void write(const QString& path, const QString& text)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(text.toUtf8());
}

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
        QTest::addColumn<QString>("setUp"); // "inhibit WHAT MODE", "fail METHOD", "hang METHOD", "no logind", "no bus"
        QTest::addColumn<QString>("calls"); // logged by logind, separated by |
        QTest::addColumn<QString>("reason"); // empty: success, else the start of the reason given
        const auto row = [](const char* name, int code, const char* setUp, const char* calls, const QString& reason) {
            QTest::newRow(name) << code << setUp << calls << reason;
        };
        const QString blocked = u"Der Rechner wird nicht ausgeschaltet, weil „Brennprogramm“ (DVD wird gebrannt)"_s;
        const QString off = u"Der Rechner konnte nicht ausgeschaltet werden: "_s;
        const QString restart = u"Der Rechner konnte nicht neu gestartet werden: "_s;
        row("1 shut down", 1, "", "ListInhibitors|PowerOff True", {});
        row("8 power off", 8, "", "PowerOff True", {});
        row("3 has no meaning", 3, "", "", u"Die Aktion mit dem Code 3 gibt es"_s);
        row("10", 10, "", "", u"Reboot Fehler"_s);
        row("shut down blocked", 1, "inhibit shutdown block", "ListInhibitors", blocked);
        row("among other locks", 1, "inhibit sleep:shutdown block", "ListInhibitors", blocked);
        row("forced power off ignores locks", 8, "inhibit shutdown block", "PowerOff True", {});
        row("delay lock only delays", 1, "inhibit shutdown delay", "ListInhibitors|PowerOff True", {});
        row("sleep lock", 1, "inhibit sleep block", "ListInhibitors|PowerOff True", {});
        row("lock list denied", 1, "fail ListInhibitors", "ListInhibitors", off);
        row("power off denied", 8, "fail PowerOff", "PowerOff True", off);
        row("restart denied", 2, "fail Reboot", "Reboot True", restart);
        row("standby denied", 6, "fail Suspend", "Suspend True", u"Der Rechner konnte nicht in den Standby versetzt "_s);
        row("hibernate denied", 5, "fail Hibernate", "Hibernate True", u"Der Rechner konnte nicht in den Ruhezustand "_s);
        row("no logind on the bus", 2, "no logind", "", restart);
        row("logind does not answer", 2, "hang Reboot", "Reboot True", restart);
        row("no bus", 8, "no bus", "", off);
    }
    void request()
    {
        QFETCH(int, code);
        QFETCH(QString, setUp);
        QFETCH(QString, calls);
        QFETCH(QString, reason);
        PrivateBus bus;
        REQUIRE_UP(bus);
        std::optional<Logind> logind;
        QDBusMessage lock; // the lock holds while its descriptor is open
        const QStringList words = setUp.split(u' ');
        if (!setUp.startsWith("no "_L1)) {
            logind.emplace(bus);
            REQUIRE_UP(*logind);
        }
        if (words[0] == "inhibit"_L1)
            lock = logind->call(kManagerPath, kManager, u"Inhibit"_s,
                                {words[1], u"Brennprogramm"_s, u"DVD wird gebrannt"_s, words[2]});
        // Errors come as the message in the reply and its name.
        const QString error = words[0] == "hang"_L1 ? u"NoReply"_s
                              : setUp == "no logind"_L1 ? u"ServiceUnknown"_s
                              : setUp == "no bus"_L1    ? u"Disconnected"_s
                                                        : u"AccessDenied"_s;
        if (words[0] == "fail"_L1 || words[0] == "hang"_L1)
            QVERIFY(logind->fail(words[1], kError + error, words[0] == "hang"_L1 ? u"time.sleep(3)"_s : QString()));
        if (logind)
            logind->takeCalls(); // only what the back end does counts

        LogindPower power(to(setUp == "no bus"_L1 ? u"unix:path=/nonexistent/tarvo-test"_s : bus.address),
                          to(u"unix:path=/nonexistent/tarvo-test"_s), words[0] == "hang"_L1 ? 300ms : 10s);
        const PowerOutcome outcome = requestAndWait(power, PowerCode(code));
        QCOMPARE(outcome.ok, reason.isEmpty());
        QCOMPARE(outcome.reason.left(reason.size()), reason);
        if (words[0] == "fail"_L1)
            QVERIFY2(outcome.reason.endsWith(u"Nicht erlaubt ("_s + kError + error + u')'), qPrintable(outcome.reason));
        else if (!error.startsWith("Access"_L1))
            QVERIFY2(outcome.reason.contains(kError + error), qPrintable(outcome.reason));
        if (logind)
            QCOMPARE(logind->takeCalls().join(u'|'), calls);
    }

    // Whether logind lets the action happen; only a plain "na" or "no" refuses.
    void availability_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("answer"); // of the Can* method asked; "no logind", "no bus"
        QTest::addColumn<QString>("calls");
        QTest::addColumn<QString>("reason"); // empty: possible
        QTest::newRow("hibernate na") << 5 << "na" << "CanHibernate" << u"Der Ruhezustand ist auf diesem Rechner nicht verfügbar."_s;
        QTest::newRow("hibernate challenge") << 5 << "challenge" << "CanHibernate" << QString();
        QTest::newRow("standby yes") << 6 << "yes" << "CanSuspend" << QString();
        QTest::newRow("restart no") << 2 << "no" << "CanReboot"
                                    << u"Der Neustart ist diesem Benutzer auf diesem Rechner nicht erlaubt."_s;
        QTest::newRow("shut down na") << 1 << "na" << "CanPowerOff" << u"Das Ausschalten ist auf diesem Rechner nicht verfügbar."_s;
        QTest::newRow("power off na") << 8 << "na" << "CanPowerOff" << u"Das Ausschalten ist auf diesem Rechner nicht verfügbar."_s;
        QTest::newRow("log off asks nobody") << 0 << "na" << "" << QString();
        QTest::newRow("no logind") << 5 << "no logind" << "" << QString();
        QTest::newRow("no bus") << 5 << "no bus" << "" << QString();
    }
    void availability()
    {
        QFETCH(int, code);
        QFETCH(QString, answer);
        QFETCH(QString, calls);
        QFETCH(QString, reason);
        PrivateBus bus;
        REQUIRE_UP(bus);
        std::optional<Logind> logind;
        if (!answer.startsWith("no "_L1)) {
            logind.emplace(bus);
            REQUIRE_UP(*logind);
            for (const char* method : {"CanPowerOff", "CanReboot", "CanSuspend", "CanHibernate"})
                QVERIFY(logind->addMethod(kManagerPath, kManager, QLatin1String(method), {}, u"s"_s,
                                          u"ret = '%1'"_s.arg(answer)));
            logind->takeCalls();
        }
        LogindPower power(to(answer == "no bus"_L1 ? u"unix:path=/nonexistent/tarvo-test"_s : bus.address),
                          to(u"unix:path=/nonexistent/tarvo-test"_s));
        const PowerAvailability possible = power.availability(PowerCode(code));
        QCOMPARE(possible.possible, reason.isEmpty());
        QCOMPARE(possible.reason, reason);
        if (logind)
            QCOMPARE(logind->takeCalls().join(u'|'), calls);
    }

    // The request does not wait for logind: the event loop runs on while it decides.
    void answersLater()
    {
        PrivateBus bus;
        REQUIRE_UP(bus);
        Logind logind(bus);
        REQUIRE_UP(logind);
        QVERIFY(logind.addMethod(kManagerPath, kManager, u"Suspend"_s, u"b"_s, {}, u"time.sleep(1)"_s));
        LogindPower power(to(bus.address), to(u"unix:path=/nonexistent/tarvo-test"_s));
        QElapsedTimer clock;
        clock.start();
        std::optional<PowerOutcome> outcome;
        power.request(power_code::Standby, [&outcome](const PowerOutcome& answer) { outcome = answer; });
        QVERIFY2(clock.elapsed() < 500 && !outcome, "the request waited for its answer");
        QTRY_VERIFY_WITH_TIMEOUT(outcome.has_value(), 20000);
        QVERIFY2(outcome->ok, qPrintable(outcome->reason));
    }

    // A system bus restarted since the back end connected is connected to anew.
    void busRestarted()
    {
        QTemporaryDir sockets;
        const QString socket = sockets.filePath(u"system_bus_socket"_s);
        LogindPower power(to(u"unix:path="_s + socket), to(u"unix:path=/nonexistent/tarvo-test"_s));
        for (const char* round : {"first bus", "restarted bus"}) {
            PrivateBus bus({}, socket);
            REQUIRE_UP(bus);
            Logind logind(bus);
            REQUIRE_UP(logind);
            const PowerOutcome outcome = requestAndWait(power, power_code::Restart);
            QVERIFY2(outcome.ok, qPrintable(QLatin1String(round) + u": "_s + outcome.reason));
            QCOMPARE(logind.takeCalls(), QStringList{u"Reboot True"_s});
        }
    }

    // Log off: the desktop's session manager, else logind ends our own session.
    void logOut_data()
    {
        QTest::addColumn<QString>("manager"); // on the session bus: "none" (no bus), "gnome", ..., "kde on demand"
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<QString>("sessionId"); // "pid": logind finds our session by our process
        QTest::addColumn<QString>("managerCalls"); // separated by |
        QTest::addColumn<QString>("logindCalls");
        QTest::addColumn<QString>("reason");
        const auto row = [](const char* name, const char* manager, const char* desktop, const char* id,
                            const char* managerCalls, const QString& logindCalls, const QString& reason) {
            QTest::newRow(name) << manager << desktop << id << managerCalls << logindCalls << reason;
        };
        const QString byPid = u"GetSessionByPID %1|Terminate"_s.arg(QCoreApplication::applicationPid());
        const QString failed = u"Die Abmeldung ist fehlgeschlagen: "_s;
        // GNOME's mode 1: no confirmation dialog, inhibitors still count. Also MATE and Cinnamon.
        row("GNOME", "gnome", "", "pid", "Logout 1", {}, {});
        row("Plasma", "kde", "", "pid", "logout", {}, {});
        row("Xfce without dialog, saving", "xfce", "", "pid", "Logout False True", {}, {});
        row("LXQt, which never answers", "lxqt", "", "pid", "logout", {}, {});
        // The desktop said no: going round it through logind would throw away what it protects.
        row("GNOME refuses", "gnome refusing", "", "pid", "Logout 1", {},
            failed + "Nicht erlaubt (org.gnome.SessionManager.NotInRunning)");
        row("no session bus", "none", "", "pid", "", byPid, {});
        row("GNOME's name without Logout", "gnome without Logout", "", "pid", "", byPid, {});
        row("by XDG_SESSION_ID", "none", "", "c1", "", u"GetSession \"c1\"|Terminate"_s, {});
        row("unknown XDG_SESSION_ID", "none", "", "c9", "", u"GetSession \"c9\""_s, failed);
        row("session not found", "none", "", "", "", {}, failed);
        row("Plasma's helper on demand", "kde on demand", "foo:KDE", "pid", "logout", {}, {});
        row("no foreign desktop's helper", "kde on demand", "GNOME", "pid", "", byPid, {});
    }
    void logOut()
    {
        QFETCH(QString, manager);
        QFETCH(QString, desktop);
        QFETCH(QString, sessionId);
        QFETCH(QString, managerCalls);
        QFETCH(QString, logindCalls);
        QFETCH(QString, reason);
        qputenv("XDG_CURRENT_DESKTOP", desktop.toUtf8());
        qputenv("XDG_SESSION_ID", sessionId == "pid"_L1 ? QByteArray() : sessionId.toUtf8());
        PrivateBus systemBus;
        REQUIRE_UP(systemBus);
        Logind logind(systemBus);
        REQUIRE_UP(logind);
        logind.call(kManagerPath, u"org.freedesktop.DBus.Mock"_s, u"AddSession"_s,
                    {"c1", "seat0", 1000u, "anna", true});
        if (sessionId == "pid"_L1)
            QVERIFY(logind.addMethod(kManagerPath, kManager, u"GetSessionByPID"_s, u"u"_s, u"o"_s,
                                     u"ret = '/org/freedesktop/login1/session/c1'"_s));
        logind.takeCalls();

        // Plasma's helper, which the bus starts on the first call to it.
        QTemporaryDir services;
        const QString helper = services.filePath(u"helper"_s);
        write(helper + ".py"_L1, u"BUS_NAME = MAIN_IFACE = 'org.kde.Shutdown'\nMAIN_OBJ = '/Shutdown'\n"
                                  "SYSTEM_BUS = False\ndef load(mock, parameters):\n"
                                  "    mock.AddMethod(MAIN_IFACE, 'logout', '', '', '')\n"_s);
        write(services.filePath(u"org.kde.Shutdown.service"_s),
              u"[D-BUS Service]\nName=org.kde.Shutdown\n"
              "Exec=/usr/bin/python3 -m dbusmock -l %1.log --template %1.py\n"_s
                  .arg(helper));
        PrivateBus sessionBus(manager.endsWith("on demand"_L1) ? services.path() : QString());
        REQUIRE_UP(sessionBus);
        std::optional<MockService> running;
        for (const auto& [service, path, method, in] : kSessionManagers) {
            if (!QLatin1String(service).contains(manager.section(u' ', 0, 0)) || manager.endsWith("on demand"_L1))
                continue;
            running.emplace(sessionBus, QLatin1String(service), QStringList{service, path, service});
            REQUIRE_UP(*running);
            const QString refusal = u"raise dbus.exceptions.DBusException('Nicht erlaubt', "
                                     "name='org.gnome.SessionManager.NotInRunning')"_s;
            if (!manager.endsWith("without Logout"_L1))
                QVERIFY(running->addMethod(path, service, method, in, {},
                                           manager.endsWith("refusing"_L1) ? refusal : QString()));
        }

        LogindPower power(to(systemBus.address),
                          to(manager == "none"_L1 ? u"unix:path=/nonexistent/tarvo-test"_s : sessionBus.address), 10s);
        const PowerOutcome outcome = requestAndWait(power, power_code::LogOff);
        QCOMPARE(outcome.ok, reason.isEmpty());
        QCOMPARE(outcome.reason.left(reason.size()), reason);
        QCOMPARE(logind.takeCalls().join(u'|'), logindCalls);
        // A call that is not answered may still be on its way.
        qint64 seen = 0;
        QStringList seenByManager;
        QTRY_COMPARE((seenByManager << (running ? running->takeCalls() : loggedCalls(helper + ".log"_L1, &seen)))
                         .join(u'|'),
                     managerCalls);
    }
};

QTEST_GUILESS_MAIN(TestLogindPower)
#include "tst_power_logind.moc"
