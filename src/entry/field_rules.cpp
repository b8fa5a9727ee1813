#include "entry/field_rules.h"

#include <limits>

#include "countdown/duration.h"

namespace tarvo {
namespace {

template <typename Int>
std::optional<Int> readWhole(const QString& text)
{
    bool ok = false;
    const qlonglong value = text.trimmed().toLongLong(&ok, 10);
    if (!ok || value < std::numeric_limits<Int>::min() || value > std::numeric_limits<Int>::max())
        return std::nullopt;
    return static_cast<Int>(value);
}

constexpr std::int16_t kMaxEntryHours = kMaxEntryMinutes / 60;

} // namespace

std::optional<std::int16_t> readInt16(const QString& text)
{
    return readWhole<std::int16_t>(text);
}

std::optional<std::int32_t> readInt32(const QString& text)
{
    return readWhole<std::int32_t>(text);
}

FieldChange leaveDurationField(const QString& focusedText, const QString& text, FieldRule rule)
{
    using Kind = FieldChange::Kind;
    if (rule.hourLimit) {
        const auto hours = readInt16(text);
        if (!hours || *hours > kMaxEntryHours)
            return {Kind::SetLongest};
    }
    if (text == focusedText)
        return {};
    const auto before = readInt32(focusedText);
    const auto after = readInt32(text);
    if (!before || !after)
        return {};
    // Both fit 32 bits, so their difference times 60 fits 64 bits.
    const std::int64_t minutes = (std::int64_t{*after} - *before) * rule.minutesPerUnit;
    const std::int64_t amount = minutes > 0 ? minutes : -minutes;
    if (amount > std::numeric_limits<std::int16_t>::max())
        return {};
    // Equal numbers in different spelling ("5", "05") subtract nothing: the fields are rewritten.
    return {minutes > 0 ? Kind::Add : Kind::Subtract, static_cast<std::int16_t>(amount)};
}

} // namespace tarvo
