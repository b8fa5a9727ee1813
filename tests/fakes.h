#pragma once

// Stand-ins for the operating system, so the window can be driven without a screen, a clock that
// moves, a speaker or a power button.

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
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
    bool answer = false; // what every Yes/No question is answered
    Answer threeWayAnswer = Answer::Cancel;
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
        return threeWayAnswer;
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
    std::function<void()> onEnd; // set by the harness
    void endProgram(int exitCode) override { endings.push_back(exitCode), onEnd(); }
};

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
        app->onEnd = [this] { atEnd = windowSystem->shownIcon() != nullptr; };
        form = std::make_unique<Form1>(std::move(s), commandLine);
        dialogs->onAsk = [this] { atQuestion = QString::number(power->requests.size()) + u' ' + QString::number(form->isHidden()); };
    }

    void load() { form->Form_Load(); }

    // Countdown ticks as the timer delivers them, one second apart.
    void tick(int times = 1)
    {
        for (int i = 0; i < times && !form->hasEnded(); ++i)
            clock->pass(std::chrono::seconds(1)), form->Timer1_Timer();
    }
};

// The entry panel's fields against the minutes field: the hour fields, the end time counted from
// the fake clock's now, and the day caption. Empty when they agree, else what they show.
inline QString disagreement(const Harness& h)
{
    const Form1& f = *h.form;
    const int minutes = control<QLineEdit>(f, "ZeitEingabe")->text().toInt();
    const QTime end = h.clock->time.addSecs(qint64{minutes} * 60).time();
    const QString expected = QString::asprintf("%d:%02d %02d:%02d ", minutes / 60, minutes % 60, end.hour(), end.minute())
                             + (minutes >= 1440 ? u'+' + QString::number(minutes / 1440) : QString());
    const auto text = [&f](const char* name) { return control<QLineEdit>(f, name)->text(); };
    const QLabel* days = control<QLabel>(f, "AnzahlTageLabel");
    const QString shown = text("CounterHourText") + u':' + text("CounterMinuteText") + u' ' + text("HourTimeText") + u':'
                          + text("MinuteTimeText") + u' ' + (days->isHidden() ? QString() : days->text().section(u' ', 0, 0));
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

// Plays a user's steps, separated by blanks: a number ticks that often, "Name=text" sets a field
// ('_' for a blank), "Name+" / "Name-" ticks or clears a box, the rest is in the table. Steps starting
// with '!' set the fakes up before start-up.
inline void play(Harness& h, const QString& script, bool beforeLoad = false)
{
    Form1& f = *h.form;
    const auto activate = [&f](QWidget& w) {
        w.activateWindow();
        if (!(&w == &f ? QTest::qWaitForWindowActive(&w) : QTest::qWaitFor([&f] { return !f.isActiveWindow(); })))
            qFatal("the window does not change");
    };
    const auto at = [&f](const QString& name) { return control(f, qPrintable(name)); };
    const auto scroll = [&f](const QString& bar, bool up) { // a click on the arrow at that end
        auto* b = control<QScrollBar>(f, qPrintable(QStringLiteral("VScroll") + bar));
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(b->width() / 2, up ? 2 : b->height() - 3));
    };
    // A step by its name or, where the name ends in '*', by its start; the rest is the argument.
    const std::vector<std::pair<QString, std::function<void(const QString&)>>> table{
        {QStringLiteral("!notray"), [&](auto&) { h.windowSystem->tray = false; }},
        {QStringLiteral("!norestore"), [&](auto&) { h.windowSystem->restoreWorks = false; }},
        {QStringLiteral("!impossible"), [&](auto&) { h.power->possible = PowerAvailability::no(QStringLiteral("Der Ruhezustand ist auf diesem Rechner nicht verfügbar.")); }},
        {QStringLiteral("!later"), [&](auto&) { h.power->answerLater = true; }}, // until "answer"
        {QStringLiteral("!refused"), [&](auto&) { h.power->outcome = PowerOutcome::failure(QStringLiteral("Nein")); }},
        {QStringLiteral("answer"), [&](auto&) { h.power->answer(); }},
        {QStringLiteral("hours"), [&](auto&) { f.Label5_Click(), control<QPushButton>(f, "Start")->setFocus(); }}, // a click then selects
        {QStringLiteral("tab"), [](auto&) { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); }},
        {QStringLiteral("del"), [](auto&) { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete); }},
        {QStringLiteral("Escape"), [&](auto&) { QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &f, Qt::Key_Escape); }},
        {QStringLiteral("show"), [&](auto&) { f.showNormal(), activate(f); }},
        {QStringLiteral("elsewhere"), [&](auto&) { h.elsewhere = std::make_unique<QWidget>(), h.elsewhere->show(), activate(*h.elsewhere); }},
        {QStringLiteral("tray"), [&](auto&) { h.windowSystem->clickTray(TrayClick::Left); }},
        {QStringLiteral("min"), [&](auto&) { f.MinimizeWindow(); }},
        {QStringLiteral("full"), [&](auto&) { f.ShowFullWindow(); }},
        {QStringLiteral("sig15"), [&](auto&) { f.EndOnSignal(15); }},
        {QStringLiteral("jetzt"), [&](auto&) { f.JetztBtn_Click(); }}, // whatever the button shows
        {QStringLiteral("abbruch"), [&](auto&) { f.Abbruch_Click(); }},
        {QStringLiteral("no"), [&](auto&) { h.dialogs->answer = false; }}, // to the questions to come
        {QStringLiteral("yes*"), [&](const QString& plus) { // "yes+N" ticks N times while the next one is open
             h.dialogs->answer = true;
             if (const int ticks = plus.mid(1).toInt())
                 h.dialogs->onAsk = [&h, ticks] { h.tick(ticks); };
         }},
        {QStringLiteral("=*"), [&](const QString& n) { f.SetMinutes(static_cast<std::int16_t>(n.toInt())); }},
        {QStringLiteral("up*"), [&](const QString& bar) { scroll(bar, true); }}, // "up1": VScroll1
        {QStringLiteral("down*"), [&](const QString& bar) { scroll(bar, false); }},
        {QStringLiteral("sleep:*"), [&](const QString& s) { h.clock->pass(std::chrono::seconds(s.toInt())); }}, // unseen
        {QStringLiteral("wall:*"), [&](const QString& s) { h.clock->time = h.clock->time.addSecs(s.toInt()); }},
        {QStringLiteral("@*"), [&](const QString& name) { QTest::mouseClick(at(name), Qt::LeftButton); }},
        {QStringLiteral("r@*"), [&](const QString& name) { mouse(at(name), QEvent::MouseButtonPress, Qt::RightButton); }},
        {QStringLiteral("2@*"), [&](const QString& name) { doubleClick(at(name)); }},
        {QStringLiteral("~*"), [&](const QString& name) { QTest::mouseMove(at(name), QPoint(2, 2)), QTest::mouseMove(at(name), QPoint(5, 5)); }},
        {QStringLiteral("'*"), [](const QString& text) { QTest::keyClicks(QApplication::focusWidget(), text); }},
    };
    for (const QString& step : script.split(u' ', Qt::SkipEmptyParts)) {
        if (step.startsWith(u'!') != beforeLoad)
            continue;
        const auto it = std::find_if(table.begin(), table.end(), [&step](const auto& row) {
            return row.first.endsWith(u'*') ? step.startsWith(row.first.chopped(1)) : step == row.first;
        });
        if (step.toInt() > 0)
            h.tick(step.toInt()), QCoreApplication::processEvents();
        else if (it != table.end())
            it->second(step.mid(it->first.size() - 1));
        else if (step.contains(u'='))
            control<QLineEdit>(f, qPrintable(step.section(u'=', 0, 0)))->setText(step.section(u'=', 1).replace(u'_', u' '));
        else if (step.endsWith(u'+') || step.endsWith(u'-'))
            control<QAbstractButton>(f, qPrintable(step.chopped(1)))->setChecked(step.endsWith(u'+'));
        else
            qFatal("unknown step %s", qPrintable(step));
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

inline std::unique_ptr<Harness> loaded(const QString& commandLine = {}) { return played(commandLine, {}); }

// What the window shows, for the keys asked as "key=...; key=..." (what follows a '=' is ignored):
// the named facts below, "?Name" whether that control is shown, or a control's name: a label's or
// field's text ("-": hidden), a box's or option's tick and enabledness as "10", else whether it shows.
inline QString seen(const Harness& h, const QString& keys)
{
    const Form1& f = *h.form;
    const auto n = [](auto x) { return QString::number(x); };
    const auto list = [](const auto& v, auto each) {
        QStringList l;
        for (const auto& x : v)
            l << each(x);
        return l.join(u',');
    };
    const std::map<QString, std::function<QString()>> named{
        {QStringLiteral("timer"), [&] { return n(control<QTimer>(f, "Timer1")->isActive()); }},
        {QStringLiteral("Timer2"), [&] { return n(control<QTimer>(f, "Timer2")->isActive()); }},
        {QStringLiteral("led"), [&] { // the picture AktiveLED shows
             for (const char* name : {"RedPic", "LiteGreenPic", "GreenPic"})
                 if (control<QLabel>(f, "AktiveLED")->pixmap().cacheKey() == control<QLabel>(f, name)->pixmap().cacheKey())
                     return QString::fromLatin1(name);
             return QString();
         }},
        {QStringLiteral("agrees"), [&] { return disagreement(h); }},
        {QStringLiteral("hidden"), [&] { return n(f.isHidden()); }},
        {QStringLiteral("minimised"), [&] { return n(f.isMinimized()); }},
        {QStringLiteral("classic"), [&] { return n(f.classicMode()); }},
        {QStringLiteral("requests"), [&] { return list(h.power->requests, n); }},
        {QStringLiteral("asked"), [&] { return list(h.power->asked, n); }}, // what logind was asked about
        {QStringLiteral("endings"), [&] { return list(h.app->endings, n); }},
        {QStringLiteral("pins"), [&] { return list(h.windowSystem->keepAbove, n); }},
        {QStringLiteral("boxes"), [&] { return h.dialogs->shown.join(u" / "); }}, // every box and question
        {QStringLiteral("kinds"), [&] { return list(h.dialogs->shown, [](const QString& b) { return b.section(u'|', 0, 0); }); }}, // icons or kinds of question
        {QStringLiteral("tip"), [&] { return h.windowSystem->shownIcon() ? h.windowSystem->shownIcon()->toolTips.back() : QStringLiteral("-"); }},
        {QStringLiteral("icons"), [&] { return n(h.windowSystem->trayIcons.size()); }}, // icons made
        {QStringLiteral("activated"), [&] { return n(h.windowSystem->activated.size()); }},
        {QStringLiteral("left"), [&] { return n(f.remainingSeconds()); }},
        {QStringLiteral("title"), [&] { return f.windowTitle(); }},
        {QStringLiteral("focus"), [&] { return f.focusWidget() ? f.focusWidget()->objectName() : QString(); }},
        {QStringLiteral("atQuestion"), [&] { return h.atQuestion; }},
        {QStringLiteral("atEnd"), [&] { return n(h.atEnd); }},
    };
    QStringList out;
    for (const QString& part : keys.split(QStringLiteral("; "))) {
        const QString key = part.section(u'=', 0, 0);
        const QWidget* w = named.count(key) ? nullptr : control(f, qPrintable(key.mid(key.startsWith(u'?'))));
        const auto* box = qobject_cast<const QAbstractButton*>(w);
        out << key + u'='
                   + (!w ? named.at(key)()
                      : key.startsWith(u'?') || (box && !box->isCheckable()) || (!box && !w->property("text").isValid())
                          ? n(!w->isHidden())
                      : box ? n(box->isChecked()) + n(box->isEnabled())
                      : w->isHidden() ? QStringLiteral("-") : w->property("text").toString());
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

namespace tarvo::test {

// The current row of a table of scenes: played, and what the window shows compared.
inline void playScene()
{
    QFETCH(Scene, scene);
    const auto h = played(scene.commandLine, scene.steps);
    QCOMPARE(seen(*h, scene.shows), scene.shows);
}

} // namespace tarvo::test
