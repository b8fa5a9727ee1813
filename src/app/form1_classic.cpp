// The two looks of the action buttons.
#include "app/form1.h"

#include <QLabel>
#include <QPushButton>

#include "app/look.h"
#include "info/info_dialog.h"

namespace tarvo {
namespace {

const char* pictureName(ActionKind action)
{
    switch (action) {
    case ActionKind::Ausschalten:
        return "shutdown";
    case ActionKind::Neustart:
        return "restart";
    case ActionKind::Standby:
        return "standby";
    case ActionKind::Ruhezustand:
        return "hibernate";
    case ActionKind::Abmelden:
        return "logoff";
    }
    return "shutdown";
}

constexpr ActionKind kAllActions[] = {ActionKind::Abmelden, ActionKind::Ruhezustand, ActionKind::Standby,
                                      ActionKind::Neustart, ActionKind::Ausschalten};

} // namespace

void Form1::showActionPicture(ActionKind action, bool pressed)
{
    const QString name = QStringLiteral("action_%1_%2")
                             .arg(QLatin1String(pictureName(action)),
                                  pressed ? QStringLiteral("colour") : QStringLiteral("grey"));
    actionButton(action)->setIcon(QIcon(assetPixmap(name, QSize(31, 31), devicePixelRatioF())));
}

void Form1::ShowNeutralPictures()
{
    for (ActionKind action : kAllActions) {
        showActionPicture(action, false);
        QFont font = actionCaption(action)->font();
        font.setBold(false);
        actionCaption(action)->setFont(font);
    }
}

void Form1::ShowPressedPictures()
{
    for (ActionKind action : kAllActions) {
        showActionPicture(action, true);
        QFont font = actionCaption(action)->font();
        font.setBold(false);
        actionCaption(action)->setFont(font);
    }
}

void Form1::runShortcutSetup()
{
    // The dialog is loaded for its routines but never shown.
    InfoDialog dialog(this);
    dialog.CreateShortcuts_Click();
    dialog.Close_Click();
}

} // namespace tarvo
