#pragma once

// Stand-ins for the operating system, so the window can be driven without a screen, a clock that
// moves, a speaker or a power button.

#include <functional>
#include <memory>
#include <utility>
#include <vector>

// The window's controls, for the tests that drive it.
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <QTimer>
#include <QVariant>

#include "app/form1.h"
#include "app/system_services.h"
#include "fake_clock.h"
#include "shell/always_on_top.h"
#include "shell/system_tray.h"

namespace tarvo::test {

// A control of the window by its objectName; a missing one ends the test run, naming it.
template <class W = QWidget>
W* control(const QObject& owner, const char* name)
{
    auto* found = owner.findChild<W*>(QLatin1String(name));
    if (!found)
        qFatal("no control named %s", name);
    return found;
}

struct FakeBeeper final : Beeper {
    int count = 0;
    void beep() override { ++count; }
};

struct FakeDialogs final : Dialogs {
    // Every box shown, as "ICON|title|text"; a question as "ask DEFAULT|title|text" (DEFAULT: the
    // button Enter presses), a Yes/No/Cancel question as "ask3|title|text".
    QStringList shown;
    QStringList modalDialogs;
    bool answer = false; // what every Yes/No question is answered; a Yes/No/Cancel one is cancelled
    std::function<void()> onAsk; // runs while the question is open

    void message(QWidget*, MessageIcon icon, const QString& title, const QString& text) override
    {
        const char* icons[] = {"", "Information", "Warning", "Critical", "Question"};
        shown << QLatin1String(icons[int(icon)]) + u'|' + title + u'|' + text;
    }
    bool ask(QWidget*, const QString& title, const QString& text, bool defaultYes) override
    {
        shown << (defaultYes ? QStringLiteral("ask Yes|") : QStringLiteral("ask No|")) + title + u'|' + text;
        if (onAsk)
            onAsk();
        return answer;
    }
    Answer askYesNoCancel(QWidget*, const QString& title, const QString& text) override
    {
        shown << QStringLiteral("ask3|") + title + u'|' + text;
        return Answer::Cancel;
    }
    void runModal(QDialog& dialog) override { modalDialogs << dialog.objectName(); }
};

struct FakePower final : PowerBackend {
    std::vector<int> requests;
    PowerOutcome outcome = PowerOutcome::success();
    bool answerLater = false; // keeps the answer until answer() is called
    PowerDone pending;
    PowerAvailability possible = PowerAvailability::yes();
    std::vector<int> asked; // the codes availability() was asked about
    void request(PowerCode code, PowerDone done) override
    {
        requests.push_back(code);
        if (answerLater)
            pending = std::move(done);
        else
            done(outcome);
    }
    void answer() { std::exchange(pending, {})(outcome); }
    PowerAvailability availability(PowerCode code) override { return asked.push_back(code), possible; }
};

struct FakeDesktop final : Desktop {
    QStringList opened;
    bool openUrl(const QUrl& url) override { return opened << url.toString(), true; }
    bool openInTextEditor(const QString& path) override { return opened << path, true; }
};

// One icon put into the fake tray; it stays listed after it is removed.
struct FakeTrayEntry {
    QStringList toolTips; // every text it showed, the present one last
    bool shown = true;
    std::function<void(TrayClick)> onClick;
};

struct FakeWindowSystem final : WindowSystem {
    struct Icon final : TrayIcon {
        std::shared_ptr<FakeTrayEntry> entry;
        explicit Icon(std::shared_ptr<FakeTrayEntry> e) : entry(std::move(e)) {}
        ~Icon() override { entry->shown = false; }
        void setToolTip(const QString& text) override { entry->toolTips << text; }
    };
    bool tray = true;
    bool keepAboveWorks = true;
    bool restoreWorks = true;
    std::vector<bool> keepAbove; // every pin (true) and unpin (false), in order
    std::vector<std::shared_ptr<FakeTrayEntry>> trayIcons; // every icon added, in order
    std::vector<QWidget*> activated;
    bool trayAvailable() const override { return tray; }
    void setKeepAbove(QWidget*, bool above) override { keepAbove.push_back(above); }
    std::unique_ptr<TrayIcon> addTrayIcon(const QIcon&, const QString& toolTip,
                                          std::function<void(TrayClick)> onClick) override
    {
        trayIcons.push_back(std::make_shared<FakeTrayEntry>(FakeTrayEntry{{toolTip}, true, std::move(onClick)}));
        return std::make_unique<Icon>(trayIcons.back());
    }
    bool canKeepAbove() const override { return keepAboveWorks; }
    bool canRestoreMinimised() const override { return restoreWorks; }
    void activate(QWidget* window) override { activated.push_back(window); }

    // The icon in the tray now, or null.
    const FakeTrayEntry* shownIcon() const
    {
        return !trayIcons.empty() && trayIcons.back()->shown ? trayIcons.back().get() : nullptr;
    }
    // A mouse action on the icon in the tray, as the tray reports it.
    void clickTray(TrayClick click)
    {
        if (shownIcon())
            std::shared_ptr<FakeTrayEntry>(trayIcons.back())->onClick(click); // outlives its removal by the click
    }
};

struct FakeApp final : AppControl {
    std::vector<int> endings;
    std::function<void()> onEnd;
    void endProgram(int exitCode) override
    {
        endings.push_back(exitCode);
        if (onEnd)
            onEnd();
    }
};

struct Harness;
QString seen(const Harness& h, const QString& keys);

// A main window wired to fakes; the fakes stay reachable through the raw pointers.
struct Harness {
    FakeClock* clock;
    FakeBeeper* beeper;
    FakeDialogs* dialogs;
    FakePower* power;
    FakeDesktop* desktop;
    FakeWindowSystem* windowSystem;
    FakeApp* app;
    std::unique_ptr<Form1> form;
    QString atQuestion; // the requests made and whether the window was hidden, when a question last opened
    bool atEnd = false; // whether the tray icon was still shown when the program ended
    std::unique_ptr<QWidget> elsewhere; // another window, where the user works

    explicit Harness(const QString& commandLine = {})
    {
        Services s;
        s.clock.reset(clock = new FakeClock);
        s.beeper.reset(beeper = new FakeBeeper);
        s.dialogs.reset(dialogs = new FakeDialogs);
        s.power.reset(power = new FakePower);
        s.desktop.reset(desktop = new FakeDesktop);
        s.windowSystem.reset(windowSystem = new FakeWindowSystem);
        s.app.reset(app = new FakeApp);
        form = std::make_unique<Form1>(std::move(s), commandLine);
        app->onEnd = [this] { atEnd = windowSystem->shownIcon() != nullptr; };
        dialogs->onAsk = [this] { atQuestion = QString::number(power->requests.size()) + u' ' + QString::number(form->isHidden()); };
    }

    // Start-up as the program runs it.
    void load() { form->Form_Load(); }

    // Countdown ticks as the timer delivers them, one second apart.
    void tick(int times = 1)
    {
        for (int i = 0; i < times && !form->hasEnded(); ++i) {
            clock->pass(std::chrono::seconds(1));
            form->Timer1_Timer();
        }
    }
};

// A window after start-up, with the given command line.
inline std::unique_ptr<Harness> loaded(const QString& commandLine = {})
{
    auto h = std::make_unique<Harness>(commandLine);
    h->load();
    return h;
}

// The entry panel's fields against the minutes field: the hour fields, the end time counted from
// the fake clock's now, and the day caption. Empty when they agree, else what they show.
inline QString disagreement(const Harness& h)
{
    const Form1& f = *h.form;
    const int minutes = control<QLineEdit>(f, "ZeitEingabe")->text().toInt();
    const QTime end = h.clock->time.addSecs(qint64{minutes} * 60).time();
    const auto two = [](int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); };
    const QString expected = QString::number(minutes / 60) + u':' + two(minutes % 60) + u' ' + two(end.hour()) + u':'
                             + two(end.minute()) + u' '
                             + (minutes >= 1440 ? u'+' + QString::number(minutes / 1440) : QString());
    const QString shown = control<QLineEdit>(f, "CounterHourText")->text() + u':' + control<QLineEdit>(f, "CounterMinuteText")->text() + u' ' + control<QLineEdit>(f, "HourTimeText")->text()
                          + u':' + control<QLineEdit>(f, "MinuteTimeText")->text() + u' '
                          + (control<QLabel>(f, "AnzahlTageLabel")->isHidden() ? QString() : control<QLabel>(f, "AnzahlTageLabel")->text().section(u' ', 0, 0));
    return shown == expected ? QString() : shown + QStringLiteral(" instead of ") + expected;
}

// A mouse event as the window system delivers it to the widget.
inline void mouse(QWidget* w, QEvent::Type type, Qt::MouseButton button = Qt::NoButton,
                  Qt::MouseButtons held = Qt::NoButton, Qt::KeyboardModifiers modifiers = {}, QPoint pos = {2, 2})
{
    const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? held : held | button;
    QMouseEvent event(type, pos, w->mapToGlobal(QPointF(pos)), button, buttons, modifiers);
    QApplication::sendEvent(w, &event);
}

// What the double-click of the window system delivers: the second press comes as the double-click.
inline void doubleClick(QWidget* w)
{
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                              QEvent::MouseButtonRelease})
        mouse(w, type, Qt::LeftButton);
}

// The middle of a part of a vertical scroll bar.
inline QPoint partOf(QScrollBar* bar, QStyle::SubControl part)
{
    QStyleOptionSlider o;
    o.initFrom(bar);
    o.orientation = Qt::Vertical;
    o.minimum = bar->minimum();
    o.maximum = bar->maximum();
    o.sliderPosition = o.sliderValue = bar->value();
    o.singleStep = o.pageStep = 1;
    o.subControls = QStyle::SC_All;
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &o, part, bar).center();
}

// Plays a user's steps, separated by blanks: a number ticks that often, "=N" sets N minutes, "hours"
// switches to the hour and minute fields, "up1" / "down2" click an arrow of VScroll1 / VScroll2,
// "tab" and "del" press those keys; "@Name" clicks that control,
// "r@Name" presses the right button on it, "2@Name" double-clicks it, "~Name" moves the pointer onto
// it; "Name=text" sets a field ('_' for a blank), "Name+" / "Name-" ticks or clears a box; "yes" / "no" answer the
// questions to come, "yes+N" ticks N times while the next one is open; "sleep:S" passes S seconds
// unseen, "wall:S" sets the wall clock S seconds on; "show" shows and activates the window,
// "elsewhere" activates another window, "tray" clicks the tray icon; "Escape" presses
// that key; "min", "full", "sig15" minimise, enlarge, send SIGTERM; "jetzt", "abbruch" run those
// buttons' handlers whatever the buttons show; "'text" types the text. Before start-up: "!notray",
// "!norestore", "!impossible", "!later" (logind answers at "answer"), "!refused".
inline void play(Harness& h, const QString& script, bool beforeLoad = false)
{
    Form1& f = *h.form;
    for (const QString& step : script.split(u' ', Qt::SkipEmptyParts)) {
        if (step.startsWith(u'!') != beforeLoad)
            continue;
        const QByteArray name = step.section(u'@', -1).section(u'=', 0, 0).remove(0, step.startsWith(u'~')).toLatin1();
        const QString value = step.section(u'=', 1).replace(u'_', u' ');
        if (step.toInt() > 0) {
            h.tick(step.toInt());
            QCoreApplication::processEvents();
        } else if (step.startsWith(u'=')) {
            f.SetMinutes(static_cast<std::int16_t>(step.mid(1).toInt()));
        } else if (step == u"hours") {
            f.Label5_Click();
            control<QPushButton>(f, "Start")->setFocus(); // so that a click on a field selects its text
        } else if (step.startsWith(u"up") || step.startsWith(u"down")) {
            QScrollBar* bar = control<QScrollBar>(f, step.endsWith(u'1') ? "VScroll1" : "VScroll2");
            QTest::mouseClick(bar, Qt::LeftButton, {},
                              partOf(bar, step.startsWith(u"up") ? QStyle::SC_ScrollBarSubLine : QStyle::SC_ScrollBarAddLine));
        } else if (step == u"tab" || step == u"del") {
            QTest::keyClick(QApplication::focusWidget(), step == u"tab" ? Qt::Key_Tab : Qt::Key_Delete);
        } else if (step == u"!notray") {
            h.windowSystem->tray = false;
        } else if (step == u"!norestore") {
            h.windowSystem->restoreWorks = false;
        } else if (step == u"!impossible") {
            h.power->possible = PowerAvailability::no(QStringLiteral("Der Ruhezustand ist auf diesem Rechner nicht verfügbar."));
        } else if (step == u"!later") {
            h.power->answerLater = true;
        } else if (step == u"!refused") {
            h.power->outcome = PowerOutcome::failure(QStringLiteral("Nein"));
        } else if (step == u"answer") {
            h.power->answer();
        } else if (step.startsWith(u"yes") || step == u"no") {
            h.dialogs->answer = step.startsWith(u"yes");
            if (const int ticks = step.section(u'+', 1).toInt())
                h.dialogs->onAsk = [&h, ticks] { h.tick(ticks); };
        } else if (step.startsWith(u"sleep:")) {
            h.clock->pass(std::chrono::seconds(step.mid(6).toInt()));
        } else if (step.startsWith(u"wall:")) {
            h.clock->time = h.clock->time.addSecs(step.mid(5).toInt());
        } else if (step == u"show") {
            f.showNormal();
            f.activateWindow();
            if (!QTest::qWaitForWindowActive(&f))
                qFatal("the window does not become active");
        } else if (step == u"elsewhere") {
            h.elsewhere = std::make_unique<QWidget>();
            h.elsewhere->show();
            h.elsewhere->activateWindow();
            if (!QTest::qWaitFor([&f] { return !f.isActiveWindow(); }))
                qFatal("the window stays active");
        } else if (step == u"tray") {
            h.windowSystem->clickTray(TrayClick::Left);
        } else if (step == u"Escape") {
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &f, Qt::Key_Escape);
        } else if (step == u"min" || step == u"full" || step == u"sig15") {
            step == u"min" ? f.MinimizeWindow() : step == u"full" ? f.ShowFullWindow() : f.EndOnSignal(15);
        } else if (step == u"jetzt" || step == u"abbruch") {
            step == u"jetzt" ? f.JetztBtn_Click() : f.Abbruch_Click();
        } else if (step.startsWith(u'@')) {
            QTest::mouseClick(control(f, name), Qt::LeftButton);
        } else if (step.startsWith(u"r@")) {
            mouse(control(f, name), QEvent::MouseButtonPress, Qt::RightButton);
        } else if (step.startsWith(u"2@")) {
            doubleClick(control(f, name));
        } else if (step.startsWith(u'~')) {
            QTest::mouseMove(control(f, name), QPoint(2, 2));
            QTest::mouseMove(control(f, name), QPoint(5, 5));
        } else if (step.contains(u'=')) {
            control<QLineEdit>(f, name)->setText(value);
        } else if (step.endsWith(u'+') || step.endsWith(u'-')) {
            control<QAbstractButton>(f, name.chopped(1))->setChecked(step.endsWith(u'+'));
        } else if (step.startsWith(u'\'')) {
            QTest::keyClicks(QApplication::focusWidget(), step.mid(1));
        } else {
            qFatal("unknown step %s", qPrintable(step));
        }
    }
}

// A window with the command line, after start-up and the script.
inline std::unique_ptr<Harness> played(const QString& commandLine, const QString& script)
{
    auto h = std::make_unique<Harness>(commandLine);
    play(*h, script, true);
    h->load();
    play(*h, script);
    return h;
}

// What the window shows, for the keys asked as "key=...; key=..." (what follows a '=' is ignored):
// "timer" or "Timer1" Timer1 runs, "Timer2", "led" (the picture AktiveLED shows), "agrees" (empty
// when the entry fields agree, see disagreement()), "hidden", "minimised", "classic", "requests", "endings", "boxes" (every box and
// question), "kinds" (their icons or kinds of question), "asked" (what logind was asked about), "tip" (the tray icon's text, "-": none), "icons"
// (icons made), "title", "left" (seconds), "focus", "beeps", "pins", "activated", "atQuestion", "atEnd";
// any other key names a control: a label's or field's text ("-": hidden), a box's or option's tick and
// enabledness as "10", else whether it is shown; "?Name" whether that control is shown.
inline QString seen(const Harness& h, const QString& keys)
{
    const Form1& f = *h.form;
    const auto list = [](const auto& v) {
        QStringList l;
        for (const auto& x : v)
            l << QString::number(x);
        return l.join(u',');
    };
    QStringList out;
    for (const QString& part : keys.split(QStringLiteral("; "))) {
        const QString key = part.section(u'=', 0, 0);
        QString v;
        if (key == u"timer")
            v = QString::number(control<QTimer>(f, "Timer1")->isActive());
        else if (key == u"hidden" || key == u"minimised" || key == u"classic")
            v = QString::number(key == u"hidden" ? f.isHidden() : key == u"classic" ? f.classicMode() : f.isMinimized());
        else if (key == u"requests" || key == u"endings" || key == u"asked")
            v = list(key == u"requests" ? h.power->requests : key == u"asked" ? h.power->asked : h.app->endings);
        else if (key == u"pins")
            v = list(h.windowSystem->keepAbove);
        else if (key == u"boxes")
            v = h.dialogs->shown.join(u" / ");
        else if (key == u"kinds")
            for (const QString& box : h.dialogs->shown)
                v += (v.isEmpty() ? QString() : QStringLiteral(",")) + box.section(u'|', 0, 0);
        else if (key.startsWith(u'?'))
            v = QString::number(!control(f, qPrintable(key.mid(1)))->isHidden());
        else if (key == u"tip")
            v = h.windowSystem->shownIcon() ? h.windowSystem->shownIcon()->toolTips.back() : QStringLiteral("-");
        else if (key == u"icons" || key == u"activated" || key == u"beeps" || key == u"left")
            v = QString::number(key == u"icons" ? qint64(h.windowSystem->trayIcons.size()) : key == u"activated"
                                ? qint64(h.windowSystem->activated.size()) : key == u"beeps" ? h.beeper->count
                                : f.remainingSeconds());
        else if (key == u"atEnd")
            v = QString::number(h.atEnd);
        else if (key == u"title" || key == u"focus" || key == u"atQuestion")
            v = key == u"title" ? f.windowTitle() : key == u"focus" ? (f.focusWidget() ? f.focusWidget()->objectName() : QString()) : h.atQuestion;
        else if (key.startsWith(u"Timer"))
            v = QString::number(control<QTimer>(f, qPrintable(key))->isActive());
        else if (key == u"led")
            for (const char* name : {"RedPic", "LiteGreenPic", "GreenPic"})
                v += control<QLabel>(f, "AktiveLED")->pixmap().cacheKey() == control<QLabel>(f, name)->pixmap().cacheKey()
                         ? QLatin1String(name) : QLatin1String("");
        else if (key == u"agrees")
            v = disagreement(h);
        else if (const QWidget* w = control(f, qPrintable(key)); qobject_cast<const QAbstractButton*>(w))
            v = static_cast<const QAbstractButton*>(w)->isCheckable()
                    ? QString::number(w->property("checked").toBool()) + QString::number(w->isEnabled())
                    : QString::number(!w->isHidden());
        else
            v = !w->property("text").isValid() ? QString::number(!w->isHidden())
                : w->isHidden() ? QStringLiteral("-") : w->property("text").toString();
        out << key + u'=' + v;
    }
    return out.join(QStringLiteral("; "));
}

// A row of a table of user actions: the command line, the steps (see play()), and what the window
// shows then (see seen()).
struct Scene {
    QString commandLine, steps, shows;
};

} // namespace tarvo::test

Q_DECLARE_METATYPE(tarvo::test::Scene)
