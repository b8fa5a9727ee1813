// The launcher dialogue of the info dialog.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>

#include "base/look.h"
#include "base/services.h"
#include "info/desktop_entry.h"
#include "info/info_dialog.h"
#include "info/shortcut_folders.h"

namespace tarvo {
namespace {

const QString kStandard = QStringLiteral("Tarvo - Standard Modus");
const QString kClassic = QStringLiteral("Tarvo - Classic Modus");

// Launchers are always written for the program as it runs now, symbolic links resolved.
QString programPath()
{
    const QString running = QApplication::applicationFilePath();
    const QString canonical = QFileInfo(running).canonicalFilePath();
    return canonical.isEmpty() ? running : canonical;
}

} // namespace

void InfoDialog::CreateShortcuts_Click()
{
    setTextColour(CreateShortcuts, QApplication::palette().color(QPalette::HighlightedText));
    const Answer desktop
        = m_dialogs.askYesNoCancel(questionParent(), QStringLiteral("Auf dem Desktop erstellen?"),
                                 QStringLiteral("Sollen auch Verknüpfungen auf dem Desktop erstellt werden?"));
    if (desktop == Answer::Cancel) {
        setTextColour(CreateShortcuts, kInfoLinkBlue);
        return;
    }

    const QString target = programPath();
    const QString folder = QFileInfo(target).absolutePath();
    const QStringList classic{QStringLiteral("C")};
    // Launchers that cannot be written are left out without a word, as are folders that cannot be found.
    if (desktop == Answer::Yes) {
        const QString desktopDir = desktopFolder();
        if (!desktopDir.isEmpty()) {
            writeDesktopEntry({target, desktopDir + QLatin1String("/Tarvo.desktop"), {}, kStandard, folder}, true);
            writeDesktopEntry({target, desktopDir + QLatin1String("/Tarvo Classic.desktop"), classic, kClassic, folder},
                              true);
        }
    } else {
        writeDesktopEntry({target, QDir::current().absoluteFilePath(kClassic), classic, kClassic, folder}, true);
    }

    if (m_dialogs.ask(questionParent(), QStringLiteral("Startmenü Eintrag erzeugen?"),
                    QStringLiteral("Shutdown-Verknüpfung im Startmenü erzeugen?"), true)) {
        const QString menu = systemMenuFolder();
        if (!menu.isEmpty())
            writeDesktopEntry({target, menu + QLatin1String("/Tarvo Classic  ..."), classic, kClassic, folder}, false);
    }
}

} // namespace tarvo
