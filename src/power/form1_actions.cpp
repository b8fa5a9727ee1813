// Carrying the selected action out: the action buttons, immediate execution and the power request.
#include "app/form1.h"

#include <cstdio>

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "power/action_table.h"

namespace tarvo {
void Form1::ActionButton_Click(ActionKind action)
{
    ShowNeutralPictures();
    showActionPicture(m_band, action, true);
    actionOption(action)->setChecked(true);
    setCaptionBold(m_band, action, true);
    ShowSelectedAction();
    if (action == ActionKind::Ausschalten && countdownIdle())
        m_counting.Check_ForceShutdown->setChecked(true);
    if (!ClassicMode) {
        ShowFullWindow();
        return;
    }
    // The compact panel acts on one click; shutting down from it always switches the power off.
    if (action == ActionKind::Ausschalten)
        m_counting.Check_ForceShutdown->setChecked(true);
    if (SelectedActionPossible())
        ShutDown();
}

void Form1::JetztBtn_Click()
{
    if (!SelectedActionPossible())
        return;
    if (ConfirmImmediate) {
        const bool yes = m_services.dialogs->ask(this, QStringLiteral("Jetzt sofort ausführen?"),
                                                 immediateQuestion(ActionLabel), false);
        // The countdown may have run out, or the desktop ended Tarvo, while the question was open.
        if (!yes || m_ended)
            return;
    }
    ShutDown();
}

bool Form1::SelectedActionPossible()
{
    const auto action = selectedAction();
    if (!action)
        return true;
    const PowerAvailability answer
        = m_services.power->availability(powerCodeFor(*action, m_counting.Check_ForceShutdown->isChecked()));
    if (!answer.possible)
        m_services.dialogs->message(this, MessageIcon::Warning, QStringLiteral("Tarvo"), answer.reason);
    return answer.possible;
}

void Form1::ShutDown()
{
    // Once Tarvo is ending (a signal, a quit), or its one request went out, nothing may still reach
    // the power request.
    if (m_ended || m_powerRequestSent)
        return;
    if (const auto action = selectedAction())
        PowerRequest(powerCodeFor(*action, m_counting.Check_ForceShutdown->isChecked()));
    else
        EndProgram(0);
}

void Form1::PowerRequest(PowerCode code)
{
    if (code < 0 || code > 9) {
        m_services.dialogs->message(this, MessageIcon::NoIcon, QStringLiteral("Tarvo"), QStringLiteral("Reboot Fehler"));
        EndProgram(0);
        return;
    }
    // The answer may take as long as the user needs for polkit's password dialog; meanwhile the
    // window stays alive and Tarvo can still be ended.
    m_countdown->markFiring();
    Timer2->stop();
    m_powerRequestSent = true;
    m_powerRequestOut = true;
    m_services.power->request(code, [this, code](const PowerOutcome& outcome) { PowerRequestDone(code, outcome); });
}

void Form1::PowerRequestDone(PowerCode code, const PowerOutcome& outcome)
{
    m_powerRequestOut = false;
    if (m_ended)
        return;
    if (outcome.ok) {
        EndProgram(0);
        return;
    }
    // A refused request must not look like success: the user would come back to a running computer
    // without a word why.
    std::fprintf(stderr, "tarvo: power request %d (%s) failed: %s\n", int(code), qPrintable(powerCodeName(code)),
                 qPrintable(outcome.reason));
    std::fflush(stderr);
    unloadSystemTray();
    m_services.dialogs->message(this, MessageIcon::Critical, QStringLiteral("Tarvo"),
                                QStringLiteral("%1 konnte nicht ausgeführt werden.\r\r%2")
                                    .arg(ActionLabel.isEmpty() ? QStringLiteral("Die Aktion") : ActionLabel,
                                         outcome.reason));
    EndProgram(1);
}

} // namespace tarvo
