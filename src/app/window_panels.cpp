#include "app/window_panels.h"

#include <algorithm>
#include <cstddef>

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include "app/widget_builders.h"
#include "base/controls.h"
#include "base/look.h"
#include "base/twips.h"
#include "shell/always_on_top.h"

namespace tarvo {

namespace {

QFrame* makeMask(QWidget* window, const char* name, int top)
{
    QFrame* mask = makePanel(window, name);
    place(mask, 0, top, 5550, 3615);
    mask->setToolTip(QStringLiteral("Doppelklick minimiert das Fenster"));
    return mask;
}

} // namespace

EntryPanel buildEntryPanel(QWidget* window, WindowSystem& windowSystem)
{
    QFrame* Eingabemaske = makeMask(window, "Eingabemaske", 1800);
    QWidget* p = Eingabemaske;
    const QFont big = uiFont(12, true);
    auto* ClassicModeShowTimer
        = makeButton(p, "ClassicModeShowTimer", QStringLiteral("Timer"), tw(2160, 360, 1515, 375), false);
    ClassicModeShowTimer->setToolTip(QStringLiteral("Den Timer-Modus einschalten"));
    ClassicModeShowTimer->hide();

    // Reaches further left than its place in the layout, so that "Ruhezustand in:" fits; the text
    // stands right-aligned against the field.
    auto* Display0
        = makeLabel(p, "Display0", QStringLiteral("Ausschalten in"), tw(120, 1200, 2145, 300), big, colours::entryText);
    Display0->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Display0->setToolTip(
        QStringLiteral("Bitte geben Sie die Anzahl der Minuten ein, nach denen Ihr System herunterfahren soll"));

    auto* ZeitEingabe = makeField(p, "ZeitEingabe", tw(2400, 1140, 930, 480), 13.5, false);
    // Typing stops at five characters (see the key handling); text set by Tarvo itself may be longer,
    // so QLineEdit's own limit, which also cuts text set from code, is not used.
    ZeitEingabe->setText(QStringLiteral("60"));
    ZeitEingabe->setToolTip(QStringLiteral("Anzahl der Minuten, nach denen der Timer starten soll"));
    auto* CounterHourText = makeField(p, "CounterHourText", tw(2280, 2880, 540, 480), 13.5, false);
    CounterHourText->setToolTip(QStringLiteral("Anzahl der Stunden nach denen der Timer starten soll"));
    auto* CounterMinuteText = makeField(p, "CounterMinuteText", tw(2760, 2880, 390, 480), 13.5, false);
    CounterMinuteText->setToolTip(QStringLiteral("Anzahl der Minuten, nach denen der Timer starten soll"));
    CounterHourText->hide();
    CounterMinuteText->hide();

    auto* VScroll1 = make<QScrollBar>(p, "VScroll1");
    VScroll1->setOrientation(Qt::Vertical);
    place(VScroll1, 3375, 1140, 420, 480);

    // Label5 ends where "Stunden" ends, and its button stands right beside it instead of under it,
    // where it would cover the day caption.
    auto* Label5
        = makeLabel(p, "Label5", QStringLiteral("Minuten"), tw(3960, 1200, 1005, 300), big, colours::entryText);
    Label5->setToolTip(QStringLiteral("Doppelklick ändert zwischen Minuten & Stunden-Anzeige"));
    Label5->setMouseTracking(true);
    auto* Command1 = makeButton(p, "Command1", QStringLiteral("<>"), tw(4980, 1230, 375, 255), true);
    Command1->setToolTip(QStringLiteral("Minuten / Stunden (Anzeige umschalten)"));

    auto* AnzahlTageLabel
        = makeLabel(p, "AnzahlTageLabel", QString(), tw(3945, 1560, 1455, 195), uiFont(8.25, true), colours::entryText);
    AnzahlTageLabel->setToolTip(QStringLiteral("Wenn die Endzeit nicht am heutigen Tag liegt, wird dies hier "
                                               "angezeigt. Das End-Datum steht in Klammern"));
    AnzahlTageLabel->hide();

    auto* Label8
        = makeLabel(p, "Label8", QStringLiteral("End Zeit:"), tw(1170, 1740, 1110, 300), big, colours::entryText);
    Label8->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* HourTimeText = makeField(p, "HourTimeText", tw(2385, 1725, 360, 360), 9.75, true);
    HourTimeText->setToolTip(QStringLiteral("End Zeit (Stunden)"));
    auto* Label10 = makeLabel(p, "Label10", QStringLiteral(":"), tw(2790, 1680, 135, 435), uiFont(13.5, true),
        highlightTextOn(colours::panel));
    Label10->setAlignment(Qt::AlignCenter);
    auto* MinuteTimeText = makeField(p, "MinuteTimeText", tw(2940, 1725, 360, 360), 9.75, true);
    MinuteTimeText->setToolTip(QStringLiteral("End Zeit (Minuten)"));
    auto* VScroll2 = make<QScrollBar>(p, "VScroll2");
    VScroll2->setOrientation(Qt::Vertical);
    place(VScroll2, 3375, 1725, 405, 375);
    auto* Label9 = makeLabel(p, "Label9", QStringLiteral("Uhr"), tw(3960, 1740, 1095, 375), big, colours::entryText);

    auto* Frame1 = make<QFrame>(p, "Frame1");
    place(Frame1, 270, 2100, 5055, 495);
    Frame1->setToolTip(
        QStringLiteral("Bitte geben Sie die Anzahl der Minuten ein, nach denen Ihr System herunterfahren soll"));
    struct Preset {
        const char* name;
        const char* caption;
        const char* tip;
    };
    const std::array<Preset, 8> presets { { { "Btn_15", "15 m", "15 Minuten" }, { "Btn_30", "30 m", "30 Minuten" },
        { "Btn_45", "45 m", "45 Minuten" }, { "Btn_60", "1 h", "60 Minuten  (1 Stunde)" },
        { "Btn_90", "1.5 h", "90 Minuten  (1 1/2 Stunden)" }, { "Btn_120", "2 h", "120 Minuten (2 Stunden)" },
        { "Btn_180", "3 h", "180 Minuten (3 Stunden)" }, { "Btn_24", "24 h", "1440 Minuten (24 Stunden)" } } };
    std::array<QPushButton*, 8> presetButtons {};
    for (std::size_t i = 0; i < presets.size(); ++i) {
        auto* button = makeButton(Frame1, presets[i].name, QString::fromUtf8(presets[i].caption),
            tw(120 + 600 * static_cast<int>(i), 120, 615, 315), false);
        button->setToolTip(QString::fromUtf8(presets[i].tip));
        button->setFocusPolicy(Qt::StrongFocus);
        QPalette palette = button->palette();
        palette.setColor(QPalette::Button, colours::entryText);
        button->setPalette(palette);
        presetButtons.at(i) = button;
    }

    auto* SystemTRayFrame1 = makeCheckBox(
        p, "SystemTRayFrame1", QStringLiteral("zum System Tray minimieren"), tw(360, 2640, 3135, 255), true);
    SystemTRayFrame1->setToolTip(QStringLiteral("Nach dem Start das Fenster zum System-Tray minimieren.."));
    auto* WWWLink = makeLabel(p, "WWWLink", QStringLiteral("Neue Version?"), tw(3720, 2640, 1455, 255),
        uiFont(8.25, true, true), colours::link);

    auto* AlwaysOnTop1 = new AlwaysOnTop(windowSystem, p);
    AlwaysOnTop1->setObjectName(QStringLiteral("AlwaysOnTop1"));
    // Beside "Uhr" rather than at the top edge, where the compact window would show a slice of it.
    AlwaysOnTop1->move(twipsToPixels(5160), twipsToPixels(1755));

    auto* Start = makeButton(p, "Start", QStringLiteral("Timer &Starten"), tw(360, 3000, 1560, 375), true);
    Start->setToolTip(QStringLiteral("Timer starten (Fenster wird minimiert)"));
    // The clock labels reach to the right margin: a twelve-hour clock ("11:10:10 PM") is longer.
    auto* Uhrzeit_Frame1
        = makeLabel(p, "Uhrzeit_Frame1", QString(), tw(3480, 3120, 1920, 255), uiFont(9.75, true), colours::entryText);
    Uhrzeit_Frame1->setToolTip(QStringLiteral("Die aktuelle Uhrzeit"));

    auto* Line1 = make<QFrame>(p, "Line1");
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Sunken);
    place(Line1, 0, 960 - 15, kWindowWidthTwips, 30);
    return { Eingabemaske, ClassicModeShowTimer, Display0, ZeitEingabe, CounterHourText, CounterMinuteText, VScroll1, Label5,
        Command1, AnzahlTageLabel, Label8, HourTimeText, Label10, MinuteTimeText, VScroll2, Label9, Frame1,
        presetButtons, SystemTRayFrame1, WWWLink, AlwaysOnTop1, Start, Uhrzeit_Frame1, Line1 };
}

CountdownPanel buildCountdownPanel(QWidget* window)
{
    QFrame* CountdownMaske = makeMask(window, "CountdownMaske", 0);
    CountdownMaske->hide();
    QWidget* p = CountdownMaske;
    auto* Display2 = makeLabel(p, "Display2", QStringLiteral("Herunterfahren des Systems in:"), tw(0, 1080, 5505, 495),
        uiFont(12, true), colours::grey);
    Display2->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    auto* Display
        = makeLabel(p, "Display", QStringLiteral("99:00"), tw(1095, 1395, 1305, 555), uiFont(24, true), colours::white);
    Display->setToolTip(QStringLiteral("und die Zeit läuft....     ;-)"));
    auto* MinutenDisplay = makeLabel(
        p, "MinutenDisplay", QStringLiteral("Stunden"), tw(2520, 1440, 2040, 495), uiFont(18, true), colours::white);
    auto* ChangeMinuteHourBtn
        = makeButton(p, "ChangeMinuteHourBtn", QStringLiteral("<>"), tw(kUnitButtonLeftTwips, 1560, 375, 255), true);
    ChangeMinuteHourBtn->setToolTip(QStringLiteral("Minuten / Stunden (Anzeige umschalten)"));
    auto* TageCaption
        = makeLabel(p, "TageCaption", QString(), tw(2280, 1920, 945, 240), uiFont(9.75, true), colours::grey);
    TageCaption->hide();

    auto* Anz_Minuten
        = makeCheckBox(p, "Anz_Minuten", QStringLiteral("Anzeige in Minuten"), tw(480, 2160, 2400, 255), false);
    Anz_Minuten->setToolTip(QStringLiteral("Countdown-Anzeigen in Stunden:Minuten oder nur in Minuten "));
    auto* Check_ForceShutdown
        = makeCheckBox(p, "Check_ForceShutdown", QStringLiteral("Shutdown erzwingen"), tw(480, 2400, 2175, 255), true);
    Check_ForceShutdown->setToolTip(
        QStringLiteral("Erzwingt einen Shutdown (Programme werden beendet wenn sie nicht mehr reagieren)"));
    auto* Akustik = makeCheckBox(p, "Akustik", QStringLiteral("Akustische Warnung"), tw(480, 2640, 2535, 255), false);
    Akustik->setToolTip(QStringLiteral("Warnung + Pieptöne in den letzten 20 Sekunden vor dem Beenden"));
    auto* AddToTrayIconCheck = makeCheckBox(
        p, "AddToTrayIconCheck", QStringLiteral("Zum System Tray minimieren"), tw(480, 2880, 2775, 255), true);
    AddToTrayIconCheck->setToolTip(QStringLiteral("Minimiert dieses Fenster in den System-Tray"));

    auto* Endzeit_Display
        = makeLabel(p, "Endzeit_Display", QString(), tw(3360, 2520, 1815, 255), uiFont(9.75, true), colours::endTime);
    Endzeit_Display->setToolTip(QStringLiteral("Die vorraussichtliche Zeit des System-Herunterfahrens..."));
    auto* Uhrzeit_Display
        = makeLabel(p, "Uhrzeit_Display", QString(), tw(3600, 2880, 1800, 255), uiFont(9.75, true), colours::entryText);
    Uhrzeit_Display->setToolTip(QStringLiteral("...gestern war heute noch morgen..."));
    auto* VersionInfoLabel
        = makeLabel(p, "VersionInfoLabel", QString(), tw(240, 3240, 3615, 255), uiFont(8.25, false), colours::link);

    auto* AktiveLED = make<QLabel>(p, "AktiveLED");
    place(AktiveLED, 4875, 3195, 315, 270);
    AktiveLED->setToolTip(QStringLiteral("Zum Pausieren / Fortsetzen hier klicken"));
    const QSize ledSize = AktiveLED->size();
    auto* RedPic = make<QLabel>(p, "RedPic");
    auto* LiteGreenPic = make<QLabel>(p, "LiteGreenPic");
    auto* GreenPic = make<QLabel>(p, "GreenPic");
    RedPic->setPixmap(assetPixmap(QStringLiteral("led_red"), ledSize, p->devicePixelRatioF()));
    LiteGreenPic->setPixmap(assetPixmap(QStringLiteral("led_litegreen"), ledSize, p->devicePixelRatioF()));
    GreenPic->setPixmap(assetPixmap(QStringLiteral("led_green"), ledSize, p->devicePixelRatioF()));
    for (QLabel* store : { RedPic, LiteGreenPic, GreenPic })
        store->hide();
    AktiveLED->setPixmap(GreenPic->pixmap());
    const CountdownPanel built { CountdownMaske, Display2, Display, MinutenDisplay, ChangeMinuteHourBtn, TageCaption,
        Anz_Minuten, Check_ForceShutdown, Akustik, AddToTrayIconCheck, Endzeit_Display, Uhrzeit_Display,
        VersionInfoLabel, AktiveLED, RedPic, LiteGreenPic, GreenPic };
    fitRemainingDisplay(built);
    return built;
}

void useAsSpinButtons(const EntryPanel& panel)
{
    for (QScrollBar* bar : {panel.VScroll1, panel.VScroll2}) {
        bar->setSingleStep(1);
        bar->setPageStep(1);
        // A dragged thumb changes the value once, when it is let go: one step.
        bar->setTracking(false);
        // Clicks and the wheel take the focus first, so a field being left is validated before
        // the step is applied to the duration.
        bar->setFocusPolicy(Qt::WheelFocus);
    }
}

void fitRemainingDisplay(const CountdownPanel& panel)
{
    const QRect beside = twipsRect(240, 1395, 2160, 555);
    if (panel.MinutenDisplay->isHidden()) {
        panel.Display->setGeometry(0, beside.y(), twipsToPixels(kWindowWidthTwips), beside.height());
        panel.Display->setAlignment(Qt::AlignCenter);
    } else {
        panel.Display->setGeometry(beside);
        panel.Display->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
}

void placeUnitButton(const CountdownPanel& panel)
{
    // Laid out for "Minuten" and "Stunden"; the wider "Sekunden" pushes the button right by as much.
    const QLabel* unit = panel.MinutenDisplay;
    const QFontMetrics metrics(unit->font());
    const int designed = twipsToPixels(kUnitButtonLeftTwips);
    const int widest = std::max(metrics.horizontalAdvance(QStringLiteral("Minuten")),
                                metrics.horizontalAdvance(QStringLiteral("Stunden")));
    const int gap = designed - (unit->x() + widest);
    const int left = std::max(designed, unit->x() + metrics.horizontalAdvance(unit->text()) + gap);
    panel.ChangeMinuteHourBtn->move(left, panel.ChangeMinuteHourBtn->y());
}

} // namespace tarvo
