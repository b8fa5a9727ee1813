// The idle inhibitors and the countdown's notification against dbusmock services on private buses,
// on their own and beside a real main window.

#include <QDBusArgument>
#include <QDBusVariant>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

#include "app/desktop_wiring.h"
#include "desktop/countdown_notifier.h"
#include "desktop/idle_inhibitor.h"
#include "fakes.h"
#include "power/private_bus.h"

using namespace tarvo;
using namespace tarvo::test;

namespace {

const QString Reason = QStringLiteral("Der Countdown läuft");
const QString Login1 = QStringLiteral("/org/freedesktop/login1");
const QString Notifications = QStringLiteral("/org/freedesktop/Notifications");

int logindInhibitors(const MockService& logind, const QString& reason = Reason)
{
    const QDBusMessage reply = logind.call(Login1, QStringLiteral("org.freedesktop.login1.Manager"),
        QStringLiteral("ListInhibitors"));
    if (reply.type() != QDBusMessage::ReplyMessage)
        return -1;
    const auto list = qvariant_cast<QDBusArgument>(reply.arguments().constFirst());
    int count = 0;
    list.beginArray();
    while (!list.atEnd()) {
        QString what, who, why, mode;
        uint uid = 0, pid = 0;
        list.beginStructure();
        list >> what >> who >> why >> mode >> uid >> pid;
        list.endStructure();
        if (what == QLatin1String("idle") && who == QLatin1String("Tarvo") && why == reason && mode == QLatin1String("block"))
            ++count;
    }
    list.endArray();
    return count;
}

// GNOME's session manager, whose cookie comes back late, so that settling or a sleep request that
// does not wait for it shows.
const QString Gnome = QStringLiteral("org.gnome.SessionManager");
const QString GnomePath = QStringLiteral("/org/gnome/SessionManager");
bool slowGnome(MockService& gnome)
{
    return gnome.addMethod(GnomePath, Gnome, "Inhibit", "susu", "u", "ret = dbus.UInt32(7)")
           && gnome.addMethod(GnomePath, Gnome, "Uninhibit", "u", "", "import time; time.sleep(0.5); self.log('given back')");
}

bool emitAction(const MockService& daemon, uint id, const QString& action)
{
    const QVariantList args{"org.freedesktop.Notifications", "ActionInvoked", "us",
                            QVariantList{QVariant::fromValue(QDBusVariant(id)), QVariant::fromValue(QDBusVariant(action))}};
    return daemon.call(Notifications, "org.freedesktop.DBus.Mock", "EmitSignal", args).type() == QDBusMessage::ReplyMessage;
}

// A desktop's inhibitor: service, path, interface, Inhibit's signature; the Python that sets the
// answer; the Inhibit and the release as logged. A racing one is released before its answer came.
struct Inhibitor {
    QStringList object;
    QString answer;
    QStringList calls;
    bool racing = false;
};

// An action invoked on a notification's id, and the cancels and extensions it makes.
struct Action {
    QString action;
    uint id;
    int cancels, extends;
};

} // namespace

Q_DECLARE_METATYPE(Inhibitor)
Q_DECLARE_METATYPE(Action)

class TestDesktopBus : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (!QFile::exists(QStringLiteral("/usr/bin/python3")) || QStandardPaths::findExecutable("dbus-daemon").isEmpty())
            QSKIP("needs dbus-daemon and python3-dbusmock");
    }

    // logind's idle inhibitor and one desktop inhibitor are taken at hold and given back at release;
    // a release before the answers came back gives the late ones back and settles only then.
    void inhibitorHoldAndRelease_data()
    {
        QTest::addColumn<Inhibitor>("row");
        const QString cookie = QStringLiteral("ret = dbus.UInt32(42)");
        QTest::newRow("GNOME session manager")
            << Inhibitor{{"org.gnome.SessionManager", "/org/gnome/SessionManager", "org.gnome.SessionManager", "susu"},
                         cookie, {"Inhibit \"Tarvo\" 0 \"" + Reason + "\" 4", "Uninhibit 42"}};
        QTest::newRow("freedesktop power management")
            << Inhibitor{{"org.freedesktop.PowerManagement", "/org/freedesktop/PowerManagement/Inhibit",
                          "org.freedesktop.PowerManagement.Inhibit", "ss"},
                         cookie, {"Inhibit \"Tarvo\" \"" + Reason + "\"", "UnInhibit 42"}};
        // The portal's answer is a request object; closing it ends the inhibition.
        QTest::newRow("desktop portal")
            << Inhibitor{{"org.freedesktop.portal.Desktop", "/org/freedesktop/portal/desktop", "org.freedesktop.portal.Inhibit", "sua{sv}"},
                         "r = '/org/freedesktop/portal/desktop/request/1/t'; "
                         "self.AddObject(r, 'org.freedesktop.portal.Request', {}, [('Close', '', '', '')]); ret = dbus.ObjectPath(r)",
                         {"Inhibit \"\" 4 {\"reason\": \"" + Reason + "\"}", "Close"}};
        QTest::newRow("released before the answers")
            << Inhibitor{{Gnome, GnomePath, Gnome}, {}, {"Inhibit \"Tarvo\" 0 \"" + Reason + "\" 4", "Uninhibit 7", "given back"}, true};
    }
    void inhibitorHoldAndRelease()
    {
        QFETCH(Inhibitor, row);
        const QStringList& object = row.object;
        PrivateBus system, session;
        MockService logind(system, QStringLiteral("org.freedesktop.login1"), {"--template", "logind"});
        MockService desktop(session, object[0], object.mid(0, 3));
        QVERIFY(logind.isUp() && desktop.isUp());
        QVERIFY(row.racing ? slowGnome(desktop)
                           : desktop.addMethod(object[1], object[2], "Inhibit", object[3], object[3] == "sua{sv}" ? "o" : "u", row.answer));
        if (!row.racing && row.calls[1] != QLatin1String("Close"))
            QVERIFY(desktop.addMethod(object[1], object[2], row.calls[1].section(' ', 0, 0), "u", ""));

        IdleInhibitor inhibitor(connectTo(system.address), connectTo(session.address), Reason);
        inhibitor.hold();
        if (!row.racing) {
            QTRY_COMPARE_WITH_TIMEOUT(logindInhibitors(logind), 1, 20000);
            QStringList seen;
            QTRY_VERIFY_WITH_TIMEOUT(!(seen += desktop.takeCalls()).isEmpty(), 20000);
            QCOMPARE(seen, row.calls.mid(0, 1));
            QTest::qWait(300); // the answers are handled: the descriptor must be kept, not just received
            QCOMPARE(logindInhibitors(logind), 1);
        }
        inhibitor.release();
        QTRY_VERIFY_WITH_TIMEOUT(inhibitor.isSettled(), 20000); // only once the desktop's inhibitor went back
        QCOMPARE(desktop.takeCalls(), row.calls.mid(row.racing ? 0 : 1));
        QTRY_COMPARE_WITH_TIMEOUT(logindInhibitors(logind), 0, 20000);
        QTest::qWait(300); // a late answer is given back, not kept
        QCOMPARE(logindInhibitors(logind), 0);
    }

    // The notification, replaced while its first id is still unknown, its actions (only for its own
    // id), and its close.
    void notification_data()
    {
        QTest::addColumn<Action>("row");
        QTest::newRow("Abbrechen") << Action{"cancel", 1U, 1, 0};
        QTest::newRow("+10 Minuten") << Action{"extend", 1U, 0, 1};
        QTest::newRow("another program's notification") << Action{"cancel", 2U, 0, 0};
    }
    void notification()
    {
        QFETCH(Action, row);
        PrivateBus session;
        MockService daemon(session, QStringLiteral("org.freedesktop.Notifications"), {"--template", "notification_daemon"});
        QVERIFY(daemon.isUp());
        CountdownNotifier notifier(connectTo(session.address));
        QSignalSpy cancel(&notifier, &CountdownNotifier::cancelRequested);
        QSignalSpy extend(&notifier, &CountdownNotifier::extendRequested);
        QSignalSpy window(&notifier, &CountdownNotifier::windowRequested);
        notifier.show(QStringLiteral("a"), QStringLiteral("b"));
        notifier.show(QStringLiteral("Ausschalten um 22:15 Uhr"), QStringLiteral("Noch 5 Minuten."));
        // The second goes out once the first's id is known, so Tarvo knows it when the actions come.
        QStringList calls;
        QTRY_COMPARE_WITH_TIMEOUT((calls += daemon.takeCalls()).size(), 2, 20000);
        QVERIFY2(calls[0].startsWith(QStringLiteral("Notify \"Tarvo\" 0 \"tarvo\" \"a\" \"b\" [\"default\", \"Tarvo zeigen\", "
                                                      "\"cancel\", \"Abbrechen\", \"extend\", \"+10 Minuten\"]")),
                 qPrintable(calls[0]));
        QVERIFY2(calls[1].startsWith(QStringLiteral("Notify \"Tarvo\" 1 \"tarvo\" \"Ausschalten um 22:15 Uhr\" \"Noch 5 Minuten.\"")),
                 qPrintable(calls[1]));
        // The first notification of the daemon gets the id 1; the default action comes last as a
        // marker that every signal before it has arrived.
        QVERIFY(emitAction(daemon, row.id, row.action));
        QVERIFY(emitAction(daemon, 1, QStringLiteral("default")));
        QTRY_COMPARE_WITH_TIMEOUT(window.size(), 1, 20000);
        QCOMPARE(cancel.size(), row.cancels);
        QCOMPARE(extend.size(), row.extends);
        notifier.close();
        QTRY_VERIFY_WITH_TIMEOUT((calls += daemon.takeCalls()).contains(QStringLiteral("CloseNotification 1")), 20000);
    }

    // The window's countdown keeps the desktop in step: logind's idle inhibitor while it runs, the
    // warning while the window is in the tray, whose actions steer it, and Standby only once the
    // desktop has given its own inhibitor back.
    void windowWithDesktop_data()
    {
        QTest::addColumn<QString>("action"); // chosen in the warning
        // The state, the requests sent at once | in the end, the seconds left, the notifications sent and closed
        QTest::addColumn<QString>("after");
        QTest::newRow("Abbrechen") << "cancel" << "Idle 0|0 600 2";
        QTest::newRow("+10 Minuten, then Standby waits for the desktop") << "extend" << "Firing 0|1 0 4";
    }
    void windowWithDesktop()
    {
        QFETCH(QString, action);
        QFETCH(QString, after);
        PrivateBus system, session;
        MockService logind(system, QStringLiteral("org.freedesktop.login1"), {"--template", "logind"});
        MockService daemon(session, QStringLiteral("org.freedesktop.Notifications"), {"--template", "notification_daemon"});
        MockService gnome(session, Gnome, {Gnome, GnomePath, Gnome});
        QVERIFY(logind.isUp() && daemon.isUp() && gnome.isUp() && slowGnome(gnome));

        Harness h(QStringLiteral("S T M10"));
        Form1& f = *h.form;
        DesktopWiring wiring(f, connectTo(system.address), connectTo(session.address));
        h.load();
        const QString reason = QStringLiteral("Ein Countdown läuft; die Aktion kommt zur eingestellten Zeit.");
        QTRY_COMPARE_WITH_TIMEOUT(logindInhibitors(logind, reason), 1, 20000);
        QStringList gnomeCalls;
        QTRY_VERIFY_WITH_TIMEOUT(!(gnomeCalls += gnome.takeCalls()).isEmpty(), 20000);
        QVERIFY2(gnomeCalls.first().startsWith(QLatin1String("Inhibit \"Tarvo\" 0 ")), qPrintable(gnomeCalls.join(" | ")));

        QStringList calls;
        const auto notificationCalls = [&] {
            for (const QString& call : daemon.takeCalls())
                if (call.startsWith(QLatin1String("Notify")) || call.startsWith(QLatin1String("CloseNotification")))
                    calls << call;
            return calls.size();
        };
        const auto state = [&f] { return f.countdown().state(); };
        h.tick(300);
        QTRY_COMPARE_WITH_TIMEOUT(notificationCalls(), 1, 20000);
        QVERIFY2(calls[0].startsWith(QStringLiteral("Notify \"Tarvo\" 0 \"tarvo\" \"Standby um 14:17 Uhr\" \"Noch 5 Minuten.\" "
                                                      "[\"default\", \"Tarvo zeigen\", \"cancel\", \"Abbrechen\"")),
                 qPrintable(calls[0]));
        // Sent again until it shows: the first may come before Tarvo has the notification's id.
        const qint32 left = f.remainingSeconds();
        QTRY_VERIFY_WITH_TIMEOUT((emitAction(daemon, 1, action), action == QLatin1String("cancel")
                                      ? state() == Countdown::State::Idle : f.remainingSeconds() > left),
                                 20000);
        if (state() == Countdown::State::Running)
            h.tick(1200);
        const std::size_t sentAtOnce = h.power->requests.size();
        QTRY_COMPARE_WITH_TIMEOUT(logindInhibitors(logind, reason), 0, 20000);
        QTRY_COMPARE_WITH_TIMEOUT(h.power->requests.size(), std::size_t(state() == Countdown::State::Firing), 20000);
        // A notification still awaiting its id is closed once the id comes.
        QTRY_VERIFY_WITH_TIMEOUT(notificationCalls() > 1 && calls.last().startsWith(QLatin1String("CloseNotification")), 20000);
        QVERIFY2(calls[1].startsWith(QLatin1String("CloseNotification 1")), qPrintable(calls.join(" | ")));
        const QLatin1String stateName(QMetaEnum::fromType<Countdown::State>().valueToKey(int(state())));
        QCOMPARE(QStringLiteral("%1 %2|%3 %4 %5").arg(stateName).arg(sentAtOnce).arg(h.power->requests.size()).arg(f.remainingSeconds()).arg(calls.size()),
                 after);
    }
};

QTEST_MAIN(TestDesktopBus)
#include "tst_desktop_bus.moc"
