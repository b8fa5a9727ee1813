// One Tarvo per session over the session bus, and the running one steered from the command line;
// the platform chosen in a Wayland session.
#include <QElapsedTimer>

#include "app/form1_remote.h"
#include "app/platform_choice.h"
#include "app/remote_command.h"
#include "app/single_instance.h"
#include "fakes.h"
#include "power/private_bus.h"

using namespace tarvo;
using namespace tarvo::test;
using namespace Qt::StringLiterals;

namespace {

const QString kName = u"org.example.tarvo"_s;
const QString kLine = u"Ausschalten in 0:04:59, um 14:12 Uhr"_s;

struct FakeControl final : RemoteControl {
    bool armed = true;
    QStringList calls;
    void comeForward() override { calls << u"forward"_s; }
    Status status() const override { return { armed, kLine }; }
    bool cancel() override { return calls << u"cancel"_s, std::exchange(armed, false); }
    bool add(int minutes) override { return calls << u"add %1"_s.arg(minutes), armed; }
};

QString described(const std::optional<RemoteRequest>& request, const QString& error)
{
    if (!request)
        return error;
    const char* kinds[] = { "status", "cancel", "add" };
    return QLatin1String(kinds[request->kind])
        + (request->kind == RemoteRequest::Add ? u" %1"_s.arg(request->minutes) : QString());
}

} // namespace

class TestRemote : public QObject {
    Q_OBJECT

    std::unique_ptr<PrivateBus> m_bus;

private Q_SLOTS:
    void initTestCase()
    {
        m_bus = std::make_unique<PrivateBus>();
        QVERIFY(m_bus->isUp());
    }

    void requests_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("request");
        const QString range = u"tarvo: --add braucht eine ganze Zahl von Minuten zwischen 1 und 20160"_s;
        QTest::newRow("status among letters") << QStringList { "A", "M5", "--status" } << "status";
        QTest::newRow("first one decides") << QStringList { "--cancel", "--add", "x" } << "cancel";
        QTest::newRow("add") << QStringList { "--add", "10" } << "add 10";
        QTest::newRow("add joined, leading zeros") << QStringList { "--add=0020160" } << "add 20160";
        QTest::newRow("add 0") << QStringList { "--add", "0" } << range + u", nicht „0“."_s;
        QTest::newRow("add above 14 days") << QStringList { "--add", "20161" } << range + u", nicht „20161“."_s;
        QTest::newRow("add huge") << QStringList { "--add", "99999999999999999999" }
                                  << range + u", nicht „99999999999999999999“."_s;
        QTest::newRow("add signed") << QStringList { "--add", "+5" } << range + u", nicht „+5“."_s;
        QTest::newRow("add blank") << QStringList { "--add", " 5" } << range + u", nicht „ 5“."_s;
        QTest::newRow("add empty joined") << QStringList { "--add=" } << range + u", nicht „“."_s;
        QTest::newRow("add without number") << QStringList { "--add" } << range + u", z. B. tarvo --add 10."_s;
    }
    void requests()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, request);
        QString error;
        QCOMPARE(described(remoteRequest(arguments, &error), error), request);
    }

    // The status line across midnight and beyond a day; the plain and the paused line are the window
    // side's below.
    void statusLines()
    {
        const QDateTime now(QDate(2026, 12, 6), QTime(23, 59, 30));
        QCOMPARE(countdownStatusLine(u"Neustart"_s, 60, now, false), u"Neustart in 0:01:00, am 07.12. um 00:00 Uhr"_s);
        QCOMPARE(countdownStatusLine(u"Neustart"_s, 1965600, now, false),
                 u"Neustart in 546:00:00, am 29.12. um 17:59 Uhr"_s);
    }

    // A later start finds the first one by its name, brings it forward and ends, at once.
    void secondStartForwards()
    {
        FakeControl control;
        SingleInstance first(connectTo(m_bus->address), kName);
        QCOMPARE(first.claim(), SingleInstance::Claim::First);
        first.serve(&control);
        QElapsedTimer took;
        took.start();
        QCOMPARE(SingleInstance(connectTo(m_bus->address), kName).claim(), SingleInstance::Claim::Forwarded);
        QVERIFY(took.elapsed() < 5000);
        QCOMPARE(control.calls, QStringList { "forward" });
    }

    // Where nothing can be checked, Tarvo starts, and says why.
    void uncheckedStarts_data()
    {
        QTest::addColumn<QString>("owner");
        QTest::addColumn<QString>("warning");
        QTest::newRow("no session bus") << "none" << "tarvo: Kein Session-Bus erreichbar";
        QTest::newRow("name held by a program that does not answer") << "mute"
                                                                     << "tarvo: Der laufende Tarvo antwortet nicht";
    }
    void uncheckedStarts()
    {
        QFETCH(QString, owner);
        QFETCH(QString, warning);
        QDBusConnection mute = connectTo(m_bus->address);
        QVERIFY(mute.registerService(kName));
        SingleInstance instance(owner == u"none" ? nowhere() : connectTo(m_bus->address), kName);
        QCOMPARE(instance.claim(), SingleInstance::Claim::Unchecked);
        QVERIFY2(instance.warning().startsWith(warning), qPrintable(instance.warning()));
        QVERIFY(instance.warning().endsWith(u"Tarvo startet trotzdem."_s));
        mute.unregisterService(kName);
        if (owner == u"none") { // and a later start asking it finds nobody either
            const RemoteAnswer answer = askRunningTarvo(RemoteRequest {}, nowhere(), kName);
            QVERIFY(answer.exitCode == 3 && answer.error.startsWith(warning));
        }
    }

    // Over the bus: what a later start prints, its exit code, and what the running one was asked.
    void commands_data()
    {
        QTest::addColumn<QString>("running"); // "armed", "idle" or "none" (no Tarvo)
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QStringList>("calls");
        const auto row = [](const char* running, const QStringList& arguments, int exitCode, const QString& output,
                            const QStringList& calls = {}) {
            QTest::addRow("%s, %s", running, qPrintable(arguments.join(u' '))) << running << arguments << exitCode
                                                                               << output << calls;
        };
        const QString idle = u"Es läuft kein Countdown."_s, none = u"Tarvo läuft nicht."_s;
        row("armed", {"--status"}, 0, kLine);
        row("idle", {"--status"}, 3, idle);
        row("none", {"--status"}, 3, none);
        row("armed", {"--cancel"}, 0, u"Der Countdown wurde abgebrochen."_s, {"cancel"});
        row("idle", {"--cancel"}, 3, idle, {"cancel"});
        row("none", {"--cancel"}, 3, none);
        row("armed", {"--add", "10"}, 0, kLine, {"add 10"});
        row("idle", {"--add", "10"}, 3, idle, {"add 10"});
    }
    void commands()
    {
        QFETCH(QString, running);
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, output);
        QFETCH(QStringList, calls);
        FakeControl control;
        control.armed = running == u"armed";
        std::optional<SingleInstance> first;
        if (running != u"none") {
            first.emplace(connectTo(m_bus->address), kName);
            QCOMPARE(first->claim(), SingleInstance::Claim::First);
            first->serve(&control);
        }
        QString error;
        const RemoteAnswer answer
            = askRunningTarvo(*remoteRequest(arguments, &error), connectTo(m_bus->address), kName);
        QCOMPARE(u"%1 %2%3"_s.arg(answer.exitCode).arg(answer.output, answer.error), u"%1 %2"_s.arg(exitCode).arg(output));
        QCOMPARE(control.calls, calls);
    }

    // Anyone on the bus may call: a number the command line would refuse is refused again.
    void addOutOfRangeRefused()
    {
        FakeControl control;
        SingleInstance first(connectTo(m_bus->address), kName);
        QCOMPARE(first.claim(), SingleInstance::Claim::First);
        first.serve(&control);
        const QDBusConnection other = connectTo(m_bus->address);
        for (const uint minutes : { 0u, 20161u, 4294967295u })
            QCOMPARE(callInstance(other, kName, u"Add"_s, { minutes }, 5000).errorName(),
                     u"org.freedesktop.DBus.Error.InvalidArgs"_s);
        QCOMPARE(control.calls, QStringList {});
    }

    // The window's side: what the command line sees of a countdown, and what it does to it. How far
    // a countdown grows is the countdown's rule (its own tests).
    void windowSide_data()
    {
        QTest::addColumn<QString>("commandLine");
        QTest::addColumn<QString>("act"); // "", "pause", "cancel" or "add N"
        // The answer, the status line | the seconds left, the panel, the title | the end time shown
        QTest::addColumn<QString>("after");
        QTest::newRow("paused") << "A M5" << "pause"
                                << "1 Ausschalten angehalten, noch 0:04:57 | 297 countdown 5 Minute(n)  Ausschalten "
                                   "| PAUSE";
        QTest::newRow("cancel") << "N M5" << "cancel" << "1  | 300 entry Tarvo";
        QTest::newRow("cancel, idle: the program stays") << "" << "cancel" << "0  | 3600 entry Tarvo";
        QTest::newRow("add") << "A M5" << "add 10"
                             << "1 Ausschalten in 0:14:57, um 14:22 Uhr | 897 countdown 15 Minute(n)  Ausschalten "
                                "| End-Zeit: 14:22";
        QTest::newRow("add, idle") << "" << "add 10" << "0  | 3600 entry Tarvo";
    }
    void windowSide()
    {
        QFETCH(QString, commandLine);
        QFETCH(QString, act);
        QFETCH(QString, after);
        const auto h = loaded(commandLine);
        Form1& f = *h->form;
        if (control<QTimer>(f, "Timer1")->isActive())
            h->tick(3);
        Form1Remote remote(f);
        bool result = remote.status().armed;
        if (act == u"pause")
            f.AktiveLED_DblClick();
        if (act == u"cancel")
            result = remote.cancel();
        if (act.startsWith(u"add"_s))
            result = remote.add(act.section(u' ', -1).toInt());
        const RemoteControl::Status status = remote.status();
        const bool counting = control<QFrame>(f, "Eingabemaske")->isHidden();
        QString seen = u"%1 %2 | %3 %4 %5"_s.arg(result)
                           .arg(status.line)
                           .arg(f.remainingSeconds())
                           .arg(counting ? u"countdown"_s : u"entry"_s, f.windowTitle());
        if (counting)
            seen += u" | "_s + control<QLabel>(f, "Endzeit_Display")->text();
        QCOMPARE(seen, after);
        QCOMPARE(status.armed, counting);
        QVERIFY(h->power->requests.empty() && h->app->endings.empty());
    }

    void platforms_data()
    {
        QTest::addColumn<QString>("environment"); // QT_QPA_PLATFORM|XDG_SESSION_TYPE|WAYLAND_DISPLAY|DISPLAY
        QTest::addColumn<QString>("platform");
        QTest::newRow("Wayland session with XWayland") << "|wayland|wayland-0|:0" << "xcb";
        QTest::newRow("only WAYLAND_DISPLAY tells") << "||wayland-0|:1" << "xcb";
        QTest::newRow("only the session type tells") << "|wayland||:0" << "xcb";
        QTest::newRow("no XWayland") << "|wayland|wayland-0|" << "";
        QTest::newRow("native Wayland asked for") << "wayland|wayland|wayland-0|:0" << "";
        QTest::newRow("another platform asked for") << "offscreen|wayland|wayland-0|:0" << "";
        QTest::newRow("X11 session") << "|x11||:0" << "";
    }
    void platforms()
    {
        QFETCH(QString, environment);
        QFETCH(QString, platform);
        const QStringList e = environment.split(u'|');
        QCOMPARE(preferredPlatform(e[0], e[1], e[2], e[3]), platform);
    }
};

QTEST_MAIN(TestRemote)
#include "tst_remote.moc"
