// The logind back end against python3-dbusmock's logind and mocked session managers, on buses each
// test starts itself.

#include <QCoreApplication>

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

// Python that refuses a call with that error.
QString refusal(const QString& error)
{
    return u"raise dbus.exceptions.DBusException('Nicht erlaubt', name='%1')"_s.arg(error);
}

struct Logind : MockService {
    explicit Logind(const PrivateBus& bus)
        : MockService(bus, u"org.freedesktop.login1"_s, {"--template", "logind"})
    {
    }
    bool fail(const QString& method, const QString& error, const QString& code = {})
    {
        const bool list = method == "ListInhibitors"_L1;
        return addMethod(kManagerPath, kManager, method, list ? QString() : u"b"_s, list ? u"a(ssssuu)"_s : QString(),
                         code.isEmpty() ? refusal(error) : code);
    }
};

// A session manager: name, object, log-out method and its arguments.
constexpr const char* kSessionManagers[][4] = {
    {"org.gnome.SessionManager", "/org/gnome/SessionManager", "Logout", "u"},
    {"org.kde.Shutdown", "/Shutdown", "logout", ""},
    {"org.xfce.SessionManager", "/org/xfce/SessionManager", "Logout", "bb"},
    {"org.lxqt.session", "/LXQtSession", "logout", ""},
};

// Makes the request and waits on the event loop for its one answer. An answer that came before the
// request returned is told when the bus was asked: the request must never wait for logind.
PowerOutcome requestAndWait(PowerBackend& power, PowerCode code, bool* answeredAtOnce = nullptr)
{
    std::optional<PowerOutcome> outcome;
    int answers = 0;
    power.request(code, [&](const PowerOutcome& answer) { outcome = answer, ++answers; });
    if (answeredAtOnce)
        *answeredAtOnce = outcome.has_value();
    if (!QTest::qWaitFor([&] { return outcome.has_value(); }, 20000))
        return PowerOutcome::failure(u"no answer"_s);
    QTest::qWait(50); // a second answer would be a fault
    return answers == 1 ? *outcome : PowerOutcome::failure(u"answered %1 times"_s.arg(answers));
}

// Connect functions for the back end.
BusLink::Connect to(const QString& address = u"unix:path=/nonexistent/tarvo-test"_s)
{
    return [address] { return connectTo(address); };
}

// A case against logind: the code; the set-up ("inhibit WHAT MODE", "fail METHOD", "hang METHOD",
// "can ANSWER": every Can* method answers so and whether the action is possible is asked, "no logind",
// "no bus", "no bus, can"); the calls logind saw (separated by |); the reason (empty: success, else
// its start). Logging off also has the session manager on the session bus ("none": no bus, "gnome",
// ..., "kde on demand"), XDG_CURRENT_DESKTOP, XDG_SESSION_ID ("pid": logind finds our session by
// our process) and the calls the manager saw.
struct Row {
    int code;
    QString setUp, calls, reason, manager = {}, desktop = {}, sessionId = {}, managerCalls = {};
};

} // namespace

Q_DECLARE_METATYPE(Row)

class TestLogindPower : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // Nothing here may fall back to the machine's buses, even by accident.
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/tarvo-test");
        qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/tarvo-test");
    }

    // What logind is asked for each code, and what it answers. A plain shut down first looks for
    // programs that block it; whether an action is possible is refused only by a plain "na" or "no".
    void logind_data()
    {
        QTest::addColumn<Row>("row");
        const QString blocked = u"Der Rechner wird nicht ausgeschaltet, weil „Brennprogramm“ (DVD wird gebrannt)"_s;
        const QString off = u"Der Rechner konnte nicht ausgeschaltet werden: "_s;
        const QString restart = u"Der Rechner konnte nicht neu gestartet werden: "_s;
        QTest::newRow("1 shut down") << Row{1, "", "ListInhibitors|PowerOff True", {}};
        QTest::newRow("8 power off") << Row{8, "", "PowerOff True", {}};
        QTest::newRow("3 has no meaning") << Row{3, "", "", u"Die Aktion mit dem Code 3 gibt es"_s};
        QTest::newRow("10") << Row{10, "", "", u"Reboot Fehler"_s};
        QTest::newRow("shut down blocked") << Row{1, "inhibit shutdown block", "ListInhibitors", blocked};
        QTest::newRow("among other locks") << Row{1, "inhibit sleep:shutdown block", "ListInhibitors", blocked};
        QTest::newRow("forced power off ignores locks") << Row{8, "inhibit shutdown block", "PowerOff True", {}};
        QTest::newRow("delay lock only delays") << Row{1, "inhibit shutdown delay", "ListInhibitors|PowerOff True", {}};
        QTest::newRow("sleep lock") << Row{1, "inhibit sleep block", "ListInhibitors|PowerOff True", {}};
        QTest::newRow("lock list denied") << Row{1, "fail ListInhibitors", "ListInhibitors", off};
        QTest::newRow("power off denied") << Row{8, "fail PowerOff", "PowerOff True", off};
        QTest::newRow("restart denied") << Row{2, "fail Reboot", "Reboot True", restart};
        QTest::newRow("standby denied")
            << Row{6, "fail Suspend", "Suspend True", u"Der Rechner konnte nicht in den Standby versetzt "_s};
        QTest::newRow("hibernate denied")
            << Row{5, "fail Hibernate", "Hibernate True", u"Der Rechner konnte nicht in den Ruhezustand "_s};
        QTest::newRow("no logind on the bus") << Row{2, "no logind", "", restart};
        QTest::newRow("logind does not answer") << Row{2, "hang Reboot", "Reboot True", restart};
        QTest::newRow("no bus") << Row{8, "no bus", "", off};
        QTest::newRow("can: standby na")
            << Row{6, "can na", "CanSuspend", u"Der Standby ist auf diesem Rechner nicht verfügbar."_s};
        QTest::newRow("can: hibernate challenge") << Row{5, "can challenge", "CanHibernate", {}};
        QTest::newRow("can: restart no")
            << Row{2, "can no", "CanReboot", u"Der Neustart ist diesem Benutzer auf diesem Rechner nicht erlaubt."_s};
        QTest::newRow("can: shut down na")
            << Row{1, "can na", "CanPowerOff", u"Das Ausschalten ist auf diesem Rechner nicht verfügbar."_s};
        QTest::newRow("can: power off yes") << Row{8, "can yes", "CanPowerOff", {}};
        QTest::newRow("can: log off asks nobody") << Row{0, "can na", "", {}};
        QTest::newRow("can: no bus") << Row{5, "no bus, can", "", {}};
        // Log off: the desktop's session manager, else logind ends our own session.
        const QString byPid = u"GetSessionByPID %1|Terminate"_s.arg(QCoreApplication::applicationPid());
        const QString failed = u"Die Abmeldung ist fehlgeschlagen: "_s;
        const auto logOff = [](const char* name, const char* manager, const char* desktop, const char* session,
                               const char* managerCalls, const QString& calls, const QString& reason = {}) {
            QTest::addRow("log off: %s", name) << Row{0, "log off", calls, reason, manager, desktop, session, managerCalls};
        };
        // GNOME's mode 1: no confirmation dialog, inhibitors still count. Also MATE and Cinnamon.
        logOff("GNOME", "gnome", "", "pid", "Logout 1", {});
        logOff("Plasma", "kde", "", "pid", "logout", {});
        logOff("Xfce without dialog, saving", "xfce", "", "pid", "Logout False True", {});
        logOff("LXQt, which never answers", "lxqt", "", "pid", "logout", {});
        // The desktop said no: going round it through logind would throw away what it protects.
        logOff("GNOME refuses", "gnome refusing", "", "pid", "Logout 1", {},
               failed + "Nicht erlaubt (org.gnome.NotInRunning)");
        logOff("no session bus", "none", "", "pid", "", byPid);
        logOff("GNOME's name without Logout", "gnome without Logout", "", "pid", "", byPid);
        logOff("by XDG_SESSION_ID", "none", "", "c1", "", u"GetSession \"c1\"|Terminate"_s);
        logOff("unknown XDG_SESSION_ID", "none", "", "c9", "", u"GetSession \"c9\""_s, failed);
        logOff("session not found", "none", "", "", "", {}, failed);
        logOff("Plasma's helper on demand", "kde on demand", "foo:KDE", "pid", "logout", {});
        logOff("no foreign desktop's helper", "kde on demand", "GNOME", "pid", "", byPid);
    }
    void logind()
    {
        QFETCH(Row, row);
        PrivateBus bus;
        REQUIRE_UP(bus);
        std::optional<Logind> logind;
        QDBusMessage lock; // the lock holds while its descriptor is open
        const QStringList words = row.setUp.split(u' ');
        const bool can = words[0] == "can"_L1 || row.setUp.endsWith("can"_L1), noBus = row.setUp.startsWith("no bus"_L1);
        if (!row.setUp.startsWith("no "_L1)) {
            logind.emplace(bus);
            REQUIRE_UP(*logind);
        }
        if (words[0] == "inhibit"_L1)
            lock = logind->call(kManagerPath, kManager, u"Inhibit"_s,
                                {words[1], u"Brennprogramm"_s, u"DVD wird gebrannt"_s, words[2]});
        for (const char* method : {"CanPowerOff", "CanReboot", "CanSuspend", "CanHibernate"})
            if (can && logind)
                QVERIFY(logind->addMethod(kManagerPath, kManager, QLatin1String(method), {}, u"s"_s,
                                          u"ret = '%1'"_s.arg(words[1])));
        // Errors come as the message in the reply and its name.
        const QString error = words[0] == "hang"_L1 ? u"NoReply"_s
                              : row.setUp == "no logind"_L1 ? u"ServiceUnknown"_s
                              : noBus                       ? u"Disconnected"_s
                                                            : u"AccessDenied"_s;
        if (words[0] == "fail"_L1 || words[0] == "hang"_L1)
            QVERIFY(logind->fail(words[1], kError + error, words[0] == "hang"_L1 ? u"time.sleep(3)"_s : QString()));
        // Logging off: our session in logind, and the desktop's session manager on a session bus.
        const bool logOff = row.setUp == "log off"_L1, onDemand = row.manager.endsWith("on demand"_L1);
        qputenv("XDG_CURRENT_DESKTOP", row.desktop.toUtf8());
        qputenv("XDG_SESSION_ID", row.sessionId == "pid"_L1 ? QByteArray() : row.sessionId.toUtf8());
        if (logOff)
            logind->call(kManagerPath, u"org.freedesktop.DBus.Mock"_s, u"AddSession"_s,
                         {"c1", "seat0", 1000u, "anna", true});
        if (logOff && row.sessionId == "pid"_L1)
            QVERIFY(logind->addMethod(kManagerPath, kManager, u"GetSessionByPID"_s, u"u"_s, u"o"_s,
                                      u"ret = '/org/freedesktop/login1/session/c1'"_s));
        // Plasma's helper, which the bus starts on the first call to it.
        QTemporaryDir services;
        const QString helper = services.filePath(u"helper"_s);
        QFile script(helper + ".py"_L1), service(services.filePath(u"org.kde.Shutdown.service"_s));
        QVERIFY(script.open(QIODevice::WriteOnly) && service.open(QIODevice::WriteOnly));
        script.write("BUS_NAME = MAIN_IFACE = 'org.kde.Shutdown'\nMAIN_OBJ = '/Shutdown'\nSYSTEM_BUS = False\n"
                     "def load(mock, parameters):\n    mock.AddMethod(MAIN_IFACE, 'logout', '', '', '')\n");
        service.write("[D-BUS Service]\nName=org.kde.Shutdown\nExec=/usr/bin/python3 -m dbusmock -l " + helper.toUtf8()
                      + ".log --template " + helper.toUtf8() + ".py\n");
        script.close(), service.close();
        std::optional<PrivateBus> session;
        if (logOff && row.manager != u"none")
            REQUIRE_UP(session.emplace(onDemand ? services.path() : QString()));
        std::optional<MockService> running;
        for (const auto& [name, path, method, in] : kSessionManagers) {
            if (!session || onDemand || !QLatin1String(name).contains(row.manager.section(u' ', 0, 0)))
                continue;
            REQUIRE_UP(running.emplace(*session, QLatin1String(name), QStringList{name, path, name}));
            if (!row.manager.endsWith("without Logout"_L1))
                QVERIFY(running->addMethod(path, name, method, in, {}, row.manager.endsWith("refusing"_L1)
                                               ? refusal(u"org.gnome.NotInRunning"_s) : QString()));
        }
        if (logind)
            logind->takeCalls(); // only what the back end does counts

        LogindPower power(noBus ? to() : to(bus.address), session ? to(session->address) : to(),
                          words[0] == "hang"_L1 ? 300ms : 10s);
        bool answeredAtOnce = false;
        const auto asked = [&] {
            const PowerAvailability possible = power.availability(PowerCode(row.code));
            return PowerOutcome{possible.possible, possible.reason};
        };
        const PowerOutcome outcome = can ? asked() : requestAndWait(power, PowerCode(row.code), &answeredAtOnce);
        QVERIFY2(row.calls.isEmpty() || !answeredAtOnce, "the request waited for logind's answer");
        QCOMPARE(outcome.ok, row.reason.isEmpty());
        QCOMPARE(can ? outcome.reason : outcome.reason.left(row.reason.size()), row.reason);
        if (words[0] == "fail"_L1)
            QVERIFY2(outcome.reason.endsWith(u"Nicht erlaubt ("_s + kError + error + u')'), qPrintable(outcome.reason));
        else if (!can && !error.startsWith("Access"_L1))
            QVERIFY2(outcome.reason.contains(kError + error), qPrintable(outcome.reason));
        if (logind)
            QCOMPARE(logind->takeCalls().join(u'|'), row.calls);
        qint64 seen = 0; // a call that is not answered may still be on its way
        QStringList byManager;
        QTRY_COMPARE((byManager << (running ? running->takeCalls() : loggedCalls(helper + ".log"_L1, &seen))).join(u'|'),
                     row.managerCalls);
    }

    // A system bus restarted since the back end connected is connected to anew.
    void busRestarted()
    {
        QTemporaryDir sockets;
        const QString socket = sockets.filePath(u"system_bus_socket"_s);
        LogindPower power(to(u"unix:path="_s + socket), to());
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
};

QTEST_GUILESS_MAIN(TestLogindPower)
#include "tst_power_logind.moc"
