#include "app/services.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QMessageBox>
#include <QSystemTrayIcon>
#include <QWindow>


namespace tarvo {
namespace {

class SystemClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
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

// Texts use CR for line breaks; Qt draws a lone CR as nothing, so turn each one into a line feed.
QString displayText(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

class MessageBoxDialogs final : public Dialogs {
public:
    void message(QWidget* parent, MessageIcon icon, const QString& title, const QString& text) override
    {
        QMessageBox box(toQt(icon), title, displayText(text), QMessageBox::Ok, parent);
        box.exec();
    }

    bool ask(QWidget* parent, const QString& title, const QString& text, bool defaultYes) override
    {
        QMessageBox box(QMessageBox::Question, title, displayText(text), QMessageBox::Yes | QMessageBox::No,
                        parent);
        box.setDefaultButton(defaultYes ? QMessageBox::Yes : QMessageBox::No);
        return box.exec() == QMessageBox::Yes;
    }

    void runModal(QDialog& dialog) override { dialog.exec(); }
};

class SystemDesktop final : public Desktop {
public:
    bool openUrl(const QUrl& url) override { return QDesktopServices::openUrl(url); }
    bool openInTextEditor(const QString& path) override { return QDesktopServices::openUrl(QUrl::fromLocalFile(path)); }
};

class QtWindowSystem final : public WindowSystem {
public:
    bool trayAvailable() const override { return QSystemTrayIcon::isSystemTrayAvailable(); }
    void setKeepAbove(QWidget* window, bool above) override
    {
        // Setting the hint on the QWindow changes the window manager state of a shown window without
        // hiding and re-creating it, as QWidget::setWindowFlags would.
        window->setAttribute(Qt::WA_NativeWindow);
        if (QWindow* handle = window->windowHandle())
            handle->setFlag(Qt::WindowStaysOnTopHint, above);
    }
};

class QtAppControl final : public AppControl {
public:
    void endProgram(int exitCode) override { QCoreApplication::exit(exitCode); }
};

} // namespace

Services systemServices()
{
    Services s;
    s.clock = std::make_unique<SystemClock>();
    s.beeper = std::make_unique<SystemBeeper>();
    s.dialogs = std::make_unique<MessageBoxDialogs>();
    s.power = makePowerBackend();
    s.desktop = std::make_unique<SystemDesktop>();
    s.windowSystem = std::make_unique<QtWindowSystem>();
    s.app = std::make_unique<QtAppControl>();
    return s;
}

} // namespace tarvo
