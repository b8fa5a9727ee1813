#include "app/form1.h"

#include <cstdio>

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "app/keyboard_order.h"
#include "app/widget_builders.h"
#include "app/window_accessibility.h"
#include "base/controls.h"
#include "base/look.h"
#include "base/twips.h"
#include "shell/system_tray.h"
#include "shell/window_shape.h"

namespace tarvo {

Form1::Form1(Services services, QString commandLine, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , m_services(std::move(services))
    , m_commandLine(std::move(commandLine))
    , m_countdown(new Countdown(*m_services.clock, this))
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Tarvo"));
    setWindowIcon(QIcon(assetPixmap(QStringLiteral("tarvo"), QSize(32, 32))));
    setFont(uiFont(8.25, false));
    if (!uiFontInstalled())
        std::fputs("tarvo: no font with Arial's widths (Liberation Sans) is installed, some texts may be cut "
                   "off; on Debian: apt-get install fonts-liberation2\n",
                   stderr);
    buildWindow();
    setWindowAccessibleTexts(*this);
    setKeyboardOrder(m_band, JetztBtn, Abbruch, m_entry, m_counting);
    connectHandlers();
    connectCountdown();
    connectClassicAndQuit();
    connectEntryHandlers();
    connectWebLink();
    resize(twipsToPixels(kWindowWidthTwips), twipsToPixels(kCompactHeightTwips));
}

Form1::~Form1() = default;

void Form1::buildWindow()
{
    // Built back to front, so that later siblings lie above earlier ones.
    m_band = buildActionPanel(this);
    m_entry = buildEntryPanel(this, *m_services.windowSystem);
    m_counting = buildCountdownPanel(this);

    Frame3 = make<QFrame>(this, "Frame3");
    place(Frame3, 5640, 240, 5175, 855);
    Frame3->hide();
    buildActionOptions(m_band, Frame3);

    Abbruch = makeButton(this, "Abbruch", QStringLiteral("&Exit"), tw(3795, 2160, 1485, 375), false);
    JetztBtn = makeButton(this, "JetztBtn", QStringLiteral("Sofort"), tw(360, 2160, 1680, 375), false);
    JetztBtn->setToolTip(QStringLiteral(
        "Führt die Aktion SOFOT durch (d.h. z.B. der Rechner wird auf der Stelle herunter gefahren)"));

    Abdeckung = make<QLabel>(this, "Abdeckung");
    place(Abdeckung, 2640, 120, 1110, 360);
    Abdeckung->setPixmap(assetPixmap(QStringLiteral("cover"), QSize(74, 24), devicePixelRatioF()));
    Abdeckung->hide();

    Timer2 = makeTimer(this, "Timer2");
}

void Form1::applyRoundedRegion()
{
    setMask(roundedRegion(size(), 15));
}

} // namespace tarvo
