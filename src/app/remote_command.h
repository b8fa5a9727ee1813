#pragma once

#include <optional>

#include <QDBusConnection>
#include <QString>
#include <QStringList>

namespace tarvo {

// --status, --cancel and --add MINUTES: a running Tarvo of the same session steered from a
// terminal or a script, over the name that keeps Tarvo single (app/single_instance.h).
struct RemoteRequest {
    enum Kind { Status, Cancel, Add };
    Kind kind = Status;
    int minutes = 0; // Add only: 1 to 20160
};

// Exit codes: 0 a countdown is (or was, for --cancel) armed; 3 none, or no Tarvo answers;
// 64 a wrong command line (sysexits.h's EX_USAGE: 1 and 2 have their meanings already).
inline constexpr int kExitNoCountdown = 3;
inline constexpr int kExitUsage = 64;

// The request of the first whole argument among --status, --cancel and --add; the argument after
// --add (or after "--add=") is its number of minutes. nullopt with error set when that number is
// missing or wrong.
std::optional<RemoteRequest> remoteRequest(const QStringList& arguments, QString* error);

struct RemoteAnswer {
    int exitCode = 0;
    QString output; // for standard output
    QString error; // for standard error
};

// Asks the Tarvo that owns name on bus.
RemoteAnswer askRunningTarvo(const RemoteRequest& request, const QDBusConnection& bus, const QString& name);

// All of it for main(): reads the arguments, asks the Tarvo of this session, prints, returns the
// exit code. Needs a QCoreApplication, but no display.
int runRemoteCommand(const QStringList& arguments, const QString& name);

} // namespace tarvo
