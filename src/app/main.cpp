#include <cstdio>

#include <QApplication>
#include <QDBusConnection>
#include <QStringList>

#include "app/command_line.h"
#include "app/desktop_wiring.h"
#include "app/form1.h"
#include "app/form1_remote.h"
#include "app/platform_choice.h"
#include "app/remote_command.h"
#include "app/qt_options.h"
#include "app/single_instance.h"
#include "app/usage.h"
#include "base/version.h"
#include "app/termination_signals.h"

namespace {

// Qt needs a display; without one it aborts with a message that helps nobody. Say it plainly.
bool hasDisplay(int argc, char** argv)
{
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY")
        || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return true;
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "-platform") == 0)
            return true;
    }
    return false;
}

// --help and --version answer on standard output; a failed write (a full disk, a closed pipe)
// must not pass for success.
int printAndExit(const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stdout);
    return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    // Checked before the letters and before the display: "--help" holds L and H, and both answers
    // are wanted on machines without a screen too.
    switch (tarvo::startMode(arguments)) {
    case tarvo::StartMode::Help:
        return printAndExit(tarvo::usageText());
    case tarvo::StartMode::Version:
        return printAndExit(QStringLiteral("Tarvo ") + tarvo::Form1::GetVersionNumber() + QLatin1Char('\n'));
    case tarvo::StartMode::Remote: {
        // Answered over the session bus, without a display.
        QCoreApplication app(argc, argv);
        return tarvo::runRemoteCommand(arguments, QStringLiteral(TARVO_APP_ID));
    }
    case tarvo::StartMode::Run:
        break;
    }

#if defined(Q_OS_LINUX)
    if (!hasDisplay(argc, argv)) {
        std::fputs("tarvo: no graphical display (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
                   "Start Tarvo from a desktop session, or under a virtual X server: xvfb-run -a tarvo ...\n",
                   stderr);
        return 2;
    }
#endif

    const bool viaXWayland = tarvo::preferXWayland();
    QApplication app(argc, argv);
    if (viaXWayland)
        qunsetenv("QT_QPA_PLATFORM");
    // The option letters are read only from what Qt left of the arguments: "-style fusion" or
    // "-display :0" must not start anything.
    const QString commandLine
        = tarvo::commandLineText(tarvo::withoutQtOptions(QCoreApplication::arguments().mid(1)));
    // No display name: Qt would append it to every window title, and the titles carry the countdown.
    QApplication::setApplicationName(QStringLiteral("tarvo"));
    QApplication::setApplicationVersion(QLatin1String(tarvo::kVersion));
    // The installed desktop entry's name, so that docks and Wayland compositors match the window to it.
    QApplication::setDesktopFileName(QStringLiteral(TARVO_APP_ID));
    // Tarvo ends on its own terms; a message box closed while the window sits in the tray must not
    // end it.
    QApplication::setQuitOnLastWindowClosed(false);

    tarvo::SingleInstance instance(QDBusConnection::sessionBus(), QStringLiteral(TARVO_APP_ID));
    switch (instance.claim()) {
    case tarvo::SingleInstance::Claim::Forwarded:
        return 0;
    case tarvo::SingleInstance::Claim::Unchecked:
        std::fprintf(stderr, "%s\n", qPrintable(instance.warning()));
        break;
    case tarvo::SingleInstance::Claim::First:
        break;
    }

    // From here on a SIGTERM or Ctrl+C ends Tarvo through its own ending, which removes the tray icon.
    tarvo::TerminationSignals termination;
    tarvo::Form1 form(tarvo::systemServices(), commandLine);
    tarvo::DesktopWiring desktop(form, QDBusConnection::systemBus(), QDBusConnection::sessionBus());
    tarvo::Form1Remote remote(form);
    instance.serve(&remote);
    QObject::connect(&termination, &tarvo::TerminationSignals::received, &form, &tarvo::Form1::EndOnSignal);
    form.Form_Load();
    if (form.hasEnded())
        return form.exitCode();
    return app.exec();
}
