// Which action is selected, and the texts that name it.
#include "app/form1.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "power/action_table.h"

namespace tarvo {

QPushButton* Form1::actionButton(ActionKind action) const
{
    return m_band.actions.at(static_cast<std::size_t>(action)).button;
}

QLabel* Form1::actionCaption(ActionKind action) const
{
    return m_band.actions.at(static_cast<std::size_t>(action)).caption;
}

QRadioButton* Form1::actionOption(ActionKind action) const
{
    return m_band.actions.at(static_cast<std::size_t>(action)).option;
}

std::optional<ActionKind> Form1::selectedAction() const
{
    // Tested in the table's order; the first selected option wins.
    for (const ActionRow& row : actionTable()) {
        if (actionOption(row.kind)->isChecked())
            return row.kind;
    }
    return std::nullopt;
}

QString Form1::actionWord() const
{
    const auto action = selectedAction();
    return action ? QString::fromUtf8(actionRow(*action).word) : ActionLabel;
}

void Form1::ShowSelectedAction()
{
    m_counting.Check_ForceShutdown->setEnabled(false);
    if (const auto action = selectedAction()) {
        const ActionRow& row = actionRow(*action);
        ActionLabel = QString::fromUtf8(row.word);
        m_counting.Display2->setText(QString::fromUtf8(row.heading));
        JetztBtn->setText(QString::fromUtf8(row.nowCaption));
        showActionPicture(m_band, *action, true);
        if (*action == ActionKind::Ausschalten)
            m_counting.Check_ForceShutdown->setEnabled(true);
    }
    m_entry.Display0->setText(ActionLabel + QStringLiteral(" in:"));
    if (!m_entry.Start->isHidden()) {
        m_entry.Start->setEnabled(true);
        m_entry.Start->setFocus();
    }
}

} // namespace tarvo
