// The idle inhibitors and the countdown's notification against dbusmock services on private buses,
// on their own and beside a real main window.

#include <QDBusVariant>
#include <QSignalSpy>

#include "app/desktop_wiring.h"
#include "desktop/countdown_notifier.h"
#include "desktop/idle_inhibitor.h"
#include "fakes.h"
#include "power/private_bus.h"

using namespace tarvo;
using namespace tarvo::test;
using namespace Qt::StringLiterals;

namespace {

const QString Reason = u"Der Countdown läuft"_s;
const QString Gnome = u"org.gnome.SessionManager"_s;
const QString GnomePath = u"/org/gnome/SessionManager"_s;

// Tarvo's idle inhibitors logind holds for that reason, counted by the mocked logind itself.
int logindInhibitors(const MockService& logind, const QString& reason = Reason)
{
    const QString path = u"/org/freedesktop/login1"_s, manager = u"org.freedesktop.login1.Manager"_s;
    logind.addMethod(path, manager, u"CountTarvo"_s, u"s"_s, u"i"_s,
                     u"ret = [i[:4] for i in globals().get('inhibitors', [])]"
                     ".count(('idle', 'Tarvo', args[0], 'block'))"_s);
    const QDBusMessage reply = logind.call(path, manager, u"CountTarvo"_s, {reason});
    return reply.type() == QDBusMessage::ReplyMessage ? reply.arguments().value(0).toInt() : -1;
}

// GNOME's session manager, whose cookie comes back late, so that settling or a sleep request that
// does not wait for it shows.
bool slowGnome(MockService& gnome)
{
    return gnome.addMethod(GnomePath, Gnome, u"Inhibit"_s, u"susu"_s, u"u"_s, u"ret = dbus.UInt32(7)"_s)
           && gnome.addMethod(GnomePath, Gnome, u"Uninhibit"_s, u"u"_s, {},
                              u"import time; time.sleep(0.5); self.log('given back')"_s);
}

bool emitAction(const MockService& daemon, uint id, const QString& action)
{
    const QVariantList args{"org.freedesktop.Notifications", "ActionInvoked", "us",
                            QVariantList{QVariant::fromValue(QDBusVariant(id)), QVariant::fromValue(QDBusVariant(action))}};
    return daemon.call(u"/org/freedesktop/Notifications"_s, u"org.freedesktop.DBus.Mock"_s, u"EmitSignal"_s, args).type()
           == QDBusMessage::ReplyMessage;
}

// A desktop's inhibitor: service, path, interface, Inhibit's signature; the Inhibit and the release
// as logged; the Python that sets the answer. A racing one is released before its answer came.
struct Inhibitor {
    QStringList object, calls;
    QString answer;
    bool racing = false;
};

} // namespace

Q_DECLARE_METATYPE(Inhibitor)

class TestDesktopBus : public QObject {
    Q_OBJECT
private slots:
    // logind's idle inhibitor and one desktop inhibitor are taken at hold and given back at release;
    // a release before the answers came back gives the late ones back and settles only then.
    void inhibitorHoldAndRelease_data()
    {
        QTest::addColumn<Inhibitor>("row");
        QTest::newRow("freedesktop power management")
            << Inhibitor{{"org.freedesktop.PowerManagement", "/org/freedesktop/PowerManagement/Inhibit",
                          "org.freedesktop.PowerManagement.Inhibit", "ss"},
                         {"Inhibit \"Tarvo\" \"" + Reason + "\"", "UnInhibit 42"}, u"ret = dbus.UInt32(42)"_s};
        // The portal's answer is a request object; closing it ends the inhibition.
        QTest::newRow("desktop portal")
            << Inhibitor{{"org.freedesktop.portal.Desktop", "/org/freedesktop/portal/desktop",
                          "org.freedesktop.portal.Inhibit", "sua{sv}"},
                         {"Inhibit \"\" 4 {\"reason\": \"" + Reason + "\"}", "Close"},
                         "r = '/org/freedesktop/portal/desktop/request/1/t'; ret = dbus.ObjectPath(r); "
                         "self.AddObject(r, 'org.freedesktop.portal.Request', {}, [('Close', '', '', '')])"};
        QTest::newRow("released before the answers")
            << Inhibitor{{Gnome, GnomePath, Gnome},
                         {"Inhibit \"Tarvo\" 0 \"" + Reason + "\" 4", "Uninhibit 7", "given back"}, {}, true};
    }
    void inhibitorHoldAndRelease()
    {
        QFETCH(Inhibitor, row);
        const QStringList& object = row.object;
        PrivateBus system, session;
        MockService logind(system, u"org.freedesktop.login1"_s, {"--template", "logind"});
        MockService desktop(session, object[0], object.mid(0, 3));
        QVERIFY(logind.isUp() && desktop.isUp());
        QVERIFY(row.racing ? slowGnome(desktop)
                           : desktop.addMethod(object[1], object[2], "Inhibit", object[3], object[3] == "sua{sv}" ? "o" : "u", row.answer));
        if (!row.racing && row.calls[1] != "Close"_L1)
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

    // A notification replaced while its first id is still unknown, the actions only for its own id,
    // and its close. What "Abbrechen" and "+10 Minuten" do is the window's test below.
    void notification()
    {
        PrivateBus session;
        MockService daemon(session, u"org.freedesktop.Notifications"_s, {"--template", "notification_daemon"});
        QVERIFY(daemon.isUp());
        CountdownNotifier notifier(connectTo(session.address));
        QSignalSpy cancel(&notifier, &CountdownNotifier::cancelRequested);
        QSignalSpy window(&notifier, &CountdownNotifier::windowRequested);
        notifier.show(u"a"_s, u"b"_s);
        notifier.show(u"Ausschalten um 22:15 Uhr"_s, u"Noch 5 Minuten."_s);
        // The second goes out once the first's id is known, so Tarvo knows it when the actions come.
        QStringList calls;
        QTRY_COMPARE_WITH_TIMEOUT((calls += daemon.takeCalls()).size(), 2, 20000);
        QVERIFY2(calls[1].startsWith(u"Notify \"Tarvo\" 1 \"tarvo\" \"Ausschalten um 22:15 Uhr\" \"Noch 5 Minuten.\""_s),
                 qPrintable(calls[1]));
        // The daemon's first notification has the id 1; the default action comes last as a marker
        // that every signal before it has arrived.
        QVERIFY(emitAction(daemon, 2, u"cancel"_s) && emitAction(daemon, 1, u"default"_s));
        QTRY_COMPARE_WITH_TIMEOUT(window.size(), 1, 20000);
        QCOMPARE(cancel.size(), 0);
        notifier.close();
        QTRY_VERIFY_WITH_TIMEOUT((calls += daemon.takeCalls()).contains(u"CloseNotification 1"_s), 20000);
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
        MockService logind(system, u"org.freedesktop.login1"_s, {"--template", "logind"});
        MockService daemon(session, u"org.freedesktop.Notifications"_s, {"--template", "notification_daemon"});
        MockService gnome(session, Gnome, {Gnome, GnomePath, Gnome});
        QVERIFY(logind.isUp() && daemon.isUp() && gnome.isUp() && slowGnome(gnome));

        Harness h(u"S T M10"_s);
        Form1& f = *h.form;
        DesktopWiring wiring(f, connectTo(system.address), connectTo(session.address));
        h.load();
        const QString reason = u"Ein Countdown läuft; die Aktion kommt zur eingestellten Zeit."_s;
        QTRY_COMPARE_WITH_TIMEOUT(logindInhibitors(logind, reason), 1, 20000);

        QStringList calls;
        const auto notificationCalls = [&] { return (calls += daemon.takeCalls()).size(); };
        const auto state = [&f] { return f.countdown().state(); };
        h.tick(300);
        QTRY_COMPARE_WITH_TIMEOUT(notificationCalls(), 1, 20000);
        QVERIFY2(calls[0].startsWith(u"Notify \"Tarvo\" 0 \"tarvo\" \"Standby um 14:17 Uhr\" \"Noch 5 Minuten.\" "
                                     "[\"default\", \"Tarvo zeigen\", \"cancel\", \"Abbrechen\", \"extend\", "
                                     "\"+10 Minuten\"]"_s),
                 qPrintable(calls[0]));
        // Sent again until it shows: the first may come before Tarvo has the notification's id.
        const qint32 left = f.remainingSeconds();
        QTRY_VERIFY_WITH_TIMEOUT((emitAction(daemon, 1, action), action == "cancel"_L1
                                      ? state() == Countdown::State::Idle : f.remainingSeconds() > left),
                                 20000);
        if (state() == Countdown::State::Running)
            h.tick(1200);
        const std::size_t sentAtOnce = h.power->requests.size();
        QTRY_COMPARE_WITH_TIMEOUT(logindInhibitors(logind, reason), 0, 20000);
        QTRY_COMPARE_WITH_TIMEOUT(h.power->requests.size(), std::size_t(state() == Countdown::State::Firing), 20000);
        // A notification still awaiting its id is closed once the id comes.
        QTRY_VERIFY_WITH_TIMEOUT(notificationCalls() > 1 && calls.last().startsWith("CloseNotification"_L1), 20000);
        QVERIFY2(calls[1].startsWith("CloseNotification 1"_L1), qPrintable(calls.join(" | ")));
        const QLatin1String stateName(QMetaEnum::fromType<Countdown::State>().valueToKey(int(state())));
        QCOMPARE(u"%1 %2|%3 %4 %5"_s.arg(stateName).arg(sentAtOnce).arg(h.power->requests.size()).arg(f.remainingSeconds()).arg(calls.size()),
                 after);
    }
};

QTEST_MAIN(TestDesktopBus)
#include "tst_desktop_bus.moc"
