// Whatever ends up in the minutes field (typed past the key filter, pasted): leaving it must give a
// duration from 0 to 20160 minutes and a text that reads as that duration.
#include "entry/minutes_field.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = tarvo::fuzz::textOf(data, size);
    const tarvo::MinutesFieldResult result = tarvo::validateMinutesText(text);

    // The text is kept, and then starts with a digit, or becomes the longest duration.
    const bool capped = result.text == QLatin1String("20160");
    FUZZ_REQUIRE(capped || (result.text == text && tarvo::fuzz::isAsciiDigit(text.front())));
    FUZZ_REQUIRE(result.minutes.has_value());
    FUZZ_REQUIRE(*result.minutes >= 0 && *result.minutes <= 20160);
    FUZZ_REQUIRE(*result.minutes == result.text.trimmed().toInt());

    // Leaving the field again without typing changes nothing.
    const tarvo::MinutesFieldResult again = tarvo::validateMinutesText(result.text);
    FUZZ_REQUIRE(again.text == result.text && again.minutes == result.minutes);
    return 0;
}
