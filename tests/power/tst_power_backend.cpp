// Which back end the factory hands out, and the dry run's line. The platform one is driven against a
// private logind, so the system bus address is set before anything in this process opens it.

#include <cstdio>
#include <functional>
#include <unistd.h>

#include "power/dry_run_power.h"
#include "power/logind_power.h"
#include "private_bus.h"

using namespace tarvo;
using namespace tarvo::test;

namespace {

// What the work wrote to the descriptor (1 or 2) without any further flushing: the program ends
// right after a request.
QByteArray written(int descriptor, const std::function<void()>& work)
{
    std::fflush(nullptr);
    std::FILE* sink = std::tmpfile();
    const int saved = ::dup(descriptor);
    ::dup2(fileno(sink), descriptor);
    work();
    QByteArray content(4096, '\0');
    content.resize(std::max<ssize_t>(::pread(fileno(sink), content.data(), content.size(), 0), 0));
    std::fflush(nullptr);
    ::dup2(saved, descriptor);
    ::close(saved);
    std::fclose(sink);
    return content;
}

} // namespace

class TestPowerBackend : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // Before anything else: if the private bus does not come up, nothing may reach a real one.
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/tarvo-test");
        qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/tarvo-test");
        QVERIFY(m_bus.isUp());
        m_logind.emplace(m_bus, QStringLiteral("org.freedesktop.login1"), QStringList{"--template", "logind"});
        QVERIFY(m_logind->isUp());
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", m_bus.address.toUtf8());
    }

    void dryRun_data()
    {
        QTest::addColumn<QByteArray>("setting");
        QTest::addColumn<QByteArray>("warning");
        QTest::newRow("dry-run") << QByteArray("dry-run") << QByteArray();
        // A typo must not end in a real shut down.
        QTest::newRow("misspelt") << QByteArray("dryrun")
                                  << QByteArray("tarvo: unknown TARVO_POWER value \"dryrun\", doing a dry run\n");
    }
    void dryRun()
    {
        QFETCH(QByteArray, setting);
        QFETCH(QByteArray, warning);
        qputenv("TARVO_POWER", setting);
        std::unique_ptr<PowerBackend> power;
        QCOMPARE(written(2, [&] { power = makePowerBackend(); }), warning);
        QStringList outcomes;
        const QByteArray printed = written(1, [&] {
            for (const PowerCode code : {6, 7, 10}) // the dry run answers before it returns
                power->request(code, [&outcomes](const PowerOutcome& outcome) {
                    outcomes << (outcome.ok ? QStringLiteral("ok") : outcome.reason);
                });
        });
        QCOMPARE(printed, QByteArray("tarvo: power request 6 (Standby)\ntarvo: power request 7 (Code7)\n"));
        QCOMPARE(outcomes, (QStringList{"ok", "ok", "Reboot Fehler"}));
        QCOMPARE(m_logind->takeCalls(), QStringList());
    }

    void logindOtherwise()
    {
        qunsetenv("TARVO_POWER");
        const std::unique_ptr<PowerBackend> power = makePowerBackend();
        std::optional<PowerOutcome> outcome;
        power->request(power_code::Restart, [&outcome](const PowerOutcome& answer) { outcome = answer; });
        QTRY_VERIFY(outcome.has_value());
        QVERIFY2(outcome->ok, qPrintable(outcome->reason));
        QCOMPARE(m_logind->takeCalls(), QStringList{"Reboot True"});
    }

private:
    PrivateBus m_bus;
    std::optional<MockService> m_logind;
};

QTEST_GUILESS_MAIN(TestPowerBackend)
#include "tst_power_backend.moc"
