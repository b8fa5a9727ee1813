#include "info/help_text.h"

// The lines that name the system and the program file.
#if defined(Q_OS_WIN)
#define TARVO_HELP_SYSTEM "Windows XP/2000"
#define TARVO_HELP_PROGRAM "Tarvo.exe"
#else
#define TARVO_HELP_SYSTEM "Linux"
#define TARVO_HELP_PROGRAM "tarvo"
#endif

namespace tarvo {

QStringList helpTextLines()
{
    // Blanks are part of the layout: leading ones indent, trailing ones are kept as written.
    static const char* const lines[] = {
        "===========================================",
        "",
        // The system's name completes this line, no comma is missing.
        "Für " TARVO_HELP_SYSTEM, // NOLINT(bugprone-suspicious-missing-comma)
        "",
        "===========================================",
        "",
        "Kommandozeilen Parameter (alle Parameter sind Optional):",
        "",
        " [ M xx ][Hxx][ L ][ R ][ S ][ N ][ F ][ A ][ T ][ W ][ Y ][ C ]",
        " [SETUP] ",
        "      Hxx = Shutdown-Zeit   (xxxxx = Zeit in Stunden)",
        "      Mxx = Shutdown-Zeit   (xxxxx = Zeit in Minuten,",
        "                                                 M 0 = Sofort Starten)",
        "      L = Abmelden    (LogOff)",
        "      R = Ruhezustand",
        "      S = Standby-Modus",
        "      N = Neustart",
        "      F = Force Shutdown    (Shutdown Erzwingen)",
        "      A = Ausschalten    (Herunterfahren)",
        "",
        "      T = Minimieren zum TrayArea",
        "      W = Warnton während der letzten 20 Sekunden",
        "      Y = Sicherheitsabfragen beim \"Beenden\" und dem ",
        "             \"Sofortigen Herunterfahren\" abschalten.",
        "      C = Classic Modus.  (Start im \"klassischen\"",
        "              Windows XP-Beenden Modus)",
        "      SETUP = Shortcuts anlegen ",
        "",
        "===========================================",
        "Beispiel:",
        "",
        TARVO_HELP_PROGRAM " S M90 W T",
        "",
        "  - Startet den StandbyModus (S) nach 90 Minuten (M90),",
        "  - gibt vor Beenden Warntöne aus (W) und ",
        "  - Minimiert nach dem Start in den System-Tray (T)",
        "  - Leerzeichen sind nicht erforderlich. So gehts auch:",
        "",
        "     '" TARVO_HELP_PROGRAM " SM90WT'",
        "===========================================",
        "",
        "",
        "",
    };
    QStringList result;
    result.reserve(static_cast<qsizetype>(std::size(lines)));
    for (const char* line : lines)
        result << QString::fromUtf8(line);
    return result;
}

QString helpText()
{
    QString text;
    for (const QString& line : helpTextLines())
        text += line + QLatin1String("\r\n");
    return text;
}

} // namespace tarvo
