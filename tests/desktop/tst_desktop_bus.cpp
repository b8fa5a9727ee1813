// The idle inhibitors and the countdown's notification against dbusmock services on private buses.

#include <QDBusArgument>
#include <QDBusVariant>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

#include "desktop/countdown_notifier.h"
#include "desktop/idle_inhibitor.h"
#include "power/private_bus.h"

using namespace tarvo;
using namespace tarvo::test;

namespace {

const QString Reason = QStringLiteral("Der Countdown läuft");
const QString Login1 = QStringLiteral("/org/freedesktop/login1");
const QString Notifications = QStringLiteral("/org/freedesktop/Notifications");

int logindInhibitors(const MockService& logind)
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
        if (what == QLatin1String("idle") && who == QLatin1String("Tarvo") && why == Reason && mode == QLatin1String("block"))
            ++count;
    }
    list.endArray();
    return count;
}

bool emitAction(const MockService& daemon, uint id, const QString& action)
{
    const QVariantList args{QVariant::fromValue(QDBusVariant(id)), QVariant::fromValue(QDBusVariant(action))};
    return daemon.call(Notifications, QStringLiteral("org.freedesktop.DBus.Mock"), QStringLiteral("EmitSignal"),
                   {QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("ActionInvoked"),
                       QStringLiteral("us"), args})
               .type()
           == QDBusMessage::ReplyMessage;
}

} // namespace

class TestDesktopBus : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (!QFile::exists(QStringLiteral("/usr/bin/python3")) || QStandardPaths::findExecutable("dbus-daemon").isEmpty())
            QSKIP("needs dbus-daemon and python3-dbusmock");
    }

    // logind's idle inhibitor and one desktop inhibitor are taken at hold and given back at release.
    void inhibitorHoldAndRelease_data()
    {
        QTest::addColumn<QString>("service");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("interface");
        QTest::addColumn<QString>("signature");
        QTest::addColumn<QString>("answer"); // Python that sets the answer
        QTest::addColumn<QString>("inhibitCall");
        QTest::addColumn<QString>("releaseCall");
        const QString cookie = QStringLiteral("ret = dbus.UInt32(42)");
        QTest::newRow("GNOME session manager")
            << "org.gnome.SessionManager" << "/org/gnome/SessionManager" << "org.gnome.SessionManager" << "susu"
            << cookie << "Inhibit \"Tarvo\" 0 \"" + Reason + "\" 4" << "Uninhibit 42";
        QTest::newRow("freedesktop power management")
            << "org.freedesktop.PowerManagement" << "/org/freedesktop/PowerManagement/Inhibit"
            << "org.freedesktop.PowerManagement.Inhibit" << "ss" << cookie
            << "Inhibit \"Tarvo\" \"" + Reason + "\"" << "UnInhibit 42";
        // The portal's answer is a request object; closing it ends the inhibition.
        QTest::newRow("desktop portal")
            << "org.freedesktop.portal.Desktop" << "/org/freedesktop/portal/desktop" << "org.freedesktop.portal.Inhibit"
            << "sua{sv}"
            << "r = '/org/freedesktop/portal/desktop/request/1/t'; "
               "self.AddObject(r, 'org.freedesktop.portal.Request', {}, [('Close', '', '', '')]); "
               "ret = dbus.ObjectPath(r)"
            << "Inhibit \"\" 4 {\"reason\": \"" + Reason + "\"}" << "Close";
    }
    void inhibitorHoldAndRelease()
    {
        QFETCH(QString, service);
        QFETCH(QString, path);
        QFETCH(QString, interface);
        QFETCH(QString, signature);
        QFETCH(QString, answer);
        QFETCH(QString, inhibitCall);
        QFETCH(QString, releaseCall);
        PrivateBus system, session;
        MockService logind(system, QStringLiteral("org.freedesktop.login1"), {"--template", "logind"});
        MockService desktop(session, service, {service, path, interface});
        QVERIFY(logind.isUp() && desktop.isUp());
        const QString out = signature == QLatin1String("sua{sv}") ? "o" : "u";
        QVERIFY(desktop.addMethod(path, interface, "Inhibit", signature, out, answer));
        if (releaseCall != QLatin1String("Close"))
            QVERIFY(desktop.addMethod(path, interface, releaseCall.section(' ', 0, 0), "u", ""));

        IdleInhibitor inhibitor(connectTo(system.address), connectTo(session.address), Reason);
        inhibitor.hold();
        QTRY_COMPARE_WITH_TIMEOUT(logindInhibitors(logind), 1, 20000);
        QStringList calls;
        QTRY_VERIFY_WITH_TIMEOUT(!(calls += desktop.takeCalls()).isEmpty(), 20000);
        QVERIFY2(calls == QStringList{inhibitCall}, qPrintable(calls.join(" | ")));
        QTest::qWait(300); // the answers are handled: the descriptor must be kept, not just received
        QCOMPARE(logindInhibitors(logind), 1);

        inhibitor.release();
        QTRY_COMPARE_WITH_TIMEOUT(logindInhibitors(logind), 0, 20000);
        calls.clear();
        QTRY_VERIFY_WITH_TIMEOUT(!(calls += desktop.takeCalls()).isEmpty(), 20000);
        QVERIFY2(calls == QStringList{releaseCall}, qPrintable(calls.join(" | ")));
    }

    // A release before the answers came back gives the late inhibitors back at once, and settles
    // only when they are gone.
    void releaseRacingHold()
    {
        PrivateBus system, session;
        MockService logind(system, QStringLiteral("org.freedesktop.login1"), {"--template", "logind"});
        const QString path = QStringLiteral("/org/gnome/SessionManager");
        const QString name = QStringLiteral("org.gnome.SessionManager");
        MockService gnome(session, name, {name, path, name});
        QVERIFY(logind.isUp() && gnome.isUp());
        QVERIFY(gnome.addMethod(path, name, "Inhibit", "susu", "u", "ret = dbus.UInt32(7)"));
        // Answers late, so that settling too early shows.
        QVERIFY(gnome.addMethod(path, name, "Uninhibit", "u", "", "import time; time.sleep(0.5); self.log('given back')"));

        IdleInhibitor inhibitor(connectTo(system.address), connectTo(session.address), Reason);
        inhibitor.hold();
        inhibitor.release();
        QTRY_VERIFY_WITH_TIMEOUT(inhibitor.isSettled(), 20000); // only once the late cookie went back
        const QStringList calls = gnome.takeCalls();
        QVERIFY2(calls.contains(QStringLiteral("Uninhibit 7")) && calls.contains(QStringLiteral("given back")),
            qPrintable(calls.join(" | ")));
        QTRY_COMPARE_WITH_TIMEOUT(logindInhibitors(logind), 0, 20000);
        QVERIFY(!inhibitor.isHeld());
    }

    void notificationActions_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<uint>("idOffset");
        QTest::addColumn<int>("cancels");
        QTest::addColumn<int>("extends");
        QTest::newRow("Abbrechen") << "cancel" << 0U << 1 << 0;
        QTest::newRow("+10 Minuten") << "extend" << 0U << 0 << 1;
        QTest::newRow("another program's notification") << "cancel" << 1U << 0 << 0;
    }
    void notificationActions()
    {
        QFETCH(QString, action);
        QFETCH(uint, idOffset);
        QFETCH(int, cancels);
        QFETCH(int, extends);
        PrivateBus session;
        MockService daemon(session, QStringLiteral("org.freedesktop.Notifications"),
            {"--template", "notification_daemon"});
        QVERIFY(daemon.isUp());
        CountdownNotifier notifier(connectTo(session.address));
        QSignalSpy cancel(&notifier, &CountdownNotifier::cancelRequested);
        QSignalSpy extend(&notifier, &CountdownNotifier::extendRequested);
        QSignalSpy window(&notifier, &CountdownNotifier::windowRequested);

        notifier.show(QStringLiteral("Ausschalten um 22:15 Uhr"), QStringLiteral("Noch 5 Minuten."));
        QStringList calls;
        QTRY_COMPARE_WITH_TIMEOUT((calls += daemon.takeCalls()).size(), 1, 20000);
        QVERIFY2(calls[0].startsWith(QStringLiteral("Notify \"Tarvo\" 0 \"tarvo\" \"Ausschalten um 22:15 Uhr\" "
                                                      "\"Noch 5 Minuten.\" [\"default\", \"Tarvo zeigen\", \"cancel\", "
                                                      "\"Abbrechen\", \"extend\", \"+10 Minuten\"]")),
            qPrintable(calls[0]));

        // The first notification of the daemon gets the id 1; the default action comes last as a
        // marker that every signal before it has arrived.
        QVERIFY(emitAction(daemon, 1 + idOffset, action));
        QVERIFY(emitAction(daemon, 1, QStringLiteral("default")));
        QTRY_COMPARE_WITH_TIMEOUT(window.size(), 1, 20000);
        QCOMPARE(cancel.size(), cancels);
        QCOMPARE(extend.size(), extends);
    }

    void notificationReplacedAndClosed()
    {
        PrivateBus session;
        MockService daemon(session, QStringLiteral("org.freedesktop.Notifications"),
            {"--template", "notification_daemon"});
        QVERIFY(daemon.isUp());
        CountdownNotifier notifier(connectTo(session.address));
        notifier.show(QStringLiteral("a"), QStringLiteral("b"));
        notifier.show(QStringLiteral("c"), QStringLiteral("d")); // before the first id is known
        QStringList calls;
        QTRY_COMPARE_WITH_TIMEOUT((calls += daemon.takeCalls()).size(), 2, 20000);
        QVERIFY2(calls[1].startsWith(QStringLiteral("Notify \"Tarvo\" 1 \"tarvo\" \"c\" \"d\"")), qPrintable(calls[1]));
        notifier.close();
        calls.clear();
        QTRY_VERIFY_WITH_TIMEOUT(!(calls += daemon.takeCalls()).isEmpty(), 20000);
        QCOMPARE(calls.first(), QStringLiteral("CloseNotification 1")); // the daemon then logs its signal
    }
};

QTEST_GUILESS_MAIN(TestDesktopBus)
#include "tst_desktop_bus.moc"
