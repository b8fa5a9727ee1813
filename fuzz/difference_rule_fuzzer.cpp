// Leaving the hour, minute and end-time fields with any text: the change to the duration stays in
// 16 bits, goes the right way, and the duration it gives stays within its limits.
#include <cstring>

#include "countdown/duration.h"
#include "entry/field_rules.h"
#include "fuzz_support.h"

// Input: 4 bytes of the duration in seconds, 1 byte choosing the field, then the text the field
// had when it got the focus, a NUL byte, and the text it has now.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 5)
        return 0;
    std::int32_t seconds = 0;
    std::memcpy(&seconds, data, sizeof seconds);
    const tarvo::FieldRule rule { (data[4] & 1) != 0 ? 60 : 1, (data[4] & 2) != 0 };
    const QStringList texts = tarvo::fuzz::textOf(data + 5, size - 5).split(QChar(u'\0'));
    const QString focused = texts.value(0);
    const QString text = texts.value(1);

    for (const QString& t : { focused, text }) {
        const auto wide = tarvo::readInt32(t);
        const auto narrow = tarvo::readInt16(t);
        FUZZ_REQUIRE(narrow.has_value() == (wide && *wide >= -32768 && *wide <= 32767));
        FUZZ_REQUIRE(!narrow || *narrow == *wide);
        FUZZ_REQUIRE(!wide || tarvo::readInt32(QString::number(*wide)) == wide);
    }

    using Kind = tarvo::FieldChange::Kind;
    const tarvo::FieldChange change = tarvo::leaveDurationField(focused, text, rule);
    const auto hours = tarvo::readInt16(text);
    FUZZ_REQUIRE((change.kind == Kind::SetLongest) == (rule.hourLimit && (!hours || *hours > 336)));
    if (change.kind == Kind::Nothing || change.kind == Kind::SetLongest)
        return 0;

    FUZZ_REQUIRE(change.minutes >= 0 && change.minutes % rule.minutesPerUnit == 0);
    const auto before = tarvo::readInt32(focused);
    const auto after = tarvo::readInt32(text);
    FUZZ_REQUIRE(before && after);
    const std::int32_t cap = tarvo::kMaxEntrySeconds;
    if (change.kind == Kind::Add) {
        FUZZ_REQUIRE(*after > *before);
        if (const auto longer = tarvo::addMinutes(seconds, change.minutes, false))
            FUZZ_REQUIRE(*longer <= cap && *longer >= std::min(seconds, cap));
    } else {
        FUZZ_REQUIRE(*after <= *before);
        if (const auto shorter = tarvo::subtractMinutes(seconds, change.minutes, false))
            FUZZ_REQUIRE(*shorter >= 1 && *shorter <= std::max(seconds, 60));
    }
    return 0;
}
