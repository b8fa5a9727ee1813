#include "app/form1.h"

#include <cstdio>
#include <tuple>
#include <vector>

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>

#include "base/controls.h"
#include "base/look.h"
#include "base/twips.h"
#include "app/widget_builders.h"
#include "app/window_panels.h"
#include "app/window_accessibility.h"
#include "power/action_table.h"
#include "shell/always_on_top.h"
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
    setKeyboardOrder();
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
    Picture1 = make<QLabel>(this, "Picture1");
    place(Picture1, -45, -60, 5550, 2400);
    Picture1->setPixmap(assetPixmap(QStringLiteral("title_band"), QSize(370, 160), devicePixelRatioF()));
    Picture1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Picture1->setToolTip(QStringLiteral("Doppelklick minimiert das Fenster"));
    buildActionPanel();

    Eingabemaske = makePanel(this, "Eingabemaske");
    place(Eingabemaske, 0, 1800, 5550, 3615);
    Eingabemaske->setToolTip(QStringLiteral("Doppelklick minimiert das Fenster"));
    buildEntryPanel();

    CountdownMaske = makePanel(this, "CountdownMaske");
    place(CountdownMaske, 0, 0, 5550, 3615);
    CountdownMaske->setToolTip(QStringLiteral("Doppelklick minimiert das Fenster"));
    CountdownMaske->hide();
    buildCountdownPanel();

    Frame3 = make<QFrame>(this, "Frame3");
    place(Frame3, 5640, 240, 5175, 855);
    Frame3->hide();
    buildActionGroup();

    Abbruch = makeButton(this, "Abbruch", QStringLiteral("&Exit"), tw(3795, 2160, 1485, 375), false);
    JetztBtn = makeButton(this, "JetztBtn", QStringLiteral("Sofort"), tw(360, 2160, 1680, 375), false);
    JetztBtn->setToolTip(QStringLiteral(
        "Führt die Aktion SOFOT durch (d.h. z.B. der Rechner wird auf der Stelle herunter gefahren)"));

    Abdeckung = make<QLabel>(this, "Abdeckung");
    place(Abdeckung, 2640, 120, 1110, 360);
    Abdeckung->setPixmap(assetPixmap(QStringLiteral("cover"), QSize(74, 24), devicePixelRatioF()));
    Abdeckung->hide();

    Timer1 = m_countdown->timer();
    Timer2 = makeTimer(this, "Timer2");
}

void Form1::buildActionPanel()
{
    // From left to right the buttons stand in the action table's order backwards, log off first.
    const int lefts[] = {495, 1440, 2520, 3600, 4680};
    const auto rows = actionTable();
    const QColor captionColour = highlightTextOn(colours::band);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const ActionRow& row = rows[rows.size() - 1 - i];
        const int left = lefts[i];
        ActionControls& controls = m_actionControls.at(static_cast<std::size_t>(row.kind));
        controls.button = make<QPushButton>(Picture1, row.buttonName);
        place(controls.button, left, 960, 495, 495);
        controls.button->setIconSize(QSize(31, 31));
        controls.button->setToolTip(QString::fromUtf8(row.buttonTip));
        // The caption is centred under its button.
        const int captionWidth = 1095;
        controls.caption = makeLabel(Picture1, row.captionName, QString::fromUtf8(row.word),
                                     tw(left + 495 / 2 - captionWidth / 2, 1560, captionWidth, 255),
                                     uiFont(8.25, false), captionColour);
        controls.caption->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        controls.caption->setAttribute(Qt::WA_TranslucentBackground);
    }

    InfoField = make<QLabel>(Picture1, "InfoField");
    place(InfoField, 4800, 120, 615, 495);
    InfoField->setMouseTracking(true);

    LightFlag = make<QLabel>(Picture1, "LightFlag");
    place(LightFlag, 3960, 120, 630, 525);
    LightFlag->setPixmap(assetPixmap(QStringLiteral("info_icon"), QSize(42, 35), devicePixelRatioF()));
    LightFlag->setToolTip(QStringLiteral("Info und Setup-Fenster öffnen"));
    LightFlag->hide();
}

void Form1::buildEntryPanel()
{
    const EntryPanel e = tarvo::buildEntryPanel(Eingabemaske, *m_services.windowSystem);
    ClassicModeShowTimer = e.ClassicModeShowTimer;
    Display0 = e.Display0;
    ZeitEingabe = e.ZeitEingabe;
    CounterHourText = e.CounterHourText;
    CounterMinuteText = e.CounterMinuteText;
    VScroll1 = e.VScroll1;
    Label5 = e.Label5;
    Command1 = e.Command1;
    AnzahlTageLabel = e.AnzahlTageLabel;
    Label8 = e.Label8;
    HourTimeText = e.HourTimeText;
    Label10 = e.Label10;
    MinuteTimeText = e.MinuteTimeText;
    VScroll2 = e.VScroll2;
    Label9 = e.Label9;
    Frame1 = e.Frame1;
    std::tie(Btn_15, Btn_30, Btn_45, Btn_60, Btn_90, Btn_120, Btn_180, Btn_24) = std::tuple_cat(e.presets);
    SystemTRayFrame1 = e.SystemTRayFrame1;
    WWWLink = e.WWWLink;
    AlwaysOnTop1 = e.AlwaysOnTop1;
    Start = e.Start;
    Uhrzeit_Frame1 = e.Uhrzeit_Frame1;
    Line1 = e.Line1;
}

void Form1::buildCountdownPanel()
{
    const CountdownPanel c = tarvo::buildCountdownPanel(CountdownMaske);
    Display2 = c.Display2;
    Display = c.Display;
    MinutenDisplay = c.MinutenDisplay;
    ChangeMinuteHourBtn = c.ChangeMinuteHourBtn;
    TageCaption = c.TageCaption;
    Anz_Minuten = c.Anz_Minuten;
    Check_ForceShutdown = c.Check_ForceShutdown;
    Akustik = c.Akustik;
    AddToTrayIconCheck = c.AddToTrayIconCheck;
    Endzeit_Display = c.Endzeit_Display;
    Uhrzeit_Display = c.Uhrzeit_Display;
    VersionInfoLabel = c.VersionInfoLabel;
    AktiveLED = c.AktiveLED;
    RedPic = c.RedPic;
    LiteGreenPic = c.LiteGreenPic;
    GreenPic = c.GreenPic;
    fitRemainingDisplay();
}

void Form1::buildActionGroup()
{
    for (const ActionRow& row : actionTable())
        m_actionControls.at(static_cast<std::size_t>(row.kind)).option = make<QRadioButton>(Frame3, row.optionName);
    actionOption(ActionKind::Ausschalten)->setChecked(true);
}

void Form1::setKeyboardOrder()
{
    // The action buttons from left to right, then the rest.
    std::vector<QWidget*> order;
    const auto rows = actionTable();
    for (std::size_t i = rows.size(); i-- > 0;)
        order.push_back(actionButton(rows[i].kind));
    order.insert(order.end(),
                 {JetztBtn,          ClassicModeShowTimer, Abbruch,       ZeitEingabe,         CounterHourText,
                  CounterMinuteText, VScroll1,             HourTimeText,  MinuteTimeText,      VScroll2,
                  Btn_15,            Btn_30,               Btn_45,        Btn_60,              Btn_90,
                  Btn_120,           Btn_180,              Btn_24,        Anz_Minuten,         Check_ForceShutdown,
                  Akustik,           AddToTrayIconCheck,   SystemTRayFrame1, Start,            ChangeMinuteHourBtn,
                  Command1});
    for (std::size_t i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void Form1::applyRoundedRegion()
{
    setMask(roundedRegion(size(), 15));
}

} // namespace tarvo
