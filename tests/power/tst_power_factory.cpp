// Which back end the factory hands out. The platform one is driven end to end against a private
// logind, so the system bus address is set before anything in this process opens it.

#include <cstdio>
#include <functional>
#include <unistd.h>

#include <QTest>

#include "power/dry_run_power.h"
#include "power/logind_power.h"
#include "private_bus.h"

using tarvo::test::MockService;
using tarvo::test::PrivateBus;

namespace {

// Runs the work with the descriptor (1 or 2) going to a temporary file, and returns what came out.
QByteArray captured(int descriptor, const std::function<void()>& work)
{
    std::FILE* sink = std::tmpfile();
    if (!sink)
        return "tmpfile failed";
    std::fflush(nullptr);
    const int saved = ::dup(descriptor);
    ::dup2(fileno(sink), descriptor);
    work();
    std::fflush(nullptr);
    ::dup2(saved, descriptor);
    ::close(saved);

    QByteArray content(4096, '\0');
    const ssize_t size = ::pread(fileno(sink), content.data(), content.size(), 0);
    content.resize(size > 0 ? size : 0);
    std::fclose(sink);
    return content;
}

} // namespace

class TestPowerFactory : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void dryRunWhenAsked_data();
    void dryRunWhenAsked();
    void logindOtherwise();

private:
    std::unique_ptr<PrivateBus> m_systemBus;
    std::unique_ptr<MockService> m_logind;
};

void TestPowerFactory::initTestCase()
{
    // Before anything else: if the private bus does not come up, nothing may reach a real one.
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/tarvo-test");
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/tarvo-test");

    m_systemBus = std::make_unique<PrivateBus>();
    QVERIFY2(m_systemBus->isUp(), qPrintable(m_systemBus->problem()));
    m_logind
        = std::make_unique<MockService>(*m_systemBus, "org.freedesktop.login1", QStringList { "--template", "logind" });
    QVERIFY2(m_logind->isUp(), qPrintable(m_logind->problem()));
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", m_systemBus->address().toUtf8());
}

void TestPowerFactory::cleanupTestCase()
{
    m_logind.reset();
    m_systemBus.reset();
}

void TestPowerFactory::dryRunWhenAsked_data()
{
    QTest::addColumn<QByteArray>("setting");
    QTest::addColumn<QByteArray>("warning");

    QTest::newRow("dry-run") << QByteArray("dry-run") << QByteArray();
    // A typo must not end in a real shut down.
    QTest::newRow("misspelt") << QByteArray("dryrun")
                              << QByteArray("tarvo: unknown TARVO_POWER value \"dryrun\", doing a dry run\n");
    QTest::newRow("anything else") << QByteArray("logind")
                                   << QByteArray("tarvo: unknown TARVO_POWER value \"logind\", doing a dry run\n");
}

void TestPowerFactory::dryRunWhenAsked()
{
    QFETCH(QByteArray, setting);
    QFETCH(QByteArray, warning);

    qputenv("TARVO_POWER", setting);
    std::unique_ptr<tarvo::PowerBackend> power;
    QCOMPARE(captured(2, [&] { power = tarvo::makePowerBackend(); }), warning);
    QVERIFY(dynamic_cast<tarvo::DryRunPower*>(power.get()));

    tarvo::PowerOutcome outcome;
    const QByteArray printed = captured(1, [&] { outcome = power->request(tarvo::power_code::Standby); });
    QVERIFY(outcome.ok);
    QCOMPARE(printed, QByteArray("tarvo: power request 6 (Standby)\n"));
    QCOMPARE(m_logind->calls("/org/freedesktop/login1"), QStringList());
}

void TestPowerFactory::logindOtherwise()
{
    qunsetenv("TARVO_POWER");
    const std::unique_ptr<tarvo::PowerBackend> power = tarvo::makePowerBackend();
    QVERIFY(dynamic_cast<tarvo::LogindPower*>(power.get()));

    const tarvo::PowerOutcome outcome = power->request(tarvo::power_code::Restart);

    QVERIFY2(outcome.ok, qPrintable(outcome.reason));
    QCOMPARE(m_logind->calls("/org/freedesktop/login1"), QStringList { "Reboot(bool true)" });
}

QTEST_GUILESS_MAIN(TestPowerFactory)
#include "tst_power_factory.moc"
