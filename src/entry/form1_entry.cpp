// Time entry: the duration fields' focus and leave handlers, the two scroll bars used as spin
// buttons, and the preset buttons.
#include "app/form1.h"

#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include "countdown/duration.h"
#include "entry/entry_events.h"
#include "entry/field_rules.h"
#include "entry/spin_steps.h"

namespace tarvo {
namespace {

FieldRule ruleOf(const Form1& form, const QLineEdit* field)
{
    if (field == form.CounterHourText)
        return {60, true};
    if (field == form.HourTimeText)
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
        [this](QLineEdit* field) { field == ZeitEingabe ? ZeitEingabe_GotFocus() : DurationField_GotFocus(field); },
        [this](QLineEdit* field) { field == ZeitEingabe ? ZeitEingabe_Validate() : DurationField_Validate(field); });
    const std::pair<QLineEdit*, int> fields[] = {
        {ZeitEingabe, 5}, {CounterHourText, 3}, {CounterMinuteText, 2}, {HourTimeText, 2}, {MinuteTimeText, 2}};
    for (const auto& [field, maxTyped] : fields)
        events->watch(field, maxTyped);

    for (QScrollBar* bar : {VScroll1, VScroll2}) {
        bar->setSingleStep(1);
        bar->setPageStep(1);
        // A dragged thumb changes the value once, when it is let go: one step.
        bar->setTracking(false);
        // Clicks and the wheel take the focus first, so a field being left is validated before
        // the step is applied to the duration.
        bar->setFocusPolicy(Qt::WheelFocus);
    }
    // Also the value set back by the handler raises it once more, nested, and finds the rest value.
    connect(VScroll1, &QScrollBar::valueChanged, this, &Form1::VScroll1_Change);
    connect(VScroll2, &QScrollBar::valueChanged, this, &Form1::VScroll2_Change);

    const std::pair<QPushButton*, std::int16_t> presets[] = {{Btn_15, 15},  {Btn_30, 30},   {Btn_45, 45},
                                                             {Btn_60, 60},  {Btn_90, 90},   {Btn_120, 120},
                                                             {Btn_180, 180}, {Btn_24, 1440}};
    for (const auto& [button, minutes] : presets) {
        button->setFocusPolicy(Qt::StrongFocus);
        connect(button, &QPushButton::clicked, this, [this, m = minutes] { PresetButton_Click(m); });
    }
}

void Form1::ZeitEingabe_GotFocus()
{
    ZeitEingabe->selectAll();
}

void Form1::DurationField_GotFocus(QLineEdit* field)
{
    if (field == HourTimeText)
        ScrollbarFocus2 = SpinHourTime;
    else if (field == MinuteTimeText)
        ScrollbarFocus2 = SpinMinuteTime;
    FocusedFieldText = field->text();
    field->selectAll();
    if (field == CounterHourText)
        ScrollbarFocus = SpinCounterHour;
    else if (field == CounterMinuteText)
        ScrollbarFocus = SpinCounterMinute;
}

void Form1::DurationField_Validate(QLineEdit* field)
{
    const FieldChange change = leaveDurationField(FocusedFieldText, field->text(), ruleOf(*this, field));
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
    if (const auto step = minutesSpinStep(ScrollbarFocus, VScroll1->value()))
        applySpinStep(*this, *step);
    VScroll1->setValue(kSpinRest);
}

void Form1::VScroll2_Change()
{
    const auto step = endTimeSpinStep(ScrollbarFocus2, VScroll2->value());
    if (!step)
        return;
    applySpinStep(*this, *step);
    VScroll2->setValue(kSpinRest);
}

void Form1::PresetButton_Click(std::int16_t minutes)
{
    ZeitEingabe->setText(QString::number(minutes));
    ZeitEingabe_Validate();
}

} // namespace tarvo
