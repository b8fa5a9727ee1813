// Ending Tarvo without an action: the close request and the exit button.
#include "app/form1.h"

#include <cstdio>

#include <QCloseEvent>
#include <QFrame>
#include <QPushButton>
#include <QTimer>

namespace tarvo {

void Form1::Abbruch_Click()
{
    // A request on its way cannot be taken back; the countdown that led to it is over.
    if (m_ended || m_powerRequestSent)
        return;
    if (countdownIdle()) {
        Abbruch->setText(QStringLiteral("&Exit"));
        EndProgram(0);
        return;
    }
    // While firing the action is under way: nothing left to cancel.
    CancelCountdown();
}

void Form1::closeEvent(QCloseEvent* event)
{
    if (Form_QueryUnload([] { return true; })) {
        event->ignore();
        return;
    }
    event->accept();
}

bool Form1::Form_QueryUnload(const std::function<bool()>& mayAsk)
{
    if (m_ended)
        return false;
    // A second request while the question is open is answered by that question.
    if (m_closeQuestionOpen)
        return true;
    if (countdownIdle()) {
        EndProgram(0);
        return false;
    }
    // The countdown must not act while the user decides; its deadline stays.
    m_countdown->hold();
    const QString title = windowTitle();
    setWindowTitle(QStringLiteral("Tarvo   - P A U S E -"));
    if (ConfirmImmediate || !mayAsk()) {
        EndProgram(0);
        return false;
    }
    m_closeQuestionOpen = true;
    const bool yes = m_services.dialogs->ask(
        this, QStringLiteral("Tarvo STOP"),
        QStringLiteral("Wollen Sie das Programm wirklich beenden?    (Der Timer wird dadurch abgeschaltet)"), true);
    m_closeQuestionOpen = false;
    if (m_ended)
        return false;
    if (yes) {
        EndProgram(0);
        return false;
    }
    // Cancelled from the command line (tarvo --cancel) while the question was open: nothing to resume.
    if (m_counting.CountdownMaske->isHidden())
        return true;
    setWindowTitle(title);
    m_countdown->release();
    return true;
}

void Form1::EndOnSignal(int signalNumber)
{
    // Ending cannot call the request back: whoever ends Tarvo now must know it may still happen.
    if (m_powerRequestOut) {
        std::fprintf(stderr, "tarvo: ending on signal %d; the power request was already sent\n", signalNumber);
        std::fflush(stderr);
    }
    EndProgram(128 + signalNumber);
}

void Form1::EndProgram(int exitCode)
{
    if (m_ended)
        return;
    m_ended = true;
    m_exitCode = exitCode;
    m_countdown->hold();
    Timer2->stop();
    unloadSystemTray();
    hide();
    m_services.app->endProgram(exitCode);
}

} // namespace tarvo
