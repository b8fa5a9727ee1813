// The main window itself: its layout and what a screen reader meets in every state, the mouse rules
// of its passive parts, the info icon, the tray boxes, the entry-mode switch and the force box.
#include <QAccessible>
#include <QRegularExpression>
#include <QStyle>

#include "info/info_dialog.h"
#include "window_states.h"

using namespace tarvo;
using namespace tarvo::test;
using namespace Qt::StringLiterals;

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
    } else if (qobject_cast<QFrame*>(w) && w->objectName() != "Line1"_L1) {
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
        if (!w->isVisibleTo(&f) || w == control<QLabel>(f, "Picture1") || w == control<QLabel>(f, "InfoField") || w->parentWidget() == control<AlwaysOnTop>(f, "AlwaysOnTop1"))
            continue;
        const QString text = w->property("text").toString().remove(qobject_cast<QAbstractButton*>(w) ? u"&"_s : QString());
        const int margin = qobject_cast<QLabel*>(w) ? 0 : 4;
        const int needed
            = qobject_cast<QCheckBox*>(w) ? w->sizeHint().width() : w->fontMetrics().horizontalAdvance(text) + margin;
        if (!text.isEmpty() && (needed > w->contentsRect().width() || w->fontMetrics().height() > w->height()))
            problems << u"%1 \"%2\" clipped"_s.arg(w->objectName(), text);
        const QRect ink = inkRect(w, &f);
        if (ink.isEmpty() || !ink.intersects(f.rect()))
            continue;
        if (!f.rect().contains(ink))
            problems << w->objectName() + u" cut by the window's edge"_s;
        for (const auto& [other, otherInk] : inks) {
            const QRect common = ink.intersected(otherInk);
            if (common.width() > 1 && common.height() > 1 && !w->isAncestorOf(other) && !other->isAncestorOf(w))
                problems << u"%1 overlaps %2"_s.arg(w->objectName(), other->objectName());
        }
        inks.emplace_back(w, ink);
    }
    return problems;
}

// The shown controls one can reach or work that lack a name or a description (a tooltip serves as
// one), as "objectName: what". A caption such as "<>" names nothing.
QStringList unnamed(QWidget& window)
{
    static const QList<QAccessible::Role> roles{QAccessible::PushButton,   QAccessible::CheckBox,  QAccessible::RadioButton,
                                                QAccessible::EditableText, QAccessible::ScrollBar, QAccessible::Link};
    QStringList found;
    const std::function<void(QAccessibleInterface*)> walk = [&](QAccessibleInterface* item) {
        if (item == nullptr || item->state().invisible)
            return;
        if (roles.contains(item->role()) || item->state().focusable) {
            const QString name = item->object() ? item->object()->objectName() : u"?"_s;
            if (!item->text(QAccessible::Name).contains(QRegularExpression(u"\\p{L}"_s)))
                found << name + u": no name"_s;
            if (item->text(QAccessible::Description).trimmed().isEmpty())
                found << name + u": no description"_s;
        }
        for (int i = 0; i < item->childCount(); ++i)
            walk(item->child(i));
    };
    window.show();
    walk(QAccessible::queryAccessibleInterface(&window));
    return found;
}

} // namespace

class TestWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanAndNamed_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("locale");
        for (const WindowState& state : windowStates())
            QTest::newRow(state.name) << state.name << "de_DE";
        QTest::newRow("countdown, twelve-hour clock") << "countdown" << "en_US";
    }
    void cleanAndNamed()
    {
        QFETCH(QString, state);
        QFETCH(QString, locale);
        QLocale::setDefault(QLocale(locale));
        const auto h = windowIn(windowState(qPrintable(state)));
        QLocale::setDefault(QLocale::c());
        QCOMPARE(layoutProblems(*h->form), QStringList());
        QCOMPARE(unnamed(*h->form), QStringList());
    }

    void infoDialogNamed()
    {
        const auto h = loaded();
        InfoDialog dialog(h->form.get(), u"1.0"_s, u"https://example.org/"_s, *h->dialogs, *h->desktop);
        QCOMPARE(unnamed(dialog), QStringList());
        QCOMPARE(QAccessible::queryAccessibleInterface(control(*h->form, "NeustartBtn"))->text(QAccessible::Name),
                 u"Aktion Neustart"_s);
    }

    void minimiseRules_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("gesture");
        QTest::addColumn<bool>("minimises");
        for (const char* name : {"Picture1", "Abdeckung", "Eingabemaske", "CountdownMaske", "Display0", "Label8",
                                 "Label9", "Uhrzeit_Frame1", "Display", "MinutenDisplay", "Display2",
                                 "Endzeit_Display", "Uhrzeit_Display", "VersionInfoLabel"})
            QTest::addRow("%s double-click", name) << name << "double" << true;
        for (const char* name : {"Picture1", "Eingabemaske", "CountdownMaske", "Label1", "Display", "AktiveLED"}) {
            QTest::addRow("%s right", name) << name << "right" << (qstrcmp(name, "AktiveLED") != 0);
            QTest::addRow("%s shift right", name) << name << "shift right" << false;
        }
        for (const char* name : {"Display2", "Akustik", "AddToTrayIconCheck"}) {
            QTest::addRow("%s right, moved", name) << name << "right moved" << true;
            QTest::addRow("%s shift right, moved", name) << name << "shift right moved" << false;
        }
        for (const char* name : {"Btn_15", "MinutenDisplay", "Label5", "Label10"})
            QTest::addRow("%s right", name) << name << "right" << false;
    }
    void minimiseRules()
    {
        QFETCH(QString, name);
        QFETCH(QString, gesture);
        QFETCH(bool, minimises);
        const auto h = loaded();
        QWidget* w = control(*h->form, qPrintable(name));
        const auto mods = gesture.startsWith("shift"_L1) ? Qt::ShiftModifier : Qt::NoModifier;
        if (gesture == "double"_L1)
            doubleClick(w);
        else
            mouse(w, QEvent::MouseButtonPress, Qt::RightButton, {}, mods);
        if (gesture.endsWith("moved"_L1))
            mouse(w, QEvent::MouseMove, Qt::NoButton, Qt::RightButton, mods, {4, 4});
        // To the tray (the tray box is ticked at first), titled as the window.
        const QString tip = minimises ? h->form->windowTitle() : u"-"_s;
        QCOMPARE(seen(*h, u"hidden; tip"_s), u"hidden=%1; tip=%2"_s.arg(minimises).arg(tip));
    }

    void infoIcon()
    {
        const auto h = loaded();
        Form1& f = *h->form;
        hoverInfoField(f);
        QVERIFY(control<QLabel>(f, "LightFlag")->isVisible());
        mouse(control<QLabel>(f, "Picture1"), QEvent::MouseMove, Qt::NoButton, {}, {}, {20, 20}); // the band's background
        QVERIFY(!control<QLabel>(f, "LightFlag")->isVisible());
        hoverInfoField(f);
        h->windowSystem->keepAbove.clear();
        QTest::mouseClick(control<QLabel>(f, "LightFlag"), Qt::LeftButton);
        QCOMPARE(h->dialogs->modalDialogs, QStringList{"InfoDialog"});
        QVERIFY(!control<QLabel>(f, "LightFlag")->isVisible());
        QCOMPARE(h->windowSystem->keepAbove, (std::vector<bool>{false, false})); // not on top afterwards
    }

    // The tray boxes, the entry-mode switch and the force box: only shutting down can be forced, the
    // tick stays for when it is selected again, and while counting the focus stays on the cancel button.
    void userActions_data()
    {
        QTest::addColumn<Scene>("scene");
        QTest::newRow("tray box cleared") << Scene{"", "full @SystemTRayFrame1", "SystemTRayFrame1=01; AddToTrayIconCheck=01; focus=Start"};
        QTest::newRow("tray box ticked in the entry panel: the window stays")
            << Scene{"", "full @SystemTRayFrame1 @SystemTRayFrame1", "SystemTRayFrame1=11; AddToTrayIconCheck=11; hidden=0"};
        QTest::newRow("tray box as a handle") << Scene{"", "full r@SystemTRayFrame1", "hidden=1"};
        QTest::newRow("hours") << Scene{"", "full =135 @Command1",
            "Label5=Stunden; CounterHourText=2; CounterMinuteText=15; ZeitEingabe=-; focus=CounterHourText"};
        QTest::newRow("a double-click switches once")
            << Scene{"", "full =135 @Command1 2@Label5", "Label5=Minuten; ZeitEingabe=135; CounterHourText=-; CounterMinuteText=-"};
        QTest::newRow("Tab order") << Scene{"", "full show @ZeitEingabe tab tab tab", "focus=MinuteTimeText"};
        QTest::newRow("counting: the focus on Abbruch") << Scene{"", "@Start show", "focus=Abbruch"};
        for (const char* option : {"NeustartBtn", "StandbyBtn", "RuhezustandBtn", "LogOffBtn"}) {
            const QString start = u"@Start show Check_ForceShutdown%1 @"_s + QLatin1String(option);
            QTest::addRow("%s, cleared", option) << Scene{"", start.arg(u"-"_s), "Check_ForceShutdown=00"};
            QTest::addRow("%s, ticked", option) << Scene{"", start.arg(u"+"_s), "Check_ForceShutdown=10"};
            QTest::addRow("%s, then shutting down", option)
                << Scene{"", start.arg(u"-"_s) + u" @AusschaltenBtn"_s, "Check_ForceShutdown=01"};
        }
    }
    void userActions() { playScene(); }
};

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
