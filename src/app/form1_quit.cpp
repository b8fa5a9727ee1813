// Ending Tarvo without an action: the close request and the exit button.
#include "app/form1.h"

#include <QCloseEvent>
#include <QFrame>
#include <QPushButton>
#include <QTimer>

namespace tarvo {

void Form1::Abbruch_Click()
{
    if (m_ended)
        return;
    Abbruch->setText(QStringLiteral("&Exit"));
    if (!Eingabemaske->isHidden()) {
        EndProgram(0);
        return;
    }
    CancelCountdown();
}

void Form1::closeEvent(QCloseEvent* event)
{
    if (m_ended || !Eingabemaske->isHidden()) {
        event->accept();
        EndProgram(0);
        return;
    }
    Timer1->stop();
    const QString title = windowTitle();
    setWindowTitle(QStringLiteral("Tarvo   - P A U S E -"));
    if (ConfirmImmediate
        || m_services.dialogs->ask(this, QStringLiteral("Tarvo STOP"),
                                   QStringLiteral("Wollen Sie das Programm wirklich beenden?    (Der Timer wird "
                                                  "dadurch abgeschaltet)"),
                                   true)) {
        event->accept();
        EndProgram(0);
        return;
    }
    event->ignore();
    setWindowTitle(title);
    Timer1->start();
}

void Form1::EndProgram(int exitCode)
{
    if (m_ended)
        return;
    m_ended = true;
    m_exitCode = exitCode;
    Timer1->stop();
    Timer2->stop();
    unloadSystemTray();
    hide();
    m_services.app->endProgram(exitCode);
}

} // namespace tarvo
