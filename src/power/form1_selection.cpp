// Which action is selected, and the texts that name it.
#include "app/form1.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace tarvo {

QPushButton* Form1::actionButton(ActionKind action) const
{
    switch (action) {
    case ActionKind::Ausschalten:
        return AusschaltenBtn;
    case ActionKind::Neustart:
        return NeustartBtn;
    case ActionKind::Standby:
        return StandbyBtn;
    case ActionKind::Ruhezustand:
        return RuhezustandBtn;
    case ActionKind::Abmelden:
        return LogOffBtn;
    }
    return AusschaltenBtn;
}

QLabel* Form1::actionCaption(ActionKind action) const
{
    switch (action) {
    case ActionKind::Ausschalten:
        return Label4;
    case ActionKind::Neustart:
        return Label3;
    case ActionKind::Standby:
        return Label2;
    case ActionKind::Ruhezustand:
        return Label1;
    case ActionKind::Abmelden:
        return Label6;
    }
    return Label4;
}

QRadioButton* Form1::actionOption(ActionKind action) const
{
    switch (action) {
    case ActionKind::Ausschalten:
        return Check_Runterfahren;
    case ActionKind::Neustart:
        return Check_NeuStarten;
    case ActionKind::Standby:
        return Check_Standby;
    case ActionKind::Ruhezustand:
        return Check_Ruhezustand;
    case ActionKind::Abmelden:
        return Check_LogOff;
    }
    return Check_Runterfahren;
}

std::optional<ActionKind> Form1::selectedAction() const
{
    // Tested in this order; the first selected option wins.
    for (ActionKind action : {ActionKind::Ausschalten, ActionKind::Neustart, ActionKind::Standby,
                              ActionKind::Ruhezustand, ActionKind::Abmelden}) {
        if (actionOption(action)->isChecked())
            return action;
    }
    return std::nullopt;
}

void Form1::ShowSelectedAction()
{
    Check_ForceShutdown->setEnabled(false);
    if (const auto action = selectedAction()) {
        ActionLabel = actionWord(*action);
        QString heading;
        QString now;
        switch (*action) {
        case ActionKind::Ausschalten:
            heading = QStringLiteral("Herunterfahren des Systems in");
            now = QStringLiteral("Sofort ") + ActionLabel.toLower();
            break;
        case ActionKind::Neustart:
            heading = QStringLiteral("Neustart des Systems in");
            now = QStringLiteral("Sofort neustarten");
            break;
        case ActionKind::Standby:
            heading = QStringLiteral("Aktivierung des Standby-Modus in");
            now = QStringLiteral("Sofort ") + ActionLabel;
            break;
        case ActionKind::Ruhezustand:
            heading = QStringLiteral("Aktivierung des Ruhezustands in");
            now = ActionLabel;
            break;
        case ActionKind::Abmelden:
            heading = QStringLiteral("Abmelden des Benutzers in");
            now = QStringLiteral("Sofort ") + ActionLabel.toLower();
            break;
        }
        Display2->setText(heading);
        JetztBtn->setText(now);
        showActionPicture(*action, true);
        if (*action == ActionKind::Ausschalten)
            Check_ForceShutdown->setEnabled(true);
    }
    Display0->setText(ActionLabel + QStringLiteral(" in:"));
    if (!Start->isHidden()) {
        Start->setEnabled(true);
        Start->setFocus();
    }
}

} // namespace tarvo
