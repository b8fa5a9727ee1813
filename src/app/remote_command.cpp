#include "app/remote_command.h"

#include <cstdio>

#include <QDBusMessage>

#include "app/remote_control.h"
#include "app/single_instance.h"

namespace tarvo {
namespace {

constexpr int kAnswerMs = 10000;

bool print(std::FILE* stream, const QString& text)
{
    if (text.isEmpty())
        return true;
    std::fputs((text + QLatin1Char('\n')).toLocal8Bit().constData(), stream);
    return std::fflush(stream) == 0 && !std::ferror(stream);
}

} // namespace

std::optional<RemoteRequest> remoteRequest(const QStringList& arguments, QString* error)
{
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == QLatin1String("--status"))
            return RemoteRequest { RemoteRequest::Status, 0 };
        if (argument == QLatin1String("--cancel"))
            return RemoteRequest { RemoteRequest::Cancel, 0 };
        const bool joined = argument.startsWith(QLatin1String("--add="));
        if (argument != QLatin1String("--add") && !joined)
            continue;
        const bool given = joined || i + 1 < arguments.size();
        const QString value = joined ? argument.mid(6) : arguments.value(i + 1);
        // Plain decimal digits only: no sign, no blanks, no "0x".
        bool digitsOnly = !value.isEmpty() && value.size() <= 9;
        for (const QChar c : value)
            digitsOnly = digitsOnly && c >= QLatin1Char('0') && c <= QLatin1Char('9');
        const int minutes = digitsOnly ? value.toInt() : 0;
        if (minutes >= 1 && minutes <= kMaxAddMinutes)
            return RemoteRequest { RemoteRequest::Add, minutes };
        const QString range = QStringLiteral("eine ganze Zahl von Minuten zwischen 1 und %1").arg(kMaxAddMinutes);
        *error = given ? QStringLiteral("tarvo: --add braucht %1, nicht \u201e%2\u201c.").arg(range, value)
                       : QStringLiteral("tarvo: --add braucht %1, z. B. tarvo --add 10.").arg(range);
        return std::nullopt;
    }
    *error = QStringLiteral("tarvo: weder --status noch --cancel noch --add angegeben.");
    return std::nullopt;
}

RemoteAnswer askRunningTarvo(const RemoteRequest& request, const QDBusConnection& bus, const QString& name)
{
    if (!bus.isConnected())
        return { kExitNoCountdown, {},
            QStringLiteral("tarvo: Kein Session-Bus erreichbar (%1): kein Tarvo zu fragen.")
                .arg(bus.lastError().message()) };
    QString method = QStringLiteral("Status");
    QVariantList arguments;
    if (request.kind == RemoteRequest::Cancel)
        method = QStringLiteral("Cancel");
    if (request.kind == RemoteRequest::Add) {
        method = QStringLiteral("Add");
        arguments << uint(request.minutes);
    }
    const QDBusMessage reply = callInstance(bus, name, method, arguments, kAnswerMs);
    if (reply.type() == QDBusMessage::ReplyMessage && reply.signature() == QLatin1String("bs")) {
        const bool armed = reply.arguments().at(0).toBool();
        return { armed ? 0 : kExitNoCountdown, reply.arguments().at(1).toString(), {} };
    }
    if (reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown")
        || reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner"))
        return { kExitNoCountdown, QStringLiteral("Tarvo läuft nicht."), {} };
    return { kExitNoCountdown, {},
        QStringLiteral("tarvo: Der laufende Tarvo antwortet nicht (%1).").arg(reply.errorMessage()) };
}

int runRemoteCommand(const QStringList& arguments, const QString& name)
{
    QString error;
    const std::optional<RemoteRequest> request = remoteRequest(arguments, &error);
    if (!request) {
        print(stderr, error);
        return kExitUsage;
    }
    const RemoteAnswer answer = askRunningTarvo(*request, QDBusConnection::sessionBus(), name);
    print(stderr, answer.error);
    // A lost answer (a closed pipe) must not pass for success.
    return print(stdout, answer.output) || answer.exitCode != 0 ? answer.exitCode : 1;
}

} // namespace tarvo
