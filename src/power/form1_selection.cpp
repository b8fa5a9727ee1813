// Which action is selected, and the texts that name it.
#include "app/form1.h"

#include <algorithm>

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "power/action_table.h"

namespace tarvo {

QPushButton* Form1::actionButton(ActionKind action) const
{
    return m_actionControls.at(static_cast<std::size_t>(action)).button;
}

QLabel* Form1::actionCaption(ActionKind action) const
{
    return m_actionControls.at(static_cast<std::size_t>(action)).caption;
}

QRadioButton* Form1::actionOption(ActionKind action) const
{
    return m_actionControls.at(static_cast<std::size_t>(action)).option;
}

bool Form1::isActionCaption(const QWidget* widget) const
{
    return std::any_of(m_actionControls.begin(), m_actionControls.end(),
                       [widget](const ActionControls& controls) { return controls.caption == widget; });
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

void Form1::ShowSelectedAction()
{
    Check_ForceShutdown->setEnabled(false);
    if (const auto action = selectedAction()) {
        const ActionRow& row = actionRow(*action);
        ActionLabel = QString::fromUtf8(row.word);
        Display2->setText(QString::fromUtf8(row.heading));
        JetztBtn->setText(QString::fromUtf8(row.nowCaption));
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
