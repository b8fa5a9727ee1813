// Time entry: the duration fields' focus and leave handlers, the two scroll bars used as spin
// buttons, and the preset buttons.
#include "app/form1.h"

#include <iterator>

#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include "app/window_panels.h"
#include "countdown/duration.h"
#include "entry/entry_events.h"
#include "entry/field_rules.h"
#include "entry/spin_steps.h"

namespace tarvo {
namespace {

FieldRule ruleOf(const EntryPanel& entry, const QLineEdit* field)
{
    if (field == entry.CounterHourText)
        return {60, true};
    if (field == entry.HourTimeText)
        return {60, false};
    return {1, false};
}

void applySpinStep(Form1& form, const SpinStep& step)
{
    if (step.lengthen)
        form.AddMinutes(step.minutes, step.roundToTen);
    else
        form.SubtractMinutes(step.minutes, step.roundToTen);
}

} // namespace

void Form1::connectEntryHandlers()
{
    auto* events = new EntryEvents(
        *this, *m_services.beeper,
        [this](QLineEdit* field) { field == m_entry.ZeitEingabe ? ZeitEingabe_GotFocus() : DurationField_GotFocus(field); },
        [this](QLineEdit* field) { field == m_entry.ZeitEingabe ? ZeitEingabe_Validate() : DurationField_Validate(field); });
    const std::pair<QLineEdit*, int> fields[] = {
        {m_entry.ZeitEingabe, 5}, {m_entry.CounterHourText, 3}, {m_entry.CounterMinuteText, 2}, {m_entry.HourTimeText, 2}, {m_entry.MinuteTimeText, 2}};
    for (const auto& [field, maxTyped] : fields)
        events->watch(field, maxTyped);

    useAsSpinButtons(m_entry);
    // Also the value set back by the handler raises it once more, nested, and finds the rest value.
    connect(m_entry.VScroll1, &QScrollBar::valueChanged, this, &Form1::VScroll1_Change);
    connect(m_entry.VScroll2, &QScrollBar::valueChanged, this, &Form1::VScroll2_Change);

    const std::int16_t presetMinutes[] = {15, 30, 45, 60, 90, 120, 180, 1440};
    const auto* minutes = std::begin(presetMinutes);
    for (QPushButton* button : m_entry.presets)
        connect(button, &QPushButton::clicked, this, [this, m = *minutes++] { PresetButton_Click(m); });
}

void Form1::ZeitEingabe_GotFocus()
{
    m_entry.ZeitEingabe->selectAll();
}

void Form1::DurationField_GotFocus(QLineEdit* field)
{
    if (field == m_entry.HourTimeText)
        ScrollbarFocus2 = SpinHourTime;
    else if (field == m_entry.MinuteTimeText)
        ScrollbarFocus2 = SpinMinuteTime;
    FocusedFieldText = field->text();
    field->selectAll();
    if (field == m_entry.CounterHourText)
        ScrollbarFocus = SpinCounterHour;
    else if (field == m_entry.CounterMinuteText)
        ScrollbarFocus = SpinCounterMinute;
}

void Form1::DurationField_Validate(QLineEdit* field)
{
    const FieldChange change = leaveDurationField(FocusedFieldText, field->text(), ruleOf(m_entry, field));
    switch (change.kind) {
    case FieldChange::Kind::SetLongest:
        field->setText(QString::number(kMaxEntryMinutes / 60));
        SetMinutes(static_cast<std::int16_t>(kMaxEntryMinutes));
        break;
    case FieldChange::Kind::Add:
        AddMinutes(change.minutes, false);
        break;
    case FieldChange::Kind::Subtract:
        SubtractMinutes(change.minutes, false);
        break;
    case FieldChange::Kind::Nothing:
        // The duration stays. Show it again at once: a text that was not taken must not stay
        // in the field, disagreeing with the others.
        RefreshDurationFields();
        break;
    }
}

void Form1::VScroll1_Change()
{
    if (!isMinutesSpinTarget(ScrollbarFocus)) {
        m_services.dialogs->message(this, MessageIcon::NoIcon, QStringLiteral("Tarvo"),
                                    QStringLiteral("VScroll1_Change Fehler (Falscher ScrollbarFocus: ")
                                        + QString::number(ScrollbarFocus));
        return;
    }
    if (const auto step = minutesSpinStep(ScrollbarFocus, m_entry.VScroll1->value()))
        applySpinStep(*this, *step);
    m_entry.VScroll1->setValue(kSpinRest);
}

void Form1::VScroll2_Change()
{
    const auto step = endTimeSpinStep(ScrollbarFocus2, m_entry.VScroll2->value());
    if (!step)
        return;
    applySpinStep(*this, *step);
    m_entry.VScroll2->setValue(kSpinRest);
}

void Form1::PresetButton_Click(std::int16_t minutes)
{
    m_entry.ZeitEingabe->setText(QString::number(minutes));
    ZeitEingabe_Validate();
}

} // namespace tarvo
