// The logind back end against python3-dbusmock's logind and mocked session managers, on buses the
// test starts itself, and the back end the factory hands out.

#include <cstdio>
#include <unistd.h>

#include <QCoreApplication>
#include <QTemporaryFile>

#include "power/logind_power.h"
#include "private_bus.h"

using namespace std::chrono_literals;
using namespace tarvo;
using namespace tarvo::test;
using namespace Qt::StringLiterals;

namespace {

const QString kManagerPath = u"/org/freedesktop/login1"_s;
const QString kManager = u"org.freedesktop.login1.Manager"_s;
const QString kDenied = u"Nicht erlaubt (org.freedesktop.DBus.Error.AccessDenied)"_s;

#define REQUIRE_UP(thing) QVERIFY2((thing).isUp(), "a private bus or a mocked service did not start")

const QString kRefusal = u"raise dbus.exceptions.DBusException('Nicht erlaubt', name='%1')"_s;

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
    if (QTest::qWaitFor([&] { return outcome.has_value(); }, 20000))
        QTest::qWait(50); // a second answer would be a fault
    return answers == 1 ? *outcome : PowerOutcome::failure(u"answered %1 times"_s.arg(answers));
}

// What the work wrote to the descriptor (1 or 2) without any further flushing: the program ends
// right after a request.
QByteArray written(int descriptor, const std::function<void()>& work)
{
    std::fflush(nullptr);
    QTemporaryFile sink;
    const int saved = sink.open() ? ::dup(descriptor) : -1;
    ::dup2(sink.handle(), descriptor);
    work();
    ::dup2(saved, descriptor);
    ::close(saved);
    sink.seek(0);
    return sink.readAll();
}

BusLink::Connect to(const QString& address = u"unix:path=/nonexistent/tarvo-test"_s)
{
    return [address] { return connectTo(address); };
}

// A case against logind: the code; the set-up ("inhibit WHAT MODE", "fail METHOD", "hang METHOD",
// "can ANSWER": every Can* method answers so and whether the action is possible is asked, "no bus",
// "no bus, can"); the calls logind saw (separated by |); the reason (empty: success, else its start).
// Logging off also has the session manager on the session bus ("none": no bus, "gnome", ..., "kde on
// demand"), XDG_CURRENT_DESKTOP, XDG_SESSION_ID ("pid": found by our process), the manager's calls.
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
        // Nothing here may reach the machine's buses, even by accident: the factory's back end gets
        // a private system bus.
        qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/tarvo-test");
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/tarvo-test");
        REQUIRE_UP(m_bus);
        REQUIRE_UP(m_logind.emplace(m_bus, u"org.freedesktop.login1"_s, QStringList{"--template", "logind"}));
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", m_bus.address.toUtf8());
    }

    // TARVO_POWER picks the back end: the dry run prints each request and answers before it returns;
    // a typo must not end in a real shut down; unset, logind is asked.
    void factory_data()
    {
        QTest::addColumn<QByteArray>("setting");
        QTest::addColumn<QString>("seen"); // the warning | what was printed | the outcomes, sorted | logind's calls
        const QString dry = u"|tarvo: power request 6 (Standby)\ntarvo: power request 7 (Code7)\n|Reboot Fehler,ok,ok|"_s;
        QTest::newRow("dry-run") << QByteArray("dry-run") << dry;
        QTest::newRow("misspelt") << QByteArray("dryrun")
                                  << "tarvo: unknown TARVO_POWER value \"dryrun\", doing a dry run\n"_L1 + dry;
        QTest::newRow("unset: logind")
            << QByteArray() << u"||Die Aktion mit dem Code 7 gibt es unter Linux nicht.,Reboot Fehler,ok|Suspend True"_s;
    }
    void factory()
    {
        QFETCH(QByteArray, setting);
        QFETCH(QString, seen);
        setting.isEmpty() ? qunsetenv("TARVO_POWER") : qputenv("TARVO_POWER", setting);
        std::unique_ptr<PowerBackend> power;
        QStringList outcomes, found{QString::fromUtf8(written(2, [&] { power = makePowerBackend(); }))};
        found << QString::fromUtf8(written(1, [&] {
            for (const PowerCode code : {6, 7, 10})
                power->request(code, [&outcomes](const PowerOutcome& outcome) {
                    outcomes << (outcome.ok ? QStringLiteral("ok") : outcome.reason);
                });
        }));
        QTRY_COMPARE(outcomes.size(), 3);
        outcomes.sort(); // logind answers in its own order
        QCOMPARE((found << outcomes.join(u',') << m_logind->takeCalls().join(u'|')).join(u'|'), seen);
    }

    // What logind is asked for each code, and what it answers. A plain shut down first looks for
    // programs that block it; whether an action is possible is refused only by a plain "na" or "no".
    void logind_data()
    {
        QTest::addColumn<Row>("row");
        const QString blocked = u"Der Rechner wird nicht ausgeschaltet, weil „Brennprogramm“ (DVD wird gebrannt)"_s;
        const QString cannot = u"Der Rechner konnte nicht "_s;
        const QString off = cannot + u"ausgeschaltet werden: "_s, restart = cannot + u"neu gestartet werden: "_s;
        QTest::newRow("3 has no meaning") << Row{3, "", "", u"Die Aktion mit dem Code 3 gibt es"_s};
        QTest::newRow("10") << Row{10, "", "", u"Reboot Fehler"_s};
        QTest::newRow("shut down blocked among other locks")
            << Row{1, "inhibit sleep:shutdown block", "ListInhibitors", blocked};
        QTest::newRow("forced power off ignores locks") << Row{8, "inhibit shutdown block", "PowerOff True", {}};
        QTest::newRow("delay lock only delays") << Row{1, "inhibit shutdown delay", "ListInhibitors|PowerOff True", {}};
        QTest::newRow("sleep lock") << Row{1, "inhibit sleep block", "ListInhibitors|PowerOff True", {}};
        QTest::newRow("lock list denied") << Row{1, "fail ListInhibitors", "ListInhibitors", off + kDenied};
        QTest::newRow("restart denied") << Row{2, "fail Reboot", "Reboot True", restart + kDenied};
        QTest::newRow("standby denied")
            << Row{6, "fail Suspend", "Suspend True", cannot + u"in den Standby versetzt werden: "_s + kDenied};
        QTest::newRow("hibernate denied")
            << Row{5, "fail Hibernate", "Hibernate True", cannot + u"in den Ruhezustand versetzt werden: "_s + kDenied};
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
            QTest::addRow("log off: %s", name)
                << Row{0, "log off", calls, reason, manager, desktop, session, managerCalls};
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
        const QStringList words = row.setUp.split(u' ');
        const bool asked = words[0] == "can"_L1 || row.setUp.endsWith("can"_L1), hang = words[0] == "hang"_L1;
        // Every Can* method answers the set-up's second word.
        const QString can = u"{\"CanPowerOff\": \"%1\", \"CanReboot\": \"%1\", \"CanSuspend\": \"%1\", "
                            "\"CanHibernate\": \"%1\"}"_s.arg(words.value(1));
        MockService logind(bus, u"org.freedesktop.login1"_s, {"--template", "logind", "-p", can});
        REQUIRE_UP(logind);
        QDBusMessage lock; // the lock holds while its descriptor is open
        if (words[0] == "inhibit"_L1)
            lock = logind.call(kManagerPath, kManager, u"Inhibit"_s,
                               {words[1], u"Brennprogramm"_s, u"DVD wird gebrannt"_s, words[2]});
        const bool list = words.value(1) == "ListInhibitors"_L1;
        if (words[0] == "fail"_L1 || hang)
            QVERIFY(logind.addMethod(kManagerPath, kManager, words[1], list ? QString() : u"b"_s,
                                     list ? u"a(ssssuu)"_s : QString(), hang ? u"time.sleep(3)"_s
                                     : kRefusal.arg(u"org.freedesktop.DBus.Error.AccessDenied"_s)));
        // Logging off: our session in logind, and the desktop's session manager on a session bus.
        const bool logOff = row.setUp == "log off"_L1, onDemand = row.manager.endsWith("on demand"_L1);
        qputenv("XDG_CURRENT_DESKTOP", row.desktop.toUtf8());
        qputenv("XDG_SESSION_ID", row.sessionId == "pid"_L1 ? QByteArray() : row.sessionId.toUtf8());
        logind.call(kManagerPath, u"org.freedesktop.DBus.Mock"_s, u"AddSession"_s, {"c1", "seat0", 1000u, "ann", true});
        if (row.sessionId == "pid"_L1)
            QVERIFY(logind.addMethod(kManagerPath, kManager, u"GetSessionByPID"_s, u"u"_s, u"o"_s,
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
                                               ? kRefusal.arg("org.gnome.NotInRunning") : QString()));
        }
        logind.takeCalls(); // only what the back end does counts

        LogindPower power(row.setUp.startsWith("no bus"_L1) ? to() : to(bus.address),
                          session ? to(session->address) : to(), hang ? 300ms : 10s);
        bool answeredAtOnce = false;
        const PowerAvailability possible = asked ? power.availability(PowerCode(row.code)) : PowerAvailability::yes();
        const PowerOutcome outcome = asked ? PowerOutcome{possible.possible, possible.reason}
                                         : requestAndWait(power, PowerCode(row.code), &answeredAtOnce);
        QVERIFY2(row.calls.isEmpty() || !answeredAtOnce, "the request waited for logind's answer");
        QCOMPARE(outcome.ok, row.reason.isEmpty());
        QCOMPARE(outcome.reason.left(row.reason.size()), row.reason);
        QCOMPARE(logind.takeCalls().join(u'|'), row.calls);
        qint64 from = 0; // read anew each time: a call that is not answered may still be on its way
        const QString managerLog = running ? running->log : helper + ".log"_L1;
        QTRY_COMPARE((from = 0, loggedCalls(managerLog, &from).join(u'|')), row.managerCalls);
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
            MockService logind(bus, u"org.freedesktop.login1"_s, {"--template", "logind"});
            REQUIRE_UP(logind);
            const PowerOutcome outcome = requestAndWait(power, power_code::Restart);
            QVERIFY2(outcome.ok, qPrintable(QLatin1String(round) + u": "_s + outcome.reason));
            QCOMPARE(logind.takeCalls(), QStringList{u"Reboot True"_s});
        }
    }

private:
    PrivateBus m_bus;
    std::optional<MockService> m_logind;
};

QTEST_GUILESS_MAIN(TestLogindPower)
#include "tst_power_logind.moc"
