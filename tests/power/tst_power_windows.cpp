// The Windows request's decisions, against a fake table of Win32 calls.

#include <QTest>

#include "power/windows_power.h"

using namespace tarvo;
using namespace Qt::StringLiterals;

namespace {

// Answers as configured and writes down every Win32 call in the order made.
struct FakeWin32 final : Win32PowerApi {
    std::uint32_t platform = win32::PlatformNt;
    QString failing; // "token", "lookup" or "adjust"
    std::uint32_t error = 0;
    QStringList calls;

    bool made(const QString& call, const char* step = "") { return calls << call, failing != QLatin1String(step); }
    std::uint32_t platformId() override { return calls << "GetVersionExA", platform; }
    bool openProcessToken(uint access) override { return made(u"OpenProcessToken(%1)"_s.arg(access), "token"); }
    bool lookupPrivilegeValue(const char* n) override { return made(u"LookupPrivilegeValueA(%1)"_s.arg(n), "lookup"); }
    bool adjustTokenPrivileges() override { return made(u"AdjustTokenPrivileges"_s, "adjust"); }
    std::uint32_t lastError() override { return calls << "GetLastError", error; }
    bool exitWindowsEx(uint f, uint r) override { return made(u"ExitWindowsEx(%1, %2)"_s.arg(f).arg(r)); }
    bool setSystemPowerState(bool s, bool f) override { return made(u"SetSystemPowerState(%1, %2)"_s.arg(s).arg(f)); }
};

// On NT or not, the code, the privilege step that fails, GetLastError's answer: the calls made and
// the reason (empty: requested, else a part of the reason given).
struct Row {
    bool nt;
    int code;
    QString failing;
    uint lastError;
    QStringList calls;
    QString reason;
};

} // namespace

Q_DECLARE_METATYPE(Row)

class TestWindowsPower : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void request_data()
    {
        QTest::addColumn<Row>("row");
        const QStringList privilege{"GetVersionExA", "OpenProcessToken(40)",
                                    "LookupPrivilegeValueA(SeShutdownPrivilege)", "AdjustTokenPrivileges"};
        const QStringList failed = privilege + QStringList{"GetLastError"};
        const auto exit = [&](int flags) { return failed + QStringList{u"ExitWindowsEx(%1, 0)"_s.arg(flags)}; };
        QTest::newRow("log off enables the privilege too") << Row{true, 0, "", 0u, exit(0), ""};
        QTest::newRow("unused code 3 goes through unchanged") << Row{true, 3, "", 0u, exit(3), ""};
        // A leftover error from earlier calls is no reason to stop, only "not all assigned" is.
        QTest::newRow("shut down, other last error") << Row{true, 1, "", 5u, exit(1), ""};
        QTest::newRow("token cannot be opened")
            << Row{true, 1, "token", 5u, privilege.mid(0, 2) << "GetLastError", "nicht öffnen (Fehler 5)"};
        QTest::newRow("privilege unknown")
            << Row{true, 2, "lookup", 1313u, privilege.mid(0, 3) << "GetLastError", "unbekannt (Fehler 1313)"};
        QTest::newRow("privilege cannot be enabled") << Row{true, 0, "adjust", 6u, failed, "aktivieren (Fehler 6)"};
        QTest::newRow("user lacks the privilege (1300)") << Row{true, 8, "", 1300u, failed, "fehlt das Recht"};
        QTest::newRow("standby") << Row{true, 6, "", 0u, privilege + QStringList{"SetSystemPowerState(1, 0)"}, ""};
        // Sleep does not depend on the privilege steps: every one of them is tried and then it sleeps.
        QTest::newRow("hibernate, token fails")
            << Row{true, 5, "token", 5u, privilege + QStringList{"SetSystemPowerState(0, 0)"}, ""};
        QTest::newRow("9x: no privilege steps, the code is the flags")
            << Row{false, 6, "token", 5u, {"GetVersionExA", "ExitWindowsEx(6, 0)"}, ""};
        QTest::newRow("-1") << Row{true, -1, "", 0u, {"GetVersionExA"}, "Reboot Fehler"};
        QTest::newRow("10") << Row{true, 10, "", 0u, {"GetVersionExA"}, "Reboot Fehler"};
    }
    void request()
    {
        QFETCH(Row, row);
        auto api = std::make_unique<FakeWin32>();
        FakeWin32& fake = *api;
        fake.platform = row.nt ? win32::PlatformNt : 1;
        fake.failing = row.failing;
        fake.error = row.lastError;
        PowerOutcome outcome = PowerOutcome::failure(u"no answer"_s);
        WindowsPower power(std::move(api)); // owns the fake: it must outlive the checks below
        power.request(PowerCode(row.code), [&outcome](const PowerOutcome& o) { outcome = o; });
        QCOMPARE(fake.calls, row.calls);
        QCOMPARE(outcome.ok, row.reason.isEmpty());
        QVERIFY2(outcome.reason.contains(row.reason), qPrintable(outcome.reason));
    }
};

QTEST_GUILESS_MAIN(TestWindowsPower)
#include "tst_power_windows.moc"
