// The two looks of the action buttons and the Classic view: its hover look and how it is left.
#include "app/form1.h"

#include <QLabel>
#include <QLineEdit>
#include <QPixmapCache>
#include <QPushButton>

#include "app/action_hover.h"
#include "base/look.h"
#include "info/info_dialog.h"
#include "power/action_table.h"

namespace tarvo {
namespace {

void setBold(QLabel* caption, bool bold)
{
    QFont font = caption->font();
    font.setBold(bold);
    caption->setFont(font);
}

// The minutes field as a 16-bit whole number; 0 and a text that is none both need the default.
bool needsDefaultMinutes(const QString& text)
{
    bool ok = false;
    const short minutes = text.trimmed().toShort(&ok);
    return !ok || minutes == 0;
}

} // namespace

void Form1::showActionPicture(ActionKind action, bool pressed)
{
    // Hovering in the Classic view switches the pictures often: draw each one once.
    const QString name = QStringLiteral("action_%1_%2")
                             .arg(QLatin1String(actionRow(action).picture),
                                  pressed ? QStringLiteral("colour") : QStringLiteral("grey"));
    const qreal ratio = devicePixelRatioF();
    const QString key = QStringLiteral("tarvo:%1@%2").arg(name).arg(ratio);
    QPixmap picture;
    if (!QPixmapCache::find(key, &picture)) {
        picture = assetPixmap(name, QSize(31, 31), ratio);
        QPixmapCache::insert(key, picture);
    }
    actionButton(action)->setIcon(QIcon(picture));
}

void Form1::ShowNeutralPictures()
{
    for (const ActionRow& row : actionTable()) {
        showActionPicture(row.kind, false);
        setBold(actionCaption(row.kind), false);
    }
}

void Form1::ShowPressedPictures()
{
    for (const ActionRow& row : actionTable()) {
        showActionPicture(row.kind, true);
        setBold(actionCaption(row.kind), false);
    }
}

void Form1::ActionButton_MouseMove(ActionKind action)
{
    if (!ClassicMode)
        return;
    QLabel* caption = actionCaption(action);
    // Standby's caption is set anew on every move; the others only when it changes.
    if (action != ActionKind::Standby && caption->font().bold())
        return;
    ShowPressedPictures();
    setBold(caption, true);
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
    watchSessionEnd();
}

void Form1::runShortcutSetup()
{
    // The dialog is loaded for its routines but never shown.
    InfoDialog dialog(this, GetVersionNumber(), GV_URL, *m_services.dialogs, *m_services.desktop);
    dialog.CreateShortcuts_Click();
    dialog.Close_Click();
}

} // namespace tarvo
