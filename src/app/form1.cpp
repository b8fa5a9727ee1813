#include "app/form1.h"

#include <cstdio>
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
    QWidget* p = Eingabemaske;
    const QFont big = uiFont(12, true);
    ClassicModeShowTimer = makeButton(p, "ClassicModeShowTimer", QStringLiteral("Timer"), tw(2160, 360, 1515, 375),
                                      false);
    ClassicModeShowTimer->setToolTip(QStringLiteral("Den Timer-Modus einschalten"));
    ClassicModeShowTimer->hide();

    // Reaches further left than its place in the layout, so that "Ruhezustand in:" fits; the text
    // stands right-aligned against the field.
    Display0 = makeLabel(p, "Display0", QStringLiteral("Ausschalten in"), tw(120, 1200, 2145, 300), big,
                         colours::entryText);
    Display0->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Display0->setToolTip(QStringLiteral(
        "Bitte geben Sie die Anzahl der Minuten ein, nach denen Ihr System herunterfahren soll"));

    ZeitEingabe = makeField(p, "ZeitEingabe", tw(2400, 1140, 930, 480), 13.5, false);
    // Typing stops at five characters (see the key handling); text set by Tarvo itself may be longer,
    // so QLineEdit's own limit, which also cuts text set from code, is not used.
    ZeitEingabe->setText(QStringLiteral("60"));
    ZeitEingabe->setToolTip(QStringLiteral("Anzahl der Minuten, nach denen der Timer starten soll"));
    CounterHourText = makeField(p, "CounterHourText", tw(2280, 2880, 540, 480), 13.5, false);
    CounterHourText->setToolTip(QStringLiteral("Anzahl der Stunden nach denen der Timer starten soll"));
    CounterMinuteText = makeField(p, "CounterMinuteText", tw(2760, 2880, 390, 480), 13.5, false);
    CounterMinuteText->setToolTip(QStringLiteral("Anzahl der Minuten, nach denen der Timer starten soll"));
    CounterHourText->hide();
    CounterMinuteText->hide();

    VScroll1 = make<QScrollBar>(p, "VScroll1");
    VScroll1->setOrientation(Qt::Vertical);
    place(VScroll1, 3375, 1140, 420, 480);

    // Label5 ends where "Stunden" ends, and its button stands right beside it instead of under it,
    // where it would cover the day caption.
    Label5 = makeLabel(p, "Label5", QStringLiteral("Minuten"), tw(3960, 1200, 1005, 300), big, colours::entryText);
    Label5->setToolTip(QStringLiteral("Doppelklick ändert zwischen Minuten & Stunden-Anzeige"));
    Label5->setMouseTracking(true);
    Command1 = makeButton(p, "Command1", QStringLiteral("<>"), tw(4980, 1230, 375, 255), true);
    Command1->setToolTip(QStringLiteral("Minuten / Stunden (Anzeige umschalten)"));

    AnzahlTageLabel = makeLabel(p, "AnzahlTageLabel", QString(), tw(3945, 1560, 1455, 195), uiFont(8.25, true),
                                colours::entryText);
    AnzahlTageLabel->setToolTip(QStringLiteral("Wenn die Endzeit nicht am heutigen Tag liegt, wird dies hier "
                                               "angezeigt. Das End-Datum steht in Klammern"));
    AnzahlTageLabel->hide();

    Label8 = makeLabel(p, "Label8", QStringLiteral("End Zeit:"), tw(1170, 1740, 1110, 300), big, colours::entryText);
    Label8->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    HourTimeText = makeField(p, "HourTimeText", tw(2385, 1725, 360, 360), 9.75, true);
    HourTimeText->setToolTip(QStringLiteral("End Zeit (Stunden)"));
    Label10 = makeLabel(p, "Label10", QStringLiteral(":"), tw(2790, 1680, 135, 435), uiFont(13.5, true),
                        highlightTextOn(colours::panel));
    Label10->setAlignment(Qt::AlignCenter);
    MinuteTimeText = makeField(p, "MinuteTimeText", tw(2940, 1725, 360, 360), 9.75, true);
    MinuteTimeText->setToolTip(QStringLiteral("End Zeit (Minuten)"));
    VScroll2 = make<QScrollBar>(p, "VScroll2");
    VScroll2->setOrientation(Qt::Vertical);
    place(VScroll2, 3375, 1725, 405, 375);
    Label9 = makeLabel(p, "Label9", QStringLiteral("Uhr"), tw(3960, 1740, 1095, 375), big, colours::entryText);

    Frame1 = make<QFrame>(p, "Frame1");
    place(Frame1, 270, 2100, 5055, 495);
    Frame1->setToolTip(QStringLiteral(
        "Bitte geben Sie die Anzahl der Minuten ein, nach denen Ihr System herunterfahren soll"));
    struct Preset {
        QPushButton** button;
        const char* name;
        const char* caption;
    };
    const Preset presets[] = {{&Btn_15, "Btn_15", "15 m"},  {&Btn_30, "Btn_30", "30 m"},
                              {&Btn_45, "Btn_45", "45 m"},  {&Btn_60, "Btn_60", "1 h"},
                              {&Btn_90, "Btn_90", "1.5 h"}, {&Btn_120, "Btn_120", "2 h"},
                              {&Btn_180, "Btn_180", "3 h"}, {&Btn_24, "Btn_24", "24 h"}};
    int left = 120;
    for (const Preset& preset : presets) {
        auto* button = makeButton(Frame1, preset.name, QString::fromUtf8(preset.caption), tw(left, 120, 615, 315),
                                  false);
        QPalette palette = button->palette();
        palette.setColor(QPalette::Button, colours::entryText);
        button->setPalette(palette);
        *preset.button = button;
        left += 600;
    }

    SystemTRayFrame1 = makeCheckBox(p, "SystemTRayFrame1", QStringLiteral("zum System Tray minimieren"),
                                    tw(360, 2640, 3135, 255), true);
    SystemTRayFrame1->setToolTip(QStringLiteral("Nach dem Start das Fenster zum System-Tray minimieren.."));
    WWWLink = makeLabel(p, "WWWLink", QStringLiteral("Neue Version?"), tw(3720, 2640, 1455, 255),
                        uiFont(8.25, true, true), colours::link);

    AlwaysOnTop1 = new AlwaysOnTop(*m_services.windowSystem, p);
    AlwaysOnTop1->setObjectName(QStringLiteral("AlwaysOnTop1"));
    // Beside "Uhr" rather than at the top edge, where the compact window would show a slice of it.
    AlwaysOnTop1->move(twipsToPixels(5160), twipsToPixels(1755));

    Start = makeButton(p, "Start", QStringLiteral("Timer &Starten"), tw(360, 3000, 1560, 375), true);
    // The clock labels reach to the right margin: a twelve-hour clock ("11:10:10 PM") is longer.
    Uhrzeit_Frame1 = makeLabel(p, "Uhrzeit_Frame1", QString(), tw(3480, 3120, 1920, 255), uiFont(9.75, true),
                               colours::entryText);
    Uhrzeit_Frame1->setToolTip(QStringLiteral("Die aktuelle Uhrzeit"));

    Line1 = make<QFrame>(p, "Line1");
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Sunken);
    place(Line1, 0, 960 - 15, kWindowWidthTwips, 30);
}

void Form1::buildCountdownPanel()
{
    QWidget* p = CountdownMaske;
    Display2 = makeLabel(p, "Display2", QStringLiteral("Herunterfahren des Systems in:"), tw(0, 1080, 5505, 495),
                         uiFont(12, true), colours::grey);
    Display2->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Display = makeLabel(p, "Display", QStringLiteral("99:00"), tw(1095, 1395, 1305, 555), uiFont(24, true),
                        colours::white);
    MinutenDisplay = makeLabel(p, "MinutenDisplay", QStringLiteral("Stunden"), tw(2520, 1440, 2040, 495),
                               uiFont(18, true), colours::white);
    ChangeMinuteHourBtn = makeButton(p, "ChangeMinuteHourBtn", QStringLiteral("<>"),
                                     tw(kUnitButtonLeftTwips, 1560, 375, 255), true);
    ChangeMinuteHourBtn->setToolTip(QStringLiteral("Minuten / Stunden (Anzeige umschalten)"));
    TageCaption = makeLabel(p, "TageCaption", QString(), tw(2280, 1920, 945, 240), uiFont(9.75, true),
                            colours::grey);
    TageCaption->hide();
    fitRemainingDisplay();

    Anz_Minuten = makeCheckBox(p, "Anz_Minuten", QStringLiteral("Anzeige in Minuten"), tw(480, 2160, 2400, 255),
                               false);
    Check_ForceShutdown = makeCheckBox(p, "Check_ForceShutdown", QStringLiteral("Shutdown erzwingen"),
                                       tw(480, 2400, 2175, 255), true);
    Check_ForceShutdown->setToolTip(
        QStringLiteral("Erzwingt einen Shutdown (Programme werden beendet wenn sie nicht mehr reagieren)"));
    Akustik = makeCheckBox(p, "Akustik", QStringLiteral("Akustische Warnung"), tw(480, 2640, 2535, 255), false);
    AddToTrayIconCheck = makeCheckBox(p, "AddToTrayIconCheck", QStringLiteral("Zum System Tray minimieren"),
                                      tw(480, 2880, 2775, 255), true);
    AddToTrayIconCheck->setToolTip(QStringLiteral("Minimiert dieses Fenster in den System-Tray"));

    Endzeit_Display = makeLabel(p, "Endzeit_Display", QString(), tw(3360, 2520, 1815, 255), uiFont(9.75, true),
                                colours::endTime);
    Uhrzeit_Display = makeLabel(p, "Uhrzeit_Display", QString(), tw(3600, 2880, 1800, 255), uiFont(9.75, true),
                                colours::entryText);
    VersionInfoLabel = makeLabel(p, "VersionInfoLabel", QString(), tw(240, 3240, 3615, 255), uiFont(8.25, false),
                                 colours::link);

    AktiveLED = make<QLabel>(p, "AktiveLED");
    place(AktiveLED, 4875, 3195, 315, 270);
    AktiveLED->setToolTip(QStringLiteral("Zum Pausieren / Fortsetzen hier klicken"));
    const QSize ledSize = AktiveLED->size();
    RedPic = make<QLabel>(p, "RedPic");
    LiteGreenPic = make<QLabel>(p, "LiteGreenPic");
    GreenPic = make<QLabel>(p, "GreenPic");
    RedPic->setPixmap(assetPixmap(QStringLiteral("led_red"), ledSize, devicePixelRatioF()));
    LiteGreenPic->setPixmap(assetPixmap(QStringLiteral("led_litegreen"), ledSize, devicePixelRatioF()));
    GreenPic->setPixmap(assetPixmap(QStringLiteral("led_green"), ledSize, devicePixelRatioF()));
    for (QLabel* store : {RedPic, LiteGreenPic, GreenPic})
        store->hide();
    AktiveLED->setPixmap(GreenPic->pixmap());
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
