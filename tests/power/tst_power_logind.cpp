// systemd-logind back end against python3-dbusmock's logind on a bus each test starts itself.

#include <QDBusUnixFileDescriptor>
#include <QTest>
#include <QUuid>

#include "power/logind_power.h"
#include "private_bus.h"

using namespace std::chrono_literals;
using tarvo::LogindPower;
using tarvo::PowerCode;
using tarvo::test::MockService;
using tarvo::test::PrivateBus;

namespace {

const QString kLogind = QStringLiteral("org.freedesktop.login1");
const QString kManagerPath = QStringLiteral("/org/freedesktop/login1");
const QString kManager = QStringLiteral("org.freedesktop.login1.Manager");

QDBusConnection nowhere()
{
    return QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/tarvo-test"),
        QStringLiteral("nowhere-") + QUuid::createUuid().toString(QUuid::WithoutBraces));
}

#define REQUIRE_UP(thing) QVERIFY2((thing).isUp(), qPrintable((thing).problem()))

} // namespace

class TestLogindPower : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void requestsTheMatchingMethod_data();
    void requestsTheMatchingMethod();
    void plainShutdownRespectsBlockingInhibitors_data();
    void plainShutdownRespectsBlockingInhibitors();
    void refusesCodesWithoutMeaning_data();
    void refusesCodesWithoutMeaning();
    void reportsErrorReplies_data();
    void reportsErrorReplies();
    void reportsWhenLogindIsMissingOrSilent_data();
    void reportsWhenLogindIsMissingOrSilent();
    void reportsWhenThereIsNoBus();
};

void TestLogindPower::initTestCase()
{
    // Nothing here may fall back to the machine's bus, even by accident.
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/tarvo-test");
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/tarvo-test");
}

void TestLogindPower::requestsTheMatchingMethod_data()
{
    QTest::addColumn<PowerCode>("code");
    QTest::addColumn<QStringList>("expectedCalls");

    QTest::newRow("1 shut down looks for inhibitors first")
        << PowerCode(1) << QStringList { "ListInhibitors()", "PowerOff(bool true)" };
    QTest::newRow("8 forced power off") << PowerCode(8) << QStringList { "PowerOff(bool true)" };
    QTest::newRow("2 restart") << PowerCode(2) << QStringList { "Reboot(bool true)" };
    QTest::newRow("6 standby") << PowerCode(6) << QStringList { "Suspend(bool true)" };
    QTest::newRow("5 hibernate") << PowerCode(5) << QStringList { "Hibernate(bool true)" };
}

void TestLogindPower::requestsTheMatchingMethod()
{
    QFETCH(PowerCode, code);
    QFETCH(QStringList, expectedCalls);

    PrivateBus bus;
    REQUIRE_UP(bus);
    MockService logind(bus, kLogind, { "--template", "logind" });
    REQUIRE_UP(logind);

    LogindPower power(bus.connect("logind"), nowhere(), 10s);
    const tarvo::PowerOutcome outcome = power.request(code);

    QVERIFY2(outcome.ok, qPrintable(outcome.reason));
    QVERIFY(outcome.reason.isEmpty());
    QCOMPARE(logind.calls(kManagerPath), expectedCalls);
}

void TestLogindPower::plainShutdownRespectsBlockingInhibitors_data()
{
    QTest::addColumn<QString>("what");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<PowerCode>("code");
    QTest::addColumn<bool>("poweredOff");

    QTest::newRow("shutdown blocked") << "shutdown"
                                      << "block" << PowerCode(1) << false;
    QTest::newRow("shutdown among other locks") << "sleep:shutdown:idle"
                                                << "block" << PowerCode(1) << false;
    QTest::newRow("forced power off ignores it") << "shutdown"
                                                 << "block" << PowerCode(8) << true;
    QTest::newRow("delay lock only delays") << "shutdown"
                                            << "delay" << PowerCode(1) << true;
    QTest::newRow("sleep lock") << "sleep"
                                << "block" << PowerCode(1) << true;
    QTest::newRow("power key lock") << "handle-power-key"
                                    << "block" << PowerCode(1) << true;
}

void TestLogindPower::plainShutdownRespectsBlockingInhibitors()
{
    QFETCH(QString, what);
    QFETCH(QString, mode);
    QFETCH(PowerCode, code);
    QFETCH(bool, poweredOff);

    PrivateBus bus;
    REQUIRE_UP(bus);
    MockService logind(bus, kLogind, { "--template", "logind" });
    REQUIRE_UP(logind);
    QVERIFY(bus.connection().connectionCapabilities() & QDBusConnection::UnixFileDescriptorPassing);

    // The lock lasts as long as its descriptor is open, so the reply is kept until the end.
    const QDBusMessage lock = logind.call(kManagerPath, kManager, QStringLiteral("Inhibit"),
        { what, QStringLiteral("Brennprogramm"), QStringLiteral("DVD wird gebrannt"), mode });
    QCOMPARE(lock.type(), QDBusMessage::ReplyMessage);
    QVERIFY(lock.arguments().constFirst().value<QDBusUnixFileDescriptor>().isValid());

    LogindPower power(bus.connect("logind"), nowhere(), 10s);
    const tarvo::PowerOutcome outcome = power.request(code);

    const QStringList calls = logind.calls(kManagerPath);
    QCOMPARE(calls.contains("PowerOff(bool true)"), poweredOff);
    QCOMPARE(outcome.ok, poweredOff);
    if (!poweredOff) {
        QVERIFY2(outcome.reason.contains("Brennprogramm"), qPrintable(outcome.reason));
        QVERIFY2(outcome.reason.contains("DVD wird gebrannt"), qPrintable(outcome.reason));
    }
}

void TestLogindPower::refusesCodesWithoutMeaning_data()
{
    QTest::addColumn<PowerCode>("code");
    QTest::addColumn<QString>("reasonPart");

    for (const PowerCode code : { 3, 4, 7, 9 })
        QTest::addRow("code %d", int(code)) << code << QStringLiteral("Code %1").arg(code);
    QTest::newRow("below range") << PowerCode(-1) << "Reboot Fehler";
    QTest::newRow("above range") << PowerCode(10) << "Reboot Fehler";
    QTest::newRow("largest") << PowerCode(32767) << "Reboot Fehler";
}

void TestLogindPower::refusesCodesWithoutMeaning()
{
    QFETCH(PowerCode, code);
    QFETCH(QString, reasonPart);

    PrivateBus bus;
    REQUIRE_UP(bus);
    MockService logind(bus, kLogind, { "--template", "logind" });
    REQUIRE_UP(logind);

    LogindPower power(bus.connect("logind"), nowhere(), 10s);
    const tarvo::PowerOutcome outcome = power.request(code);

    QVERIFY(!outcome.ok);
    QVERIFY2(outcome.reason.contains(reasonPart), qPrintable(outcome.reason));
    QCOMPARE(logind.calls(kManagerPath), QStringList());
}

void TestLogindPower::reportsErrorReplies_data()
{
    QTest::addColumn<PowerCode>("code");
    QTest::addColumn<QString>("failingMethod");
    QTest::addColumn<QString>("inSignature");
    QTest::addColumn<QString>("errorName");
    QTest::addColumn<QString>("reasonStart");
    QTest::addColumn<QStringList>("expectedCalls");

    const QString authRequired = QStringLiteral("org.freedesktop.DBus.Error.InteractiveAuthorizationRequired");
    const QString denied = QStringLiteral("org.freedesktop.DBus.Error.AccessDenied");
    QTest::newRow("restart needs authorisation")
        << PowerCode(2) << "Reboot"
        << "b" << authRequired << "Der Rechner konnte nicht neu gestartet werden"
        << QStringList { "Reboot(bool true)" };
    QTest::newRow("power off denied") << PowerCode(8) << "PowerOff"
                                      << "b" << denied << "Der Rechner konnte nicht ausgeschaltet werden"
                                      << QStringList { "PowerOff(bool true)" };
    QTest::newRow("power off blocked by logind")
        << PowerCode(8) << "PowerOff"
        << "b"
        << "org.freedesktop.login1.BlockedByInhibitor"
        << "Der Rechner konnte nicht ausgeschaltet werden" << QStringList { "PowerOff(bool true)" };
    QTest::newRow("standby denied") << PowerCode(6) << "Suspend"
                                    << "b" << denied << "Der Rechner konnte nicht in den Standby versetzt werden"
                                    << QStringList { "Suspend(bool true)" };
    QTest::newRow("hibernate refused") << PowerCode(5) << "Hibernate"
                                       << "b"
                                       << "org.freedesktop.login1.SleepVerbNotSupported"
                                       << "Der Rechner konnte nicht in den Ruhezustand versetzt werden"
                                       << QStringList { "Hibernate(bool true)" };
    // Without the list of locks a plain shut down must not go ahead.
    QTest::newRow("inhibitor list denied")
        << PowerCode(1) << "ListInhibitors"
        << "" << denied << "Der Rechner konnte nicht ausgeschaltet werden" << QStringList { "ListInhibitors()" };
}

void TestLogindPower::reportsErrorReplies()
{
    QFETCH(PowerCode, code);
    QFETCH(QString, failingMethod);
    QFETCH(QString, inSignature);
    QFETCH(QString, errorName);
    QFETCH(QString, reasonStart);
    QFETCH(QStringList, expectedCalls);

    PrivateBus bus;
    REQUIRE_UP(bus);
    MockService logind(bus, kLogind, { "--template", "logind" });
    REQUIRE_UP(logind);
    const QString outSignature = failingMethod == "ListInhibitors" ? "a(ssssuu)" : "";
    QCOMPARE(logind.addMethod(kManagerPath, kManager, failingMethod, inSignature, outSignature,
                 QStringLiteral("raise dbus.exceptions.DBusException('Nicht erlaubt', name='%1')").arg(errorName)),
        QString());

    LogindPower power(bus.connect("logind"), nowhere(), 10s);
    const tarvo::PowerOutcome outcome = power.request(code);

    QVERIFY(!outcome.ok);
    QVERIFY2(outcome.reason.startsWith(reasonStart), qPrintable(outcome.reason));
    QVERIFY2(outcome.reason.contains(errorName), qPrintable(outcome.reason));
    QVERIFY2(outcome.reason.contains("Nicht erlaubt"), qPrintable(outcome.reason));
    QCOMPARE(logind.calls(kManagerPath), expectedCalls);
}

void TestLogindPower::reportsWhenLogindIsMissingOrSilent_data()
{
    QTest::addColumn<bool>("startLogind");
    QTest::addColumn<QString>("errorName");

    QTest::newRow("no logind on the bus") << false << "org.freedesktop.DBus.Error.ServiceUnknown";
    QTest::newRow("logind does not answer") << true << "org.freedesktop.DBus.Error.NoReply";
}

void TestLogindPower::reportsWhenLogindIsMissingOrSilent()
{
    QFETCH(bool, startLogind);
    QFETCH(QString, errorName);

    PrivateBus bus;
    REQUIRE_UP(bus);
    std::unique_ptr<MockService> logind;
    if (startLogind) {
        logind = std::make_unique<MockService>(bus, kLogind, QStringList { "--template", "logind" });
        REQUIRE_UP(*logind);
        QCOMPARE(logind->addMethod(kManagerPath, kManager, "Reboot", "b", "", "import time; time.sleep(3)"), QString());
    }

    LogindPower power(bus.connect("logind"), nowhere(), 300ms);
    const tarvo::PowerOutcome outcome = power.request(tarvo::power_code::Restart);

    QVERIFY(!outcome.ok);
    QVERIFY2(outcome.reason.startsWith("Der Rechner konnte nicht neu gestartet werden: "), qPrintable(outcome.reason));
    QVERIFY2(outcome.reason.contains(errorName), qPrintable(outcome.reason));
}

void TestLogindPower::reportsWhenThereIsNoBus()
{
    LogindPower power(nowhere(), nowhere(), 10s);
    const tarvo::PowerOutcome outcome = power.request(tarvo::power_code::PowerOff);

    QVERIFY(!outcome.ok);
    QVERIFY2(outcome.reason.startsWith("Der Rechner konnte nicht ausgeschaltet werden: "), qPrintable(outcome.reason));
    QVERIFY2(outcome.reason.contains("org.freedesktop.DBus.Error.Disconnected"), qPrintable(outcome.reason));
}

QTEST_GUILESS_MAIN(TestLogindPower)
#include "tst_power_logind.moc"
