#include "app/system_services.h"

#include <ctime>
#include <utility>

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QAbstractButton>

#include "info/system_desktop.h"
#include "shell/qt_window_system.h"

namespace tarvo {
namespace {

class SystemClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    std::chrono::milliseconds sinceBoot() const override
    {
#ifdef CLOCK_BOOTTIME
        timespec t{};
        if (clock_gettime(CLOCK_BOOTTIME, &t) == 0)
            return std::chrono::seconds(t.tv_sec)
                   + std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::nanoseconds(t.tv_nsec));
#endif
        // Where there is no boot clock, the steady clock at least never jumps.
        return std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now().time_since_epoch());
    }
};

class SystemBeeper final : public Beeper {
public:
    void beep() override { QApplication::beep(); }
};

QMessageBox::Icon toQt(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::NoIcon:
        break;
    }
    return QMessageBox::NoIcon;
}

// Texts use CR for line breaks (CR CR for an empty line). Not every Qt text path breaks at a lone CR,
// so each one becomes a line feed. The texts are plain: a "<" in a reason from the system stays a "<".
QString displayText(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

// Qt names the standard buttons in the language of the Qt translations installed, and in English
// without them; Tarvo's boxes speak German whatever the locale.
void germanButtons(QMessageBox& box)
{
    const std::pair<QMessageBox::StandardButton, const char*> names[] = {
        {QMessageBox::Yes, "&Ja"}, {QMessageBox::No, "&Nein"}, {QMessageBox::Cancel, "&Abbrechen"}, {QMessageBox::Ok, "OK"}};
    for (const auto& [which, text] : names) {
        if (QAbstractButton* button = box.button(which))
            button->setText(QString::fromUtf8(text));
    }
}

class MessageBoxDialogs final : public Dialogs {
public:
    void message(QWidget* parent, MessageIcon icon, const QString& title, const QString& text) override
    {
        QMessageBox box(toQt(icon), title, displayText(text), QMessageBox::Ok, parent);
        box.setTextFormat(Qt::PlainText);
        germanButtons(box);
        box.exec();
    }

    bool ask(QWidget* parent, const QString& title, const QString& text, bool defaultYes) override
    {
        QMessageBox box(QMessageBox::Question, title, displayText(text), QMessageBox::Yes | QMessageBox::No,
                        parent);
        box.setTextFormat(Qt::PlainText);
        germanButtons(box);
        box.setDefaultButton(defaultYes ? QMessageBox::Yes : QMessageBox::No);
        // Esc and the window's close button answer No.
        box.setEscapeButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes;
    }

    Answer askYesNoCancel(QWidget* parent, const QString& title, const QString& text) override
    {
        QMessageBox box(QMessageBox::Question, title, displayText(text),
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
        germanButtons(box);
        box.setDefaultButton(QMessageBox::Yes);
        switch (box.exec()) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        default:
            return Answer::Cancel;
        }
    }

    void runModal(QDialog& dialog) override { dialog.exec(); }
};

class QtAppControl final : public AppControl {
public:
    void endProgram(int exitCode) override { QCoreApplication::exit(exitCode); }
};

} // namespace

std::unique_ptr<Dialogs> makeDialogs()
{
    return std::make_unique<MessageBoxDialogs>();
}

Services systemServices()
{
    Services s;
    s.clock = std::make_unique<SystemClock>();
    s.beeper = std::make_unique<SystemBeeper>();
    s.dialogs = makeDialogs();
    s.power = makePowerBackend();
    s.desktop = makeDesktop();
    s.windowSystem = makeWindowSystem();
    s.app = std::make_unique<QtAppControl>();
    return s;
}

} // namespace tarvo
