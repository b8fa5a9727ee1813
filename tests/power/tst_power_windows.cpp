// The Windows request's decisions, against a fake table of Win32 calls.

#include <QTest>

#include "power/windows_power.h"

using namespace tarvo;

namespace {

// Answers as configured and writes down every Win32 call in the order made.
struct FakeWin32 final : Win32PowerApi {
    std::uint32_t platform = win32::PlatformNt;
    QString failing; // "token", "lookup" or "adjust"
    std::uint32_t error = 0;
    QStringList calls;

    std::uint32_t platformId() override { return calls << "GetVersionExA", platform; }
    bool openProcessToken(std::uint32_t access) override
    {
        return calls << QStringLiteral("OpenProcessToken(%1)").arg(access), failing != u"token";
    }
    bool lookupPrivilegeValue(const char* name) override
    {
        return calls << QStringLiteral("LookupPrivilegeValueA(%1)").arg(name), failing != u"lookup";
    }
    bool adjustTokenPrivileges() override { return calls << "AdjustTokenPrivileges", failing != u"adjust"; }
    std::uint32_t lastError() override { return calls << "GetLastError", error; }
    bool exitWindowsEx(std::uint32_t flags, std::uint32_t reserved) override
    {
        return calls << QStringLiteral("ExitWindowsEx(%1, %2)").arg(flags).arg(reserved), true;
    }
    bool setSystemPowerState(bool suspend, bool force) override
    {
        return calls << QStringLiteral("SetSystemPowerState(%1, %2)").arg(suspend).arg(force), true;
    }
};

} // namespace

class TestWindowsPower : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void request_data()
    {
        QTest::addColumn<bool>("nt");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("failing");
        QTest::addColumn<uint>("lastError");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<QString>("reason"); // empty: requested, else a part of the reason given
        const QStringList privilege{"GetVersionExA", "OpenProcessToken(40)",
                                    "LookupPrivilegeValueA(SeShutdownPrivilege)", "AdjustTokenPrivileges"};
        const auto exit = [&](int flags) {
            return privilege + QStringList{"GetLastError", QStringLiteral("ExitWindowsEx(%1, 0)").arg(flags)};
        };
        QTest::newRow("shut down") << true << 1 << "" << 0u << exit(1) << "";
        QTest::newRow("log off enables the privilege too") << true << 0 << "" << 0u << exit(0) << "";
        QTest::newRow("unused code 3 goes through unchanged") << true << 3 << "" << 0u << exit(3) << "";
        // A leftover error from earlier calls is no reason to stop, only "not all assigned" is.
        QTest::newRow("other last error") << true << 1 << "" << 5u << exit(1) << "";
        QTest::newRow("token cannot be opened") << true << 1 << "token" << 5u << (privilege.mid(0, 2) << "GetLastError")
                                                << "nicht öffnen (Fehler 5)";
        QTest::newRow("privilege unknown") << true << 2 << "lookup" << 1313u << (privilege.mid(0, 3) << "GetLastError")
                                           << "unbekannt (Fehler 1313)";
        QTest::newRow("privilege cannot be enabled")
            << true << 0 << "adjust" << 6u << (privilege + QStringList{"GetLastError"}) << "aktivieren (Fehler 6)";
        QTest::newRow("user lacks the privilege (1300)")
            << true << 8 << "" << 1300u << (privilege + QStringList{"GetLastError"}) << "fehlt das Recht";
        QTest::newRow("standby") << true << 6 << "" << 0u << (privilege + QStringList{"SetSystemPowerState(1, 0)"})
                                 << "";
        // Sleep does not depend on the privilege steps: every one of them is tried and then it sleeps.
        QTest::newRow("hibernate, token fails")
            << true << 5 << "token" << 5u << (privilege + QStringList{"SetSystemPowerState(0, 0)"}) << "";
        QTest::newRow("9x: no privilege steps, the code is the flags")
            << false << 6 << "token" << 5u << QStringList{"GetVersionExA", "ExitWindowsEx(6, 0)"} << "";
        QTest::newRow("-1") << true << -1 << "" << 0u << QStringList{"GetVersionExA"} << "Reboot Fehler";
        QTest::newRow("10") << true << 10 << "" << 0u << QStringList{"GetVersionExA"} << "Reboot Fehler";
    }
    void request()
    {
        QFETCH(bool, nt);
        QFETCH(int, code);
        QFETCH(QString, failing);
        QFETCH(uint, lastError);
        QFETCH(QStringList, calls);
        QFETCH(QString, reason);
        auto api = std::make_unique<FakeWin32>();
        FakeWin32& fake = *api;
        fake.platform = nt ? win32::PlatformNt : 1;
        fake.failing = failing;
        fake.error = lastError;
        WindowsPower power(std::move(api));
        PowerOutcome outcome = PowerOutcome::failure(QStringLiteral("no answer"));
        power.request(PowerCode(code), [&outcome](const PowerOutcome& answer) { outcome = answer; });
        QCOMPARE(fake.calls, calls);
        QCOMPARE(outcome.ok, reason.isEmpty());
        QVERIFY2(outcome.reason.contains(reason), qPrintable(outcome.reason));
    }
};

QTEST_GUILESS_MAIN(TestWindowsPower)
#include "tst_power_windows.moc"
