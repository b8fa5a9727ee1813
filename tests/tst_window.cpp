#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QTest>

#include "app/look.h"
#include "shell/always_on_top.h"
#include "shell/system_tray.h"
#include "window_states.h"

using namespace tarvo;
using namespace tarvo::test;

namespace {

// Where a control draws, in window coordinates: a label's glyphs, a check box up to its text's end,
// any other control's face; panels and frames draw only background.
QRect inkRect(QWidget* w, QWidget* window)
{
    QRect r = w->rect();
    if (auto* label = qobject_cast<QLabel*>(w)) {
        if (label->text().isEmpty())
            return label->pixmap().isNull() ? QRect() : w->rect().translated(w->mapTo(window, QPoint()));
        const QFontMetrics fm = label->fontMetrics();
        const QRect line
            = w->style()->itemTextRect(fm, w->contentsRect(), int(label->alignment()), true, label->text());
        r = fm.tightBoundingRect(label->text()).translated(line.left(), line.top() + fm.ascent());
    } else if (auto* box = qobject_cast<QCheckBox*>(w)) {
        r.setWidth(std::min(r.width(), box->sizeHint().width()));
    } else if (qobject_cast<QFrame*>(w) && w->objectName() != QLatin1String("Line1")) {
        return {};
    }
    return r.translated(w->mapTo(window, QPoint()));
}

// What a user would see amiss: texts cut off by their box, controls cut by the window's edge,
// controls drawn over each other (neighbours sharing one border pixel are fine).
QStringList layoutProblems(Form1& f)
{
    QStringList problems;
    std::vector<std::pair<QWidget*, QRect>> inks;
    for (QWidget* w : f.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&f) || w == f.Picture1 || w == f.InfoField || w->parentWidget() == f.AlwaysOnTop1)
            continue;
        QString text;
        if (auto* label = qobject_cast<QLabel*>(w))
            text = label->text();
        else if (auto* button = qobject_cast<QAbstractButton*>(w))
            text = button->text().remove(QLatin1Char('&'));
        else if (auto* field = qobject_cast<QLineEdit*>(w))
            text = field->text();
        const int margin = qobject_cast<QLabel*>(w) ? 0 : 4;
        const int needed
            = qobject_cast<QCheckBox*>(w) ? w->sizeHint().width() : w->fontMetrics().horizontalAdvance(text) + margin;
        if (!text.isEmpty() && (needed > w->contentsRect().width() || w->fontMetrics().height() > w->height()))
            problems << QStringLiteral("%1 \"%2\" clipped").arg(w->objectName(), text);
        const QRect ink = inkRect(w, &f);
        if (ink.isEmpty() || !ink.intersects(f.rect()))
            continue;
        if (!f.rect().contains(ink))
            problems << w->objectName() + QStringLiteral(" cut by the window's edge");
        for (const auto& [other, otherInk] : inks) {
            const QRect common = ink.intersected(otherInk);
            if (common.width() > 1 && common.height() > 1 && !w->isAncestorOf(other) && !other->isAncestorOf(w))
                problems << QStringLiteral("%1 overlaps %2").arg(w->objectName(), other->objectName());
        }
        inks.emplace_back(w, ink);
    }
    return problems;
}

// What the window system delivers for a double-click: the second press comes as the double-click.
void doubleClick(QWidget* w)
{
    for (QEvent::Type type : { QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
             QEvent::MouseButtonRelease })
        mouse(w, type, Qt::LeftButton);
}

} // namespace

class TestWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void growsOnceToFullHeight()
    {
        const auto h = loaded();
        QCOMPARE(h->form->size(), QSize(367, 185));
        h->form->NeustartBtn->click();
        h->form->StandbyBtn->click();
        QCOMPARE(h->form->size(), QSize(367, 361));
    }

    void layoutIsClean_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("locale");
        for (const WindowState& state : windowStates())
            QTest::newRow(state.name) << state.name << "de_DE";
        QTest::newRow("countdown, twelve-hour clock") << "countdown"
                                                      << "en_US";
    }
    void layoutIsClean()
    {
        QFETCH(QString, state);
        QFETCH(QString, locale);
        QLocale::setDefault(QLocale(locale));
        const auto h = windowIn(windowState(qPrintable(state)));
        QLocale::setDefault(QLocale::c());
        const QStringList problems = layoutProblems(*h->form);
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QStringLiteral("; "))));
    }

    // The dark panels show through the labels and check boxes.
    void textsHaveNoBackground()
    {
        const auto h = windowIn(windowState("paused"));
        Form1& f = *h->form;
        for (QWidget* w : std::initializer_list<QWidget*> { f.Display, f.MinutenDisplay, f.Display2, f.Endzeit_Display,
                 f.Check_ForceShutdown, f.Label4, f.Display0, f.Label5 }) {
            QImage image(w->size(), QImage::Format_RGB32);
            image.fill(Qt::red);
            QPainter painter(&image);
            w->render(&painter, {}, {}, QWidget::DrawChildren);
            painter.end();
            int untouched = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    untouched += image.pixel(x, y) == qRgb(255, 0, 0);
            QVERIFY2(untouched * 3 > image.width() * image.height(), qPrintable(w->objectName()));
        }
    }

    void minimiseRules_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("gesture");
        QTest::addColumn<bool>("minimises");
        for (const char* name : { "Picture1", "Abdeckung", "Eingabemaske", "CountdownMaske", "Display0", "Label8",
                 "Label9", "Uhrzeit_Frame1", "Display", "MinutenDisplay", "Display2", "Endzeit_Display",
                 "Uhrzeit_Display", "VersionInfoLabel" })
            QTest::addRow("%s double-click", name) << name << "double" << true;
        for (const char* name : { "Picture1", "Eingabemaske", "CountdownMaske", "Label1", "Display", "AktiveLED" }) {
            QTest::addRow("%s right", name) << name << "right" << (qstrcmp(name, "AktiveLED") != 0);
            QTest::addRow("%s shift right", name) << name << "shift right" << false;
        }
        for (const char* name : { "Display2", "Akustik", "AddToTrayIconCheck" }) {
            QTest::addRow("%s right, moved", name) << name << "right moved" << true;
            QTest::addRow("%s shift right, moved", name) << name << "shift right moved" << false;
        }
        for (const char* name : { "Btn_15", "MinutenDisplay", "Label5", "Label10" })
            QTest::addRow("%s right", name) << name << "right" << false;
    }
    void minimiseRules()
    {
        QFETCH(QString, control);
        QFETCH(QString, gesture);
        QFETCH(bool, minimises);
        for (const bool tray : { true, false }) {
            const auto h = loaded();
            Form1& f = *h->form;
            f.AddToTrayIconCheck->setChecked(tray);
            QWidget* w = f.findChild<QWidget*>(control);
            const auto mods = gesture.startsWith(QLatin1String("shift")) ? Qt::ShiftModifier : Qt::NoModifier;
            if (gesture == QLatin1String("double"))
                doubleClick(w);
            else
                mouse(w, QEvent::MouseButtonPress, Qt::RightButton, {}, mods);
            if (gesture.endsWith(QLatin1String("moved")))
                mouse(w, QEvent::MouseMove, Qt::NoButton, Qt::RightButton, mods, { 4, 4 });
            // To the tray, titled as the window, or to the taskbar.
            QCOMPARE(f.isHidden(), minimises && tray);
            QCOMPARE(f.isMinimized(), minimises && !tray);
            if (minimises && tray)
                QCOMPARE(h->windowSystem->trayIcons.back()->toolTips.back(), f.windowTitle());
        }
    }

    void escapeActsAsExit()
    {
        const auto h = windowIn(windowState("countdown"));
        Form1& f = *h->form;
        f.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        QTest::keyClick(f.Akustik, Qt::Key_Escape); // during a countdown: cancel
        QVERIFY(f.CountdownMaske->isHidden());
        QVERIFY(h->app->endings.empty());
        QTest::keyClick(f.ZeitEingabe, Qt::Key_Escape); // in the entry panel: quit
        QCOMPARE(h->app->endings, std::vector<int> { 0 });
    }

    void infoIcon()
    {
        const auto h = loaded();
        Form1& f = *h->form;
        hoverInfoField(f);
        QVERIFY(f.LightFlag->isVisible());
        mouse(f.Picture1, QEvent::MouseMove, Qt::NoButton, {}, {}, { 20, 20 }); // the band's background
        QVERIFY(!f.LightFlag->isVisible());
        hoverInfoField(f);
        mouse(f.Eingabemaske, QEvent::MouseMove, Qt::NoButton);
        QVERIFY(!f.LightFlag->isVisible());
        hoverInfoField(f);
        h->windowSystem->keepAbove.clear();
        QTest::mouseClick(f.LightFlag, Qt::LeftButton);
        QCOMPARE(h->dialogs->modalDialogs.size(), 1);
        QVERIFY(!f.LightFlag->isVisible());
        QCOMPARE(h->windowSystem->keepAbove, (std::vector<bool> { false, false })); // not on top afterwards
    }

    void trayBoxes()
    {
        const auto h = loaded();
        Form1& f = *h->form;
        f.ShowFullWindow();
        QTest::mouseClick(f.SystemTRayFrame1, Qt::LeftButton);
        QVERIFY(!f.SystemTRayFrame1->isChecked() && !f.AddToTrayIconCheck->isChecked());
        QCOMPARE(f.focusWidget(), f.Start);
        QTest::mouseClick(f.SystemTRayFrame1, Qt::LeftButton);
        QVERIFY(f.SystemTRayFrame1->isChecked() && f.AddToTrayIconCheck->isChecked());
        QVERIFY(f.isVisible()); // checked in the entry panel: the window stays
        mouse(f.SystemTRayFrame1, QEvent::MouseButtonPress, Qt::RightButton);
        QVERIFY(f.isHidden()); // a handle like its neighbours
    }

    void entryModeSwitch()
    {
        const auto h = loaded();
        Form1& f = *h->form;
        f.ShowFullWindow();
        f.SetMinutes(135);
        f.Command1->click();
        QCOMPARE(f.Label5->text(), QStringLiteral("Stunden"));
        QVERIFY(f.ZeitEingabe->isHidden() && f.CounterHourText->isVisible() && f.CounterMinuteText->isVisible());
        QCOMPARE(f.CounterHourText->text() + f.CounterMinuteText->text(), QStringLiteral("215"));
        QCOMPARE(f.focusWidget(), f.CounterHourText);
        doubleClick(f.Label5); // switches once
        QCOMPARE(f.Label5->text(), QStringLiteral("Minuten"));
        QCOMPARE(f.ScrollbarFocus, std::int16_t { 1 });
        QVERIFY(f.ZeitEingabe->isVisible() && f.CounterHourText->isHidden() && f.CounterMinuteText->isHidden());
        QCOMPARE(f.ZeitEingabe->text(), QStringLiteral("135"));

        setTextColour(f.WWWLink, Qt::yellow);
        mouse(f.Label5, QEvent::MouseMove, Qt::NoButton);
        QCOMPARE(textColour(f.Label5), highlightTextOn(colours::panel));
        mouse(f.Eingabemaske, QEvent::MouseMove, Qt::NoButton);
        QCOMPARE(textColour(f.Label5), colours::entryText);
        QCOMPARE(textColour(f.WWWLink), colours::link);
    }

    void selectionTexts_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QStringList>("texts"); // JetztBtn, Display2, Display0
        QTest::newRow("shut down") << "Check_Runterfahren"
                                   << QStringList { "Sofort ausschalten", "Herunterfahren des Systems in",
                                          "Ausschalten in:" };
        QTest::newRow("restart") << "Check_NeuStarten"
                                 << QStringList { "Sofort neustarten", "Neustart des Systems in", "Neustart in:" };
        QTest::newRow("standby") << "Check_Standby"
                                 << QStringList { "Sofort Standby", "Aktivierung des Standy-Modus in", "Standby in:" };
        QTest::newRow("hibernate") << "Check_Ruhezustand"
                                   << QStringList { "Ruhezustand", "Aktivierung des Ruhezustands in",
                                          "Ruhezustand in:" };
        QTest::newRow("log off") << "Check_LogOff"
                                 << QStringList { "Sofort abmelden", "Abmelden des Benutzers in", "Abmelden in:" };
    }
    void selectionTexts()
    {
        QFETCH(QString, option);
        QFETCH(QStringList, texts);
        const auto h = loaded();
        Form1& f = *h->form;
        for (const bool ticked : { true, false }) {
            f.Check_ForceShutdown->setChecked(ticked);
            f.findChild<QRadioButton*>(option)->setChecked(true);
            f.ShowSelectedAction();
            QCOMPARE((QStringList { f.JetztBtn->text(), f.Display2->text(), f.Display0->text() }), texts);
            // Only shutting down can be forced; the tick stays for when it is selected again.
            QCOMPARE(f.Check_ForceShutdown->isEnabled(), option == QLatin1String("Check_Runterfahren"));
            QCOMPARE(f.Check_ForceShutdown->isChecked(), ticked);
            f.Check_Runterfahren->setChecked(true);
            f.ShowSelectedAction();
            QVERIFY(f.Check_ForceShutdown->isEnabled());
            QCOMPARE(f.Check_ForceShutdown->isChecked(), ticked);
        }
    }

    void selectionKeepsFocusWhileCounting()
    {
        const auto h = windowIn(windowState("countdown"));
        h->form->Check_LogOff->setChecked(true);
        h->form->ShowSelectedAction();
        QCOMPARE(h->form->focusWidget(), h->form->Abbruch);
    }

    void initializeResets()
    {
        const auto h = loaded();
        Form1& f = *h->form;
        h->clock->time.setTime(QTime(9, 5, 59));
        f.setWindowTitle(QStringLiteral("x"));
        f.VScroll1->setValue(40);
        f.Initialize();
        QCOMPARE(f.windowTitle(), QStringLiteral("Tarvo"));
        QCOMPARE(f.Uhrzeit_Display->text(), QStringLiteral("Zeit:9:5"));
        for (QScrollBar* bar : { f.VScroll1, f.VScroll2 })
            QCOMPARE((QList<int> { bar->value(), bar->minimum(), bar->maximum() }), (QList<int> { 3, -100, 100 }));
    }
};

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
