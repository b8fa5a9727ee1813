#include <cstdio>

#include <QApplication>
#include <QStringList>

#include "app/command_line.h"
#include "app/form1.h"
#include "app/single_instance.h"
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

} // namespace

int main(int argc, char** argv)
{
    // The option letters are read from the arguments as given, before Qt takes out its own options.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const QString commandLine = tarvo::commandLineText(arguments);

#if defined(Q_OS_LINUX)
    if (!hasDisplay(argc, argv)) {
        std::fputs("tarvo: no graphical display (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
                   "Start Tarvo from a desktop session, or under a virtual X server: xvfb-run -a tarvo ...\n",
                   stderr);
        return 2;
    }
#endif

    QApplication app(argc, argv);
    // No display name: Qt would append it to every window title, and the titles carry the countdown.
    QApplication::setApplicationName(QStringLiteral("tarvo"));
    QApplication::setApplicationVersion(QStringLiteral("1.31"));
    QApplication::setDesktopFileName(QStringLiteral("tarvo"));
    // Tarvo ends on its own terms; a message box closed while the window sits in the tray must not
    // end it.
    QApplication::setQuitOnLastWindowClosed(false);

    tarvo::SingleInstance instance(tarvo::sessionKey(), tarvo::runtimeDirectory());
    if (!instance.claim())
        return 0;

    // From here on a SIGTERM or Ctrl+C ends Tarvo through its own ending, which removes the tray icon.
    tarvo::TerminationSignals termination;
    tarvo::Form1 form(tarvo::systemServices(), commandLine);
    QObject::connect(&instance, &tarvo::SingleInstance::activationRequested, &form, &tarvo::Form1::BringToFront);
    QObject::connect(&termination, &tarvo::TerminationSignals::received, &form, &tarvo::Form1::EndOnSignal);
    form.Form_Load();
    if (form.hasEnded())
        return form.exitCode();
    return app.exec();
}
