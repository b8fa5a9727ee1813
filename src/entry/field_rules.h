#pragma once

#include <cstdint>
#include <optional>

#include <QString>

namespace tarvo {

// A field's text read as a whole number: blanks around it ignored, a leading sign allowed. Nothing
// when it is empty, no number, or outside the type.
std::optional<std::int16_t> readInt16(const QString& text);
std::optional<std::int32_t> readInt32(const QString& text);

// The hour, minute and end-time fields: how many minutes one unit of the field is worth, and
// whether the field also holds the 336-hour limit (the hour field of the duration only).
struct FieldRule {
    int minutesPerUnit = 1;
    bool hourLimit = false;
};

// What leaving such a field does to the duration.
struct FieldChange {
    enum class Kind {
        Nothing,    // the text is unchanged, cannot be read, or the difference leaves 16 bits
        SetLongest, // above the limit or unreadable in the hour field: 336 hours
        Add,
        Subtract,
    };
    Kind kind = Kind::Nothing;
    std::int16_t minutes = 0;
};

// The field showed focusedText when it got the focus and shows text now. The change is the
// difference of the two numbers times the field's unit, so the end-time fields work as offsets.
FieldChange leaveDurationField(const QString& focusedText, const QString& text, FieldRule rule);

} // namespace tarvo
