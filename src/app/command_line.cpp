#include "app/command_line.h"

#include <limits>

namespace tarvo {
namespace {

bool isWordSeparator(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// From the first occurrence of the letter on: digits are collected, blanks and the letter itself
// are skipped, anything else ends the scan. So M90, M 90, M9 0 and MM90 all give 90.
std::optional<QString> collectDigits(const QString& upper, QChar letter)
{
    const qsizetype start = upper.indexOf(letter);
    if (start < 0)
        return std::nullopt;
    QString digits;
    for (qsizetype i = start; i < upper.size(); ++i) {
        const QChar c = upper.at(i);
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digits.append(c);
        else if (c != QLatin1Char(' ') && c != letter)
            break;
    }
    return digits;
}

// Only the option letters change case. QString::toUpper would also turn "ß" into "SS", the long
// s "ſ" into "S" and the ligature "ﬀ" into "FF", and so read options nobody gave.
QString asciiUpper(QString text)
{
    for (QChar& c : text) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - ('a' - 'A'));
    }
    return text;
}

} // namespace

QString commandLineText(const QStringList& arguments)
{
    return arguments.join(QLatin1Char(' '));
}

QString firstWords(const QString& text, int maxWords)
{
    int words = 0;
    bool inWord = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (isWordSeparator(text.at(i))) {
            inWord = false;
            continue;
        }
        if (!inWord) {
            inWord = true;
            if (++words > maxWords)
                return text.left(i);
        }
    }
    return text;
}

CommandLineOptions scanCommandLine(const QString& text)
{
    const QString upper = asciiUpper(text);
    const auto has = [&upper](const char* what) { return upper.contains(QLatin1String(what)); };

    CommandLineOptions o;
    o.setup = has("SETUP");
    o.logOff = has("L");
    o.hibernate = has("R");
    o.standby = has("S") && !o.setup;
    o.restart = has("N");
    o.shutdown = has("A");
    o.force = has("F");
    o.beep = has("W");
    o.noPrompts = has("Y");
    o.classic = has("C");
    o.tray = has("T");
    o.minutes = collectDigits(upper, QLatin1Char('M'));
    o.hours = collectDigits(upper, QLatin1Char('H'));
    return o;
}

std::optional<std::int16_t> digitsToInt16(const QString& digits)
{
    if (digits.isEmpty())
        return std::nullopt;
    int value = 0;
    for (const QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        value = value * 10 + (c.unicode() - '0');
        // Checked on every digit, so a long text of digits cannot overflow the accumulator.
        if (value > std::numeric_limits<std::int16_t>::max())
            return std::nullopt;
    }
    return static_cast<std::int16_t>(value);
}

} // namespace tarvo
