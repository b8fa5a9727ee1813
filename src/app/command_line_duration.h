#pragma once

class QCheckBox;
class QLineEdit;

namespace tarvo {

struct CommandLineOptions;

enum class DurationApplied {
    Applied,
    // The applying of the command line stops here: what was applied stays, nothing after it happens.
    Stopped,
    // A duration of 0: the action is carried out at once, and the applying stops.
    Now,
};

// The command line's M and H, in this order, written into the minutes field; M shows the countdown
// in minutes, H in hours. Durations are 16-bit minutes: a number that does not fit, or an M or H
// without digits, stops the applying.
DurationApplied applyCommandLineDuration(const CommandLineOptions& options, QLineEdit& minutesField,
                                         QCheckBox& inMinutes);

} // namespace tarvo
