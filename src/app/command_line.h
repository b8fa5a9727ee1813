#pragma once

#include <cstdint>
#include <optional>

#include <QString>
#include <QStringList>

namespace tarvo {

// What a command-line text asks for. Built once at start-up and then applied in a fixed order.
struct CommandLineOptions {
    bool logOff = false;    // L
    bool hibernate = false; // R
    bool standby = false;   // S, unless the text holds SETUP
    bool restart = false;   // N
    bool shutdown = false;  // A
    bool force = false;     // F
    bool beep = false;      // W
    bool noPrompts = false; // Y
    bool setup = false;     // SETUP
    bool classic = false;   // C
    bool tray = false;      // T
    std::optional<QString> minutes; // the digits after M, possibly empty
    std::optional<QString> hours;   // the digits after H, possibly empty

    bool anyAction() const { return logOff || hibernate || standby || restart || shutdown; }
    // SETUP and T alone do not count: without anything else the info dialog explains the options.
    bool recognised() const
    {
        return anyAction() || force || beep || noPrompts || classic || minutes || hours;
    }
    bool actionRequested() const { return anyAction() || force; }
};

// The program's arguments as one text, joined with single blanks.
QString commandLineText(const QStringList& arguments);

// The text up to the start of word number maxWords + 1; words are runs of characters other than
// blank and tab. Everything before that point is kept unchanged.
QString firstWords(const QString& text, int maxWords = 10);

// Searches the text for each option letter, in either case. A letter counts wherever it stands.
CommandLineOptions scanCommandLine(const QString& text);

// The value of a text of decimal digits as a 16-bit number; nothing for an empty text, a text with
// anything but digits, or a value above 32767.
std::optional<std::int16_t> digitsToInt16(const QString& digits);

} // namespace tarvo
