#pragma once

// Stand-ins for the operating system, so the window can be driven without a screen, a clock that
// moves, a speaker or a power button.

#include <functional>
#include <memory>
#include <vector>

#include <QApplication>
#include <QDialog>
#include <QMouseEvent>
#include <QStringList>

#include "app/form1.h"
#include "app/services.h"

namespace tarvo::test {

class FakeClock final : public Clock {
public:
    QDateTime time{QDate(2026, 12, 6), QTime(14, 7, 30)};
    QDateTime now() const override { return time; }
};

class FakeBeeper final : public Beeper {
public:
    int count = 0;
    std::function<void()> onBeep;
    void beep() override
    {
        ++count;
        if (onBeep)
            onBeep();
    }
};

class FakeDialogs final : public Dialogs {
public:
    struct Shown {
        MessageIcon icon;
        QString title;
        QString text;
        bool defaultYes = false;
    };
    std::vector<Shown> messages;
    std::vector<Shown> questions;
    QStringList modalDialogs;
    bool answer = false; // what every Yes/No question is answered
    Answer threeWayAnswer = Answer::Cancel; // what every Yes/No/Cancel question is answered
    std::function<void()> onAsk; // runs while the question is open

    void message(QWidget*, MessageIcon icon, const QString& title, const QString& text) override
    {
        messages.push_back({icon, title, text});
    }
    bool ask(QWidget*, const QString& title, const QString& text, bool defaultYes) override
    {
        questions.push_back({MessageIcon::Question, title, text, defaultYes});
        if (onAsk)
            onAsk();
        return answer;
    }
    Answer askYesNoCancel(QWidget*, const QString& title, const QString& text) override
    {
        questions.push_back({MessageIcon::Question, title, text, true});
        return threeWayAnswer;
    }
    void runModal(QDialog& dialog) override { modalDialogs << dialog.objectName(); }
};

class FakePower final : public PowerBackend {
public:
    std::vector<int> requests;
    PowerOutcome outcome = PowerOutcome::success();
    PowerOutcome request(PowerCode code) override
    {
        requests.push_back(code);
        return outcome;
    }
};

class FakeDesktop final : public Desktop {
public:
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

class FakeWindowSystem final : public WindowSystem {
    struct Icon final : TrayIcon {
        std::shared_ptr<FakeTrayEntry> entry;
        explicit Icon(std::shared_ptr<FakeTrayEntry> e) : entry(std::move(e)) {}
        ~Icon() override { entry->shown = false; }
        void setToolTip(const QString& text) override { entry->toolTips << text; }
    };

public:
    bool tray = true;
    bool keepAboveWorks = true;
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

class FakeApp final : public AppControl {
public:
    std::vector<int> endings;
    std::function<void()> onEnd;
    void endProgram(int exitCode) override
    {
        endings.push_back(exitCode);
        if (onEnd)
            onEnd();
    }
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

    explicit Harness(const QString& commandLine = {})
    {
        Services s;
        clock = put<FakeClock>(s.clock);
        beeper = put<FakeBeeper>(s.beeper);
        dialogs = put<FakeDialogs>(s.dialogs);
        power = put<FakePower>(s.power);
        desktop = put<FakeDesktop>(s.desktop);
        windowSystem = put<FakeWindowSystem>(s.windowSystem);
        app = put<FakeApp>(s.app);
        form = std::make_unique<Form1>(std::move(s), commandLine);
    }

    // Start-up as the program runs it.
    Harness& load()
    {
        form->Form_Load();
        return *this;
    }

    // One countdown tick, as the timer would deliver it.
    void tick(int times = 1)
    {
        for (int i = 0; i < times && !form->hasEnded(); ++i)
            form->Timer1_Timer();
    }

private:
    template <typename Fake, typename Service>
    static Fake* put(std::unique_ptr<Service>& slot)
    {
        auto* fake = new Fake;
        slot.reset(fake);
        return fake;
    }
};

// A window after start-up, with the given command line.
inline std::unique_ptr<Harness> loaded(const QString& commandLine = {})
{
    auto h = std::make_unique<Harness>(commandLine);
    h->load();
    return h;
}

// A mouse event as the window system delivers it to the widget.
inline void mouse(QWidget* w, QEvent::Type type, Qt::MouseButton button = Qt::NoButton,
                  Qt::MouseButtons held = Qt::NoButton, Qt::KeyboardModifiers modifiers = {}, QPoint pos = {2, 2})
{
    const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? held : held | button;
    QMouseEvent event(type, pos, w->mapToGlobal(QPointF(pos)), button, buttons, modifiers);
    QApplication::sendEvent(w, &event);
}

} // namespace tarvo::test
