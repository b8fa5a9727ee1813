// The whole start-up of the real main window with any command line, on stand-ins for the system:
// whatever the text, a power request only for M 0 or H 0 (after Y or a Yes), a countdown only when
// an action was asked for, with a duration that fits its 16-bit minutes, and a cancel that
// carries nothing out.
#include <QApplication>
#include <QTimer>

#include "app/command_line.h"
#include "app/qt_options.h"
#include "fakes.h"
#include "fuzz_support.h"

namespace {

// The value of M or H, where the applying of the options stops at it.
enum class Duration { None, Zero, Other, Unusable };

Duration durationOf(const std::optional<QString>& digits)
{
    if (!digits)
        return Duration::None;
    const auto value = tarvo::digitsToInt16(*digits);
    if (!value)
        return Duration::Unusable;
    return *value == 0 ? Duration::Zero : Duration::Other;
}

// M 0 or H 0 is reached: the action is carried out at once.
bool asksForNow(const tarvo::CommandLineOptions& o)
{
    const Duration minutes = durationOf(o.minutes);
    if (minutes == Duration::Zero)
        return true;
    return minutes != Duration::Unusable && durationOf(o.hours) == Duration::Zero;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("TARVO_POWER", "dry-run");
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/tarvo-fuzz");
    // The offscreen platform warns about every window shape; the harness has nothing to say.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    static int qtArgc = 1;
    static char* qtArgv[] = { (*argv)[0], nullptr };
    (void)argc;
    new QApplication(qtArgc, qtArgv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // As the program reads them: what Qt left of the arguments, less what it left of its own options.
    const QString line = tarvo::commandLineText(tarvo::withoutQtOptions(tarvo::fuzz::argumentsOf(data, size)));
    const tarvo::CommandLineOptions o = tarvo::scanCommandLine(tarvo::firstWords(line));

    tarvo::test::Harness h(line);
    // Questions are answered Yes when the text ends in a digit, so both answers are tried.
    h.dialogs->answer = size > 0 && data[size - 1] >= '0' && data[size - 1] <= '9';
    h.load();

    const bool immediate = asksForNow(o) && (!o.noPrompts ? h.dialogs->answer : true);
    FUZZ_REQUIRE(h.power->requests.size() == (immediate ? 1u : 0u));
    FUZZ_REQUIRE(h.form->hasEnded() == immediate);
    if (immediate)
        return 0;

    const bool running = tarvo::test::control<QTimer>(*h.form, "Timer1")->isActive();
    FUZZ_REQUIRE(!running || (o.recognised() && o.actionRequested()));
    if (!running)
        return 0;
    FUZZ_REQUIRE(h.form->remainingSeconds() >= 60 && h.form->remainingSeconds() <= 32767 * 60);

    // A few seconds of the countdown, then cancel: still no request.
    h.tick(3);
    h.form->Abbruch_Click();
    FUZZ_REQUIRE(!tarvo::test::control<QTimer>(*h.form, "Timer1")->isActive() && h.power->requests.empty() && !h.form->hasEnded());
    return 0;
}
