// The two looks of the action buttons and the Classic view: its hover look and how it is left.
#include "app/form1.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/action_hover.h"
#include "app/session_end.h"
#include "base/look.h"
#include "entry/minutes_field.h"
#include "info/info_dialog.h"
#include "power/action_table.h"

namespace tarvo {
void Form1::ShowNeutralPictures()
{
    for (const ActionRow& row : actionTable()) {
        showActionPicture(m_band, row.kind, false);
        setCaptionBold(m_band, row.kind, false);
    }
}

void Form1::ShowPressedPictures()
{
    for (const ActionRow& row : actionTable()) {
        showActionPicture(m_band, row.kind, true);
        setCaptionBold(m_band, row.kind, false);
    }
}

void Form1::ActionButton_MouseMove(ActionKind action)
{
    if (!ClassicMode)
        return;
    // Standby's caption is set anew on every move; the others only when it changes.
    if (action != ActionKind::Standby && actionCaption(action)->font().bold())
        return;
    ShowPressedPictures();
    setCaptionBold(m_band, action, true);
}

void Form1::ClassicModeShowTimer_Click()
{
    ShowNeutralPictures();
    JetztBtn->show();
    m_entry.ClassicModeShowTimer->hide();
    ClassicMode = false;
    Abdeckung->hide();
    if (needsDefaultMinutes(m_entry.ZeitEingabe->text()))
        m_entry.ZeitEingabe->setText(QStringLiteral("60"));
    ShowSelectedAction();
    // Back in the standard view the buttons stay grey until an action button is clicked, also the
    // selected one that the texts above have just named.
    ShowNeutralPictures();
    ShowFullWindow();
}

void Form1::connectClassicAndQuit()
{
    new ActionHoverFilter(*this, *m_band.Picture1);
    connect(m_entry.ClassicModeShowTimer, &QPushButton::clicked, this, &Form1::ClassicModeShowTimer_Click);
    watchSessionEnd(*this, [this] { return m_closeQuestionOpen; },
                    [this](const std::function<bool()>& mayAsk) { return Form_QueryUnload(mayAsk); });
}

void Form1::runShortcutSetup()
{
    // The dialog is loaded for its routines but never shown.
    InfoDialog dialog(this, GetVersionNumber(), GV_URL, *m_services.dialogs, *m_services.desktop);
    dialog.CreateShortcuts_Click();
    dialog.Close_Click();
}

} // namespace tarvo
