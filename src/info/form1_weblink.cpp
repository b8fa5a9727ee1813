// The "Neue Version?" link of the entry panel.
#include "app/form1.h"

#include <QFrame>
#include <QLabel>

#include "base/look.h"
#include "app/web_link_mouse.h"

namespace tarvo {

void Form1::connectWebLink()
{
    new WebLinkMouse(*m_entry.WWWLink, *m_entry.Eingabemaske, [this] { WWWLink_Click(); });
}

void Form1::WWWLink_Click()
{
    m_services.desktop->openUrl(QUrl(GV_URL));
    // The version is told only while the entry panel is up, not over a running countdown.
    if (countdownIdle())
        m_services.dialogs->message(this, MessageIcon::Information, QStringLiteral("Tarvo ") + GetVersionNumber(),
                                    QStringLiteral("Ihr aktueller Tarvo hat die Versionsnummer:\r\r")
                                        + GetVersionNumber() + QLatin1Char('\r'));
}

} // namespace tarvo
