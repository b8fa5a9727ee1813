#pragma once

// Stand-ins for the operating system, so the window can be driven without a screen, a clock that
// moves, a speaker or a power button.

#include <functional>
#include <memory>
#include <vector>

#include <QDialog>
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
    bool answer = false; // what every question is answered
    std::function<void(QDialog&)> onModal;
    std::function<void()> onAsk; // runs while the question is open

    void message(QWidget*, MessageIcon icon, const QString& title, const QString& text) override
    {
        messages.push_back({icon, title, text, false});
    }
    bool ask(QWidget*, const QString& title, const QString& text, bool defaultYes) override
    {
        questions.push_back({MessageIcon::Question, title, text, defaultYes});
        if (onAsk)
            onAsk();
        return answer;
    }
    Answer threeWayAnswer = Answer::Cancel; // what every Yes/No/Cancel question is answered
    Answer askYesNoCancel(QWidget*, const QString& title, const QString& text) override
    {
        questions.push_back({MessageIcon::Question, title, text, true});
        return threeWayAnswer;
    }
    void runModal(QDialog& dialog) override
    {
        modalDialogs << dialog.objectName();
        if (onModal)
            onModal(dialog);
    }
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
    bool openUrl(const QUrl& url) override
    {
        opened << url.toString();
        return true;
    }
    bool openInTextEditor(const QString& path) override
    {
        opened << path;
        return true;
    }
};

// One icon put into the fake tray; it stays listed after it is removed.
struct FakeTrayEntry {
    QStringList toolTips; // every text it showed, the present one last
    bool shown = true;
    std::function<void(TrayClick)> onClick;
};

class FakeTrayIcon final : public TrayIcon {
public:
    explicit FakeTrayIcon(std::shared_ptr<FakeTrayEntry> entry)
        : m_entry(std::move(entry))
    {
    }
    ~FakeTrayIcon() override { m_entry->shown = false; }
    void setToolTip(const QString& text) override { m_entry->toolTips << text; }

private:
    std::shared_ptr<FakeTrayEntry> m_entry;
};

class FakeWindowSystem final : public WindowSystem {
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
        return std::make_unique<FakeTrayIcon>(trayIcons.back());
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
        if (trayIcons.empty() || !trayIcons.back()->shown)
            return;
        const std::shared_ptr<FakeTrayEntry> entry = trayIcons.back(); // outlives its removal by the click
        entry->onClick(click);
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
    FakeClock* clock = nullptr;
    FakeBeeper* beeper = nullptr;
    FakeDialogs* dialogs = nullptr;
    FakePower* power = nullptr;
    FakeDesktop* desktop = nullptr;
    FakeWindowSystem* windowSystem = nullptr;
    FakeApp* app = nullptr;
    std::unique_ptr<Form1> form;

    explicit Harness(const QString& commandLine = {})
    {
        Services s;
        s.clock = std::make_unique<FakeClock>();
        s.beeper = std::make_unique<FakeBeeper>();
        s.dialogs = std::make_unique<FakeDialogs>();
        s.power = std::make_unique<FakePower>();
        s.desktop = std::make_unique<FakeDesktop>();
        s.windowSystem = std::make_unique<FakeWindowSystem>();
        s.app = std::make_unique<FakeApp>();
        clock = static_cast<FakeClock*>(s.clock.get());
        beeper = static_cast<FakeBeeper*>(s.beeper.get());
        dialogs = static_cast<FakeDialogs*>(s.dialogs.get());
        power = static_cast<FakePower*>(s.power.get());
        desktop = static_cast<FakeDesktop*>(s.desktop.get());
        windowSystem = static_cast<FakeWindowSystem*>(s.windowSystem.get());
        app = static_cast<FakeApp*>(s.app.get());
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
};

} // namespace tarvo::test
