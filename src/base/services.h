#pragma once

#include <chrono>
#include <functional>
#include <memory>

#include <QDateTime>
#include <QString>
#include <QUrl>

class QDialog;
class QIcon;
class QWidget;

namespace tarvo {

// The current local date and time, and a clock for durations.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    // Time since the machine started, sleep included; it never jumps when the wall clock is set.
    virtual std::chrono::milliseconds sinceBoot() const = 0;
};

// The system's default beep.
class Beeper {
public:
    virtual ~Beeper() = default;
    virtual void beep() = 0;
};

enum class MessageIcon { NoIcon, Information, Warning, Critical, Question };
enum class Answer { Yes, No, Cancel };

// Message boxes, Yes/No questions and modal dialogs. Tests answer them without a screen.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual void message(QWidget* parent, MessageIcon icon, const QString& title, const QString& text) = 0;
    // Returns true for Yes. The question icon is shown; defaultYes picks the button Enter presses.
    virtual bool ask(QWidget* parent, const QString& title, const QString& text, bool defaultYes) = 0;
    // Yes, No and Cancel with the question icon, Yes the default; Escape or closing the box is Cancel.
    virtual Answer askYesNoCancel(QWidget* parent, const QString& title, const QString& text) = 0;
    // Runs a dialog modally and returns when it is closed.
    virtual void runModal(QDialog& dialog) = 0;
};

// The desktop's services: the browser, the text editor.
class Desktop {
public:
    virtual ~Desktop() = default;
    virtual bool openUrl(const QUrl& url) = 0;
    virtual bool openInTextEditor(const QString& path) = 0;
};

// What the user did on the tray icon.
enum class TrayClick { Left, Double, Right, Middle };

// One icon in the notification area; destroying it removes the icon. It may be destroyed from
// within its own click report.
class TrayIcon {
public:
    virtual ~TrayIcon() = default;
    virtual void setToolTip(const QString& text) = 0;
};

// The window system beyond plain widgets: whether a tray exists, the keep-above state.
class WindowSystem {
public:
    virtual ~WindowSystem() = default;
    virtual bool trayAvailable() const = 0;
    virtual void setKeepAbove(QWidget* window, bool above) = 0;
    // Every trip to the tray shows a new icon; onClick hears each mouse action on it.
    virtual std::unique_ptr<TrayIcon> addTrayIcon(const QIcon& icon, const QString& toolTip,
                                                  std::function<void(TrayClick)> onClick) = 0;
    // False where the compositor alone decides stacking and focus (Wayland).
    virtual bool canKeepAbove() const = 0;
    // False where a minimised window cannot bring itself back (Wayland): only the user can.
    virtual bool canRestoreMinimised() const = 0;
    // Brings a shown window to the front, as far as the window system lets a program do that.
    virtual void activate(QWidget* window) = 0;
};

// Ending the program. Tarvo ends at once: nothing is saved, no other window is asked.
class AppControl {
public:
    virtual ~AppControl() = default;
    virtual void endProgram(int exitCode) = 0;
};

} // namespace tarvo
