// The command line as any program may pass it: many words, long words, control characters, any
// Unicode, invalid UTF-8.
#include <algorithm>

#include "app/command_line.h"
#include "fuzz_support.h"

namespace {

using tarvo::fuzz::isAsciiDigit;

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

int wordCount(const QString& text)
{
    int words = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!isBlank(text.at(i)) && (i == 0 || isBlank(text.at(i - 1))))
            ++words;
    }
    return words;
}

// The text with a-z made A-Z and nothing else changed.
QString asciiUpper(QString text)
{
    for (QChar& c : text) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 'a' + 'A');
    }
    return text;
}

// What a digit text is worth as a 16-bit number, worked out independently of the code under test.
std::optional<std::int16_t> expectedValue(const QString& digits)
{
    if (digits.isEmpty())
        return std::nullopt;
    QString significant = digits;
    while (significant.size() > 1 && significant.front() == QLatin1Char('0'))
        significant.remove(0, 1);
    if (significant.size() > 5 || significant.toInt() > 32767)
        return std::nullopt;
    return static_cast<std::int16_t>(significant.toInt());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString line = tarvo::commandLineText(tarvo::fuzz::argumentsOf(data, size));
    const QString read = tarvo::firstWords(line);

    // The first ten words, unchanged, cut right before the eleventh.
    FUZZ_REQUIRE(line.startsWith(read));
    const int words = wordCount(line);
    FUZZ_REQUIRE(wordCount(read) == std::min(words, 10));
    FUZZ_REQUIRE(read.size() == line.size() || (words > 10 && !isBlank(line.at(read.size()))));

    // Only the ASCII option letters count, in either case; no other character may turn into one.
    const tarvo::CommandLineOptions o = tarvo::scanCommandLine(read);
    const QString upper = asciiUpper(read);
    const auto has = [&upper](char letter) { return upper.contains(QLatin1Char(letter)); };
    FUZZ_REQUIRE(o.setup == upper.contains(QLatin1String("SETUP")));
    FUZZ_REQUIRE(o.logOff == has('L') && o.hibernate == has('R') && o.restart == has('N'));
    FUZZ_REQUIRE(o.standby == (has('S') && !o.setup));
    FUZZ_REQUIRE(o.shutdown == has('A') && o.force == has('F') && o.beep == has('W'));
    FUZZ_REQUIRE(o.noPrompts == has('Y') && o.classic == has('C') && o.tray == has('T'));
    FUZZ_REQUIRE(o.minutes.has_value() == has('M') && o.hours.has_value() == has('H'));

    for (const auto& digits : { o.minutes, o.hours }) {
        if (!digits)
            continue;
        FUZZ_REQUIRE(std::all_of(digits->begin(), digits->end(), isAsciiDigit));
        FUZZ_REQUIRE(tarvo::digitsToInt16(*digits) == expectedValue(*digits));
    }
    return 0;
}
