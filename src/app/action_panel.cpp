#include "app/action_panel.h"

#include <QLabel>
#include <QPixmapCache>
#include <QPushButton>
#include <QRadioButton>

#include "app/widget_builders.h"
#include "base/controls.h"
#include "base/look.h"
#include "power/action_table.h"

namespace tarvo {

ActionPanel buildActionPanel(QWidget* window)
{
    ActionPanel panel;
    panel.Picture1 = make<QLabel>(window, "Picture1");
    QLabel* band = panel.Picture1;
    place(band, -45, -60, 5550, 2400);
    band->setPixmap(assetPixmap(QStringLiteral("title_band"), QSize(370, 160), window->devicePixelRatioF()));
    band->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    band->setToolTip(QStringLiteral("Doppelklick minimiert das Fenster"));

    // From left to right the buttons stand in the action table's order backwards, log off first.
    const int lefts[] = {495, 1440, 2520, 3600, 4680};
    const auto rows = actionTable();
    const QColor captionColour = highlightTextOn(colours::band);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const ActionRow& row = rows[rows.size() - 1 - i];
        const int left = lefts[i];
        ActionControls& controls = panel.actions.at(static_cast<std::size_t>(row.kind));
        controls.button = make<QPushButton>(band, row.buttonName);
        place(controls.button, left, 960, 495, 495);
        controls.button->setIconSize(QSize(31, 31));
        controls.button->setToolTip(QString::fromUtf8(row.buttonTip));
        // The caption is centred under its button.
        const int captionWidth = 1095;
        controls.caption = makeLabel(band, row.captionName, QString::fromUtf8(row.word),
                                     tw(left + 495 / 2 - captionWidth / 2, 1560, captionWidth, 255),
                                     uiFont(8.25, false), captionColour);
        controls.caption->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        controls.caption->setAttribute(Qt::WA_TranslucentBackground);
    }

    panel.InfoField = make<QLabel>(band, "InfoField");
    place(panel.InfoField, 4800, 120, 615, 495);
    panel.InfoField->setMouseTracking(true);

    panel.LightFlag = make<QLabel>(band, "LightFlag");
    place(panel.LightFlag, 3960, 120, 630, 525);
    panel.LightFlag->setPixmap(assetPixmap(QStringLiteral("info_icon"), QSize(42, 35), window->devicePixelRatioF()));
    panel.LightFlag->setToolTip(QStringLiteral("Info und Setup-Fenster öffnen"));
    panel.LightFlag->hide();
    return panel;
}

void showActionPicture(const ActionPanel& panel, ActionKind action, bool pressed)
{
    // Hovering in the Classic view switches the pictures often: draw each one once.
    const QString name = QStringLiteral("action_%1_%2")
                             .arg(QLatin1String(actionRow(action).picture),
                                  pressed ? QStringLiteral("colour") : QStringLiteral("grey"));
    QPushButton* button = panel.actions.at(static_cast<std::size_t>(action)).button;
    const qreal ratio = button->devicePixelRatioF();
    const QString key = QStringLiteral("tarvo:%1@%2").arg(name).arg(ratio);
    QPixmap picture;
    if (!QPixmapCache::find(key, &picture)) {
        picture = assetPixmap(name, QSize(31, 31), ratio);
        QPixmapCache::insert(key, picture);
    }
    button->setIcon(QIcon(picture));
}

void setCaptionBold(const ActionPanel& panel, ActionKind action, bool bold)
{
    QLabel* caption = panel.actions.at(static_cast<std::size_t>(action)).caption;
    QFont font = caption->font();
    font.setBold(bold);
    caption->setFont(font);
}

void buildActionOptions(ActionPanel& panel, QWidget* group)
{
    for (const ActionRow& row : actionTable())
        panel.actions.at(static_cast<std::size_t>(row.kind)).option = make<QRadioButton>(group, row.optionName);
    panel.actions.at(static_cast<std::size_t>(ActionKind::Ausschalten)).option->setChecked(true);
}

} // namespace tarvo
