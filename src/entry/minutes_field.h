#pragma once

#include <cstdint>
#include <optional>

#include <QString>

namespace tarvo {

// The minutes field after it was left: its new text and the minutes the duration becomes. Every
// text that cannot be used (empty, starting with a blank or a sign, above 20160) becomes "20160".
struct MinutesFieldResult {
    QString text;
    std::optional<std::int16_t> minutes;
};

MinutesFieldResult validateMinutesText(const QString& text);

// The minutes field read as a 16-bit whole number; 0 and a text that is none both need the default.
bool needsDefaultMinutes(const QString& text);

} // namespace tarvo
