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
using namespace Qt::StringLiterals;

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

    // TARVO_POWER picks the back end: the dry run prints each request and answers before it returns;
    // a typo must not end in a real shut down; unset, logind is asked.
    void backend_data()
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
    void backend()
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

private:
    PrivateBus m_bus;
    std::optional<MockService> m_logind;
};

QTEST_GUILESS_MAIN(TestPowerBackend)
#include "tst_power_backend.moc"
