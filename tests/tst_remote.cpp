// One Tarvo per session over the session bus, and the running one steered from the command line;
// the platform chosen in a Wayland session.
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QScopeGuard>

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

// A case on the bus: who holds the name, what is seen; the arguments, the calls the running one got.
struct BusRow {
    QString running, seen;
    QStringList arguments, calls;
};

// A case of the window's side: its command line, what is done ("", "pause", "cancel" or "add N"),
// and after it: the answer, the status line | the seconds left, the panel, the title | the end time.
struct WindowRow {
    QString commandLine, act, after;
};

} // namespace

Q_DECLARE_METATYPE(BusRow)
Q_DECLARE_METATYPE(WindowRow)

class TestRemote : public QObject {
    Q_OBJECT

    PrivateBus m_bus;

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_bus.isUp()); }

    // The status line across midnight and beyond a day; the plain and the paused line are the window
    // side's below.
    void statusLines()
    {
        const QDateTime now(QDate(2026, 12, 6), QTime(23, 59, 30));
        QCOMPARE(countdownStatusLine(u"Neustart"_s, 60, now, false), u"Neustart in 0:01:00, am 07.12. um 00:00 Uhr"_s);
        QCOMPARE(countdownStatusLine(u"Neustart"_s, 1965600, now, false),
                 u"Neustart in 546:00:00, am 29.12. um 17:59 Uhr"_s);
    }

    // Over the bus, with a Tarvo "armed" or "idle", none, no bus, or a program holding the name without
    // answering ("mute"): what a later start does (no arguments), what a command prints with its exit
    // code (64: refused as it stands) or a bare call to Add gets; and what the running one was asked.
    void bus_data()
    {
        QTest::addColumn<BusRow>("row");
        const auto row = [](const char* running, const QStringList& arguments, const QString& seen,
                            const QStringList& calls = {}) {
            QTest::addRow("%s, %s", running, arguments.isEmpty() ? "a later start" : qPrintable(arguments.join(u' ')))
                << BusRow{running, seen, arguments, calls};
        };
        const QString idle = u"3 Es läuft kein Countdown."_s, none = u"3 Tarvo läuft nicht."_s;
        const QString refused = u"org.freedesktop.DBus.Error.InvalidArgs"_s;
        row("armed", {}, u"forwarded"_s, {"forward"});
        row("no bus", {}, u"unchecked tarvo: Kein Session-Bus erreichbar: ob Tarvo schon läuft, lässt sich nicht "
                          "prüfen. Tarvo startet trotzdem."_s);
        row("mute", {}, u"unchecked tarvo: Der laufende Tarvo antwortet nicht. Tarvo startet trotzdem."_s);
        row("no bus", {"--status"}, u"3 tarvo: Kein Session-Bus erreichbar: kein Tarvo zu fragen."_s);
        row("armed", {"--status"}, "0 "_L1 + kLine);
        row("idle", {"--status"}, idle);
        row("none", {"--status"}, none);
        row("armed", {"--cancel"}, u"0 Der Countdown wurde abgebrochen."_s, {"cancel"});
        row("idle", {"--cancel"}, idle, {"cancel"});
        row("armed", {"--add", "10"}, "0 "_L1 + kLine, {"add 10"});
        row("idle", {"--add", "10"}, idle, {"add 10"});
        // The command line: the first request decides; among letters; a number in its own range.
        row("armed", {"A", "M5", "--status"}, "0 "_L1 + kLine);
        row("armed", {"--cancel", "--add", "x"}, u"0 Der Countdown wurde abgebrochen."_s, {"cancel"});
        row("armed", {"--add=0020160"}, "0 "_L1 + kLine, {"add 20160"});
        const QString range = u"64 tarvo: --add braucht eine ganze Zahl von Minuten zwischen 1 und 20160"_s;
        for (const char* minutes : {"0", "20161", "99999999999999999999", "+5", " 5"})
            row("armed", {"--add", minutes}, range + u", nicht „%1“."_s.arg(QLatin1String(minutes)));
        row("armed", {"--add="}, range + u", nicht „“."_s);
        row("armed", {"--add"}, range + u", z. B. tarvo --add 10."_s);
        // Anyone on the bus may call: a number the command line would refuse is refused again.
        for (const char* minutes : {"0", "20161", "4294967295"})
            row("armed", {"Add", minutes}, refused);
    }
    void bus()
    {
        QFETCH(BusRow, row);
        FakeControl control;
        control.armed = row.running == u"armed";
        std::optional<SingleInstance> first;
        if (row.running == u"armed" || row.running == u"idle") {
            first.emplace(connectTo(m_bus.address), kName);
            QCOMPARE(first->claim(), SingleInstance::Claim::First);
            first->serve(&control);
        }
        QDBusConnection mute = connectTo(m_bus.address);
        QVERIFY(row.running != u"mute" || mute.registerService(kName));
        const auto release = qScopeGuard([&mute] { mute.unregisterService(kName); });
        const QDBusConnection later = row.running == u"no bus" ? nowhere() : connectTo(m_bus.address);
        QString seen;
        QElapsedTimer took;
        took.start();
        if (row.arguments.isEmpty()) {
            SingleInstance second(later, kName);
            const char* claims[] = {"first", "forwarded", "unchecked"};
            seen = QLatin1String(claims[int(second.claim())]);
            seen += (second.warning().isEmpty() ? ""_L1 : " "_L1) + second.warning();
        } else if (row.arguments[0] == u"Add") {
            seen = callInstance(later, kName, u"Add"_s, {row.arguments[1].toUInt()}, 5000).errorName();
        } else if (QString error; const auto request = remoteRequest(row.arguments, &error)) {
            const RemoteAnswer answer = askRunningTarvo(*request, later, kName);
            seen = u"%1 %2%3"_s.arg(answer.exitCode).arg(answer.output, answer.error);
        } else {
            seen = u"64 "_s + error; // refused before anyone is asked
        }
        QVERIFY(row.running == u"mute" || took.elapsed() < 5000); // at once
        QCOMPARE(seen.remove(QRegularExpression(u" \\(.*\\)(?=[:.])"_s)), row.seen); // the bus's words in brackets vary
        QCOMPARE(control.calls, row.calls);
    }

    // The window's side: what the command line sees of a countdown, and what it does to it. How far
    // a countdown grows is the countdown's rule (its own tests).
    void windowSide_data()
    {
        QTest::addColumn<WindowRow>("row");
        QTest::newRow("paused") << WindowRow{"A M5", "pause",
                                             "1 Ausschalten angehalten, noch 0:04:57 | 297 countdown 5 Minute(n)  "
                                             "Ausschalten | PAUSE"};
        QTest::newRow("cancel") << WindowRow{"N M5", "cancel", "1  | 300 entry Tarvo"};
        QTest::newRow("cancel, idle: the program stays") << WindowRow{"", "cancel", "0  | 3600 entry Tarvo"};
        QTest::newRow("add") << WindowRow{"A M5", "add 10",
                                          "1 Ausschalten in 0:14:57, um 14:22 Uhr | 897 countdown 15 Minute(n)  "
                                          "Ausschalten | End-Zeit: 14:22"};
        QTest::newRow("add, idle") << WindowRow{"", "add 10", "0  | 3600 entry Tarvo"};
    }
    void windowSide()
    {
        QFETCH(WindowRow, row);
        const auto h = loaded(row.commandLine);
        Form1& f = *h->form;
        if (control<QTimer>(f, "Timer1")->isActive())
            h->tick(3);
        Form1Remote remote(f);
        bool result = remote.status().armed;
        if (row.act == u"pause")
            f.AktiveLED_DblClick();
        if (row.act == u"cancel")
            result = remote.cancel();
        if (row.act.startsWith(u"add"_s))
            result = remote.add(row.act.section(u' ', -1).toInt());
        const RemoteControl::Status status = remote.status();
        const bool counting = control<QFrame>(f, "Eingabemaske")->isHidden();
        QString seen = u"%1 %2 | %3 %4 %5"_s.arg(result).arg(status.line).arg(f.remainingSeconds())
                           .arg(counting ? u"countdown"_s : u"entry"_s, f.windowTitle());
        if (counting)
            seen += u" | "_s + control<QLabel>(f, "Endzeit_Display")->text();
        QCOMPARE(seen, row.after);
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
