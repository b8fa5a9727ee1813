// The Windows request's decisions, against a fake table of Win32 calls.

#include <QTest>

#include "fake_win32_power_api.h"
#include "power/windows_power.h"

using tarvo::PowerCode;
using tarvo::WindowsPowerResult;
using tarvo::test::FakeWin32PowerApi;

Q_DECLARE_METATYPE(WindowsPowerResult)

namespace {

enum class Failing { Nothing, Token, Lookup, Adjust };

constexpr std::uint32_t kNt = 2;
constexpr std::uint32_t kWindows9x = 1;

QStringList toQt(const std::vector<std::string>& calls)
{
    QStringList list;
    for (const std::string& call : calls)
        list.append(QString::fromStdString(call));
    return list;
}

std::unique_ptr<FakeWin32PowerApi> fakeApi(std::uint32_t platform, Failing failing, std::uint32_t error)
{
    auto api = std::make_unique<FakeWin32PowerApi>();
    api->platform = platform;
    api->tokenOpens = failing != Failing::Token;
    api->privilegeKnown = failing != Failing::Lookup;
    api->privilegeAdjusts = failing != Failing::Adjust;
    api->error = error;
    return api;
}

const QStringList kPrivilegeSteps { "GetVersionExA", "OpenProcessToken(40)",
    "LookupPrivilegeValueA(SeShutdownPrivilege)", "AdjustTokenPrivileges" };

} // namespace

class TestWindowsPower : public QObject {
    Q_OBJECT

private slots:
    void makesTheRightCalls_data();
    void makesTheRightCalls();
    void tellsTheUserWhyNothingHappened_data();
    void tellsTheUserWhyNothingHappened();
};

void TestWindowsPower::makesTheRightCalls_data()
{
    QTest::addColumn<uint>("platform");
    QTest::addColumn<PowerCode>("code");
    QTest::addColumn<int>("failing");
    QTest::addColumn<uint>("lastError");
    QTest::addColumn<QStringList>("expectedCalls");
    QTest::addColumn<WindowsPowerResult>("result");

    const auto exitAfterPrivilege = [](int flags) {
        return kPrivilegeSteps + QStringList { "GetLastError", QStringLiteral("ExitWindowsEx(%1, 0)").arg(flags) };
    };
    const int nothing = int(Failing::Nothing);

    QTest::newRow("NT shut down") << kNt << PowerCode(1) << nothing << 0u << exitAfterPrivilege(1)
                                  << WindowsPowerResult::Requested;
    QTest::newRow("NT log off enables the privilege too")
        << kNt << PowerCode(0) << nothing << 0u << exitAfterPrivilege(0) << WindowsPowerResult::Requested;
    QTest::newRow("NT restart") << kNt << PowerCode(2) << nothing << 0u << exitAfterPrivilege(2)
                                << WindowsPowerResult::Requested;
    QTest::newRow("NT power off") << kNt << PowerCode(8) << nothing << 0u << exitAfterPrivilege(8)
                                  << WindowsPowerResult::Requested;
    QTest::newRow("NT unused code 3 goes through unchanged")
        << kNt << PowerCode(3) << nothing << 0u << exitAfterPrivilege(3) << WindowsPowerResult::Requested;
    QTest::newRow("NT unused code 9") << kNt << PowerCode(9) << nothing << 0u << exitAfterPrivilege(9)
                                      << WindowsPowerResult::Requested;
    // A leftover error from earlier calls is no reason to stop, only "not all assigned" is.
    QTest::newRow("NT other last error") << kNt << PowerCode(1) << nothing << 5u << exitAfterPrivilege(1)
                                         << WindowsPowerResult::Requested;

    QTest::newRow("NT token cannot be opened")
        << kNt << PowerCode(1) << int(Failing::Token) << 5u
        << QStringList { "GetVersionExA", "OpenProcessToken(40)", "GetLastError" }
        << WindowsPowerResult::TokenNotOpened;
    QTest::newRow("NT privilege unknown")
        << kNt << PowerCode(2) << int(Failing::Lookup) << 1313u << (kPrivilegeSteps.mid(0, 3) << "GetLastError")
        << WindowsPowerResult::PrivilegeUnknown;
    QTest::newRow("NT privilege cannot be enabled")
        << kNt << PowerCode(0) << int(Failing::Adjust) << 6u << (kPrivilegeSteps + QStringList { "GetLastError" })
        << WindowsPowerResult::PrivilegeNotEnabled;
    QTest::newRow("NT user lacks the privilege (1300)")
        << kNt << PowerCode(8) << nothing << 1300u << (kPrivilegeSteps + QStringList { "GetLastError" })
        << WindowsPowerResult::PrivilegeNotHeld;

    QTest::newRow("NT standby") << kNt << PowerCode(6) << nothing << 0u
                                << (kPrivilegeSteps + QStringList { "SetSystemPowerState(true, false)" })
                                << WindowsPowerResult::Requested;
    QTest::newRow("NT hibernate") << kNt << PowerCode(5) << nothing << 0u
                                  << (kPrivilegeSteps + QStringList { "SetSystemPowerState(false, false)" })
                                  << WindowsPowerResult::Requested;
    // Sleep does not depend on the privilege steps: every one of them is tried and then it sleeps.
    QTest::newRow("NT standby, token fails")
        << kNt << PowerCode(6) << int(Failing::Token) << 5u
        << (kPrivilegeSteps + QStringList { "SetSystemPowerState(true, false)" }) << WindowsPowerResult::Requested;
    QTest::newRow("NT hibernate, privilege not held")
        << kNt << PowerCode(5) << nothing << 1300u
        << (kPrivilegeSteps + QStringList { "SetSystemPowerState(false, false)" }) << WindowsPowerResult::Requested;

    QTest::newRow("9x shut down without privilege steps")
        << kWindows9x << PowerCode(1) << nothing << 0u << QStringList { "GetVersionExA", "ExitWindowsEx(1, 0)" }
        << WindowsPowerResult::Requested;
    QTest::newRow("9x token would fail, never asked")
        << kWindows9x << PowerCode(2) << int(Failing::Token) << 5u
        << QStringList { "GetVersionExA", "ExitWindowsEx(2, 0)" } << WindowsPowerResult::Requested;
    QTest::newRow("9x standby code goes to ExitWindowsEx")
        << kWindows9x << PowerCode(6) << nothing << 0u << QStringList { "GetVersionExA", "ExitWindowsEx(6, 0)" }
        << WindowsPowerResult::Requested;

    for (const int code : { -1, 10, -32768, 32767 }) {
        QTest::addRow("NT out of range %d", code)
            << kNt << PowerCode(code) << nothing << 0u << QStringList { "GetVersionExA" }
            << WindowsPowerResult::CodeOutOfRange;
    }
    QTest::newRow("9x out of range") << kWindows9x << PowerCode(12) << nothing << 0u << QStringList { "GetVersionExA" }
                                     << WindowsPowerResult::CodeOutOfRange;
}

void TestWindowsPower::makesTheRightCalls()
{
    QFETCH(uint, platform);
    QFETCH(PowerCode, code);
    QFETCH(int, failing);
    QFETCH(uint, lastError);
    QFETCH(QStringList, expectedCalls);
    QFETCH(WindowsPowerResult, result);

    const auto api = fakeApi(platform, Failing(failing), lastError);
    const tarvo::WindowsPowerReport report = tarvo::requestWindowsPower(*api, code);

    QCOMPARE(toQt(api->calls), expectedCalls);
    QCOMPARE(report.result, result);
    QCOMPARE(report.error,
        result == WindowsPowerResult::Requested || result == WindowsPowerResult::CodeOutOfRange ? 0u : lastError);
}

void TestWindowsPower::tellsTheUserWhyNothingHappened_data()
{
    QTest::addColumn<PowerCode>("code");
    QTest::addColumn<int>("failing");
    QTest::addColumn<uint>("lastError");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("reasonPart");

    QTest::newRow("request made") << PowerCode(1) << int(Failing::Nothing) << 0u << true << "";
    QTest::newRow("out of range") << PowerCode(-1) << int(Failing::Nothing) << 0u << false << "Reboot Fehler";
    QTest::newRow("token") << PowerCode(1) << int(Failing::Token) << 5u << false << "Fehler 5";
    QTest::newRow("lookup") << PowerCode(1) << int(Failing::Lookup) << 1313u << false << "Fehler 1313";
    QTest::newRow("adjust") << PowerCode(2) << int(Failing::Adjust) << 87u << false << "Fehler 87";
    QTest::newRow("privilege not held") << PowerCode(0) << int(Failing::Nothing) << 1300u << false
                                        << "fehlt das Recht zum Herunterfahren";
}

void TestWindowsPower::tellsTheUserWhyNothingHappened()
{
    QFETCH(PowerCode, code);
    QFETCH(int, failing);
    QFETCH(uint, lastError);
    QFETCH(bool, ok);
    QFETCH(QString, reasonPart);

    tarvo::WindowsPower power(fakeApi(kNt, Failing(failing), lastError));
    const tarvo::PowerOutcome outcome = power.request(code);

    QCOMPARE(outcome.ok, ok);
    if (ok)
        QCOMPARE(outcome.reason, QString());
    else
        QVERIFY2(outcome.reason.contains(reasonPart), qPrintable(outcome.reason));
    if (reasonPart == "Reboot Fehler")
        QCOMPARE(outcome.reason, reasonPart);
}

QTEST_GUILESS_MAIN(TestWindowsPower)
#include "tst_power_windows.moc"
