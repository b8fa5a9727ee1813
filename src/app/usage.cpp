#include "app/usage.h"

#include <algorithm>
#include <utility>

#include "info/help_text.h"

namespace tarvo {

StartMode startMode(const QStringList& arguments)
{
    for (const QString& argument : arguments) {
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h"))
            return StartMode::Help;
        if (argument == QLatin1String("--version"))
            return StartMode::Version;
        if (argument == QLatin1String("--status") || argument == QLatin1String("--cancel")
            || argument == QLatin1String("--add") || argument.startsWith(QLatin1String("--add=")))
            return StartMode::Remote;
    }
    return StartMode::Run;
}

QString usageText()
{
    // The info dialog's lines from the option list on, the example with the command as typed here.
    QStringList lines = helpTextLines();
    const auto options = std::find_if(lines.cbegin(), lines.cend(),
        [](const QString& line) { return line.startsWith(QLatin1String("Kommandozeilen")); });
    if (options != lines.cend())
        lines.erase(lines.cbegin(), options);
    while (!lines.isEmpty() && lines.constLast().trimmed().isEmpty())
        lines.removeLast();
    lines.replaceInStrings(QStringLiteral("Tarvo.exe"), QStringLiteral("tarvo"));

    QString text = QStringLiteral("Aufruf: tarvo [PARAMETER]\n"
                                  "       tarvo -h | --help | --version\n"
                                  "       tarvo --status | --cancel | --add MINUTEN\n\n");
    for (const QString& line : std::as_const(lines))
        text += line + QLatin1Char('\n');
    text += QStringLiteral(
        "\n"
        "Den laufenden Tarvo dieser Sitzung steuern (auch ohne grafische Anzeige):\n"
        "  --status        eine Zeile: Aktion, Restzeit und End-Zeit, oder dass kein Countdown läuft\n"
        "  --cancel        den Countdown abbrechen, wie \"Timer Abbrechen\"\n"
        "  --add MINUTEN   1 bis 20160 Minuten hinzufügen (höchstens 20160 Minuten Restzeit)\n"
        "\n"
        "Umgebungsvariablen:\n"
        "  TARVO_POWER=dry-run      nichts ausführen; stattdessen \"tarvo: power request CODE (NAME)\"\n"
        "                           auf die Standardausgabe schreiben\n"
        "  DBUS_SYSTEM_BUS_ADDRESS  der System-Bus, auf dem logind gefragt wird\n"
        "  DISPLAY, WAYLAND_DISPLAY die grafische Sitzung; ohne sie startet Tarvo nicht\n"
        "  QT_QPA_PLATFORM          Qts Fenstersystem, z. B. xcb, wayland oder offscreen; ohne Angabe\n"
        "                           läuft Tarvo in einer Wayland-Sitzung über XWayland (xcb)\n"
        "\n"
        "Rückgabewerte:\n"
        "  0   normal beendet; --status, --cancel, --add: ein Countdown lief\n"
        "  1   die Aktion wurde vom System abgelehnt\n"
        "  2   keine grafische Anzeige\n"
        "  3   --status, --cancel, --add: kein Countdown, oder kein Tarvo läuft\n"
        "  64  falscher Aufruf, z. B. --add ohne gültige Minutenzahl\n");
    return text;
}

} // namespace tarvo
